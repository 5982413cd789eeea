#include "platform/fs/FailureQuestions.h"

#include "platform/fs/EntryCopier.h"
#include "platform/text/SystemErrorText.h"

std::optional<FileStep> FailureQuestions::afterFailure(const std::string& path,
                                                       const std::string& reason) {
    switch (dialogs_.askError(path, reason)) {
    case ErrorChoice::Retry:
        return std::nullopt;
    case ErrorChoice::Skip:
        return FileStep::Skipped;
    case ErrorChoice::Cancel:
        break;
    }
    cancelled_ = true;
    return FileStep::Cancelled;
}

std::string FailureQuestions::reasonOf(int error) {
    switch (error) {
    case EntryCopier::kSocket:
        return "ソケットは複写できません";
    case EntryCopier::kNotAFile:
    case kSourceChanged:
        return "移動中に変わった項目を移動元に残しました";
    case kBadName:
        return "この名前は扱えません";
    case kReplacedNotRemoved:
        return "置き換えられた古い項目を削除できません";
    default:
        return SystemErrorText::text(error);
    }
}
