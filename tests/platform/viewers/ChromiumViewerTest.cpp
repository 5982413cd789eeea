#include "platform/viewers/ChromiumViewer.h"
#include "support/EnvVar.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(ChromiumViewerTest, PathsBecomeFileUrlsWithEveryUnsafeBytePercentEncoded) {
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/tmp/a.html", "file:///tmp/a.html"},
        {"/tmp/a b#1%?.htm", "file:///tmp/a%20b%231%25%3F.htm"},
        {"/tmp/日本.html", "file:///tmp/%E6%97%A5%E6%9C%AC.html"},
        {"/tmp/\xff\x01,&<>.png", "file:///tmp/%FF%01%2C%26%3C%3E.png"},
        {"/tmp/a:b.html", "file:///tmp/a%3Ab.html"},
        {"rel/x.pdf", "file://" + std::string(cwd) + "/rel/x.pdf"},
        {"about:blank", "about:blank"},
        {"https://example.org/a?b=c#d", "https://example.org/a?b=c#d"},
        {"http://example.org/a b/日", "http://example.org/a%20b/%E6%97%A5"},
    };
    for (const auto& [path, url] : cases)
        EXPECT_EQ(ChromiumViewer::addressOf(path), url) << path;
}

TEST(ChromiumViewerTest, WithoutABrowserInstalledNothingStartsAndEveryCallAnswers) {
    TempDir empty;
    EnvVar path("PATH", empty.path());
    ChromiumViewer viewer(empty / "profile");
    EXPECT_FALSE(viewer.start());
    EXPECT_FALSE(viewer.alive());
    EXPECT_FALSE(viewer.open("/tmp/a.html", false));
    EXPECT_EQ(viewer.visible(), std::nullopt);
    EXPECT_EQ(viewer.minimized(), std::nullopt);
    viewer.closeDocument();
    viewer.restore();
    viewer.setBounds(0, 0, 100, 100);
    viewer.minimize();
    viewer.show();
    viewer.quit();
    EXPECT_EQ(viewer.processId(), 0);
    EXPECT_EQ(viewer.programName(), "Chromium");
}

} // namespace
