#pragma once

#include "platform/MessageBox.h"

class QWidget;

// Message boxes with the caption "Tavrin"; CR in a text becomes a line break.
class QtMessageBox : public MessageBox {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(std::string_view text) override;
    bool ask(std::string_view text) override;

  private:
    QWidget* parent_ = nullptr;
};
