#include "platform/desktop/MimeGlobs.h"

#include <gtest/gtest.h>

TEST(MimeGlobsTest, TellsNamesKnownByWholeNameOrPatternFromThoseOnlyExtensionsDecide) {
    MimeGlobs globs;
    EXPECT_FALSE(globs.known());
    globs.add("# comment\n"
              "50:text/x-makefile:makefile\n"
              "50:text/x-cmake:cmakelists.txt\n"
              "10:text/x-readme:readme*\n"
              "50:application/x-trash:*~\n"
              "50:application/x-troff-man:*.[1-9]\n"
              "60:application/x-sharedlib:*.so.[0-9]*\n"
              "50:application/x-core:core:cs\n"
              "50:text/plain:*.txt\n"
              "50:application/x-compressed-tar:*.tar.gz\n");
    EXPECT_TRUE(globs.known());
    for (const char* named : {"Makefile", "CMakeLists.txt", "README", "ReadMe.md", "notes~", "ls.1",
                              "libx.so.6", "core"})
        EXPECT_TRUE(globs.hasNameRule(named)) << named;
    for (const char* plain : {"plain", "notes.txt", "a.tar.gz", "ls.10", "libx.so", "corex", ""})
        EXPECT_FALSE(globs.hasNameRule(plain)) << plain;

    const std::pair<const char*, const char*> keys[] = {
        {"plain", ""},   {"notes.txt", ".txt"},  {"a.b.tar.gz", ".tar.gz"},
        {"x.gz", ".gz"}, {".hidden", ".hidden"}, {".config.json", ".config.json"}};
    for (const auto& [name, key] : keys)
        EXPECT_EQ(globs.extensionKey(name), key) << name;
}
