#pragma once

#include "platform/MessageBox.h"

#include <QMessageBox>
#include <vector>

class QWidget;

// Message boxes with the caption "Tavrin"; CR in a text becomes a line break.
class QtMessageBox : public MessageBox {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(std::string_view text) override;
    void notify(std::string_view text) override;
    bool ask(std::string_view text) override;
    SaveChoice askToSave(std::string_view text) override;
    // The program is to end before it has started up: the boxes that are open close as
    // if OK (or No) had been chosen, and later ones are not shown.
    void closeAll();

  private:
    QMessageBox::StandardButton show(QMessageBox::Icon icon, std::string_view text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton closedAs);

    QWidget* parent_ = nullptr;
    std::vector<QMessageBox*> open_;
    bool closed_ = false;
};
