#include "platform/qt/QtIconTheme.h"

#include <QIcon>
#include <QMimeDatabase>
#include <unordered_set>

namespace {

std::string asciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Whole file names the content-type database knows ("Makefile", "README"), in lower case.
// Any other name without an extension has the type of no name at all, so a folder of many
// such files costs one look-up, not one (slow, pattern-matching) look-up per name.
const std::unordered_set<std::string>& literalNames() {
    static const std::unordered_set<std::string> names = [] {
        std::unordered_set<std::string> found;
        for (const QMimeType& type : QMimeDatabase().allMimeTypes()) {
            for (const QString& glob : type.globPatterns()) {
                if (!glob.contains(QLatin1Char('*')) && !glob.contains(QLatin1Char('?')) &&
                    !glob.contains(QLatin1Char('['))) {
                    found.insert(asciiLower(glob.toStdString()));
                }
            }
        }
        return found;
    }();
    return names;
}

// The part of a file name that decides its content type by name: the last extension, or
// the last two when there are more (so "a.tar.gz" and "b.gz" stay apart); a name the
// database knows as a whole; "/" for any other name without an extension.
// The key is a view into `fileName` or `wholeName`, which holds "/" + the name when needed.
std::string_view typeKeyOf(std::string_view fileName, std::string& wholeName) {
    const std::size_t last = fileName.rfind('.');
    if (last == std::string_view::npos || last == 0) {
        if (!literalNames().count(asciiLower(std::string(fileName)))) {
            return "/";
        }
        wholeName = "/" + std::string(fileName);
        return wholeName;
    }
    const std::size_t before = fileName.rfind('.', last - 1);
    const std::size_t from = before == std::string_view::npos || before == 0 ? last : before;
    return fileName.substr(from);
}

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
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

const std::string& QtIconTheme::iconNameFor(std::string_view path, bool isFolder) {
    static const std::string folder = "folder";
    if (isFolder) {
        return folder;
    }
    const std::string_view fileName = fileNameOf(path);
    std::string wholeName;
    const std::string_view key = typeKeyOf(fileName, wholeName);
    auto it = byExtension_.find(key);
    if (it == byExtension_.end()) {
        it = byExtension_.emplace(std::string(key), lookUp(std::string(fileName))).first;
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
