#include "settings/UserDataFolder.h"

#include "platform/text/AnsiCodec.h"
#include "platform/fs/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/desktop/ProgramSettings.h"
#include "platform/fs/SmallFile.h"
#include "platform/text/TextCase.h"
#include "platform/text/Utf8.h"
#include "settings/SettingsStore.h"

namespace {

constexpr std::string_view kDefaultSetting = "%applicaion data%";
constexpr std::string_view kUseDefault = "ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　";
// "UserData.ini" holds one line; anything larger is not read.
constexpr std::size_t kIniLimit = 64 * 1024;

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// "UserData.ini" may be written by a Linux editor (UTF-8) or come from Windows (CP932).
std::string decodeIni(const std::string& bytes) {
    return Utf8::isValid(bytes) ? bytes : AnsiCodec::decode(bytes);
}

} // namespace

UserDataFolder::UserDataFolder(MessageBox& messages, std::string_view programName,
                               std::string_view programFolder)
    : messages_(messages), name_(programName),
      programFolder_(withSlash(std::string(programFolder))) {}

std::string UserDataFolder::publishedPath() const {
    return programFolder_ + name_;
}

void UserDataFolder::publishExecutable() const {
    const std::string stored = ProgramSettings::get("QuorvaleTools", "Path", name_);
    if (TextCase::lower(stored) != TextCase::lower(publishedPath()))
        ProgramSettings::set("QuorvaleTools", "Path", name_, publishedPath());
}

std::string UserDataFolder::resolve(std::string_view appData, std::string_view documents) {
    publishExecutable();
    const std::string defaultFolder = std::string(appData) + "/Quorvale/" + name_ + "/";
    const std::string setting = readSetting(programFolder_ + "UserData.ini", defaultFolder);
    const std::string folder = choose(setting, defaultFolder, documents);
    if (!FileSystem::folderExists(folder))
        SettingsStore::createFolder(folder);
    return folder;
}

std::string UserDataFolder::readSetting(const std::string& iniPath,
                                        const std::string& defaultFolder) {
    if (!FileSystem::fileExists(iniPath)) {
        messages_.inform(iniPath + " が見つかりません\r" + std::string(kUseDefault) +
                         defaultFolder + " を使用します");
        return std::string(kDefaultSetting);
    }
    const std::string text = decodeIni(SmallFile::read(iniPath, kIniLimit).value_or(""));
    if (text.empty() || text[0] == '\r' || text[0] == '\n') {
        messages_.inform(" ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません\r" + defaultFolder +
                         " を使用します");
        return std::string(kDefaultSetting);
    }
    return text;
}

std::string UserDataFolder::choose(const std::string& setting, const std::string& defaultFolder,
                                   std::string_view documents) {
    const std::string key = TextCase::lower(setting);
    if (key == "%app%")
        return programFolder_ + "usData/";
    if (key == "%usr%" || key == kDefaultSetting)
        return defaultFolder;
    if (key == "%doc" || key == "%my document%")
        return std::string(documents) + "/Quorvale/" + name_ + "/";
    if (key[0] == '%')
        return defaultFolder;
    // Linux file names are case-sensitive: the path is used as written, not lower-cased.
    if (FileSystem::folderExists(setting))
        return withSlash(setting);
    messages_.inform("ﾌｫﾙﾀﾞ " + setting + " が見つかりません\r" + std::string(kUseDefault) +
                     defaultFolder + " を使用します");
    return defaultFolder;
}
