#pragma once

#include "browser/Pane.h"

#include <string>
#include <vector>

class Clipboard;
class FileActions;
class FolderTree;
struct BrowserState;

// Files and texts through the desktop's clipboard: copy and cut put a list of files
// there, paste copies or moves such a list into the folder the user right-clicked, and
// the list pane's rows can be copied as text. Without a clipboard nothing is done.
class ClipboardTransfer {
  public:
    ClipboardTransfer(BrowserState& state, FolderTree& tree, FileActions& actions)
        : state_(state), tree_(tree), actions_(actions) {}
    void setClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }

    void putFilesOnClipboard(const std::vector<std::string>& paths, bool cut);
    // Into the pressed node's folder (`Pane::Tree`), or the pressed folder row's folder, or the
    // listed folder when no row was pressed. Nothing goes onto a file row.
    void pasteFiles(Pane pane);
    // A header line, then name, modified, size and sort key of every row in the list's
    // order; every line ends with CR.
    void copyListAsText();

  private:
    // The folder a paste goes into; empty when nothing may be pasted there.
    std::string pasteTarget(Pane pane) const;
    std::string listing() const;

    BrowserState& state_;
    FolderTree& tree_;
    FileActions& actions_;
    Clipboard* clipboard_ = nullptr;
};
