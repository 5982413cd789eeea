#pragma once

#include "platform/ShellOpener.h"

// The desktop's open and explore on Linux. Program files start directly; everything else
// goes to its default application through xdg-open, or through GIO's default handler
// where xdg-open is not installed. Explore asks the file manager over D-Bus
// (org.freedesktop.FileManager1) and opens the folder in its default application when no
// file manager answers there.
//
// Paths are handed on as bytes (on the command line) or as file URIs made from the bytes,
// never through QString, so names that are not UTF-8 arrive unchanged.
class LinuxShellOpener : public ShellOpener {
  public:
    bool open(std::string_view target) override;
    bool explore(std::string_view path) override;
    bool start(std::string_view program, const std::vector<std::string>& arguments,
               std::string_view workingDirectory) override;
};
