#include "browser/BrowserFixture.h"
#include "platform/text/AnsiCodec.h"
#include "settings/SettingsStore.h"
#include "support/EnvVar.h"

namespace {

class ParametersTest : public BrowserFixture {
  protected:
    std::string settings(const std::string& keys) {
        return dir.write("User.xml", AnsiCodec::encode(
                                         "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                         "   <設定>\r\n" +
                                         keys + "   </設定>\r\n</運用>"));
    }
    void load(const std::string& path) {
        ASSERT_TRUE(ini.readFile(path));
        browser.loadParameters(ini, options);
    }
    std::string key(const std::string& name, const std::string& value) {
        return "      <" + name + ">" + value + "</" + name + ">\r\n";
    }

    EnvVar home{"HOME", dir.mkdir("home")};
    EnvVar config{"XDG_CONFIG_HOME", dir / "cfg"};
    SettingsStore ini{messages};
    DocumentOptions options;
};

TEST_F(ParametersTest, FirstStartWithoutSettingsUsesTheDefaults) {
    dir.write("cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    dir.mkdir("home/Docs");
    load(dir / "User.xml");
    EXPECT_TRUE(browser.showsList());
    EXPECT_EQ(browser.treeHeightTwips(), 3000);
    EXPECT_EQ(browser.controls().splitter.treePaneHeight(), 200);
    EXPECT_EQ(browser.root(), dir / "home/Docs");
    EXPECT_EQ(options.fileOpenMode, 1);
    EXPECT_EQ(options.officeOpenMode, 2);
    EXPECT_FALSE(options.readOnly);
    EXPECT_EQ(options.minimiseExtensions, "EXE");
    EXPECT_FALSE(host.sep.visible(0)) << "no registered folders: no separator";
    EXPECT_TRUE(host.view.checked(1));
    EXPECT_FALSE(host.view.checked(0));
    EXPECT_EQ(host.width, 2730) << "no stored width keeps the window's";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ParametersTest, StoredValuesAreLoadedWithTheirRules) {
    dir.mkdir("root/act");
    dir.mkdir("reg1");
    dir.mkdir("reg2");
    load(settings(
        key("Width", "3000.5") + key("Root", dir / "root") + key("ActPh", dir / "root/act") +
        key("TrvHi", "2500") + key("TypF", "0") + key("TypD", "1") + key("ReadOnly", "True") +
        key("MiniFm", "EXE,BAT") + key("LnkByExp", "True") + key("LsCwd", "1500,abc,0,999") +
        key("DIR-0", dir / "reg2") + key("DIR-1", dir / "gone") + key("DIR-2", dir / "REG2") +
        key("DIR-3", dir / "reg1") + key("DIR-10", dir / "root")));
    EXPECT_EQ(host.width, 3000) << "half to even";
    EXPECT_EQ(browser.root(), dir / "root");
    EXPECT_EQ(browser.activePath(), dir / "root/act");
    EXPECT_EQ(options.fileOpenMode, 0);
    EXPECT_EQ(options.officeOpenMode, 1);
    EXPECT_FALSE(options.readOnly) << "read-only needs the office types";
    EXPECT_EQ(options.minimiseExtensions, "EXE,BAT");
    EXPECT_TRUE(browser.exploresFolderShortcuts());
    auto& list = browser.controls().listControl;
    EXPECT_EQ(list.column(0).width, 100);
    EXPECT_EQ(list.column(1).width, 7) << "no number: 100 twips";
    EXPECT_EQ(list.column(2).width, 7);
    EXPECT_EQ(host.dir.caption(0), dir / "reg2");
    EXPECT_EQ(host.dir.caption(1), dir / "reg1");
    EXPECT_FALSE(host.dir.exists(2)) << "gone and duplicate folders and DIR-10 are not loaded";
    EXPECT_TRUE(host.sep.visible(0));
    EXPECT_EQ(browser.registered()->registeredPaths(),
              (std::vector<std::string>{dir / "reg2", dir / "reg1"}));
}

TEST_F(ParametersTest, StoreAndLoadAgainGiveTheSameState) {
    dir.mkdir("root/act");
    dir.mkdir("b-reg");
    dir.mkdir("A-reg");
    load(settings(key("Root", dir / "root") + key("ActPh", dir / "root/act") +
                  key("DIR-0", dir / "b-reg") + key("DIR-1", dir / "A-reg") +
                  key("Recent", "," + (dir / "b-reg") + ",") + key("DIR-5", dir / "root")));
    browser.controls().listControl.setColumnWidth(0, 123);
    browser.controls().splitter.setTreePaneHeightFromView(150);
    host.width = 4000;
    options.officeOpenMode = 3;
    options.readOnly = true;
    browser.storeParameters(ini, options);
    ASSERT_TRUE(ini.writeFile());

    FakeBrowserHost host2;
    ManualTimer timer2;
    FolderBrowser again(messages, loop, icons, timer2, folderPicker, pathOpener);
    again.attachHost(host2);
    SettingsStore ini2(messages);
    ASSERT_TRUE(ini2.readFile(ini.filePath()));
    DocumentOptions options2;
    again.loadParameters(ini2, options2);
    EXPECT_EQ(again.root(), dir / "root");
    EXPECT_EQ(again.activePath(), dir / "root/act");
    EXPECT_EQ(again.treeHeightTwips(), 2250);
    EXPECT_EQ(again.controls().listControl.column(0).width, 123);
    EXPECT_EQ(host2.width, 4000);
    EXPECT_EQ(options2.officeOpenMode, 3);
    EXPECT_TRUE(options2.readOnly);
    EXPECT_EQ(again.recent().savedRecentFolders(),
              "," + (dir / "root") + "," + (dir / "b-reg") + ",")
        << "the root set at start comes first";
    // Registered folders are stored sorted: A-reg, b-reg, root.
    ini2.readGroup("設定");
    EXPECT_EQ(ini2.valueOr("DIR-0", ""), dir / "A-reg");
    EXPECT_EQ(ini2.valueOr("DIR-1", ""), dir / "b-reg");
    EXPECT_EQ(ini2.valueOr("DIR-2", ""), dir / "root");
    EXPECT_EQ(ini2.valueOr("DIR-5", ""), dir / "root") << "old higher keys stay in the file";
}

TEST_F(ParametersTest, TreeOnlyViewStoresTheFullHeightAndTheSplitViewStartsAtHalf) {
    dir.mkdir("root");
    load(settings(key("Root", dir / "root")));
    browser.controls().splitter.setTreePaneHeightFromView(600);
    browser.showList(false);
    EXPECT_EQ(browser.treeHeightTwips(), 0);
    browser.storeParameters(ini, options);
    ini.readGroup("設定");
    EXPECT_EQ(ini.valueOr("TrvHi", 0), 9000);
    EXPECT_FALSE(ini.valueOr("ShwL", true));
    browser.showList(true);
    EXPECT_EQ(browser.treeHeightTwips(), 4500) << "half the control's height";
    EXPECT_EQ(browser.controls().splitter.treePaneHeight(), 300);
}

} // namespace
