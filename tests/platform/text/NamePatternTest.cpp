#include "platform/text/NamePattern.h"

#include <gtest/gtest.h>

namespace {

bool match(const char* pattern, const char* name) {
    return NamePattern(pattern).matches(name);
}

TEST(NamePatternTest, StarStandsForAnyRunAndQuestionMarkForOneCharacter) {
    EXPECT_TRUE(match("*.txt", "report.txt"));
    EXPECT_TRUE(match("*.txt", ".txt"));
    EXPECT_FALSE(match("*.txt", "report.txt.bak"));
    EXPECT_TRUE(match("a*b*c", "a-x-b-y-c"));
    EXPECT_FALSE(match("a*b*c", "a-x-c-y-b"));
    EXPECT_TRUE(match("r?port.*", "rEport.doc"));
    EXPECT_FALSE(match("r?port.*", "rport.doc"));
    EXPECT_TRUE(match("*", ""));
    EXPECT_TRUE(match("**a**", "xay"));
    EXPECT_FALSE(match("?", ""));
}

TEST(NamePatternTest, LetterCaseIsIgnoredBeyondAscii) {
    EXPECT_TRUE(match("*.TXT", "memo.txt"));
    EXPECT_TRUE(match("ÄRGER*", "ärger.odt"));
    EXPECT_TRUE(match("σ*", "Σίσυφος"));
    EXPECT_TRUE(match("ｆｕｌｌ*", "ＦＵＬＬwidth")) << "full-width letters fold as well";
}

TEST(NamePatternTest, AQuestionMarkIsOneCharacterNotOneByte) {
    EXPECT_TRUE(match("??.txt", "日本.txt"));
    EXPECT_FALSE(match("?.txt", "日本.txt"));
    EXPECT_TRUE(match("ﾌｫﾙﾀﾞ?", "ﾌｫﾙﾀﾞ1"));
}

TEST(NamePatternTest, BytesThatAreNotUtf8AreCharactersOfTheirOwn) {
    const std::string latin1 = "caf\xe9.txt";
    EXPECT_TRUE(NamePattern("*.txt").matches(latin1));
    EXPECT_TRUE(NamePattern("caf?.txt").matches(latin1));
    EXPECT_TRUE(NamePattern("caf\xe9*").matches(latin1));
    EXPECT_FALSE(NamePattern("caf\xc9*").matches(latin1)) << "a raw byte has no case to fold";
    EXPECT_FALSE(NamePattern("café*").matches(latin1)) << "é in UTF-8 is not the byte E9";
}

TEST(NamePatternTest, TextWithoutWildcardsFindsNamesContainingIt) {
    EXPECT_TRUE(match("port", "Report.doc"));
    EXPECT_TRUE(match("report.doc", "report.doc"));
    EXPECT_FALSE(match("port", "pot"));
    EXPECT_TRUE(match("", "anything"));
}

TEST(NamePatternTest, ManyStarsOnALongNameStayFast) {
    const std::string name(5000, 'a');
    EXPECT_FALSE(NamePattern("*a*a*a*a*a*a*a*a*b").matches(name));
}

} // namespace
