#include "controls/MainMenu.h"

MainMenu::MainMenu() {
    fill(MenuFamily::Fold,
         {"ﾌｫﾙﾀﾞの指定", "-", "最近開いたﾌｫﾙﾀﾞ", "登録ﾌｫﾙﾀﾞ", "tvTools", "-", "終了(&X)"});
    (*this)[MenuFamily::Dir].setVisible(0, false);
    fill(MenuFamily::New, {"-", "現在のﾌｫﾙﾀﾞを登録", "ﾌｫﾙﾀﾞを指定して登録"});
    (*this)[MenuFamily::New].setVisible(0, false);
    fill(MenuFamily::Tool,
         {"Arvenic(更新ﾌｧｲﾙ)", "Belsor  (比較)", "Dalmec  (同期)", "Emvol   (FTP転送)"});
    fill(MenuFamily::Open, {"最近実行したﾌｧｲﾙ", "最近使ったﾌｧｲﾙ", "-", "登録ﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開く",
                            "ｼｽﾃﾑﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開く"});
    fill(MenuFamily::SyE, {"ﾃﾞｽｸﾄｯﾌﾟ", "ﾏｲﾄﾞｷｭﾒﾝﾄ", "ｱﾌﾟﾘｹｰｼｮﾝﾃﾞｰﾀｰ", "ｱﾌﾟﾘｹｰｼｮﾝﾃﾞｰﾀｰ/Quorvale",
                           "-", "ﾏｲｺﾝﾋﾟｭｰﾀｰ", "ﾈｯﾄﾜｰｸ", "お気に入り", "ｽﾀｰﾄﾒﾆｭｰ", "最近使ったﾌｧｲﾙ",
                           "送る", "ﾃﾝﾌﾟﾚｰﾄ", "-", "ﾃﾞｽｸﾄｯﾌﾟ   All User",
                           "ｱﾌﾟﾘｹｰｼｮﾝﾃﾞｰﾀｰ ALL Users", "お気に入り All User", "ｽﾀｰﾄﾒﾆｭｰ All User"});
    fill(MenuFamily::Task, {"ﾀｽｸﾄﾚｰに退避", "-"});
    fill(MenuFamily::VwF, {"ﾂﾘ-表示(ﾗﾝﾁｬ-)", "分割表示(ﾌｧｲﾗｰ)"});
    (*this)[MenuFamily::VwF].setChecked(1, true);
    // Later items go after the existing ones: the commands are known by their index. The
    // text after a tab is the shortcut the menu shows.
    fill(MenuFamily::Dsp, {"ﾌｫﾙﾀﾞｰの表示", "ﾌｫﾙﾀﾞｰ表示を最新に", "-", "表示設定", "-",
                           "元に戻す(&U)", "-", "隠しファイルを表示(&H)\tCtrl+H"});
    (*this)[MenuFamily::Dsp].setChecked(kHiddenEntriesItem, true);
}

void MainMenu::fill(MenuFamily family, std::vector<std::string_view> captions) {
    MenuArray& array = (*this)[family];
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        array.ensure(index);
        array.setCaption(index, std::string(captions[i]));
        array.setVisible(index, true);
    }
}

std::string_view MainMenu::topCaption(int menu) {
    switch (menu) {
    case 0:
        return "ﾌｫﾙﾀﾞ(&F)";
    case 1:
        return "開く(&O)";
    default:
        return "表示(&D)";
    }
}

std::vector<MenuFamily> MainMenu::topFamilies(int menu) {
    switch (menu) {
    case 0:
        return {MenuFamily::Fold};
    case 1:
        return {MenuFamily::Open};
    default:
        return {MenuFamily::Task, MenuFamily::Dsp};
    }
}

std::vector<MenuFamily> MainMenu::submenuOf(MenuFamily family, int index) {
    const std::pair<MenuFamily, int> item{family, index};
    if (item == std::pair{MenuFamily::Fold, 2})
        return {MenuFamily::RcFd};
    if (item == std::pair{MenuFamily::Fold, 3})
        return {MenuFamily::Dir, MenuFamily::New};
    if (item == std::pair{MenuFamily::Fold, 4})
        return {MenuFamily::Tool};
    if (item == std::pair{MenuFamily::Open, 0})
        return {MenuFamily::RcEx};
    if (item == std::pair{MenuFamily::Open, 1})
        return {MenuFamily::RcFL};
    if (item == std::pair{MenuFamily::Open, 3})
        return {MenuFamily::DirE};
    if (item == std::pair{MenuFamily::Open, 4})
        return {MenuFamily::SyE};
    if (item == std::pair{MenuFamily::Dsp, 0})
        return {MenuFamily::VwF};
    return {};
}
