#include "history/RegisteredFolders.h"

#include "controls/MenuArray.h"
#include "history/CommaList.h"
#include "platform/FolderPicker.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/TextCase.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace {

std::string dirKey(int index) {
    return "DIR-" + std::to_string(index);
}

} // namespace

RegisteredFolders::RegisteredFolders(MenuArray& mnDir, MenuArray& mnNew, FolderPicker& picker)
    : mnDir_(mnDir), mnNew_(mnNew), picker_(picker) {}

void RegisteredFolders::load(SettingsStore& ini) {
    sDirLst_.clear();
    int k = 0;
    for (int i = 0; i < kLoadedKeys; ++i) {
        const std::string folder = ini.vGtVal(dirKey(i), "");
        if (folder.empty() || contains(folder) || !FileSystem::folderExists(folder))
            continue;
        sDirLst_.push_back(folder);
        mnDir_.setCaption(k, folder);
        mnDir_.setVisible(k, true);
        ++k;
    }
    mnNew_.setVisible(0, !sDirLst_.empty());
}

void RegisteredFolders::store(SettingsStore& ini) const {
    std::vector<std::string> folders;
    for (int index : mnDir_.indexes())
        folders.push_back(mnDir_.caption(index));
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return TextCase::compare(a, b) < 0; });
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (folders[i] != "?")
            ini.SetVal(dirKey(static_cast<int>(i)), folders[i]);
}

RegisteredFolders::Outcome RegisteredFolders::AddNwFld(Source source,
                                                       std::string_view selectedFolder,
                                                       SettingsStore& ini, std::uintptr_t owner) {
    if (source == Source::SelectedNode)
        return registerFolder(selectedFolder, ini);
    return registerFolder(picker_.pickFolder(owner, kPickerTitle, "", ""), ini);
}

RegisteredFolders::Outcome RegisteredFolders::registerFolder(std::string_view folder,
                                                             SettingsStore& ini) {
    if (folder.empty())
        return Outcome::NothingChosen;
    const std::string path(folder);
    // A folder listed as registered but missing from the menu is added again rather than
    // overwriting whatever item 0 holds.
    const int k = contains(path) ? menuIndexOf(path) : -1;
    if (k >= 0) {
        shiftDown(k);
    } else {
        if (!contains(path))
            sDirLst_.push_back(path);
        shiftDown(mnDir_.upperBound() + 1);
    }
    setItem(0, path);
    mnNew_.setVisible(0, true);
    return writeThrough(ini) ? Outcome::Saved : Outcome::NotSaved;
}

bool RegisteredFolders::contains(std::string_view folder) const {
    return CommaList::find(sDirLst_, folder) >= 0;
}

void RegisteredFolders::shiftDown(int from) {
    for (int i = from - 1; i >= 0; --i)
        setItem(i + 1, mnDir_.caption(i));
}

void RegisteredFolders::setItem(int index, const std::string& caption) {
    mnDir_.setCaption(index, caption);
    mnDir_.setVisible(index, caption != "?");
}

int RegisteredFolders::menuIndexOf(std::string_view folder) const {
    const std::vector<int> indexes = mnDir_.indexes();
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        if (TextCase::equal(mnDir_.caption(*it), folder))
            return *it;
    return -1;
}

bool RegisteredFolders::writeThrough(SettingsStore& ini) const {
    ini.GetGtx(kGroup);
    for (int index : mnDir_.indexes())
        if (mnDir_.caption(index) != "?")
            ini.SetVal(dirKey(index), mnDir_.caption(index));
    return ini.SetGtx() && ini.SetTxt();
}
