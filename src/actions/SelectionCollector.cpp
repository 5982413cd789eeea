#include "actions/SelectionCollector.h"

#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "platform/text/PathText.h"

std::vector<std::string> SelectionCollector::selectedPaths(Pane pane, SelectionScope scope) const {
    return pane == Pane::Tree ? fromTree(scope) : fromList(scope);
}

std::vector<std::string> SelectionCollector::fromTree(SelectionScope scope) const {
    const TreeNode* node = tree_.trActNd();
    if (!node) {
        if (state_.root.empty())
            return {};
        return {state_.root};
    }
    if (scope == SelectionScope::Folders && EntryKinds::of(node) != EntryKind::Folder)
        return {};
    return {tree_.fullPath(node)};
}

std::string SelectionCollector::listedFolder() const {
    std::string folder = tree_.nodePath(tree_.currentNode());
    if (!folder.empty())
        PathText::withSeparator(folder);
    return folder;
}

std::vector<std::string> SelectionCollector::fromList(SelectionScope scope) const {
    const bool foldersOnly = scope == SelectionScope::Folders;
    const std::string folder = listedFolder();
    if (folder.empty())
        return {};
    std::vector<std::string> paths;
    const ListControl& list = state_.c.listControl;
    for (int i = 1; i <= list.count(); ++i) {
        const ListItem* row = list.itemAt(i);
        if (!row->selected())
            continue;
        if (foldersOnly && EntryKinds::of(row) != EntryKind::Folder)
            continue;
        paths.push_back(folder + std::string(row->text()));
        if (scope == SelectionScope::First)
            break;
    }
    if (paths.empty() && foldersOnly)
        paths.push_back(folder);
    return paths;
}
