#pragma once

#include "app/FolderBrowser.h"
#include "browser/BrowserHost.h"
#include "controls/MenuArray.h"
#include "support/FakeIconTheme.h"
#include "support/ManualTimer.h"
#include "support/NullUiLoop.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A host window without a display: 15 twips per pixel.
class FakeBrowserHost : public BrowserHost {
  public:
    MenuArray& registeredFoldersMenu() override { return dir; }
    MenuArray& registrationMenu() override { return sep; }
    MenuArray& viewModeMenu() override { return view; }
    MenuArray& recentFoldersMenu() override { return recentFolders; }
    MenuArray& recentProgramsMenu() override { return recentExecuted; }
    MenuArray& recentFilesMenu() override { return recentFiles; }
    void popUpFolderMenu(FolderSubmenu menu) override { popups.push_back(menu); }
    int widthTwips() const override { return width; }
    void setWidthTwips(int twips) override { width = twips; }
    bool minimized() const override { return false; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
    std::uintptr_t windowHandle() const override { return 0; }

    MenuArray dir{0, "?", false};
    MenuArray sep{0, "-", false};
    MenuArray view{0, "ﾂﾘｰ", true};
    MenuArray recentFolders, recentExecuted, recentFiles;
    std::vector<FolderSubmenu> popups;
    int width = 2730;
};

class BrowserFixture : public ::testing::Test {
  protected:
    BrowserFixture() {
        browser.attachHost(host);
        host.view.ensure(1);
        browser.controls().splitter.setControlSizeFromView(200, 600);
    }

    TreeNode* node(const std::string& key) { return browser.controls().treeControl.find(key); }
    TreeNode* nodeAtPath(const std::string& path) {
        const std::string key = browser.tree().keyOfPath(path);
        return key.empty() ? nullptr : node(key);
    }
    std::vector<std::string> childTexts(const TreeNode* parent) {
        std::vector<std::string> out;
        for (TreeNode* c = parent ? parent->firstChild() : nullptr; c; c = c->nextSibling())
            out.push_back(c->text());
        return out;
    }
    std::vector<std::string> listTexts() {
        std::vector<std::string> out;
        auto& list = browser.controls().listControl;
        for (int i = 1; i <= list.count(); ++i)
            out.emplace_back(list.itemAt(i)->text());
        return out;
    }
    ListItem* row(const std::string& name) {
        auto& list = browser.controls().listControl;
        for (int i = 1; i <= list.count(); ++i)
            if (list.itemAt(i)->text() == name)
                return list.itemAt(i);
        return nullptr;
    }
    void press(const std::string& path) {
        browser.treeMousePressed(nodeAtPath(path)->key(), MouseButton::Left, {});
    }

    TempDir dir;
    ScriptedMessageBox messages;
    NullUiLoop loop;
    FakeIconTheme icons;
    ManualTimer timer;
    FakeBrowserHost host;
    ScriptedFolderPicker folderPicker;
    RecordingOpener pathOpener;
    FolderBrowser browser{messages, loop, icons, timer, folderPicker, pathOpener};
};
