#include "app/FolderBrowser.h"

#include "actions/ActionServices.h"
#include "actions/BrowserActions.h"
#include "browser/EntryKind.h"
#include "controls/MainMenu.h"
#include "controls/MenuArray.h"
#include "platform/InlineWork.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/UiLoop.h"
#include "platform/desktop/SystemFolders.h"
#include "platform/text/PathText.h"
#include "platform/text/TextCase.h"
#include "settings/HiddenEntriesChoice.h"
#include "settings/SettingsPass.h"
#include "settings/SettingsStore.h"
#include "settings/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr std::string_view kGroup = "設定";

std::unique_ptr<BackgroundWork> workOf(UiLoop& loop) {
    if (auto work = loop.newBackgroundWork())
        return work;
    return std::make_unique<InlineWork>();
}

std::string widthText(double twips) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", twips);
    return buffer;
}

} // namespace

FolderBrowser::FolderBrowser(MessageBox& messages, UiLoop& loop, IconTheme& icons, Timer& timer,
                             FolderPicker& picker, PathOpener& opener)
    : messages_(messages), loop_(loop), timer_(timer), work_(workOf(loop)),
      reads_(*work_, snapshots_, &hidden_), scan_(messages, &snapshots_, &hidden_),
      icons_(icons, controls_.imgLst), signatures_(&folderWatch_, &snapshots_),
      tree_(state_, scan_, icons_, signatures_, loop, reads_),
      list_(state_, scan_, icons_, signatures_, loop, tree_, reads_),
      watch_(state_, scan_, signatures_, loop, tree_, list_, reads_),
      fileOperations_(state_, tree_, list_, watch_, loop, messages,
                      [this](bool on) { setTimerRunning(on); }),
      notices_(state_, folderWatch_, loop, timer, watch_),
      expanded_(state_, expandedFolders_, loop, timer, tree_, watch_), picker_(picker),
      dragDrop_(state_, tree_, watch_, loop) {
    tree_.setFileList(list_);
    tree_.onRootRecorded([this](const std::string& folder) { recent_.addRecentFolder(folder); });
    tree_.loadDrives();
    setTimerRunning(true);
    actions_ = std::make_unique<BrowserActions>(
        BrowserActions::Parts{state_, tree_, watch_, loop_, messages, opener,
                              [this](const std::string& path) { recordOpenedFile(path); },
                              [this] { toggleHiddenEntries(); }});
    actions_->setFileActions(&fileOperations_);
    dragDrop_.setFileActions(&fileOperations_);
    reads_.notAnswering = [this, &messages](const std::string& folder) {
        markNotAnswering(folder, false);
        messages.notify("「" + folder + "」が応答しません。\r応答があれば表示します。");
    };
    reads_.answeredAgain = [this](const std::string& folder) { markNotAnswering(folder, true); };
    reads_.mayApply = [this] { return !state_.busy; };
    reads_.setRetryTimer(loop.newTimer());
}

void FolderBrowser::markNotAnswering(const std::string& folder, bool answering) {
    if (!answering)
        list_.tellNotAnswering(folder);
    TreeNode* node = state_.c.treeControl.find(tree_.keyOfPath(folder));
    if (node)
        state_.c.treeControl.setForeColour(
            node, answering ? std::nullopt : std::optional<Rgb>(kNotAnsweringColour));
}

FolderBrowser::~FolderBrowser() {
    timer_.stop();
    // Results still on their way are dropped before the parts they would go to.
    work_.reset();
}

std::uintptr_t FolderBrowser::ownerWindow() const {
    return host_ ? host_->windowHandle() : 0;
}

void FolderBrowser::attachHost(BrowserHost& host) {
    host_ = &host;
    recent_.setMenus(&host.recentFoldersMenu(), &host.recentProgramsMenu(),
                     &host.recentFilesMenu());
    registered_ = std::make_unique<RegisteredFolders>(host.registeredFoldersMenu(),
                                                      host.registrationMenu(), picker_);
    FolderButtons::Hooks hooks;
    hooks.root = [this] { return state_.root; };
    hooks.setRoot = [this](const std::string& folder) { tree_.setRoot(folder); };
    hooks.popUp = [this](FolderSubmenu menu) { host_->popUpFolderMenu(menu); };
    buttons_ = std::make_unique<FolderButtons>(picker_, std::move(hooks));
}

void FolderBrowser::recordOpenedFile(std::string_view path) {
    BusyScope busy(state_);
    recent_.recordOpenedFile(path);
}

RegisteredFolders::Outcome FolderBrowser::registerChosenFolder(bool choose, SettingsStore& ini) {
    if (!registered_)
        return RegisteredFolders::Outcome::NothingChosen;
    using Source = RegisteredFolders::Source;
    const std::string selected =
        choose ? std::string() : tree_.nodePath(controls_.treeControl.selected());
    return registered_->registerChosenFolder(choose ? Source::Picker : Source::SelectedNode,
                                             selected, ini, ownerWindow());
}

void FolderBrowser::retButtonClicked(int index) {
    if (buttons_)
        buttons_->clicked(index, ownerWindow());
}

void FolderBrowser::setTimerRunning(bool on) {
    if (on)
        timer_.start(TreeWatch::kIntervalMs, [this] {
            watch_.onTimerTick();
            expanded_.onTick();
        });
    else
        timer_.stop();
}

int FolderBrowser::treePaneTwips() const {
    const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
    return ValueText::roundToInt(controls_.splitter.treePaneHeight() * tpp);
}

void FolderBrowser::setTreePaneTwips(long twips) {
    const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
    controls_.splitter.setTreePaneHeight(ValueText::roundToInt(static_cast<double>(twips) / tpp));
}

void FolderBrowser::clearMarks() {
    watch_.markNode(0);
    watch_.markNode(2);
    if (TreeNode* node = tree_.currentNode()) {
        controls_.treeControl.setForeColour(node, std::nullopt);
        controls_.treeControl.setBackColour(node, std::nullopt);
    }
}

void FolderBrowser::showList(bool shown) {
    if (!state_.root.empty() && state_.showList == shown)
        return;
    // The tree-only view's selected folder is what the list shows when it appears.
    const std::string selectedFolder = shown && !state_.root.empty()
                                           ? tree_.nodePath(controls_.treeControl.selected())
                                           : std::string();
    state_.showList = shown;
    WaitCursor wait(loop_);
    clearMarks();
    auto& splitter = controls_.splitter;
    if (shown && !state_.root.empty())
        treeHeightTwips_ = treePaneTwips();
    splitter.setPaneChild("pRoot", "Drive1");
    splitter.setPaneChild("pFnd", "frFnd");
    if (!shown) {
        splitter.setPaneChild("pTrv", "TrView");
        splitter.removePane("pLsV");
        treeHeightTwips_ = 0;
    } else {
        const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
        const double h = splitter.controlHeight() * tpp;
        if (!state_.root.empty() && h > 0 && (treeHeightTwips_ / h > 0.8 || treeHeightTwips_ == 0))
            treeHeightTwips_ = static_cast<long>(ValueText::roundHalfEven(h / 2));
        splitter.addPane("pLsV", "pTrV");
        splitter.setPaneChild("pTrV", "TrView");
        splitter.setPaneChild("pLsV", "LsView");
        setTreePaneTwips(treeHeightTwips_);
    }
    if (state_.root.empty())
        return;
    tree_.redrawTree();
    if (!selectedFolder.empty())
        tree_.openPathInTree(selectedFolder);
}

std::string FolderBrowser::workFolder() const {
    if (!tree_.openingPath().empty())
        return tree_.openingPath();
    const TreeNode* node = tree_.currentNode();
    if (!node)
        node = controls_.treeControl.selected();
    if (node && EntryKinds::of(node) == EntryKind::File)
        node = node->parent();
    return node ? tree_.nodeFolder(node) : std::string();
}

std::string FolderBrowser::activePath() {
    if (!tree_.openingPath().empty())
        return tree_.openingPath();
    const std::string folder = workFolder();
    // A folder that does not answer at once is kept: only one known to be gone is not.
    if (folder.empty() || reads_.folderExistsWithin(folder) == std::optional<bool>(false))
        return {};
    return folder;
}

std::string FolderBrowser::listColumnWidths() const {
    const double tpp = host_ ? host_->twipsPerPixelX() : 15.0;
    std::string text;
    for (int i = 0; i < controls_.listControl.columnCount(); ++i)
        text += widthText(static_cast<float>(controls_.listControl.column(i).width * tpp)) + ",";
    PathText::withoutSeparator(text, ",");
    return text;
}

void FolderBrowser::showHiddenEntries(bool shown) {
    // The folder worked in stays in both panes, wherever it is.
    hidden_.keep(state_.showList && !state_.listFolder.empty() ? state_.listFolder : workFolder());
    if (host_ && host_->displayMenu())
        host_->displayMenu()->setChecked(MainMenu::kHiddenEntriesItem, shown);
    if (hidden_.shown() == shown)
        return;
    hidden_.setShown(shown);
    // Written at once: a run that ends without writing its settings keeps the choice too.
    if (!HiddenEntriesChoice::store(userData_, shown))
        messages_.notify(
            std::string(HiddenEntriesChoice::kFileName) +
            " に隠しファイルの表示の設定を保存できません。\r次の起動では元に戻ります。");
    // The tree's last listing was made under the other rule: a fill does not reuse it.
    state_.scratchFolder.clear();
    if (state_.root.empty())
        return;
    WaitCursor wait(loop_);
    watch_.reshowTree();
    list_.relist();
}

void FolderBrowser::setListColumnWidths(std::string_view widths) {
    if (widths.empty())
        return;
    const double tpp = host_ ? host_->twipsPerPixelX() : 15.0;
    std::size_t from = 0;
    for (int column = 0; column + 1 < controls_.listControl.columnCount(); ++column) {
        if (from > widths.size())
            break;
        const auto comma = widths.find(',', from);
        const std::string_view part = widths.substr(
            from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        double twips = ValueText::toNumber(part);
        if (twips == 0)
            twips = 100;
        controls_.listControl.setColumnWidth(column, ValueText::roundToInt(twips / tpp));
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
}

// Every parameter of the group with its key and default, in the order the file holds
// them; the registered folders and the recent lists go between the two parts.
void FolderBrowser::leadingParameters(SettingsPass& pass, Parameters& values,
                                      DocumentOptions& options) {
    pass.value("TypF", options.fileOpenMode, short{1});
    pass.value("TypD", options.officeOpenMode, short{2});
    pass.value("ReadOnly", options.readOnly, false);
    pass.value("LnkByExp", state_.exploreFolderShortcuts, false);
    pass.value("MiniFm", options.minimiseExtensions, std::string("EXE"));
    pass.value("Width", values.width, 0);
    pass.value("Root", values.root, std::string());
    pass.value("ActPh", values.active, std::string());
}

void FolderBrowser::trailingParameters(SettingsPass& pass, Parameters& values) {
    pass.value("ShwL", values.listShown, true);
    pass.value("TrvHi", values.treeHeight, 3000L);
    pass.value("LsCwd", values.columnWidths, std::string());
}

void FolderBrowser::loadParameters(SettingsStore& ini, DocumentOptions& options) {
    // Before the panes are filled, so that they are filled once, as chosen.
    userData_ = ini.userData();
    showHiddenEntries(HiddenEntriesChoice::shown(userData_));
    ini.readGroup(kGroup);
    Parameters values;
    SettingsPass pass(ini, SettingsPass::Direction::Load);
    leadingParameters(pass, values, options);
    trailingParameters(pass, values);
    treeHeightTwips_ = values.treeHeight;
    {
        BusyScope busy(state_);
        recent_.load(ini);
    }
    if (options.officeOpenMode < 2)
        options.readOnly = false;
    if (host_) {
        host_->viewModeMenu().setChecked(0, !values.listShown);
        host_->viewModeMenu().setChecked(1, values.listShown);
    }
    showList(values.listShown);
    applyPlaces(values, ini);
    setListColumnWidths(values.columnWidths);
    if (treeHeightTwips_ >= 1)
        setTreePaneTwips(treeHeightTwips_);
}

// The window's width, the registered folders and the root and active folder of the tree.
void FolderBrowser::applyPlaces(Parameters& values, SettingsStore& ini) {
    std::string& root = values.root;
    // A saved folder on a file system that does not answer at once is kept; its read
    // shows whether it is there.
    const auto gone = [this](const std::string& path) {
        return reads_.folderExistsWithin(path) == std::optional<bool>(false);
    };
    if (root.empty() || gone(root))
        root.clear();
    if (host_ && values.width > 0)
        host_->setWidthTwips(*values.width);
    if (registered_)
        registered_->load(ini);
    if (root.empty() && host_)
        root = host_->registeredFoldersMenu().caption(0);
    if (values.active.empty() || gone(values.active))
        values.active.clear();
    hidden_.keep(values.active);
    // A root that is gone gives way to the documents folder before the active folder is
    // opened, so the browser never stays empty.
    if (root.empty() || gone(root))
        root = SystemFolders::path(SystemFolder::Documents);
    tree_.setRoot(values.active.empty() ? root : root + "\r" + values.active);
}

void FolderBrowser::storeParameters(SettingsStore& ini, DocumentOptions options) {
    ini.readGroup(kGroup);
    Parameters values;
    if (host_)
        values.width = host_->widthTwips();
    values.root = state_.root;
    values.active = activePath();
    values.listShown = state_.showList;
    treeHeightTwips_ = treePaneTwips();
    values.treeHeight = treeHeightTwips_;
    values.columnWidths = listColumnWidths();
    SettingsPass pass(ini, SettingsPass::Direction::Store);
    leadingParameters(pass, values, options);
    if (registered_)
        registered_->store(ini);
    recent_.store(ini);
    trailingParameters(pass, values);
    ini.writeGroup();
}

void FolderBrowser::setFileActions(FileActions& actions) {
    actions_->setFileActions(&actions);
    dragDrop_.setFileActions(&actions);
}

void FolderBrowser::setActionServices(const ActionServices& services) {
    fileOperations_.setClipboard(services.clipboard);
    actions_->setServices(services);
}

void FolderBrowser::perform(BrowserCommand command, Pane pane, std::string_view sendToLink) {
    actions_->perform(command, pane, sendToLink);
}

void FolderBrowser::exploreSystemFolder(SystemFolderChoice choice) {
    actions_->exploreSystemFolder(choice);
}

void FolderBrowser::treeMousePressed(const std::string& key, MouseButton button, KeyModifiers) {
    actions_->treePressed(key, button);
}

void FolderBrowser::treeMouseReleased(const std::string&, MouseButton button, KeyModifiers) {
    actions_->treeReleased(button);
}

void FolderBrowser::treeNodeDoubleClicked(const std::string& key) {
    actions_->treeDoubleClicked(key);
}

void FolderBrowser::treeKeyPressed(BrowserKey key, KeyModifiers modifiers) {
    actions_->treeKey(key, modifiers);
}

void FolderBrowser::listMousePressed(const std::string& key, MouseButton, KeyModifiers) {
    actions_->listPressed(key);
}

void FolderBrowser::listMouseReleased(const std::string&, MouseButton button, KeyModifiers) {
    actions_->listReleased(button);
}

void FolderBrowser::listDoubleClicked(const std::string& key) {
    actions_->listDoubleClicked(key);
}

void FolderBrowser::listKeyPressed(BrowserKey key, KeyModifiers modifiers) {
    actions_->listKey(key, modifiers);
}

void FolderBrowser::treeNodeExpanding(const std::string& key) {
    tree_.onTreeExpand(key);
}

void FolderBrowser::treeRowsShown(const std::vector<std::string>& keys) {
    tree_.decideShown(keys);
}

void FolderBrowser::treeFocusLost() {
    watch_.onTreeFocusLost();
}

bool FolderBrowser::treeLabelEdited(const std::string& key,
                                    const std::optional<std::string>& text) {
    return fileOperations_.treeLabelEdited(key, text);
}

bool FolderBrowser::listLabelEdited(const std::string& key,
                                    const std::optional<std::string>& text) {
    return fileOperations_.listLabelEdited(key, text);
}

void FolderBrowser::listHeaderClicked(int column) {
    list_.onListColumnClick(column);
}

void FolderBrowser::driveChosen(int) {
    tree_.onDriveChanged();
}

void FolderBrowser::resized(int, int) {
    if (treeHeightTwips_ == 0 || treeHeightSet_ || (host_ && host_->minimized()) ||
        treeHeightTwips_ < 1)
        return;
    setTreePaneTwips(treeHeightTwips_);
    treeHeightSet_ = true;
}

std::vector<std::string> FolderBrowser::treeDragStarting() {
    return dragDrop_.treeDragStarting();
}

void FolderBrowser::treeDragOver(const std::string& key, DragState state) {
    dragDrop_.treeDragOver(key, state);
}

DropOutcome FolderBrowser::treeDropped(const std::string& key,
                                       const std::vector<std::string>& paths,
                                       KeyModifiers modifiers) {
    return dragDrop_.treeDropped(key, paths, modifiers);
}

std::vector<std::string> FolderBrowser::listDragStarting() {
    return dragDrop_.listDragStarting();
}

void FolderBrowser::listDragOver(const std::string& key, DragState state) {
    dragDrop_.listDragOver(key, state);
}

DropOutcome FolderBrowser::listDropped(const std::string& key,
                                       const std::vector<std::string>& paths,
                                       KeyModifiers modifiers) {
    return dragDrop_.listDropped(key, paths, modifiers);
}
