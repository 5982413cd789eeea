#include "browser/uFile.h"

#include "actions/ActionServices.h"
#include "actions/BrowserActions.h"
#include "browser/PathText.h"
#include "opening/Fld.h"
#include "platform/SystemFolders.h"
#include "platform/TextCase.h"
#include "platform/Timer.h"
#include "platform/UiLoop.h"
#include "platform/controls/MenuArray.h"
#include "settings/ValueText.h"
#include "settings/yIni.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr std::string_view kGroup = "設定";

// A stored number narrowed to its target; out of range keeps the previous value.
template <typename T> void narrow(double value, T& target) {
    const auto rounded = ValueText::roundHalfEven(value);
    if (rounded >= std::numeric_limits<T>::min() && rounded <= std::numeric_limits<T>::max())
        target = static_cast<T>(rounded);
}

std::string widthText(double twips) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", twips);
    return buffer;
}

} // namespace

uFile::uFile(MessageBox& messages, UiLoop& loop, IconTheme& icons, Timer& timer,
             FolderPicker& picker)
    : loop_(loop), timer_(timer), scan_(messages), icons_(icons, controls_.imgLst),
      signatures_(&folderWatch_), tree_(state_, scan_, icons_, signatures_, loop),
      list_(state_, scan_, icons_, signatures_, loop, tree_),
      watch_(state_, scan_, signatures_, loop, tree_, list_),
      fileOperations_(state_, tree_, list_, watch_, loop, messages,
                      [this](bool on) { SetTmr(on); }),
      notices_(state_, folderWatch_, loop, timer, watch_), picker_(picker),
      dragDrop_(state_, tree_, watch_, loop) {
    tree_.setFileList(list_);
    tree_.onRootRecorded([this](const std::string& folder) { recent_.AddRcFd(folder); });
    tree_.loadDrives();
    SetTmr(true);
    actions_ = std::make_unique<BrowserActions>(
        BrowserActions::Parts{state_, tree_, watch_, loop_, messages, eBfrOpn, eSlcFL, bLex,
                              [this](const std::string& path) { RcntExFL(path); }});
    actions_->setFileActions(&fileOperations_);
    dragDrop_.setFileActions(&fileOperations_);
}

uFile::~uFile() {
    timer_.stop();
}

void uFile::cOn(BrowserHost& host) {
    host_ = &host;
    recent_.setMenus(&host.mnRcFd(), &host.mnRcEx(), &host.mnRcFL());
    registered_ = std::make_unique<RegisteredFolders>(host.mnDir(), host.mnNew(), picker_);
    FolderButtons::Hooks hooks;
    hooks.root = [this] { return state_.root; };
    hooks.setRoot = [this](const std::string& folder) { tree_.setRoot(folder); };
    hooks.popUp = [this](FolderSubmenu menu) { host_->popUpFolderMenu(menu); };
    buttons_ = std::make_unique<FolderButtons>(picker_, std::move(hooks));
}

void uFile::RcntExFL(std::string_view path) {
    BusyScope busy(state_);
    recent_.RcntExFL(path);
}

RegisteredFolders::Outcome uFile::AddNwFld(bool choose, yIni& ini) {
    if (!registered_)
        return RegisteredFolders::Outcome::NothingChosen;
    using Source = RegisteredFolders::Source;
    const std::string selected = choose ? std::string() : tree_.trNdPh(controls_.trView.selected());
    return registered_->AddNwFld(choose ? Source::Picker : Source::SelectedNode, selected, ini,
                                 Fld::OwnWnd());
}

void uFile::retButtonClicked(int index) {
    if (buttons_)
        buttons_->clicked(index, Fld::OwnWnd());
}

void uFile::SetTmr(bool on) {
    if (on)
        timer_.start(TreeWatch::kIntervalMs, [this] { watch_.Timer1_Timer(); });
    else
        timer_.stop();
}

int uFile::treePaneTwips() const {
    const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
    return ValueText::roundToInt(controls_.splitter.treePaneHeight() * tpp);
}

void uFile::setTreePaneTwips(long twips) {
    const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
    controls_.splitter.setTreePaneHeight(ValueText::roundToInt(static_cast<double>(twips) / tpp));
}

void uFile::clearMarks() {
    watch_.trMark(0);
    watch_.trMark(2);
    if (TreeNode* node = tree_.trCurNd()) {
        controls_.trView.setForeColour(node, std::nullopt);
        controls_.trView.setBackColour(node, std::nullopt);
    }
}

void uFile::ShwLst(bool bShw) {
    if (!state_.root.empty() && state_.showList == bShw)
        return;
    // The tree-only view's selected folder is what the list shows when it appears.
    const std::string selectedFolder =
        bShw && !state_.root.empty() ? tree_.trNdPh(controls_.trView.selected()) : std::string();
    state_.showList = bShw;
    WaitCursor wait(loop_);
    clearMarks();
    auto& splitter = controls_.splitter;
    if (bShw && !state_.root.empty())
        lTrvHi = treePaneTwips();
    splitter.setPaneChild("pRoot", "Drive1");
    splitter.setPaneChild("pFnd", "frFnd");
    if (!bShw) {
        splitter.setPaneChild("pTrv", "TrView");
        splitter.removePane("pLsV");
        lTrvHi = 0;
    } else {
        const double tpp = host_ ? host_->twipsPerPixelY() : 15.0;
        const double h = splitter.controlHeight() * tpp;
        if (!state_.root.empty() && h > 0 && (lTrvHi / h > 0.8 || lTrvHi == 0))
            lTrvHi = static_cast<long>(ValueText::roundHalfEven(h / 2));
        splitter.addPane("pLsV", "pTrV");
        splitter.setPaneChild("pTrV", "TrView");
        splitter.setPaneChild("pLsV", "LsView");
        setTreePaneTwips(lTrvHi);
    }
    if (state_.root.empty())
        return;
    tree_.RtReDraw();
    if (!selectedFolder.empty())
        tree_.trOpnPh(selectedFolder);
}

std::string uFile::sGtActPh() const {
    const TreeNode* node = tree_.trCurNd();
    if (!node)
        node = controls_.trView.selected();
    if (node && node->tag() == "FL")
        node = node->parent();
    return node ? tree_.trNdPh(node) : std::string();
}

std::string uFile::sGtLsCw() const {
    const double tpp = host_ ? host_->twipsPerPixelX() : 15.0;
    std::string text;
    for (int i = 0; i < controls_.lsView.columnCount(); ++i)
        text += widthText(static_cast<float>(controls_.lsView.column(i).width * tpp)) + ",";
    PathText::CutSep(text, ",");
    return text;
}

void uFile::lsSetCw(std::string_view widths) {
    if (widths.empty())
        return;
    const double tpp = host_ ? host_->twipsPerPixelX() : 15.0;
    std::size_t from = 0;
    for (int column = 0; column + 1 < controls_.lsView.columnCount(); ++column) {
        if (from > widths.size())
            break;
        const auto comma = widths.find(',', from);
        const std::string_view part = widths.substr(
            from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        double twips = ValueText::toNumber(part);
        if (twips == 0)
            twips = 100;
        controls_.lsView.setColumnWidth(column, ValueText::roundToInt(twips / tpp));
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
}

void uFile::StPrm(bool bSave, yIni& ini, DocumentOptions& options) {
    if (bSave)
        storeParameters(ini, options);
    else
        loadParameters(ini, options);
}

void uFile::loadParameters(yIni& ini, DocumentOptions& options) {
    ini.GetGtx(kGroup);
    int width = 0;
    narrow(ini.vGtVal("Width", 0), width);
    std::string root = ini.vGtVal("Root", "");
    std::string active = ini.vGtVal("ActPh", "");
    long treeHeight = 3000;
    narrow(ini.vGtVal("TrvHi", 3000), treeHeight);
    lTrvHi = treeHeight;
    const bool showList = ini.vGtVal("ShwL", true);
    narrow(ini.vGtVal("TypF", 1), options.iTypF);
    narrow(ini.vGtVal("TypD", 2), options.iTypD);
    options.bRed = ini.vGtVal("ReadOnly", false);
    bLex = ini.vGtVal("LnkByExp", false);
    options.sMnFm = ini.vGtVal("MiniFm", "EXE");
    const std::string columnWidths = ini.vGtVal("LsCwd", "");
    {
        BusyScope busy(state_);
        recent_.load(ini);
    }
    if (options.iTypD < 2)
        options.bRed = false;
    if (host_) {
        host_->mnVwF().setChecked(0, !showList);
        host_->mnVwF().setChecked(1, showList);
    }
    ShwLst(showList);
    if (!FileSystem::folderExists(root))
        root.clear();
    if (host_ && width > 0)
        host_->setWidthTwips(width);
    if (registered_)
        registered_->load(ini);
    if (root.empty() && host_)
        root = host_->mnDir().caption(0);
    if (!FileSystem::folderExists(active))
        active.clear();
    // A root that is gone gives way to the documents folder before the active folder is
    // opened, so the browser never stays empty.
    if (!FileSystem::folderExists(root))
        root = SystemFolders::path(5);
    tree_.setRoot(active.empty() ? root : root + "\r" + active);
    lsSetCw(columnWidths);
    if (lTrvHi >= 1)
        setTreePaneTwips(lTrvHi);
}

void uFile::storeParameters(yIni& ini, const DocumentOptions& options) {
    ini.GetGtx(kGroup);
    ini.SetVal("TypF", options.iTypF);
    ini.SetVal("TypD", options.iTypD);
    ini.SetVal("ReadOnly", options.bRed);
    ini.SetVal("LnkByExp", bLex);
    ini.SetVal("MiniFm", options.sMnFm);
    if (host_)
        ini.SetVal("Width", host_->widthTwips());
    ini.SetVal("Root", state_.root);
    ini.SetVal("ActPh", sGtActPh());
    if (registered_)
        registered_->store(ini);
    recent_.store(ini);
    ini.SetVal("ShwL", state_.showList);
    lTrvHi = treePaneTwips();
    ini.SetVal("TrvHi", lTrvHi);
    ini.SetVal("LsCwd", sGtLsCw());
    ini.SetGtx();
}

void uFile::setFileActions(FileActions& actions) {
    actions_->setFileActions(&actions);
    dragDrop_.setFileActions(&actions);
}

void uFile::setActionServices(const ActionServices& services) {
    fileOperations_.setClipboard(services.clipboard);
    actions_->setServices(services);
}

void uFile::trAct(std::string_view sGrp, int iNdx, std::string_view sLnk, bool bTrv) {
    actions_->trAct(sGrp, iNdx, sLnk, bTrv);
}

void uFile::treeMousePressed(const std::string& key, MouseButton button, KeyModifiers) {
    actions_->treePressed(key, button);
}

void uFile::treeMouseReleased(const std::string&, MouseButton button, KeyModifiers) {
    actions_->treeReleased(button);
}

void uFile::treeNodeDoubleClicked(const std::string& key) {
    actions_->treeDoubleClicked(key);
}

void uFile::treeKeyPressed(BrowserKey key, KeyModifiers modifiers) {
    actions_->treeKey(key, modifiers);
}

void uFile::listMousePressed(const std::string& key, MouseButton, KeyModifiers) {
    actions_->listPressed(key);
}

void uFile::listMouseReleased(const std::string&, MouseButton button, KeyModifiers) {
    actions_->listReleased(button);
}

void uFile::listDoubleClicked(const std::string& key) {
    actions_->listDoubleClicked(key);
}

void uFile::listKeyPressed(BrowserKey key, KeyModifiers modifiers) {
    actions_->listKey(key, modifiers);
}

void uFile::treeNodeExpanding(const std::string& key) {
    tree_.TrView_Expand(key);
}

void uFile::treeRowsShown(const std::vector<std::string>& keys) {
    tree_.decideShown(keys);
}

void uFile::treeFocusLost() {
    watch_.TrView_LostFocus();
}

bool uFile::treeLabelEdited(const std::string& key, const std::optional<std::string>& text) {
    return fileOperations_.treeLabelEdited(key, text);
}

bool uFile::listLabelEdited(const std::string& key, const std::optional<std::string>& text) {
    return fileOperations_.listLabelEdited(key, text);
}

void uFile::listHeaderClicked(int column) {
    list_.LsView_ColumnClick(column);
}

void uFile::driveChosen(int) {
    tree_.Drive1_Change();
}

void uFile::resized(int, int) {
    if (lTrvHi == 0 || bTrvHiSet_ || (host_ && host_->minimized()) || lTrvHi < 1)
        return;
    setTreePaneTwips(lTrvHi);
    bTrvHiSet_ = true;
}

std::vector<std::string> uFile::treeDragStarting() {
    return dragDrop_.treeDragStarting();
}

void uFile::treeDragOver(const std::string& key, DragState state) {
    dragDrop_.treeDragOver(key, state);
}

DropOutcome uFile::treeDropped(const std::string& key, const std::vector<std::string>& paths,
                               KeyModifiers modifiers) {
    return dragDrop_.treeDropped(key, paths, modifiers);
}

std::vector<std::string> uFile::listDragStarting() {
    return dragDrop_.listDragStarting();
}

void uFile::listDragOver(const std::string& key, DragState state) {
    dragDrop_.listDragOver(key, state);
}

DropOutcome uFile::listDropped(const std::string& key, const std::vector<std::string>& paths,
                               KeyModifiers modifiers) {
    return dragDrop_.listDropped(key, paths, modifiers);
}
