#pragma once

#include "actions/ActionServices.h"
#include "actions/BrowserActions.h"
#include "actions/FakeClipboard.h"
#include "actions/RecordingFileActions.h"
#include "browser/BrowserFixture.h"
#include "opening/ShellServices.h"
#include "platform/Clipboard.h"
#include "platform/PopupMenuView.h"
#include "support/EnvVar.h"
#include "support/ScriptedShellOpener.h"

#include <optional>

// Records the menus shown (the paste item's state among them) and chooses the entry at
// the end of `choice`, a path of captions; an empty choice closes the menu unchosen.
class ScriptedPopupMenu : public PopupMenuView {
  public:
    std::optional<int> popUp(const std::vector<PopupEntry>& entries, PopupPlace place) override {
        shown.push_back(entries);
        places.push_back(place);
        if (during)
            during();
        const std::vector<PopupEntry>* level = &entries;
        std::optional<int> id;
        for (const std::string& caption : choice) {
            for (const PopupEntry& entry : *level) {
                if (entry.caption == caption) {
                    id = entry.id;
                    level = &entry.submenu;
                    break;
                }
            }
        }
        return id;
    }
    // Whether the paste item of the menu shown last was enabled.
    bool pasteEnabled() const {
        for (const PopupEntry& entry : shown.back())
            if (entry.caption == "貼り付け(&P)")
                return entry.enabled;
        return false;
    }

    std::vector<std::vector<PopupEntry>> shown;
    std::vector<PopupPlace> places;
    std::vector<std::string> choice;
    // Runs while the menu is up.
    std::function<void()> during;
};

// A browser on a real folder "r" with the actions wired to recording doubles; opening
// and explore requests of the browser are written to `opened`.
class ActionsFixture : public BrowserFixture {
  protected:
    ActionsFixture() {
        ActionServices services;
        services.shell = &shell;
        services.clipboard = &clipboard;
        services.popup = &popup;
        services.findFiles = [this] { opened.push_back("find"); };
        services.placeStarted = [] { return true; };
        browser.setActionServices(services);
        browser.setFileActions(actions);
    }

    // The list's rows with these names selected, the first of them current.
    void selectRows(const std::vector<std::string>& names) {
        auto& list = browser.controls().listControl;
        list.clearSelection();
        for (const std::string& name : names)
            list.setSelected(row(name), true);
        list.setCurrent(row(names.front()), true);
    }
    std::string keyOf(const std::string& name) { return std::string(row(name)->key()); }
    void rightClickRow(const std::string& name) {
        const std::string key = name.empty() ? std::string() : keyOf(name);
        browser.listMousePressed(key, MouseButton::Right, {});
        browser.listMouseReleased(key, MouseButton::Right, {});
    }
    void rightClickNode(const std::string& key) {
        browser.treeMousePressed(key, MouseButton::Right, {});
        browser.treeMouseReleased(key, MouseButton::Right, {});
    }

    EnvVar data{"XDG_DATA_HOME", dir / "data"};
    ScriptedShellOpener opener;
    ShellServices shell{opener, folderPicker, loop};
    FakeClipboard clipboard;
    ScriptedPopupMenu popup;
    RecordingFileActions actions;
    std::vector<std::string>& opened = pathOpener.log;
};
