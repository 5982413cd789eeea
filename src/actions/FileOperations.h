#pragma once

#include "browser/Pane.h"

#include "actions/ClipboardTransfer.h"
#include "actions/FileActions.h"
#include "actions/FileUndo.h"
#include "actions/ShortcutMaker.h"
#include "actions/UndoHistory.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Clipboard;
class FileList;
class FileOperationService;
class FolderTree;
class MessageBox;
class TreeNode;
class TreeWatch;
class UiLoop;
struct BrowserState;

// The file operations of the browser control: new folder and rename through label edits
// of the panes (the folder is created or renamed when the edit ends), delete, copy and
// move through the file-operation service, and the panes brought up to date afterwards.
// Nodes and rows are held by key across anything that lets events run, so a pane rebuilt
// meanwhile never leaves a dangling pointer.
class FileOperations : public FileActions {
  public:
    static constexpr std::string_view kNewFolderText = "新規ﾌｫﾙﾀﾞ";

    FileOperations(BrowserState& state, FolderTree& tree, FileList& list, TreeWatch& watch,
                   UiLoop& loop, MessageBox& messages, std::function<void(bool)> setTimer);
    // The service copy, move and delete go through; without one they are not done.
    void setService(FileOperationService* service) {
        service_ = service;
        undo_.setService(service);
    }

    bool runFileOperation(FileOperationKind kind, const std::vector<std::string>& sources,
                          const std::string& destination) override;
    void makeNewFolder(Pane pane) override;
    void renameSelected(Pane pane) override;
    void deleteSelected(const std::vector<std::string>& sources, Pane pane) override;
    void refreshFolderNode(const std::string& folder) override;
    void undoLast() override;
    bool canUndo() const override { return !history_.empty(); }

    void putFilesOnClipboard(const std::vector<std::string>& paths, bool cut) override {
        clipboard_.putFilesOnClipboard(paths, cut);
    }
    void pasteFiles(Pane pane) override { clipboard_.pasteFiles(pane); }
    void copyListAsText() override { clipboard_.copyListAsText(); }
    void makeShortcuts(const std::vector<std::string>& paths,
                       const std::string& destination) override {
        shortcuts_.makeShortcuts(paths, destination);
    }
    // The clipboard that copy, cut and paste use; without one they do nothing.
    void setClipboard(Clipboard* clipboard) { clipboard_.setClipboard(clipboard); }

    // The panes' after-edit handlers: whether the new text stands (`text` empty: the
    // edit was abandoned). The refresh timer resumes whatever the outcome.
    bool treeLabelEdited(const std::string& key, const std::optional<std::string>& text);
    bool listLabelEdited(const std::string& key, const std::optional<std::string>& text);

  private:
    void newTreeNode();
    void newListRow();
    bool applyTreeEdit(const std::string& key, const std::string& text);
    bool applyListEdit(const std::string& key, const std::string& text);
    // Creates the folder `name` in `folder` (`old` empty) or renames `old` there to `name`.
    // A refusal is told, naming the name, since the edit then goes back without a word.
    bool nameOnDisk(const std::string& folder, const std::string& old, const std::string& name);
    // Keeps what a completed rename or new folder did, for undo.
    void recordNaming(const std::string& folder, const std::string& old, const std::string& target);
    void recordResult(FileOperationKind kind, const FileOperationResult& result);
    void deleteFromTree(const std::vector<std::string>& sources);
    // Whether `inner` is `node` or lies below it.
    static bool holds(const TreeNode* node, const TreeNode* inner);
    void deleteFromList(const std::vector<std::string>& sources);
    // Makes the node the one whose folder the list shows.
    void showInList(const std::string& key);

    BrowserState& state_;
    FolderTree& tree_;
    FileList& list_;
    TreeWatch& watch_;
    UiLoop& loop_;
    MessageBox& messages_;
    std::function<void(bool)> setTimer_;
    FileOperationService* service_ = nullptr;
    bool running_ = false;
    ClipboardTransfer clipboard_;
    ShortcutMaker shortcuts_;
    UndoHistory history_;
    FileUndo undo_;
};
