#include "platform/fs/FileFault.h"

#include <cerrno>
#include <cstring>

std::string FileFault::reason() const {
    if (notRegular)
        return "通常のﾌｧｲﾙではありません";
    switch (error) {
    case EACCES:
    case EPERM:
        return "ｱｸｾｽが拒否されました";
    case ENOSPC:
    case EDQUOT:
        return "ﾃﾞｨｽｸの空き容量が不足しています";
    case EROFS:
        return "読み取り専用のﾌｧｲﾙｼｽﾃﾑです";
    case EIO:
        return "読み書き中にｴﾗｰが発生しました";
    case ENOENT:
    case ENOTDIR:
        return "ﾌｫﾙﾀﾞが見つかりません";
    case EISDIR:
        return "通常のﾌｧｲﾙではありません";
    default:
        return "ｴﾗｰ " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}
