#include "actions/ContextMenu.h"

namespace {

// Entry ids: family * kFamilyStep + index.
constexpr int kFamilyStep = 1000;
constexpr int kFold = 1;
constexpr int kOpt = 2;
constexpr int kSend = 3;

void fill(MenuArray& array, int first, const std::vector<std::string_view>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = first + static_cast<int>(i);
        array.setCaption(index, std::string(captions[i]));
        array.setVisible(index, true);
    }
}

} // namespace

ContextMenu::ContextMenu()
    : mnFold(0, "ｴｸｽﾌﾟﾛｰﾗｰ(&X)"), mnSend(0, "?"), mnOpt(4, "複写先を指定して複写") {
    fill(mnFold, 0,
         {"ｴｸｽﾌﾟﾛｰﾗｰ(&X)", "開く(&O)", "検索(&E)", "-", "送る", "-", "切り取り(&T)", "ｺﾋﾟｰ(&C)",
          "貼り付け(&P)", "-", "拡張ﾒﾆｭｰ", "-", "ｼｮｰﾄｶｯﾄの作成(&S)", "削除(&D)", "名前の変更(&M)",
          "-", "新規ﾌｫﾙﾀﾞ"});
    mnFold.setVisible(4, false);
    mnFold.setVisible(5, false);
    fill(mnOpt, 4,
         {"複写先を指定して複写", "移動先を指定して移動", "-", "作成先を指定してｼｮｰﾄｶｯﾄの作成",
          "ｼｮｰﾄｶｯﾄの作成と切り取り", "-", "ﾊﾟｽ名をｺﾋﾟｰ", "ﾌｫﾙﾀﾞ内の一覧をｺﾋﾟｰ"});
}

void ContextMenu::fillSendTo(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int index = static_cast<int>(i);
        mnSend.setCaption(index, names[i]);
        mnSend.setVisible(index, true);
    }
    if (!names.empty()) {
        mnFold.setVisible(kSendToItem, true);
        mnFold.setVisible(kSendToItem + 1, true);
    }
}

void ContextMenu::reset(bool bCanPast) {
    sGrp.clear();
    sLnk.clear();
    iNdx = 0;
    mnFold.setEnabled(kPasteItem, bCanPast);
}

std::vector<PopupEntry> ContextMenu::entries() const {
    std::vector<PopupEntry> entries;
    append(entries, mnFold, kFold, this);
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
            append(entry.submenu, submenus->mnSend, kSend, nullptr);
        else if (submenus && index == kExtendedItem)
            append(entry.submenu, submenus->mnOpt, kOpt, nullptr);
        if (entry.caption == "-" || !entry.submenu.empty())
            entry.id = -1;
        entries.push_back(std::move(entry));
    }
}

void ContextMenu::chosen(int id) {
    const int index = id % kFamilyStep;
    switch (id / kFamilyStep) {
    case kFold:
        mnFold_Click(index);
        break;
    case kOpt:
        mnOpt_Click(index);
        break;
    case kSend:
        mnSend_Click(index);
        break;
    default:
        break;
    }
}

void ContextMenu::mnFold_Click(int index) {
    sGrp = "Fold";
    iNdx = static_cast<short>(index);
}

void ContextMenu::mnOpt_Click(int index) {
    sGrp = "Opt";
    iNdx = static_cast<short>(index);
}

void ContextMenu::mnSend_Click(int index) {
    sGrp = "Send";
    sLnk = mnSend.caption(index);
}
