#include "actions/ClipboardTransfer.h"

#include "actions/FileActions.h"
#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "browser/TreeWatch.h"
#include "platform/Clipboard.h"
#include "platform/text/PathText.h"

void ClipboardTransfer::putFilesOnClipboard(const std::vector<std::string>& paths, bool cut) {
    if (clipboard_)
        clipboard_->setFileList(paths, cut ? ClipEffect::Move : ClipEffect::Copy);
}

void ClipboardTransfer::pasteFiles(Pane pane) {
    if (!clipboard_)
        return;
    const std::string target = pasteTarget(pane);
    if (target.empty())
        return;
    // A cut list stays on the clipboard after the move, as in the desktop's file managers.
    const ClipboardFiles files = clipboard_->fileList();
    if (files.paths.empty())
        return;
    const FileOperationKind kind =
        files.effect == ClipEffect::Move ? FileOperationKind::Move : FileOperationKind::Copy;
    if (!actions_.runFileOperation(kind, files.paths, target))
        return;
    // The folder pasted into is brought up to date, whichever node is selected; its node
    // is looked up afresh, as the operation let events run.
    actions_.refreshFolderNode(target);
}

std::string ClipboardTransfer::pasteTarget(Pane pane) const {
    if (pane == Pane::Tree) {
        const TreeNode* pointed =
            state_.pointedKey.empty() ? nullptr : state_.c.treeControl.find(state_.pointedKey);
        return pointed ? tree_.nodePath(pointed) : std::string();
    }
    const TreeNode* listed = tree_.currentNode();
    const std::string base = listed ? tree_.nodePath(listed) : std::string();
    const ListItem* pressed =
        state_.trackedItem > 0 ? state_.c.listControl.itemAt(state_.trackedItem) : nullptr;
    if (base.empty() || !pressed)
        return base;
    if (EntryKinds::of(pressed) != EntryKind::Folder)
        return {};
    return PathText::child(base, pressed->text());
}

void ClipboardTransfer::copyListAsText() {
    if (clipboard_)
        clipboard_->setText(listing());
}

std::string ClipboardTransfer::listing() const {
    std::string text = "名前\t更新日\tｻｲｽﾞ\r";
    const ListControl& list = state_.c.listControl;
    for (int i = 1; i <= list.count(); ++i) {
        const ListItem* row = list.itemAt(i);
        for (int column = 0; column < ListItem::columnCount; ++column) {
            text += row->columnText(column);
            text += column + 1 < ListItem::columnCount ? '\t' : '\r';
        }
    }
    return text;
}
