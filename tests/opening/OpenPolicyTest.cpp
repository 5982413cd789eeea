#include "opening/OpenPolicy.h"
#include "opening/ShellServices.h"
#include "settings/DocumentOptions.h"
#include "support/NullUiLoop.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedShellOpener.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// The main window of the documented example: 4800 twips at 15 twips a pixel on a
// 1280 × 984 work area.
class Host : public PolicyHost {
  public:
    const DocumentOptions& documentOptions() const override { return options; }
    void minimizeMain() override { minimized = true; }
    int mainWidthTwips() const override { return 4800; }
    double mainTwipsPerPixelX() const override { return 15; }
    PixelRect workArea() const override { return {0, 0, 1280, 984}; }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }
    void showWorking(bool on) override { working = on; }
    bool handlerBusy() const override { return busy; }
    MessageBox::SaveChoice askToSave(std::string_view text) override {
        asked.emplace_back(text);
        return choice;
    }

    DocumentOptions options;
    MessageBox::SaveChoice choice = MessageBox::SaveChoice::Cancel;
    std::vector<std::string> asked;
    bool minimized = false;
    int waitDepth = 0;
    bool working = false;
    bool busy = false;
};

class OpenPolicyTest : public ::testing::Test {
  protected:
    OpenPolicyTest() { policy.attachHost(host); }
    Log open(std::string path, bool plainOpen = false) {
        log.clear();
        opener.calls.clear();
        policy.open(path, plainOpen ? OpenMode::Plain : OpenMode::Document);
        for (const auto& call : opener.calls)
            log.push_back("shell " + call.kind + " " + call.target);
        return log;
    }

    Host host;
    ScriptedShellOpener opener;
    ScriptedFolderPicker picker;
    NullUiLoop loop;
    ShellServices shell{opener, picker, loop};
    Log log;
    RecordingViewer word{"word", log};
    RecordingViewer sheet{"sheet", log};
    RecordingViewer browser{"browser", log};
    std::vector<std::string> recorded;
    OpenPolicy policy{shell, nullptr, [this](const std::string& p) { recorded.push_back(p); },
                      KeptViewers{&word, &sheet, &browser}};
};

// Word Left 240, Top 0, Width 724, Height 741 for the office kinds; pixels for the browser.
const std::string kPixelBounds = "bounds 319 0 961 984";

TEST_F(OpenPolicyTest, KindsFollowTheOptionTheExtensionTheCommaAndThePlainOpen) {
    struct Case {
        short officeOpenMode;
        std::string path;
        bool plainOpen;
        std::string first; // the start of the first call the request makes
    };
    const Case cases[] = {
        {0, "/d/a.doc", false, "shell open /d/a.doc"},
        {1, "/d/a.doc", false, "shell open /d/a.doc"},
        {2, "/d/report.TXT", false, "word "},
        {3, "/d/b.xlsx", false, "sheet "},
        {2, "/d/a.csv", false, "sheet "},
        {2, "/d/page.html", false, "browser "},
        {3, "/d/photo.PNG", false, "browser "},
        {2, "/d/a.zip", false, "shell open /d/a.zip"},
        {2, "/d/a.doc,/d/b.xls", false, "shell open /d/a.doc"},
        {2, "/d/a.xls", true, "shell open /d/a.xls"},
        {2, "/d.doc/readme", false, "shell open /d.doc/readme"},
    };
    for (const Case& c : cases) {
        host.options.officeOpenMode = c.officeOpenMode;
        const Log calls = open(c.path, c.plainOpen);
        ASSERT_FALSE(calls.empty()) << c.path;
        EXPECT_EQ(calls.front().substr(0, c.first.size()), c.first)
            << c.path << " with option " << c.officeOpenMode;
        EXPECT_EQ(recorded.back(), c.path);
    }
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(OpenPolicyTest, AnOfficeDocumentOpensPlacedInPointsAndReadOnlyWhenAsked) {
    host.options.readOnly = true;
    EXPECT_EQ(open("/d/a.xls"), (Log{"sheet start", "sheet " + kPixelBounds, "sheet restore",
                                     "sheet open /d/a.xls ro", "sheet show",
                                     "sheet " + kPixelBounds, "sheet restore"}));
    EXPECT_EQ(open("/d/b.xls"), (Log{"sheet close", "sheet " + kPixelBounds, "sheet restore",
                                     "sheet open /d/b.xls ro", "sheet show",
                                     "sheet " + kPixelBounds, "sheet restore"}))
        << "the second document replaces the first in the same viewer";
    EXPECT_EQ(open("/d/p.htm"), (Log{"browser start", "browser show", "browser " + kPixelBounds,
                                     "browser open /d/p.htm", "browser " + kPixelBounds,
                                     "sheet close", "sheet minimize"}))
        << "read-only means nothing to the browser; the spreadsheet gives way";
}

TEST_F(OpenPolicyTest, KindSwitchesCloseTheLastKindAndTheBrowserShowsAnEmptyPage) {
    open("/d/a.htm");
    Log calls = open("/d/a.doc");
    EXPECT_EQ(calls.back(), "browser close") << "the browser shows an empty page";
    calls = open("/d/b.xls");
    EXPECT_EQ(Log(calls.end() - 2, calls.end()), (Log{"word close", "word minimize"}));
    calls = open("/d/c.doc");
    EXPECT_EQ(calls.front(), "word " + kPixelBounds)
        << "a minimised word processor is reused without closing again";
    calls = open("/d/x.zip");
    EXPECT_EQ(calls, (Log{"shell open /d/x.zip"})) << "a shell request switches nothing";
}

TEST_F(OpenPolicyTest, DeadOrHiddenViewersAreStartedAgain) {
    open("/d/a.xls");
    sheet.shown = false;
    EXPECT_EQ(open("/d/b.xls").front(), "sheet start") << "an invisible spreadsheet is replaced";
    open("/d/a.doc");
    word.running = false;
    EXPECT_EQ(open("/d/b.doc").front(), "word start");
    browser.running = false;
    EXPECT_EQ(open("/d/a.gif").front(), "browser start");
}

TEST_F(OpenPolicyTest, AViewerThatCannotStartLeavesTheDocumentToTheDesktop) {
    word.canStart = false;
    browser.canStart = false;
    EXPECT_EQ(open("/d/a.doc"), (Log{"word start", "shell open /d/a.doc"}));
    EXPECT_EQ(open("/d/a.pdf"), (Log{"browser start", "shell open /d/a.pdf"}));
}

TEST_F(OpenPolicyTest, UnsavedEditsAreSavedDroppedOrKeptAsTheUserSays) {
    using Choice = MessageBox::SaveChoice;
    struct Case {
        const char* next; // the request after edits in "/d/a.doc"
        Choice choice;
        Log calls;
    };
    const Case cases[] = {
        {"/d/b.doc", Choice::Save, {"word save", "word close"}},
        {"/d/b.doc", Choice::Discard, {"word close"}},
        {"/d/b.doc", Choice::Cancel, {}},
        {"/d/b.xls", Choice::Save, {"word save", "word close"}},
        {"/d/b.xls", Choice::Cancel, {}},
        {"/d/b.zip", Choice::Cancel, {"shell open"}},
    };
    for (const Case& c : cases) {
        open("/d/a.doc");
        word.edited = true;
        recorded.clear();
        host.asked.clear();
        host.choice = c.choice;
        Log calls;
        for (const std::string& call : open(c.next))
            if (call.starts_with("word save") || call.starts_with("word close") ||
                call.starts_with("shell"))
                calls.push_back(call.substr(0, call.find(' ', 6)));
        EXPECT_EQ(calls, c.calls) << c.next << " " << static_cast<int>(c.choice);
        const bool asked = c.calls != Log{"shell open"};
        EXPECT_EQ(host.asked, asked ? std::vector<std::string>{"word"
                                                               "で表示している文書は変更されてい"
                                                               "ます。\r変更を保存しますか?"}
                                    : std::vector<std::string>{})
            << c.next;
        EXPECT_EQ(recorded.empty(), c.choice == Choice::Cancel && asked)
            << "a cancelled request opens and records nothing";
        word.edited = false;
    }
    word.edited = true;
    host.choice = Choice::Cancel;
    log.clear();
    policy.closeViewers();
    EXPECT_EQ(std::count(log.begin(), log.end(), "word quit"), 0) << "kept at the exit";
}

TEST_F(OpenPolicyTest, OnlyWhatReallyStartedIsRecorded) {
    host.options.officeOpenMode = 2;
    opener.result = false;
    word.canOpen = false;
    browser.canStart = false;
    for (const char* path : {"/d/a.zip", "/d/a.doc", "/d/a.pdf", "/d/a.zip,/d/b.zip"})
        open(path);
    EXPECT_EQ(recorded, std::vector<std::string>{});
    opener.result = true;
    open("/d/a.pdf");
    EXPECT_EQ(recorded, std::vector<std::string>{"/d/a.pdf"});
}

TEST_F(OpenPolicyTest, AWebShortcutOpensItsAddressWhichIsRecorded) {
    TempDir dir;
    const std::string shortcut =
        dir.write("site.URL", "[InternetShortcut]\r\nURL=https://example.org/a?b\r\n");
    EXPECT_EQ(open(shortcut)[3], "browser open https://example.org/a?b");
    EXPECT_EQ(recorded.back(), "https://example.org/a?b");
}

TEST_F(OpenPolicyTest, MinimiseListMatchesAnyPartOfTheExtension) {
    host.options.officeOpenMode = 0;
    for (const auto& [path, minimizes] : {std::pair{"/s/setup.exe", true},
                                          {"/s/a.e", true},
                                          {"/s/a.EX", true},
                                          {"/s/a.", true},
                                          {"/s/a.txt", false}}) {
        host.minimized = false;
        open(path);
        EXPECT_EQ(host.minimized, minimizes) << path;
    }
}

TEST_F(OpenPolicyTest, ShownViewersAreNamedAfterTheirProgramsAndClosedSpreadsheetFirst) {
    word.program = "LibreOffice Writer";
    sheet.program = "LibreOffice Calc";
    browser.program = "Chromium";
    EXPECT_EQ(policy.openViewerNames(), "");
    open("/d/a.doc");
    open("/d/a.xls");
    open("/d/a.htm");
    EXPECT_EQ(policy.openViewerNames(),
              "LibreOffice Calc\u3000LibreOffice Writer\u3000Chromium\u3000");
    host.options.officeOpenMode = 3;
    word.running = false;
    EXPECT_EQ(policy.openViewerNames(), "LibreOffice Calc\u3000Chromium\u3000")
        << "a viewer quit by hand is left out, the others are still named";
    log.clear();
    policy.closeViewers();
    EXPECT_EQ(log, (Log{"sheet quit", "word quit", "browser quit"}));
    EXPECT_EQ(policy.openViewerNames(), "");
}

// The viewers' calls run away from the window's thread (here: when the test ends them), so
// the window answers while an office starts.
TEST_F(OpenPolicyTest, ViewerRequestsRunInTheBackgroundOneAtATimeTheNewestOfAKindWaiting) {
    NullUiLoop::holdWork = true;
    NullUiLoop background;
    OpenPolicy async{shell, nullptr, [this](const std::string& p) { recorded.push_back(p); },
                     KeptViewers{&word, &sheet, &browser}, &background};
    NullUiLoop::holdWork = false;
    async.attachHost(host);
    ManualWork& calls = *background.heldWork;
    const auto request = [&](std::string path) { async.open(path, OpenMode::Document); };

    request("/d/a.doc");
    EXPECT_TRUE(log.empty() && host.working && async.viewerBusy()) << "nothing waits for it";
    request("/d/x.zip");
    EXPECT_EQ(opener.calls.size(), 1u) << "a desktop open goes on meanwhile";
    host.busy = true; // a context menu is up: what comes after the start waits for it
    calls.finish();
    background.timers.front()->tick();
    EXPECT_EQ(log, (Log{"word start"}));
    host.busy = false;
    background.timers.front()->tick();
    EXPECT_EQ(log.back(), "word restore") << "placed once the menu is gone";
    calls.finishAll();
    EXPECT_FALSE(host.working || async.viewerBusy());

    log.clear();
    request("/d/b.doc");
    request("/d/p.htm");
    request("/d/c.doc");
    request("/d/q.htm");
    calls.finish(); // the shown document holds no edits: the viewer is being prepared
    async.placeDocumentWindow();
    EXPECT_TRUE(log.empty()) << "the window leaves the viewer to the calls under way";
    calls.finishAll();
    EXPECT_EQ(recorded, (std::vector<std::string>{"/d/x.zip", "/d/a.doc", "/d/b.doc", "/d/q.htm",
                                                  "/d/c.doc"}))
        << "the newest waiting request of a kind took the place of the one before it";

    log.clear();
    request("/d/d.doc");
    request("/d/e.doc");
    async.closeViewers();
    EXPECT_TRUE(log.empty()) << "nor does the end of the program quit it under them";
    calls.finishAll();
    EXPECT_EQ(recorded.back(), "/d/d.doc") << "the waiting requests were dropped at the end";
}

} // namespace
