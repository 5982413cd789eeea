#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The splitter that arranges the browser's panes, addressed by key without regard to
// letter case: "pRoot" (drive list), "pFnd" (the button row), "pTrv" (tree) and, in the
// split view only, "pLsV" (list) below the tree. Each pane holds one child control named
// by text ("Drive1", "frFnd", "TrView", "LsView") or nothing. Heights are in pixels.
class Splitter {
  public:
    using Listener = std::function<void()>;

    // The panes of a new browser: "pRoot", "pFnd", "pTrv" holding their controls.
    Splitter();

    // Called after every change made by the program (not by the view).
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // Adds a pane after the pane `after` (at the end when `after` names none); false
    // when a pane of that key exists already.
    bool addPane(std::string key, std::string_view after = {});
    bool removePane(std::string_view key);
    bool hasPane(std::string_view key) const;
    std::vector<std::string> paneKeys() const;
    // The child a pane holds; false when no such pane.
    bool setPaneChild(std::string_view key, std::string child);
    std::string paneChild(std::string_view key) const;
    // The list is shown when the pane "pLsV" exists and holds "LsView".
    bool listShown() const;

    // Height of the tree pane in pixels, as set by the program or dragged by the user.
    int treePaneHeight() const { return treeHeight_; }
    void setTreePaneHeight(int pixels);
    // Height of the whole browser control, as laid out by the view.
    int controlHeight() const { return controlHeight_; }
    int controlWidth() const { return controlWidth_; }

    // For the view: record sizes the user or the layout already produced.
    void setTreePaneHeightFromView(int pixels) { treeHeight_ = pixels; }
    void setControlSizeFromView(int width, int height);

  private:
    struct Pane {
        std::string key;
        std::string child;
    };
    std::vector<Pane>::iterator findPane(std::string_view key);
    std::vector<Pane>::const_iterator findPane(std::string_view key) const;
    void changed();

    std::vector<Pane> panes_;
    int treeHeight_ = 0;
    int controlHeight_ = 0;
    int controlWidth_ = 0;
    Listener listener_;
};
