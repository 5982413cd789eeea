#pragma once

#include "platform/ShellOpener.h"

class MessageBox;

// The desktop's open and explore on Linux. Program files start directly; everything else
// goes to its default application through GIO, and when there is none or it cannot start,
// a message names the file and the reason. Explore asks the file manager over D-Bus
// (org.freedesktop.FileManager1) and opens the folder in its default application when no
// file manager answers there.
//
// Paths are handed on as bytes (on the command line) or as file URIs made from the bytes,
// never through QString, so names that are not UTF-8 arrive unchanged.
class LinuxShellOpener : public ShellOpener {
  public:
    // `messages` shows failures to open; none: they are only returned.
    explicit LinuxShellOpener(MessageBox* messages = nullptr) : messages_(messages) {}

    bool open(std::string_view target) override;
    bool explore(std::string_view path) override;
    bool start(std::string_view program, const std::vector<std::string>& arguments,
               std::string_view workingDirectory) override;

  private:
    bool openWithDefaultApplication(std::string_view target, bool address);

    MessageBox* messages_;
};
