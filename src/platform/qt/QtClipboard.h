#pragma once

#include "platform/Clipboard.h"

// The desktop clipboard through Qt. A text that is not UTF-8 is offered as its bytes.
class QtClipboard : public Clipboard {
  public:
    void setText(std::string_view text) override;
    bool hasFileList() const override;
};
