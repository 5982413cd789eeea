#include "platform/qt/QtFolderPicker.h"

#include "platform/fs/FileSystem.h"

#include <QFile>
#include <QFileDialog>
#include <QWidget>

std::string QtFolderPicker::pickFolder(std::uintptr_t owner, std::string_view title,
                                       std::string_view initialFolder,
                                       std::string_view rootFolder) {
    QWidget* parent = owner ? QWidget::find(static_cast<WId>(owner)) : nullptr;
    const std::string_view start = initialFolder.empty() ? rootFolder : initialFolder;
    const QString chosen = QFileDialog::getExistingDirectory(
        parent, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
        QFile::decodeName(QByteArray(start.data(), static_cast<qsizetype>(start.size()))),
        QFileDialog::ShowDirsOnly);
    std::string path = QFile::encodeName(chosen).toStdString();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    // The dialog speaks QString, which cannot hold every byte of a Linux name: a choice
    // that does not come back as an existing folder is no choice rather than a wrong one.
    return FileSystem::folderExists(path) ? path : std::string();
}
