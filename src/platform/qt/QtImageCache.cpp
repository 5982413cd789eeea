#include "platform/qt/QtImageCache.h"

#include "controls/ImageList.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>

const QIcon& QtImageCache::icon(const std::string& key) {
    static const QIcon none;
    if (key.empty() || !images_.exists(key)) {
        return none;
    }
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        it = cache_.emplace(key, make(key)).first;
    }
    return it->second;
}

QIcon QtImageCache::make(const std::string& key) const {
    const std::string name = images_.iconName(key);
    if (name.empty()) {
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        return QIcon(blank);
    }
    const QIcon themed = QIcon::fromTheme(QString::fromStdString(name));
    return themed.isNull() ? fallback(name) : themed;
}

QIcon QtImageCache::fallback(const std::string& iconName) {
    QStyle* style = QApplication::style();
    if (iconName == "go-up") {
        return style->standardIcon(QStyle::SP_ArrowUp);
    }
    if (iconName == "go-down") {
        return style->standardIcon(QStyle::SP_ArrowDown);
    }
    if (iconName.starts_with("folder") || iconName.starts_with("inode-directory")) {
        return style->standardIcon(QStyle::SP_DirIcon);
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}
