#include "actions/SelectionCollector.h"

#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "platform/text/PathText.h"

std::vector<std::string> SelectionCollector::selectedPaths(Pane pane, bool foldersOnly,
                                                           bool firstOnly) const {
    return pane == Pane::Tree ? fromTree(foldersOnly) : fromList(foldersOnly, firstOnly);
}

std::vector<std::string> SelectionCollector::fromTree(bool foldersOnly) const {
    const TreeNode* node = tree_.trActNd();
    if (!node) {
        if (state_.root.empty())
            return {};
        return {state_.root};
    }
    if (foldersOnly && EntryKinds::of(node) != EntryKind::Folder)
        return {};
    return {tree_.fullPath(node)};
}

std::string SelectionCollector::listedFolder() const {
    std::string folder = tree_.nodePath(tree_.currentNode());
    if (!folder.empty())
        PathText::withSeparator(folder);
    return folder;
}

std::vector<std::string> SelectionCollector::fromList(bool foldersOnly, bool firstOnly) const {
    const std::string folder = listedFolder();
    if (folder.empty())
        return {};
    std::vector<std::string> paths;
    const ListControl& list = state_.c.listControl;
    for (int i = 1; i <= list.count(); ++i) {
        const ListItem* row = list.itemAt(i);
        if (!row->selected())
            continue;
        if (foldersOnly && EntryKinds::of(row) != EntryKind::Folder) {
            if (firstOnly)
                break;
            continue;
        }
        paths.push_back(folder + std::string(row->text()));
        if (firstOnly)
            break;
    }
    if (paths.empty() && foldersOnly)
        paths.push_back(folder);
    return paths;
}
