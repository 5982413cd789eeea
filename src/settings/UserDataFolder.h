#pragma once

#include <string>
#include <string_view>

class MessageBox;

// Chooses the user data folder from "UserData.ini" beside the executable, publishes the
// executable's path for the sibling tools, and creates the folder when it is missing.
//
// "UserData.ini" holds a keyword ("%app%", "%usr%", "%applicaion data%", "%doc",
// "%my document%") or a folder path. The whole file text is compared, nothing trimmed: a
// keyword followed by a line break falls back to the default folder without a notice.
class UserDataFolder {
  public:
    // `programFolder` is the executable's folder, where "UserData.ini" lies.
    UserDataFolder(MessageBox& messages, std::string_view programName,
                   std::string_view programFolder);

    // Returns the folder, always ending with "/". `appData` and `documents` are the
    // user's application-data and documents folders.
    std::string resolve(std::string_view appData, std::string_view documents);

    // The executable path published under ("QuorvaleTools", "Path", program name).
    std::string publishedPath() const;

  private:
    void publishExecutable() const;
    std::string readSetting(const std::string& iniPath, const std::string& defaultFolder);
    std::string choose(const std::string& setting, const std::string& defaultFolder,
                       std::string_view documents);

    MessageBox& messages_;
    std::string name_;
    std::string programFolder_; // with a trailing "/"
};
