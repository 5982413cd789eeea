#include "platform/qt/QtIconTheme.h"

#include <QIcon>
#include <QMimeDatabase>

namespace {

// The part of a file name that decides its content type by name: the last extension, or
// the last two when there are more (so "a.tar.gz" and "b.gz" stay apart); the whole name
// when it has no extension.
std::string typeKeyOf(const std::string& fileName) {
    const std::size_t last = fileName.rfind('.');
    if (last == std::string::npos || last == 0) {
        return "/" + fileName;
    }
    const std::size_t before = fileName.rfind('.', last - 1);
    const std::size_t from = before == std::string::npos || before == 0 ? last : before;
    return fileName.substr(from);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

void QtIconTheme::ensureThemeName() {
    const QString name = QIcon::themeName();
    if (name.isEmpty() || name == QLatin1String("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    if (QIcon::fallbackThemeName().isEmpty()) {
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    }
}

std::string QtIconTheme::iconNameFor(const std::string& path, bool isFolder) {
    if (isFolder) {
        return "folder";
    }
    const std::string fileName = fileNameOf(path);
    const std::string key = typeKeyOf(fileName);
    auto it = byExtension_.find(key);
    if (it == byExtension_.end()) {
        it = byExtension_.emplace(key, lookUp(fileName)).first;
    }
    return it->second;
}

std::string QtIconTheme::lookUp(const std::string& fileName) {
    ++lookups_;
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QString::fromUtf8(fileName), QMimeDatabase::MatchExtension);
    QString name = type.iconName();
    if (name.isEmpty() || !QIcon::hasThemeIcon(name)) {
        name = type.genericIconName();
    }
    return name.isEmpty() ? std::string("text-x-generic") : name.toStdString();
}
