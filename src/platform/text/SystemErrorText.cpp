#include "platform/text/SystemErrorText.h"

#include <cerrno>
#include <cstring>

const char* SystemErrorText::phrase(int error) {
    switch (error) {
    case ENOENT:
        return "ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません";
    case EACCES:
        return "ｱｸｾｽが拒否されました";
    case EPERM:
        return "この操作は許可されていません";
    case ENOSPC:
        return "ﾃﾞｨｽｸの空き容量が不足しています";
    case EDQUOT:
        return "ﾃﾞｨｽｸの使用量の上限を超えています";
    case EROFS:
        return "読み取り専用のﾌｧｲﾙｼｽﾃﾑです";
    case EEXIST:
        return "同じ名前のﾌｧｲﾙまたはﾌｫﾙﾀﾞが既にあります";
    case ENOTEMPTY:
        return "ﾌｫﾙﾀﾞが空ではありません";
    case EIO:
        return "読み書き中にｴﾗｰが発生しました";
    case EXDEV:
        return "別のﾌｧｲﾙｼｽﾃﾑへは名前の変更で移せません";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case EISDIR:
        return "ﾌｫﾙﾀﾞです";
    case ENOTDIR:
        return "ﾌｫﾙﾀﾞではありません";
    case EBUSY:
        return "使用中です";
    case ETXTBSY:
        return "実行中のﾌﾟﾛｸﾞﾗﾑのﾌｧｲﾙです";
    case EMFILE:
    case ENFILE:
        return "開いているﾌｧｲﾙが多すぎます";
    case ELOOP:
        return "ｼﾝﾎﾞﾘｯｸﾘﾝｸの参照が多すぎます";
    case EFBIG:
        return "ﾌｧｲﾙが大きすぎます";
    case ENOMEM:
        return "ﾒﾓﾘが不足しています";
    case EINVAL:
        return "この操作には使えない名前か引数です";
    default:
        return nullptr;
    }
}

std::string SystemErrorText::text(int error) {
    const std::string system = std::strerror(error);
    if (const char* own = phrase(error))
        return std::string(own) + " (" + system + ")";
    return "ｴﾗｰ " + std::to_string(error) + " (" + system + ")";
}
