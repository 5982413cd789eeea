#pragma once

#include "browser/Pane.h"

#include "actions/BrowserCommand.h"
#include "actions/FileOperations.h"
#include "actions/PaneDragDrop.h"
#include "actions/ShellHandOff.h"
#include "browser/BrowserHost.h"
#include "browser/BrowserState.h"
#include "browser/ChangeNotices.h"
#include "browser/ChangeSignature.h"
#include "browser/ExpandedWatch.h"
#include "browser/FileList.h"
#include "browser/FolderReads.h"
#include "browser/FolderScan.h"
#include "browser/FolderSnapshots.h"
#include "browser/FolderTree.h"
#include "browser/HiddenEntries.h"
#include "browser/IconCache.h"
#include "browser/TreeWatch.h"
#include "controls/BrowserControls.h"
#include "controls/BrowserInput.h"
#include "history/FolderButtons.h"
#include "history/RecentLists.h"
#include "history/RegisteredFolders.h"
#include "platform/fs/FolderWatch.h"
#include "platform/fs/FolderWatchSet.h"
#include "settings/DocumentOptions.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class BrowserActions;
class FileActions;
class FolderPicker;
class IconTheme;
struct ActionServices;
class MessageBox;
class PathOpener;
class Timer;
class UiLoop;
class SettingsPass;
class SettingsStore;

// The folder browser control: tree, list, drive list and buttons, the refresh timer and
// the parameters it keeps in the settings group "設定". It puts together the browser's
// state, the file actions and the histories, so it lives with the assembly of the program.
// It owns its controls; the view shows them and reports input through BrowserInput.
class FolderBrowser : public BrowserInput {
  public:
    // Chosen paths are opened by `opener`.
    FolderBrowser(MessageBox& messages, UiLoop& loop, IconTheme& icons, Timer& timer,
                  FolderPicker& picker, PathOpener& opener);
    ~FolderBrowser() override;

    BrowserControls& controls() { return controls_; }
    void attachHost(BrowserHost& host);

    // The browser's parameters and the document options in the settings group "設定".
    void loadParameters(SettingsStore& ini, DocumentOptions& options);
    void storeParameters(SettingsStore& ini, DocumentOptions options);
    const std::string& filter() const { return state_.filter; }
    void setFilter(std::string filter) { state_.filter = std::move(filter); }
    void showList(bool shown);
    bool showsList() const { return state_.showList; }
    // The folder the user works in: the list's (or the selected node's) folder, or the one
    // being opened while it is still being read. Never waits for a file system.
    std::string activePath();
    void setRoot(std::string_view value) { tree_.setRoot(value); }
    const std::string& root() const { return state_.root; }
    void redrawTree() { tree_.redrawTree(); }
    // Entries whose names begin with "." in the tree and the list: shown or hidden, both
    // panes following at once; the choice is kept in the user data folder for the next run.
    bool hiddenEntriesShown() const { return hidden_.shown(); }
    void showHiddenEntries(bool shown);
    void toggleHiddenEntries() { showHiddenEntries(!hidden_.shown()); }
    void setTimerRunning(bool on);

    void setListColumnWidths(std::string_view widths);
    std::string listColumnWidths() const;

    FolderTree& tree() { return tree_; }
    FileList& list() { return list_; }
    TreeWatch& watch() { return watch_; }
    const ExpandedWatch& expandedWatch() const { return expanded_; }
    FolderReads& reads() { return reads_; }
    const BrowserState& state() const { return state_; }
    // The browser's own file actions, to put back after others were set.
    FileOperations& fileOperations() { return fileOperations_; }

    // Records an opened file in the recently executed or recently used files.
    void recordOpenedFile(std::string_view path);
    // Registers the selected node's folder, or one chosen in the folder chooser, and
    // writes the registered folders to the settings file at once.
    RegisteredFolders::Outcome registerChosenFolder(bool choose, SettingsStore& ini);
    const RecentLists& recent() const { return recent_; }
    const RegisteredFolders* registered() const { return registered_.get(); }

    bool exploresFolderShortcuts() const { return state_.exploreFolderShortcuts; }
    void setExploreFolderShortcuts(bool on) { state_.exploreFolderShortcuts = on; }
    // The tree pane's height in twips; 0 in the tree-only view.
    long treeHeightTwips() const { return treeHeightTwips_; }
    void setTreeHeightTwips(long twips) { treeHeightTwips_ = twips; }
    // The dialogs of copies, moves and deletes: progress, conflicts, failures.
    void setFileOperationService(FileOperationService* service) {
        fileOperations_.setService(service);
    }

    // The operations behind the context menu; until they are set those items do nothing.
    void setFileActions(FileActions& actions);
    // The services the context menu and its actions use; loads the send-to submenu.
    void setActionServices(const ActionServices& services);
    // Carries out the command on the tree's or the list's selection; `sendToLink` names the
    // send-to shortcut of BrowserCommand::SendTo.
    void perform(BrowserCommand command, Pane pane, std::string_view sendToLink = {});
    void exploreSystemFolder(SystemFolderChoice choice);
    const BrowserActions& actions() const { return *actions_; }

    // BrowserInput
    void treeMousePressed(const std::string& key, MouseButton button, KeyModifiers) override;
    void treeMouseReleased(const std::string& key, MouseButton button, KeyModifiers) override;
    void treeNodeExpanding(const std::string& key) override;
    void treeNodeCollapsed(const std::string&) override {}
    void treeNodeDoubleClicked(const std::string& key) override;
    bool treeLabelEdited(const std::string& key, const std::optional<std::string>& text) override;
    void treeKeyPressed(BrowserKey key, KeyModifiers modifiers) override;
    void treeFocusLost() override;
    void treeRowsShown(const std::vector<std::string>& keys) override;
    std::vector<std::string> treeDragStarting() override;
    void treeDragOver(const std::string& key, DragState state) override;
    DropOutcome treeDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers) override;
    void listMousePressed(const std::string& key, MouseButton button, KeyModifiers) override;
    void listMouseReleased(const std::string& key, MouseButton button, KeyModifiers) override;
    void listDoubleClicked(const std::string& key) override;
    void listHeaderClicked(int column) override;
    bool listLabelEdited(const std::string& key, const std::optional<std::string>& text) override;
    void listKeyPressed(BrowserKey key, KeyModifiers modifiers) override;
    std::vector<std::string> listDragStarting() override;
    void listDragOver(const std::string& key, DragState state) override;
    DropOutcome listDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers) override;
    void driveChosen(int index) override;
    void retButtonClicked(int index) override;
    void resized(int width, int height) override;

  private:
    // The values of the group as they are read and written.
    struct Parameters {
        std::optional<int> width;
        std::string root;
        std::string active;
        bool listShown = true;
        long treeHeight = 3000;
        std::string columnWidths;
    };
    void leadingParameters(SettingsPass& pass, Parameters& values, DocumentOptions& options);
    void trailingParameters(SettingsPass& pass, Parameters& values);
    void applyPlaces(Parameters& values, SettingsStore& ini);
    std::uintptr_t ownerWindow() const;
    int treePaneTwips() const;
    void setTreePaneTwips(long twips);
    void clearMarks();
    // The folder the user works in, as far as the browser knows it without the disk.
    std::string workFolder() const;
    // A folder being read does not answer: its node is greyed and the user told once.
    static constexpr Rgb kNotAnsweringColour = systemColour(SystemColour::ButtonShadow);
    void markNotAnswering(const std::string& folder, bool answering);

    BrowserControls controls_;
    BrowserState state_{controls_};
    MessageBox& messages_;
    UiLoop& loop_;
    Timer& timer_;
    FolderWatch folderWatch_;
    FolderWatchSet expandedFolders_;
    FolderSnapshots snapshots_;
    HiddenEntries hidden_;
    // Where the choice of hidden entries is kept; empty until the settings are loaded.
    std::string userData_;
    std::unique_ptr<BackgroundWork> work_;
    FolderReads reads_;
    FolderScan scan_;
    IconCache icons_;
    ChangeSignature signatures_;
    FolderTree tree_;
    FileList list_;
    TreeWatch watch_;
    FileOperations fileOperations_;
    ChangeNotices notices_;
    ExpandedWatch expanded_;
    FolderPicker& picker_;
    RecentLists recent_;
    std::unique_ptr<RegisteredFolders> registered_;
    std::unique_ptr<FolderButtons> buttons_;
    BrowserHost* host_ = nullptr;
    long treeHeightTwips_ = 0;
    bool treeHeightSet_ = false;
    std::unique_ptr<BrowserActions> actions_;
    PaneDragDrop dragDrop_;
};
