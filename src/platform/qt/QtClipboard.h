#pragma once

#include "platform/Clipboard.h"

// The desktop clipboard through Qt. A text that is not UTF-8 is offered as its bytes.
// What the program puts there stays after it ends where a clipboard manager runs: Qt
// hands the content over when the application object goes, so the program must end
// through a normal return from main.
class QtClipboard : public Clipboard {
  public:
    void setText(std::string_view text) override;
    bool hasFileList() const override;
    void setFileList(const std::vector<std::string>& paths, ClipEffect effect) override;
    ClipboardFiles fileList() const override;
};
