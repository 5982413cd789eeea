// user-dirs.dirs: whatever it holds, a user directory is an absolute path.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/XdgDirs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::folder().write("config/user-dirs.dirs", fuzz::bytes(data, size));
    for (const char* name : {"DESKTOP", "DOCUMENTS", "TEMPLATES", "DOWNLOAD", "MUSIC"}) {
        const std::string dir = XdgDirs::userDir(name);
        FUZZ_CHECK(!dir.empty() && dir.front() == '/');
    }
    return 0;
}
