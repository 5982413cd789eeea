#include "platform/qt/QtMessageBox.h"

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

bool QtMessageBox::ask(std::string_view text) {
    return show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
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
