// "UserData.ini" beside the executable: whatever it holds, the user data folder is one of
// the known places or a folder that exists, and it ends with "/".
#include "fuzz/FuzzSupport.h"
#include "platform/fs/FileSystem.h"
#include "settings/UserDataFolder.h"
#include "support/ScriptedMessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& dir = fuzz::folder();
    dir.write("program/UserData.ini", fuzz::bytes(data, size));
    ScriptedMessageBox messages;
    UserDataFolder userData(messages, "tavrin", dir / "program");
    const std::string folder = userData.resolve(dir / "appdata", dir / "documents");
    FUZZ_CHECK(!folder.empty() && folder.back() == '/');
    const bool known = folder == dir / "appdata/Quorvale/tavrin/" ||
                       folder == dir / "documents/Quorvale/tavrin/" ||
                       folder == dir / "program/usData/";
    FUZZ_CHECK(known || FileSystem::folderExists(folder));
    return 0;
}
