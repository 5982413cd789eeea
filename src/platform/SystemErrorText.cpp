#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace {

const char* japanese(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルまたはフォルダーが見つかりません";
    case EACCES:
        return "アクセスが拒否されました";
    case EPERM:
        return "この操作は許可されていません";
    case ENOSPC:
        return "ディスクに十分な空き領域がありません";
    case EDQUOT:
        return "ディスク クォータを超えています";
    case EROFS:
        return "読み取り専用のファイル システムです";
    case EEXIST:
        return "同じ名前のファイルまたはフォルダーが既にあります";
    case ENOTEMPTY:
        return "フォルダーが空ではありません";
    case EIO:
        return "ディスクの読み書きでエラーが発生しました";
    case EXDEV:
        return "別のファイル システムへは名前の変更で移せません";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case EISDIR:
        return "フォルダーです";
    case ENOTDIR:
        return "フォルダーではありません";
    case EBUSY:
        return "使用中です";
    case ETXTBSY:
        return "実行中のプログラムのファイルです";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ELOOP:
        return "シンボリック リンクの参照が多すぎます";
    case EFBIG:
        return "ファイルが大きすぎます";
    case ENOMEM:
        return "メモリが足りません";
    case EINVAL:
        return "この操作には使えない名前または引数です";
    default:
        return nullptr;
    }
}

// The largest error number whose system text is looked at when a reason is matched.
constexpr int kLastError = 133;

} // namespace

std::string SystemErrorText::text(int error) {
    const std::string system = std::strerror(error);
    if (const char* own = japanese(error))
        return std::string(own) + " (" + system + ")";
    return "システム エラー " + std::to_string(error) + " (" + system + ")";
}

std::string SystemErrorText::fromReason(std::string_view reason) {
    for (int error = 1; error <= kLastError; ++error)
        if (reason == std::strerror(error))
            return text(error);
    return std::string(reason);
}
