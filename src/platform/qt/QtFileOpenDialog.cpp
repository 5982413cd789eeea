#include "platform/qt/QtFileOpenDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString fileName(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace

QStringList QtFileOpenDialog::nameFilters(std::string_view filter) {
    const QStringList parts = text(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (description.endsWith(suffix) ? description
                                                 : description + QLatin1Char(' ') + suffix);
    }
    return filters;
}

std::string QtFileOpenDialog::chooseFile(std::string_view title, std::string_view name,
                                         std::string_view filter, std::string_view initialFolder) {
    QFileDialog dialog(QApplication::activeWindow(), text(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = nameFilters(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.front());
    if (!initialFolder.empty())
        dialog.setDirectory(fileName(initialFolder));
    dialog.selectFile(fileName(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}
