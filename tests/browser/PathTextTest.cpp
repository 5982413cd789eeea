#include "browser/PathText.h"

#include <gtest/gtest.h>

TEST(PathText, SeparatorsAreAddedAndCutOnceAndTheRootStays) {
    std::string p = "/a";
    PathText::AddSep(p);
    EXPECT_EQ(p, "/a/");
    PathText::AddSep(p);
    EXPECT_EQ(p, "/a/");
    PathText::CutSep(p);
    EXPECT_EQ(p, "/a");
    std::string root = "/";
    PathText::CutSep(root);
    EXPECT_EQ(root, "/");
    std::string list = "a,b,";
    PathText::CutSep(list, ",");
    EXPECT_EQ(list, "a,b");
    std::string text = "xA";
    PathText::AddSep(text, "a");
    EXPECT_EQ(text, "xA") << "case-insensitive";
    EXPECT_EQ(PathText::child("/", "x"), "/x");
    EXPECT_EQ(PathText::child("/a", "x y"), "/a/x y");
}

TEST(PathText, BetweenFindsTheTextAfterTheStartUpToTheEnd) {
    EXPECT_EQ(PathText::sGtBtw("FD:a>L001\tFL:b>L002\t", "fl:B>", "\t"), "L002");
    EXPECT_EQ(PathText::sGtBtw("c: [SYSTEM]", "", "["), "c:");
    EXPECT_EQ(PathText::sGtBtw("no start here", "<", " "), "no");
    EXPECT_EQ(PathText::sGtBtw("x=  value  ", "=", ";"), "value");
    EXPECT_EQ(PathText::sGtBtw("/a\tN0001\r/b\tN0002\r", "/B\t", "\r"), "N0002");
}

TEST(PathText, ExtensionIsTheTextAfterTheLastDotOrTheWholeName) {
    EXPECT_EQ(PathText::extensionOf("a.tar.gz"), "gz");
    EXPECT_EQ(PathText::extensionOf("README"), "README");
    EXPECT_EQ(PathText::extensionOf(".bashrc"), "bashrc");
}
