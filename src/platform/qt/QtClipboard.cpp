#include "platform/qt/QtClipboard.h"

#include "platform/desktop/FileListFormats.h"
#include "platform/text/Utf8.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString formatName(std::string_view format) {
    return QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size()));
}

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

const QMimeData* currentData() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

} // namespace

void QtClipboard::setText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    if (Utf8::isValid(text))
        data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    else
        data->setData(QStringLiteral("text/plain"), bytes(text));
    clipboard->setMimeData(data);
}

bool QtClipboard::hasFileList() const {
    const QMimeData* data = currentData();
    return data && (data->hasFormat(formatName(FileListFormats::kUriList)) ||
                    data->hasFormat(formatName(FileListFormats::kGnome)));
}

void QtClipboard::setFileList(const std::vector<std::string>& paths, ClipEffect effect) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    for (const auto& [format, content] : FileListFormats::encode(paths, effect))
        data->setData(formatName(format), bytes(content));
    clipboard->setMimeData(data);
}

ClipboardFiles QtClipboard::fileList() const {
    const QMimeData* data = currentData();
    if (!data)
        return {};
    return FileListFormats::decode([data](std::string_view format) -> std::optional<std::string> {
        const QString name = formatName(format);
        if (!data->hasFormat(name))
            return std::nullopt;
        return data->data(name).toStdString();
    });
}
