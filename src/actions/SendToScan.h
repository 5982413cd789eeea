#pragma once

#include <string>
#include <string_view>
#include <vector>

// The items of the send-to submenu: the shortcut files (".lnk", any letter case) of the
// send-to folder, in the order the file-system service lists them, named without
// ".lnk". A missing or unreadable folder gives none; a file that is no shortcut, a name
// without "." included, is passed over.
class SendToScan {
  public:
    static std::vector<std::string> names(std::string_view folder);
};
