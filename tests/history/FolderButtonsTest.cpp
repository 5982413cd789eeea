#include "history/FolderButtons.h"
#include "support/ScriptedFolderPicker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FolderButtonsTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string root = dir.mkdir("root");
    std::vector<std::string> rootsSet;
    std::vector<FolderSubmenu> popUps;
    ScriptedFolderPicker picker;
    FolderButtons buttons{picker,
                          {[this] { return root; },
                           [this](const std::string& folder) { rootsSet.push_back(folder); },
                           [this](FolderSubmenu menu) { popUps.push_back(menu); }}};
};

TEST_F(FolderButtonsTest, ChooseButtonStartsAtTheRootAndSetsTheChoice) {
    picker.answers.push_back(dir / "other");
    buttons.clicked(0, 3);
    ASSERT_EQ(picker.calls.size(), 1u);
    EXPECT_EQ(picker.calls[0].owner, 3u);
    EXPECT_EQ(picker.calls[0].title, "ﾌｫﾙﾀﾞの指定");
    EXPECT_EQ(picker.calls[0].initialFolder, root);
    EXPECT_EQ(rootsSet, (std::vector<std::string>{dir / "other"}));
}

TEST_F(FolderButtonsTest, CancelledPickerLeavesTheRootAndAGoneRootIsNoStart) {
    root = dir / "gone";
    buttons.clicked(0);
    ASSERT_EQ(picker.calls.size(), 1u);
    EXPECT_EQ(picker.calls[0].initialFolder, "");
    EXPECT_TRUE(rootsSet.empty());
}

TEST_F(FolderButtonsTest, HistoryAndRegisteredButtonsPopUpTheirSubmenus) {
    buttons.clicked(1);
    buttons.clicked(2);
    buttons.clicked(3);
    buttons.clicked(-1);
    EXPECT_EQ(popUps, (std::vector<FolderSubmenu>{FolderSubmenu::RecentFolders,
                                                  FolderSubmenu::RegisteredFolders}));
    EXPECT_TRUE(picker.calls.empty());
}

} // namespace
