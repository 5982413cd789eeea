#include "platform/fs/FileFault.h"

#include "platform/text/SystemErrorText.h"

#include <cerrno>
#include <cstring>

std::string FileFault::reason() const {
    if (notRegular)
        return "通常のﾌｧｲﾙではありません";
    // The system's texts where they fit a settings file; shorter words where they do not.
    switch (error) {
    case EACCES:
    case EPERM:
        return SystemErrorText::phrase(EACCES);
    case ENOSPC:
    case EDQUOT:
        return SystemErrorText::phrase(ENOSPC);
    case EROFS:
    case EIO:
        return SystemErrorText::phrase(error);
    case ENOENT:
    case ENOTDIR:
        return "ﾌｫﾙﾀﾞが見つかりません";
    case EISDIR:
        return "通常のﾌｧｲﾙではありません";
    default:
        return "ｴﾗｰ " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}
