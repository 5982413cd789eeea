#include "platform/qt/QtTrayIcon.h"

#include <QApplication>
#include <QStyle>

QtTrayIcon::QtTrayIcon() {
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger && onLeft_)
            onLeft_();
        else if (r == QSystemTrayIcon::Context && onRight_)
            onRight_();
    });
}

void QtTrayIcon::add(std::string_view tip) {
    // The tray record held 63 bytes of tip text; cut at a character boundary.
    std::size_t n = std::min<std::size_t>(tip.size(), 63);
    while (n > 0 && n < tip.size() && (static_cast<unsigned char>(tip[n]) & 0xC0) == 0x80)
        --n;
    icon_.setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(n)));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    icon_.setIcon(icon);
    icon_.show();
}

void QtTrayIcon::remove() {
    icon_.hide();
}

bool QtTrayIcon::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::setClickHandlers(std::function<void()> left, std::function<void()> right) {
    onLeft_ = std::move(left);
    onRight_ = std::move(right);
}
