#include "platform/desktop/FileListFormats.h"

#include <gtest/gtest.h>
#include <map>

namespace {

TEST(FileListFormatsTest, OneSetOfDataInTheFormsOfTheDesktopsFileManagers) {
    const std::vector<std::string> paths = {"/d/a, b 日.txt", "/d/x\xFF\ny"};
    const auto copied = FileListFormats::encode(paths, ClipEffect::Copy);
    const std::map<std::string_view, std::string> forms(copied.begin(), copied.end());
    EXPECT_EQ(forms.at("text/uri-list"),
              "file:///d/a%2C%20b%20%E6%97%A5.txt\r\nfile:///d/x%FF%0Ay\r\n");
    EXPECT_EQ(forms.at("x-special/gnome-copied-files"),
              "copy\nfile:///d/a%2C%20b%20%E6%97%A5.txt\nfile:///d/x%FF%0Ay");
    EXPECT_EQ(forms.at("application/x-kde-cutselection"), "0");
    EXPECT_EQ(forms.at("text/plain"), "/d/a, b 日.txt\n/d/x\xFF\ny");
    const auto cut = FileListFormats::encode(paths, ClipEffect::Move);
    const std::map<std::string_view, std::string> cutForms(cut.begin(), cut.end());
    EXPECT_TRUE(cutForms.at("x-special/gnome-copied-files").starts_with("cut\nfile:///d/a"));
    EXPECT_EQ(cutForms.at("application/x-kde-cutselection"), "1");
}

TEST(FileListFormatsTest, TheMarkersDecideCopyOrMoveAndABareListCopies) {
    struct Case {
        const char* what;
        std::map<std::string_view, std::string> offered;
        std::vector<std::string> paths;
        ClipEffect effect;
    };
    const std::string uri = "file:///d/a%2C%20b\r\n";
    const Case cases[] = {
        {"bare uri list", {{"text/uri-list", uri}}, {"/d/a, b"}, ClipEffect::Copy},
        {"gnome cut alone",
         {{"x-special/gnome-copied-files", "cut\nfile:///d/x"}},
         {"/d/x"},
         ClipEffect::Move},
        {"gnome copy",
         {{"x-special/gnome-copied-files", "copy\nfile:///d/x"}},
         {"/d/x"},
         ClipEffect::Copy},
        {"gnome cut with a uri list",
         {{"text/uri-list", uri}, {"x-special/gnome-copied-files", "cut\r\nfile:///d/x"}},
         {"/d/a, b"},
         ClipEffect::Move},
        {"kde cut",
         {{"text/uri-list", uri}, {"application/x-kde-cutselection", "1"}},
         {"/d/a, b"},
         ClipEffect::Move},
        {"kde copy",
         {{"text/uri-list", uri}, {"application/x-kde-cutselection", "0"}},
         {"/d/a, b"},
         ClipEffect::Copy},
        {"gnome copy wins over kde cut",
         {{"text/uri-list", uri},
          {"x-special/gnome-copied-files", "copy\nfile:///d/a%2C%20b"},
          {"application/x-kde-cutselection", "1"}},
         {"/d/a, b"},
         ClipEffect::Copy},
        {"text alone is no file list", {{"text/plain", "/d/x"}}, {}, ClipEffect::Copy},
    };
    for (const Case& c : cases) {
        const ClipboardFiles files =
            FileListFormats::decode([&](std::string_view format) -> std::optional<std::string> {
                const auto it = c.offered.find(format);
                return it == c.offered.end() ? std::nullopt : std::optional(it->second);
            });
        EXPECT_EQ(files.paths, c.paths) << c.what;
        EXPECT_EQ(files.effect, c.effect) << c.what;
    }
}

} // namespace
