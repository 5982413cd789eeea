#include "browser/PathText.h"

#include <gtest/gtest.h>

TEST(PathText, SeparatorsAreAddedAndCutOnceAndTheRootStays) {
    std::string p = "/a";
    PathText::withSeparator(p);
    EXPECT_EQ(p, "/a/");
    PathText::withSeparator(p);
    EXPECT_EQ(p, "/a/");
    PathText::withoutSeparator(p);
    EXPECT_EQ(p, "/a");
    std::string root = "/";
    PathText::withoutSeparator(root);
    EXPECT_EQ(root, "/");
    std::string list = "a,b,";
    PathText::withoutSeparator(list, ",");
    EXPECT_EQ(list, "a,b");
    std::string text = "xA";
    PathText::withSeparator(text, "a");
    EXPECT_EQ(text, "xA") << "case-insensitive";
    EXPECT_EQ(PathText::child("/", "x"), "/x");
    EXPECT_EQ(PathText::child("/a", "x y"), "/a/x y");
}

TEST(PathText, BetweenFindsTheTextAfterTheStartUpToTheEnd) {
    EXPECT_EQ(PathText::textBetween("FD:a>L001\tFL:b>L002\t", "fl:B>", "\t"), "L002");
    EXPECT_EQ(PathText::textBetween("c: [SYSTEM]", "", "["), "c:");
    EXPECT_EQ(PathText::textBetween("no start here", "<", " "), "no");
    EXPECT_EQ(PathText::textBetween("x=  value  ", "=", ";"), "value");
    EXPECT_EQ(PathText::textBetween("/a\tN0001\r/b\tN0002\r", "/B\t", "\r"), "N0002");
}

TEST(PathText, ExtensionIsTheTextAfterTheLastDotOrTheWholeName) {
    EXPECT_EQ(PathText::extensionOf("a.tar.gz"), "gz");
    EXPECT_EQ(PathText::extensionOf("README"), "README");
    EXPECT_EQ(PathText::extensionOf(".bashrc"), "bashrc");
}
