#pragma once

#include <string_view>

// The desktop's clipboard as the program uses it. Texts are byte strings (UTF-8 expected);
// they reach other programs unchanged.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content by this plain text.
    virtual void setText(std::string_view text) = 0;
    // Whether the clipboard offers a list of files (copied or cut in a file manager).
    virtual bool hasFileList() const = 0;
};
