#pragma once

#include <string>
#include <string_view>
#include <vector>

// Whether files on the clipboard were copied or cut.
enum class ClipEffect { Copy, Move };

// A list of files as it stands on the clipboard: whole paths (byte strings) in order.
struct ClipboardFiles {
    std::vector<std::string> paths;
    ClipEffect effect = ClipEffect::Copy;
};

// The desktop's clipboard as the program uses it. Texts are byte strings (UTF-8 expected);
// they reach other programs unchanged.
// Threads: the user-interface thread only (the desktop's clipboard belongs to it).
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content by this plain text.
    virtual void setText(std::string_view text) = 0;
    // Whether the clipboard offers a list of files (copied or cut in a file manager).
    virtual bool hasFileList() const = 0;
    // Replaces the clipboard's content by a list of files, in the forms file managers
    // of the desktop read.
    virtual void setFileList(const std::vector<std::string>& paths, ClipEffect effect) = 0;
    // The files on the clipboard; no paths when it holds none.
    virtual ClipboardFiles fileList() const = 0;
};
