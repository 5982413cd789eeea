#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>
#include <QString>

namespace {

QString toText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

} // namespace

void QtMessageBox::inform(std::string_view text) {
    QMessageBox::information(parent_, QStringLiteral("Tavrin"), toText(text), QMessageBox::Ok);
}

bool QtMessageBox::ask(std::string_view text) {
    return QMessageBox::question(parent_, QStringLiteral("Tavrin"), toText(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
