#include "platform/desktop/UriList.h"

#include <gtest/gtest.h>

TEST(UriListTest, AnyPathSurvivesTheRoundTrip) {
    const std::vector<std::string> paths{"/home/u/a b,c.txt", "/tmp/<x>&y\n%z",
                                         std::string("/tmp/bad\xff\xfe name"), "/home/u/日本語.doc",
                                         "/"};
    const std::string list = UriList::encode(paths);
    EXPECT_EQ(list.find(' '), std::string::npos);
    EXPECT_TRUE(list.starts_with("file:///home/u/a%20b%2Cc.txt\r\n"));
    EXPECT_EQ(UriList::decode(list), paths);
}

TEST(UriListTest, DecodingSkipsCommentsForeignUrisAndOtherHosts) {
    const std::string list = "# from a browser\r\n"
                             "file:///a%2fb\r\n"
                             "http://example.com/x\r\n"
                             "file://otherhost/share/x\r\n"
                             "file://localhost/home/u\n"
                             "FILE:/single/slash\n"
                             "\r\n"
                             "file:///broken%zz%4";
    EXPECT_EQ(UriList::decode(list),
              (std::vector<std::string>{"/a/b", "/home/u", "/single/slash", "/broken%zz%4"}));
    EXPECT_EQ(UriList::pathOf("file:relative"), "");
}
