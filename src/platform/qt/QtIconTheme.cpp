#include "platform/qt/QtIconTheme.h"

#include "platform/desktop/MimeGlobs.h"

#include <QIcon>
#include <QMimeDatabase>

namespace {

// The database's file-name rules, read once at the first file name.
const MimeGlobs& nameRules() {
    static const MimeGlobs rules = MimeGlobs::ofDataFolders();
    return rules;
}

// The part of a file name that decides its content type by name. Names no whole-name or
// pattern rule matches ("Makefile", "README*", "*~" do) get their type from extension
// rules alone, so they share the key of their last extensions ("" without any); any
// other name is its own key, "/" + the name, held in `wholeName`.
std::string_view typeKeyOf(std::string_view fileName, std::string& wholeName) {
    const MimeGlobs& rules = nameRules();
    if (rules.known() && !rules.hasNameRule(fileName)) {
        return rules.extensionKey(fileName);
    }
    wholeName = "/" + std::string(fileName);
    return wholeName;
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
