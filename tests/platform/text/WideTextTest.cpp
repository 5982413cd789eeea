#include "platform/text/WideText.h"

#include <gtest/gtest.h>

TEST(WideTextTest, TextBecomesUtf16AndStrayBytesTravelAsMarkedSurrogates) {
    EXPECT_EQ(WideText::fromBytes("a 日本😀"), u"a 日本😀");
    EXPECT_EQ(WideText::fromBytes("x\xFF\x80y"), (std::u16string{u'x', 0xDCFF, 0xDC80, u'y'}));
    // A UTF-8 encoded surrogate is not well-formed: each of its bytes is marked.
    EXPECT_EQ(WideText::fromBytes("\xED\xA0\x80"), (std::u16string{0xDCED, 0xDCA0, 0xDC80}));
    for (const std::string bytes :
         {"", "plain", "\xC3", "a\xE3\x81", "\xF0\x9F\x98\x80\xF0\x9F", "\xED\xB2\x80 \xC0\xAF"})
        EXPECT_EQ(WideText::toBytes(WideText::fromBytes(bytes)), bytes);
}

TEST(WideTextTest, UnpairedSurrogatesFromFilesReadAsReplacementCharacters) {
    EXPECT_EQ(WideText::toBytes(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(WideText::toBytes(std::u16string{0xDC00}), "\xEF\xBF\xBD") << "below the byte marks";
    EXPECT_EQ(WideText::toBytes(std::u16string{0xDBFF}), "\xEF\xBF\xBD") << "high at the end";
    EXPECT_EQ(WideText::toBytes(std::u16string{0xD83D, 0xDE00}), "😀");
}
