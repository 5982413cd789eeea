#include "platform/viewers/LibreOfficeViewer.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase {
    std::string path;
    std::string url;
};

TEST(LibreOfficeViewerTest, FileUrlsCarryEveryByteOfTheName) {
    const UrlCase cases[] = {
        {"/home/u/plain-name_1.0~.txt", "file:///home/u/plain-name_1.0~.txt"},
        {"/d/a b.txt", "file:///d/a%20b.txt"},
        {"/d/#1%2?.doc", "file:///d/%231%252%3F.doc"},
        {"/d/;,<&>'\".xls", "file:///d/%3B%2C%3C%26%3E%27%22.xls"},
        {"/d/日本.txt", "file:///d/%E6%97%A5%E6%9C%AC.txt"},
        {"/d/\xe9\xff.txt", "file:///d/%E9%FF.txt"},
        {"/d/line\nbreak", "file:///d/line%0Abreak"},
    };
    for (const UrlCase& c : cases)
        EXPECT_EQ(LibreOfficeViewer::fileUrl(c.path), c.url) << c.path;
}

TEST(LibreOfficeViewerTest, NothingRunsBeforeAStart) {
    LibreOfficeViewer viewer(OfficeKind::Writer, "/nonexistent/profile");
    EXPECT_FALSE(viewer.alive());
    EXPECT_EQ(viewer.visible(), std::nullopt);
    EXPECT_EQ(viewer.minimized(), std::nullopt);
    EXPECT_FALSE(viewer.open("/tmp/a.txt", true));
    viewer.closeDocument();
    viewer.quit();
    EXPECT_EQ(viewer.processId(), 0);
    EXPECT_EQ(viewer.programName(), "LibreOffice Writer");
    EXPECT_EQ(LibreOfficeViewer(OfficeKind::Calc, "/nonexistent").programName(),
              "LibreOffice Calc");
}

} // namespace
