#include "platform/qt/QtFileOperationDialogs.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QWidget>

namespace {

QString toText(const std::string& text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

QString quoted(const std::string& path) {
    return QStringLiteral("「") + toText(path) + QStringLiteral("」");
}

// `byDefault`: the answer of the Enter key.
bool yes(QWidget* owner, const QString& text, QMessageBox::StandardButton byDefault) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrin"), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(byDefault);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

template <typename F> void QtFileOperationDialogs::onUiThread(F&& show) {
    if (QThread::currentThread() == owner_->thread())
        show();
    else
        QMetaObject::invokeMethod(owner_, std::forward<F>(show), Qt::BlockingQueuedConnection);
}

bool QtFileOperationDialogs::confirmDelete(const std::vector<std::string>& paths) {
    const QString text =
        paths.size() == 1
            ? quoted(paths.front()) + QStringLiteral("をごみ箱に移動しますか?")
            : QStringLiteral("これら %1 個の項目をごみ箱に移動しますか?").arg(paths.size());
    bool answer = false;
    onUiThread([&] { answer = yes(owner_, text, QMessageBox::Yes); });
    return answer;
}

DeleteForGoodAnswer QtFileOperationDialogs::confirmDeleteForGood(const std::string& path) {
    const QString text =
        quoted(path) + QStringLiteral("のあるボリュームにはごみ箱がありません。\n"
                                      "完全に削除しますか? 元に戻すことはできません。");
    DeleteForGoodAnswer answer;
    onUiThread([&] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrin"), text,
                        QMessageBox::Yes | QMessageBox::No, owner_);
        box.setDefaultButton(QMessageBox::No);
        box.setCheckBox(new QCheckBox(QStringLiteral("以降すべてに適用")));
        answer.confirmed = box.exec() == QMessageBox::Yes;
        answer.applyToAll = box.checkBox()->isChecked();
    });
    return answer;
}

ConflictAnswer QtFileOperationDialogs::askConflict(const std::string& source,
                                                   const std::string& target, ReplaceOffer offer) {
    ConflictAnswer answer;
    onUiThread([&] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrin"),
                        quoted(target) + QStringLiteral("は既にあります。\n") +
                            (offer == ReplaceOffer::Offered
                                 ? QString()
                                 : QStringLiteral("フォルダーとファイルは置き換えられません。\n")) +
                            quoted(source) + QStringLiteral("をどうしますか?"),
                        QMessageBox::NoButton, owner_);
        // A folder and a file are never put in each other's place.
        QPushButton* replace =
            offer == ReplaceOffer::Offered
                ? box.addButton(QStringLiteral("置き換える"), QMessageBox::AcceptRole)
                : nullptr;
        QPushButton* skip = box.addButton(QStringLiteral("スキップ"), QMessageBox::RejectRole);
        QPushButton* both = box.addButton(QStringLiteral("両方残す"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        box.setCheckBox(new QCheckBox(QStringLiteral("以降すべてに適用")));
        box.exec();
        const auto* clicked = box.clickedButton();
        answer.choice = replace && clicked == replace ? ConflictChoice::Replace
                        : clicked == skip             ? ConflictChoice::Skip
                        : clicked == both             ? ConflictChoice::KeepBoth
                                                      : ConflictChoice::Cancel;
        answer.applyToAll = box.checkBox()->isChecked();
    });
    return answer;
}

ErrorChoice QtFileOperationDialogs::askError(const std::string& path, const std::string& reason) {
    return askErrorText(quoted(path) + QStringLiteral("を処理できません。\n") + toText(reason));
}

ErrorChoice QtFileOperationDialogs::askWriteError(const std::string& folder,
                                                  const std::string& item,
                                                  const std::string& reason) {
    return askErrorText(quoted(folder) + QStringLiteral("に書き込めません。\n") + quoted(item) +
                        QStringLiteral("を処理できません。\n") + toText(reason));
}

ErrorChoice QtFileOperationDialogs::askErrorText(const QString& text) {
    ErrorChoice choice = ErrorChoice::Cancel;
    onUiThread([&] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tavrin"), text, QMessageBox::NoButton,
                        owner_);
        QPushButton* skip = box.addButton(QStringLiteral("スキップ"), QMessageBox::AcceptRole);
        QPushButton* retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        box.exec();
        choice = box.clickedButton() == skip    ? ErrorChoice::Skip
                 : box.clickedButton() == retry ? ErrorChoice::Retry
                                                : ErrorChoice::Cancel;
    });
    return choice;
}

void QtFileOperationDialogs::refuse(const std::string& message) {
    onUiThread([&] {
        QMessageBox::warning(owner_, QStringLiteral("Tavrin"), toText(message), QMessageBox::Ok);
    });
}
