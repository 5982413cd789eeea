#include "opening/FindFiles.h"
#include "opening/PlacementSteps.h"
#include "platform/FindWindow.h"
#include "platform/ProgramStarter.h"

#include <gtest/gtest.h>

namespace {

// One journal for every double, so the tests see the order of the steps.
using Journal = std::vector<std::string>;

class RecordingPlacement : public PlacementSteps {
  public:
    explicit RecordingPlacement(Journal& journal) : journal_(journal) {}
    void placeWindow(int mode) override { journal_.push_back("place " + std::to_string(mode)); }

  private:
    Journal& journal_;
};

// Starts only the programs named as installed.
class ScriptedStarter : public ProgramStarter {
  public:
    explicit ScriptedStarter(Journal& journal) : journal_(journal) {}
    bool start(const std::vector<std::string>& argv) override {
        tried.push_back(argv);
        const bool there =
            std::find(installed.begin(), installed.end(), argv[0]) != installed.end();
        if (there)
            journal_.push_back("start " + argv[0]);
        return there;
    }

    std::vector<std::string> installed;
    std::vector<std::vector<std::string>> tried;

  private:
    Journal& journal_;
};

class ScriptedFindWindow : public FindWindow {
  public:
    explicit ScriptedFindWindow(Journal& journal) : journal_(journal) {}
    void setOpenHandler(OpenHandler handler) override { open = std::move(handler); }
    void show(const std::string& folder) override {
        shown = true;
        journal_.push_back("own window in " + folder);
    }
    bool isShown() const override { return shown; }
    void bringForward() override { journal_.push_back("forward"); }

    OpenHandler open;
    bool shown = false;

  private:
    Journal& journal_;
};

class FindFilesTest : public ::testing::Test {
  protected:
    Journal journal;
    RecordingPlacement placement{journal};
    ScriptedStarter starter{journal};
    ScriptedFindWindow window{journal};
    FindFiles findFiles{starter, window, placement, "/home/u",
                        [this](const std::string& path) { journal.push_back("open " + path); }};
};

TEST_F(FindFilesTest, TheFirstInstalledDesktopToolIsStartedAndPlaced) {
    starter.installed = {"kfind", "searchmonkey"};
    findFiles.findFiles();
    EXPECT_EQ(journal, (Journal{"place 0", "start kfind", "place 1"}));
    ASSERT_EQ(starter.tried.size(), 3u);
    EXPECT_EQ(starter.tried[0], (std::vector<std::string>{"catfish"}))
        << "tools are started without a shell and without arguments";
    EXPECT_FALSE(window.shown);
}

TEST_F(FindFilesTest, WithoutADesktopToolTheOwnWindowOpensAndIsPlaced) {
    findFiles.findFiles();
    EXPECT_EQ(journal, (Journal{"place 0", "own window in /home/u", "place 1"}));
    EXPECT_EQ(starter.tried.size(), FindFiles::kDesktopTools.size());
}

TEST_F(FindFilesTest, TheOwnWindowOnceOpenIsBroughtForwardAndNotPlacedAgain) {
    findFiles.findFiles();
    journal.clear();
    findFiles.findFiles();
    EXPECT_EQ(journal, (Journal{"forward"}));

    window.shown = false; // closed by the user
    journal.clear();
    findFiles.findFiles();
    EXPECT_EQ(journal, (Journal{"place 0", "own window in /home/u", "place 1"}));
}

TEST_F(FindFilesTest, AResultChosenInTheOwnWindowIsOpenedThroughTheGivenService) {
    ASSERT_TRUE(window.open);
    window.open("/home/u/caf\xe9.txt");
    EXPECT_EQ(journal, (Journal{"open /home/u/caf\xe9.txt"}));
}

} // namespace
