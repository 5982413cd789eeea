#include "opening/DisplaySettingsDialog.h"

#include "app/FakeMainWindow.h"
#include "support/ScriptedSettingsDialog.h"

#include <gtest/gtest.h>

namespace {

// The caller's five variables, as the main window passes them.
struct Values {
    short fileOpenMode = 1;
    short officeOpenMode = 2;
    bool readOnly = true;
    bool exploreFolderShortcuts = false;
    std::string minimiseExtensions = "EXE,bat";

    bool operator==(const Values&) const = default;
    void edit(DisplaySettingsDialog& dialog) {
        DocumentOptions options{fileOpenMode, officeOpenMode, readOnly, minimiseExtensions};
        dialog.edit(options, exploreFolderShortcuts);
        fileOpenMode = options.fileOpenMode;
        officeOpenMode = options.officeOpenMode;
        readOnly = options.readOnly;
        minimiseExtensions = options.minimiseExtensions;
    }
};

struct SettingsDialogFixture : ::testing::Test {
    Values act(Values v) {
        DisplaySettingsDialog dialog(view, mainWindow);
        v.edit(dialog);
        accepted = dialog.accepted;
        return v;
    }

    FakeMainWindow mainWindow;
    ScriptedSettingsDialog view;
    bool accepted = false;
};

TEST_F(SettingsDialogFixture, PresetsEveryControlFromTheValues) {
    act({1, 3, true, true, " txt, Doc "});
    ASSERT_EQ(view.calls.size(), 1u);
    const SettingsDialogState& s = view.calls[0].initial;
    EXPECT_EQ(s.general, 1);
    EXPECT_EQ(s.document, 3);
    EXPECT_TRUE(s.readOnlyChecked);
    EXPECT_TRUE(s.readOnlyEnabled);
    EXPECT_EQ(s.link, 0);
    EXPECT_EQ(s.extensions, " txt, Doc ");

    act({0, 1, false, false, ""});
    const SettingsDialogState& t = view.calls[1].initial;
    EXPECT_EQ(t.general, 0);
    EXPECT_EQ(t.document, 1);
    EXPECT_FALSE(t.readOnlyChecked);
    EXPECT_FALSE(t.readOnlyEnabled);
    EXPECT_EQ(t.link, 1);
}

TEST_F(SettingsDialogFixture, ValuesOutOfRangeSelectNoOptionAndOkMapsThemToTheLastOnes) {
    view.pressOk = true;
    const Values v = act({7, -1, true, true, "x"});
    EXPECT_EQ(view.calls[0].initial.general, -1);
    EXPECT_EQ(view.calls[0].initial.document, -1);
    EXPECT_FALSE(view.calls[0].initial.readOnlyEnabled);
    EXPECT_EQ(v.fileOpenMode, 1);
    EXPECT_EQ(v.officeOpenMode, 3);
    EXPECT_TRUE(v.readOnly);
}

TEST_F(SettingsDialogFixture, CancelAndTheCloseBoxChangeNothing) {
    view.edit = [](SettingsDialogState& s) {
        s.general = 0;
        s.document = 0;
        s.readOnlyChecked = false;
        s.link = 0;
        s.extensions = "zip";
    };
    const Values before;
    EXPECT_EQ(act(before), before);
    EXPECT_FALSE(accepted);
}

TEST_F(SettingsDialogFixture, OkWritesBackEveryValueExactlyAsChosen) {
    view.pressOk = true;
    view.edit = [](SettingsDialogState& s) {
        s.general = 0;
        s.document = 3;
        s.link = 0;
        s.extensions = " Zip ,,PDF";
    };
    const Values v = act({});
    EXPECT_TRUE(accepted);
    EXPECT_EQ(v, (Values{0, 3, true, true, " Zip ,,PDF"}));
}

TEST_F(SettingsDialogFixture, ReadOnlyIsDroppedWhenTheNewDocumentOptionIsNotAKeptProgram) {
    view.pressOk = true;
    for (int option : {0, 1}) {
        view.edit = [option](SettingsDialogState& s) { s.document = option; };
        const Values v = act({1, 2, true, false, "EXE"});
        EXPECT_EQ(v.officeOpenMode, option);
        EXPECT_FALSE(v.readOnly) << option;
    }
}

TEST_F(SettingsDialogFixture, ReadOnlyStaysDisabledAfterChoosingAKeptProgramUntilReopened) {
    view.pressOk = true;
    view.edit = [](SettingsDialogState& s) { s.document = 2; };
    Values v = act({1, 0, false, false, "EXE"});
    EXPECT_FALSE(view.calls[0].initial.readOnlyEnabled);
    EXPECT_EQ(v.officeOpenMode, 2);
    EXPECT_FALSE(v.readOnly);

    view.edit = [](SettingsDialogState& s) { s.readOnlyChecked = true; };
    v = act(v);
    EXPECT_TRUE(view.calls[1].initial.readOnlyEnabled);
    EXPECT_TRUE(v.readOnly);
}

TEST_F(SettingsDialogFixture, AnEmptyExtensionTextIsTakenAsIs) {
    view.pressOk = true;
    view.edit = [](SettingsDialogState& s) { s.extensions.clear(); };
    EXPECT_EQ(act({}).minimiseExtensions, "");
}

TEST_F(SettingsDialogFixture, StandsBelowAndRightOfTheMainWindowsTopLeftCorner) {
    mainWindow.frame = {40, 10, 222, 766};
    act({});
    EXPECT_EQ(view.calls[0].x, 40 + 33); // 500 twips at 15 twips a pixel, rounded
    EXPECT_EQ(view.calls[0].y, 10 + 100);

    struct LargeFonts : FakeMainWindow {
        double twipsPerPixelX() const override { return 12; }
        double twipsPerPixelY() const override { return 12; }
    } large;
    large.frame = {0, 0, 100, 100};
    DisplaySettingsDialog dialog(view, large);
    Values v;
    v.edit(dialog);
    EXPECT_EQ(view.calls[1].x, 42);
    EXPECT_EQ(view.calls[1].y, 125);
}

} // namespace
