#include "platform/desktop/UrlShortcut.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(UrlShortcutTest, AddressOfTheInternetShortcutSection) {
    EXPECT_EQ(UrlShortcut::parse("[InternetShortcut]\r\nURL=https://example.org/a?b=c&d\r\n"),
              "https://example.org/a?b=c&d");
    // Section and key in any letter case, blanks around them.
    EXPECT_EQ(UrlShortcut::parse("[{000214A0-0000-0000-C000-000000000046}]\nURL=wrong\n"
                                 " [internetshortcut] \n IconIndex=0\n url = http://x/ \n"),
              "http://x/");
    EXPECT_EQ(UrlShortcut::parse("[Other]\nURL=http://no/\n"), std::nullopt);
    EXPECT_EQ(UrlShortcut::parse("[InternetShortcut]\nURL=\n"), std::nullopt);
    EXPECT_EQ(UrlShortcut::parse(""), std::nullopt);
}

TEST(UrlShortcutTest, ReadsTheEncodingsWindowsAndOthersWrite) {
    TempDir dir;
    // CP932, as Windows writes it: "http://例.jp/"
    EXPECT_EQ(
        UrlShortcut::read(dir.write("a.url", "[InternetShortcut]\r\nURL=http://\x97\xe1.jp/\r\n")),
        "http://例.jp/");
    EXPECT_EQ(UrlShortcut::read(
                  dir.write("b.URL", "\xEF\xBB\xBF[InternetShortcut]\nURL=http://例.jp/\n")),
              "http://例.jp/");
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string_view("[InternetShortcut]\r\nURL=http://x\r\n"))
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(UrlShortcut::read(dir.write("c.url", utf16)), "http://x");
    EXPECT_EQ(UrlShortcut::read(dir / "missing.url"), std::nullopt);
    EXPECT_EQ(UrlShortcut::read(dir.mkdir("folder.url")), std::nullopt);
}
