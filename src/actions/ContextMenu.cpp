#include "actions/ContextMenu.h"

#include <array>
#include <utility>

namespace {

// Entry ids: family * kFamilyStep + index.
constexpr int kFamilyStep = 1000;
constexpr int kFold = 1;
constexpr int kOpt = 2;
constexpr int kSend = 3;

using enum BrowserCommand;
constexpr std::array<std::pair<int, BrowserCommand>, 10> kContextCommands{{
    {0, Explore},
    {1, Open},
    {2, Find},
    {6, Cut},
    {7, Copy},
    {8, Paste},
    {12, MakeShortcut},
    {13, Delete},
    {14, Rename},
    {16, NewFolder},
}};
constexpr std::array<std::pair<int, BrowserCommand>, 7> kExtendedCommands{{
    {4, CopyTo},
    {5, MoveTo},
    {7, MakeShortcutIn},
    {8, MakeShortcutAndCut},
    {10, CopyPathNames},
    {11, CopyListAsText},
    {ContextMenu::kUndoItem, Undo},
}};

template <std::size_t N>
std::optional<ChosenCommand> commandAt(const std::array<std::pair<int, BrowserCommand>, N>& table,
                                       int index) {
    for (const auto& [item, command] : table)
        if (item == index)
            return ChosenCommand{command, {}};
    return std::nullopt;
}

void fill(MenuArray& array, int first, const std::vector<std::string_view>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = first + static_cast<int>(i);
        array.setCaption(index, std::string(captions[i]));
        array.setVisible(index, true);
    }
}

} // namespace

ContextMenu::ContextMenu()
    : contextItems(0, "ｴｸｽﾌﾟﾛｰﾗｰ(&X)"), sendToItems(0, "?"),
      extendedItems(4, "複写先を指定して複写") {
    fill(contextItems, 0,
         {"ｴｸｽﾌﾟﾛｰﾗｰ(&X)", "開く(&O)", "検索(&E)", "-", "送る", "-", "切り取り(&T)", "ｺﾋﾟｰ(&C)",
          "貼り付け(&P)", "-", "拡張ﾒﾆｭｰ", "-", "ｼｮｰﾄｶｯﾄの作成(&S)", "削除(&D)", "名前の変更(&M)",
          "-", "新規ﾌｫﾙﾀﾞ"});
    contextItems.setVisible(4, false);
    contextItems.setVisible(5, false);
    fill(extendedItems, 4,
         {"複写先を指定して複写", "移動先を指定して移動", "-", "作成先を指定してｼｮｰﾄｶｯﾄの作成",
          "ｼｮｰﾄｶｯﾄの作成と切り取り", "-", "ﾊﾟｽ名をｺﾋﾟｰ", "ﾌｫﾙﾀﾞ内の一覧をｺﾋﾟｰ", "元に戻す"});
}

void ContextMenu::fillSendTo(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int index = static_cast<int>(i);
        sendToItems.setCaption(index, names[i]);
        sendToItems.setVisible(index, true);
    }
    if (!names.empty()) {
        contextItems.setVisible(kSendToItem, true);
        contextItems.setVisible(kSendToItem + 1, true);
    }
}

void ContextMenu::reset(bool canPaste) {
    contextItems.setEnabled(kPasteItem, canPaste);
}

void ContextMenu::setUndoable(bool canUndo) {
    extendedItems.setEnabled(kUndoItem, canUndo);
}

std::vector<PopupEntry> ContextMenu::entries() const {
    std::vector<PopupEntry> entries;
    append(entries, contextItems, kFold, this);
    return entries;
}

void ContextMenu::append(std::vector<PopupEntry>& entries, const MenuArray& array, int family,
                         const ContextMenu* submenus) {
    for (int index : array.indexes()) {
        if (!array.visible(index))
            continue;
        PopupEntry entry{
            array.caption(index), family * kFamilyStep + index, array.enabled(index), {}};
        if (submenus && index == kSendToItem)
            append(entry.submenu, submenus->sendToItems, kSend, nullptr);
        else if (submenus && index == kExtendedItem)
            append(entry.submenu, submenus->extendedItems, kOpt, nullptr);
        if (entry.caption == "-" || !entry.submenu.empty())
            entry.id = -1;
        entries.push_back(std::move(entry));
    }
}

std::optional<ChosenCommand> ContextMenu::commandOf(int id) const {
    const int index = id % kFamilyStep;
    switch (id / kFamilyStep) {
    case kFold:
        return commandAt(kContextCommands, index);
    case kOpt:
        return commandAt(kExtendedCommands, index);
    case kSend:
        if (sendToItems.exists(index))
            return ChosenCommand{BrowserCommand::SendTo, sendToItems.caption(index)};
        return std::nullopt;
    default:
        return std::nullopt;
    }
}
