#pragma once

#include <array>
#include <string_view>

// The row of three picture buttons above the tree (the control array imRet): choose a
// folder, choose one from the folder history, go to a registered folder.
class RetButtons {
  public:
    static constexpr int count = 3;

    // Tooltip of button 0 to 2; empty out of range.
    static std::string_view toolTip(int index);
    // Theme icon name shown on the button.
    static std::string_view iconName(int index);

  private:
    static constexpr std::array<std::string_view, count> tips_{"ﾌｫﾙﾀﾞを指定します",
                                                               "指定したﾌｫﾙﾀﾞの履歴から指定します",
                                                               "登録されているﾌｫﾙﾀﾞに移動します"};
    static constexpr std::array<std::string_view, count> icons_{
        "folder-open", "document-open-recent", "user-bookmarks"};
};
