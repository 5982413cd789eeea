#include "history/RegisteredFolders.h"

#include "controls/MenuArray.h"
#include "history/CommaList.h"
#include "platform/FolderPicker.h"
#include "platform/process/ExistenceCheck.h"
#include "platform/text/TextCase.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace {

std::string dirKey(int index) {
    return "DIR-" + std::to_string(index);
}

} // namespace

RegisteredFolders::RegisteredFolders(MenuArray& registeredFoldersMenu, MenuArray& registrationMenu,
                                     FolderPicker& picker)
    : registeredFoldersMenu_(registeredFoldersMenu), registrationMenu_(registrationMenu),
      picker_(picker) {}

void RegisteredFolders::load(SettingsStore& ini) {
    registeredPaths_.clear();
    int k = 0;
    for (int i = 0; i < kLoadedKeys; ++i) {
        const std::string folder = ini.valueOr(dirKey(i), "");
        // A folder on a file system that does not answer at once is kept.
        if (folder.empty() || contains(folder) ||
            !ExistenceCheck::within(folder, true, kAnswerMs).value_or(true))
            continue;
        registeredPaths_.push_back(folder);
        registeredFoldersMenu_.setCaption(k, folder);
        registeredFoldersMenu_.setVisible(k, true);
        ++k;
    }
    registrationMenu_.setVisible(0, !registeredPaths_.empty());
}

void RegisteredFolders::store(SettingsStore& ini) const {
    std::vector<std::string> folders;
    for (int index : registeredFoldersMenu_.indexes())
        folders.push_back(registeredFoldersMenu_.caption(index));
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return TextCase::compare(a, b) < 0; });
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (folders[i] != "?")
            ini.setValue(dirKey(static_cast<int>(i)), folders[i]);
}

RegisteredFolders::Outcome RegisteredFolders::registerChosenFolder(Source source,
                                                                   std::string_view selectedFolder,
                                                                   SettingsStore& ini,
                                                                   std::uintptr_t owner) {
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
            registeredPaths_.push_back(path);
        shiftDown(registeredFoldersMenu_.upperBound() + 1);
    }
    setItem(0, path);
    registrationMenu_.setVisible(0, true);
    return writeThrough(ini) ? Outcome::Saved : Outcome::NotSaved;
}

bool RegisteredFolders::contains(std::string_view folder) const {
    return CommaList::find(registeredPaths_, folder) >= 0;
}

void RegisteredFolders::shiftDown(int from) {
    for (int i = from - 1; i >= 0; --i)
        setItem(i + 1, registeredFoldersMenu_.caption(i));
}

void RegisteredFolders::setItem(int index, const std::string& caption) {
    registeredFoldersMenu_.setCaption(index, caption);
    registeredFoldersMenu_.setVisible(index, caption != "?");
}

int RegisteredFolders::menuIndexOf(std::string_view folder) const {
    const std::vector<int> indexes = registeredFoldersMenu_.indexes();
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        if (TextCase::equal(registeredFoldersMenu_.caption(*it), folder))
            return *it;
    return -1;
}

bool RegisteredFolders::writeThrough(SettingsStore& ini) const {
    ini.readGroup(kGroup);
    for (int index : registeredFoldersMenu_.indexes())
        if (registeredFoldersMenu_.caption(index) != "?")
            ini.setValue(dirKey(index), registeredFoldersMenu_.caption(index));
    return ini.writeGroup() && ini.writeFile();
}
