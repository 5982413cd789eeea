#pragma once

#include "platform/TrayIcon.h"

#include <QSystemTrayIcon>
#include <functional>

// The task-tray icon. Its clicks are handed to the window's logic: left restores,
// right shows the tray menu.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT

  public:
    QtTrayIcon();
    void add(std::string_view tip) override;
    void remove() override;
    bool available() const override;

    void setClickHandlers(std::function<void()> left, std::function<void()> right);
    QSystemTrayIcon& icon() { return icon_; }

  private:
    QSystemTrayIcon icon_;
    std::function<void()> onLeft_;
    std::function<void()> onRight_;
};
