#include "e2e/TavrinOnX.h"
#include "platform/desktop/UriList.h"
#include "platform/qt/QtClipboard.h"
#include "support/ChildProcess.h"
#include "support/EnvVar.h"
#include "support/FakeClipboardManager.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

// The clipboard of this process on a private X server, and other programs on it: xclip,
// and this test program standing in for a file manager that offers several forms.
class ClipboardOnXTest : public ::testing::Test {
  protected:
    ClipboardOnXTest() {
        EXPECT_TRUE(x.ok());
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                         [this] { changed = true; });
    }

    // Lets this process answer the X server for up to ten seconds while `busy` holds.
    template <typename F> static void serveWhile(F&& busy) {
        for (int i = 0; i < 1000 && busy(); ++i) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // What another program reads in this form; the clipboard's owner (this process)
    // answers while the reader runs.
    std::string read(const std::string& type) {
        const std::string out = dir / "read.out";
        QApplication::processEvents(); // the claim of the clipboard reaches the server
        ChildProcess xclip({"/usr/bin/xclip", "-selection", "clipboard", "-o", "-t", type},
                           {"DISPLAY=" + x.display()}, out);
        serveWhile([&] { return xclip.running(); });
        return xclip.wait(1000) == 0 ? TempDir::read(out) : "(failed) " + TempDir::read(out);
    }
    // Another program takes the clipboard: xclip with one form, or `offers` of a helper.
    void offer(std::vector<std::string> argv, std::vector<std::string> env) {
        // The end of the previous owner is a change of its own.
        if (owner) {
            changed = false;
            owner.reset();
            serveWhile([&] { return !changed; });
        }
        changed = false;
        env.push_back("DISPLAY=" + x.display());
        owner = std::make_unique<ChildProcess>(argv, env);
        serveWhile([&] { return !changed; });
        ASSERT_TRUE(changed) << argv[0];
    }
    void offerWithXclip(const std::string& type, const std::string& content) {
        const std::string file = dir.write("offered", content);
        offer({"/usr/bin/xclip", "-quiet", "-selection", "clipboard", "-i", "-t", type, file}, {});
    }

    static inline int argc = 1;
    static inline char name[] = "tavrin_e2e_tests";
    static inline char* argv[] = {name, nullptr};
    XvfbServer x{640, 480};
    EnvVar display{"DISPLAY", x.display()};
    EnvVar platform{"QT_QPA_PLATFORM", "xcb"};
    QApplication app{argc, argv};
    TempDir dir;
    QtClipboard clipboard;
    std::unique_ptr<ChildProcess> owner;
    bool changed = false;
};

// Names with a comma, blanks, a Japanese character, a line break and bytes that are
// not UTF-8.
std::vector<std::string> oddPaths(const TempDir& dir) {
    return {dir.write("a, b 日本.txt", "a"), dir.write("c\nd\xFF\xFE.txt", "c")};
}

TEST_F(ClipboardOnXTest, OtherProgramsReadWhatIsCutInTheirForms) {
    const auto paths = oddPaths(dir);
    clipboard.setFileList(paths, ClipEffect::Move);
    const std::string uris = UriList::fileUri(paths[0]) + "\n" + UriList::fileUri(paths[1]);
    EXPECT_EQ(read("text/uri-list"),
              UriList::fileUri(paths[0]) + "\r\n" + UriList::fileUri(paths[1]) + "\r\n");
    EXPECT_EQ(read("x-special/gnome-copied-files"), "cut\n" + uris);
    EXPECT_EQ(read("application/x-kde-cutselection"), "1");
    EXPECT_EQ(UriList::decode(read("text/uri-list")), paths);

    clipboard.setFileList(paths, ClipEffect::Copy);
    EXPECT_EQ(read("x-special/gnome-copied-files"), "copy\n" + uris);
    EXPECT_EQ(read("application/x-kde-cutselection"), "0");
    EXPECT_EQ(read("UTF8_STRING"), paths[0] + "\n" + paths[1])
        << "plain text, the bytes as they are";
}

TEST_F(ClipboardOnXTest, WhatOtherProgramsPutThereIsReadWithItsEffect) {
    const auto paths = oddPaths(dir);
    const std::string uriList = UriList::encode(paths);
    const std::string lines = UriList::fileUri(paths[0]) + "\n" + UriList::fileUri(paths[1]);
    struct Case {
        const char* what;
        std::string type, content;
        ClipEffect effect;
    };
    const Case cases[] = {
        {"bare uri list", "text/uri-list", uriList, ClipEffect::Copy},
        {"gnome cut", "x-special/gnome-copied-files", "cut\n" + lines, ClipEffect::Move},
        {"gnome copy", "x-special/gnome-copied-files", "copy\n" + lines, ClipEffect::Copy},
    };
    for (const Case& c : cases) {
        offerWithXclip(c.type, c.content);
        EXPECT_TRUE(clipboard.hasFileList()) << c.what;
        const ClipboardFiles files = clipboard.fileList();
        EXPECT_EQ(files.paths, paths) << c.what;
        EXPECT_EQ(files.effect, c.effect) << c.what;
    }
    for (const char* marker : {"1", "0"}) {
        offer({std::filesystem::read_symlink("/proc/self/exe").string(),
               "--gtest_also_run_disabled_tests",
               "--gtest_filter=ClipboardOwner.DISABLED_OffersAUriListWithAKdeMarker"},
              {"OFFER_URIS=" + uriList, std::string("OFFER_KDE=") + marker, "QT_QPA_PLATFORM=xcb"});
        const ClipboardFiles files = clipboard.fileList();
        EXPECT_EQ(files.paths, paths) << marker;
        EXPECT_EQ(files.effect, *marker == '1' ? ClipEffect::Move : ClipEffect::Copy) << marker;
    }
}

// Copy in the program (Ctrl+A, Ctrl+C in the list), read by another program, and kept by
// the desktop's clipboard manager when the program ends.
TEST(ClipboardOnXProgramTest, ACopiedFileOutlivesTheProgramInTheClipboardManager) {
    TempDir dir;
    const std::string file = dir.write("files/a, b 日本.txt", "a");
    XvfbServer x(1024, 700);
    ASSERT_TRUE(x.ok());
    FakeClipboardManager manager(x.display(), {"text/uri-list", "x-special/gnome-copied-files"});
    ASSERT_TRUE(manager.ok());
    TavrinOnX tavrin(dir, x.display(), dir / "files");
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << tavrin.log();
    TavrinOnX::selectAllRows(x.display(), *window);
    X11Probe::xdotool(x.display(), {"key", "ctrl+c"});
    const std::string out = dir / "read.out";
    ChildProcess xclip({"/usr/bin/xclip", "-selection", "clipboard", "-o", "-t", "text/uri-list"},
                       {"DISPLAY=" + x.display()}, out);
    ASSERT_EQ(xclip.wait(10000), 0);
    EXPECT_EQ(TempDir::read(out), UriList::fileUri(file) + "\r\n");

    tavrin.signal(SIGTERM);
    const auto saved = manager.waitForSave(10000);
    EXPECT_EQ(tavrin.wait(10000), 0);
    ASSERT_EQ(saved.size(), 2u) << "the program handed its clipboard over when it ended";
    EXPECT_EQ(saved.at("text/uri-list"), UriList::fileUri(file) + "\r\n");
    EXPECT_EQ(saved.at("x-special/gnome-copied-files"), "copy\n" + UriList::fileUri(file));
}

// Run by WhatOtherProgramsPutThereIsReadWithItsEffect as another program: offers a URI list with a
// KDE cut marker, as Dolphin does, until it is ended.
TEST(ClipboardOwner, DISABLED_OffersAUriListWithAKdeMarker) {
    int argc = 1;
    char name[] = "owner";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    auto* data = new QMimeData;
    data->setData("text/uri-list", std::getenv("OFFER_URIS"));
    data->setData("application/x-kde-cutselection", std::getenv("OFFER_KDE"));
    QGuiApplication::clipboard()->setMimeData(data);
    QApplication::exec();
}

} // namespace
