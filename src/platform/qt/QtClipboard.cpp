#include "platform/qt/QtClipboard.h"

#include "platform/Utf8.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboard::setText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    if (Utf8::isValid(text))
        data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    else
        data->setData(QStringLiteral("text/plain"),
                      QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    clipboard->setMimeData(data);
}

bool QtClipboard::hasFileList() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && (data->hasFormat(QStringLiteral("text/uri-list")) ||
                    data->hasFormat(QStringLiteral("x-special/gnome-copied-files")));
}
