#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FolderPicker;
class MenuArray;
class SettingsStore;

// The registered folders: shown newest first in the host's menu array registeredFoldersMenu (item 0
// the placeholder "?", hidden while nothing is registered; an item is shown exactly when its
// caption is not "?"), with the separator registrationMenu(0) above the two registration commands
// shown once a folder is registered. In the settings group "設定" each folder is one key
// "DIR-" + index, so a path with a comma is stored whole.
//
// The membership list holds the loaded and registered folders in the order they came;
// it answers whether a folder is registered (without regard to case) and never decides
// the display order.
class RegisteredFolders {
  public:
    static constexpr std::string_view kGroup = "設定";
    static constexpr std::string_view kPickerTitle = "ﾌｫﾙﾀﾞの指定";
    // Keys "DIR-0" to "DIR-9" are read at start-up.
    static constexpr int kLoadedKeys = 10;
    // How long loading waits for a file system to say whether a folder still exists.
    static constexpr int kAnswerMs = 100;

    enum class Source { Picker, SelectedNode };
    enum class Outcome {
        NothingChosen, // picker cancelled or no selected folder: nothing changed
        Saved,         // registered and written to the settings file
        NotSaved,      // registered in the menu, but the settings file could not be written
    };

    RegisteredFolders(MenuArray& registeredFoldersMenu, MenuArray& registrationMenu,
                      FolderPicker& picker);

    // At start-up, in the group the caller has selected: the folders of "DIR-0" to
    // "DIR-9" that are not empty, not a repetition and still exist fill registeredFoldersMenu from
    // item 0 in key order; the separator shows when at least one was loaded.
    void load(SettingsStore& ini);
    // At shutdown, in the group the caller has selected: all registeredFoldersMenu captions sorted
    // without regard to case, written as "DIR-" + position, the placeholder "?" skipped but keeping
    // its position.
    void store(SettingsStore& ini) const;

    // Registers the folder chosen in the picker (empty initial folder, default title) or
    // the selected node's folder handed in, puts it at the top of registeredFoldersMenu and writes
    // all registered folders through to the settings file.
    Outcome registerChosenFolder(Source source, std::string_view selectedFolder, SettingsStore& ini,
                                 std::uintptr_t owner = 0);
    Outcome registerFolder(std::string_view folder, SettingsStore& ini);

    bool contains(std::string_view folder) const;
    const std::vector<std::string>& registeredPaths() const { return registeredPaths_; }

  private:
    // Items from `from` - 1 down to 0 each move one place down, overwriting item `from`.
    void shiftDown(int from);
    void setItem(int index, const std::string& caption);
    int menuIndexOf(std::string_view folder) const;
    bool writeThrough(SettingsStore& ini) const;

    MenuArray& registeredFoldersMenu_;
    MenuArray& registrationMenu_;
    FolderPicker& picker_;
    std::vector<std::string> registeredPaths_;
};
