#include "platform/qt/QtMessageBox.h"

#include <QPushButton>
#include <QString>
#include <algorithm>

namespace {

QString toText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

} // namespace

void QtMessageBox::inform(std::string_view text) {
    show(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageBox::notify(std::string_view text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Tavrin"), toText(text),
                                QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Beside the window: it neither holds the window nor takes the keys typed there.
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setModal(false);
    box->show();
}

bool QtMessageBox::ask(std::string_view text) {
    return show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

MessageBox::SaveChoice QtMessageBox::askToSave(std::string_view text) {
    if (closed_)
        return SaveChoice::Cancel;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tavrin"), toText(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存する"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Save);
    open_.push_back(&box);
    const int answer = box.exec();
    open_.erase(std::find(open_.begin(), open_.end(), &box));
    if (closed_ || answer == QMessageBox::Cancel)
        return SaveChoice::Cancel;
    return answer == QMessageBox::Save ? SaveChoice::Save : SaveChoice::Discard;
}

QMessageBox::StandardButton QtMessageBox::show(QMessageBox::Icon icon, std::string_view text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton closedAs) {
    if (closed_)
        return closedAs;
    QMessageBox box(icon, QStringLiteral("Tavrin"), toText(text), buttons, parent_);
    open_.push_back(&box);
    const int answer = box.exec();
    open_.erase(std::find(open_.begin(), open_.end(), &box));
    return closed_ ? closedAs : static_cast<QMessageBox::StandardButton>(answer);
}

void QtMessageBox::closeAll() {
    closed_ = true;
    for (QMessageBox* box : open_)
        box->done(QMessageBox::Ok);
}
