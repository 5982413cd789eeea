#include "platform/text/AnsiCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiCodec, ReadingAndWritingBackGivesTheSameBytes) {
    const std::string cases[] = {
        "\x90\xdd\x92\xe8 abc \x81\x60",    // 設定 abc ～
        "\x81\x40ok\xa0\xfd\xfe",           // bytes that are not CP932
        "\xeb\x40\x85\x81\x40",             // lead bytes without a character
        "\xeb\x80\x80",                     // stray bytes that together read as UTF-8
        "a\xef\xbf\xbd\xec\x80\x80z\xed",   // ...next to real characters
        "\xfa\x5c\x87\x54\x81\xe0\x81\xca", // the codes Windows writes for duplicates
    };
    for (const std::string& bytes : cases)
        EXPECT_EQ(AnsiCodec::encode(AnsiCodec::decode(bytes)), bytes) << bytes;
    EXPECT_EQ(AnsiCodec::decode("\x90\xdd\x92\xe8"), "設定");
}

TEST(AnsiCodec, ADuplicateCodeComesBackAsTheOneWindowsWrites) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xed\x40", "\xfa\x5c"}, // 纊, NEC-selected IBM extension
        {"\x87\x90", "\x81\xe0"}, // ≒, NEC row 13
        {"\xfa\x4a", "\x87\x54"}, // Ⅰ, IBM extension
        {"\xee\xf9", "\x81\xca"}, // ¬
    };
    for (const auto& [read, written] : cases) {
        EXPECT_EQ(AnsiCodec::decode(read), AnsiCodec::decode(written));
        EXPECT_EQ(AnsiCodec::encode(AnsiCodec::decode("<" + read + ">")), "<" + written + ">");
    }
}

} // namespace
