#include "platform/desktop/PickerRoots.h"

#include <cstdlib>
#include <unistd.h>

std::string PickerRoots::of(int number) {
    if (number == 17)
        return "/";
    if (number != 18)
        return {};
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        return std::string(runtime) + "/gvfs";
    return "/run/user/" + std::to_string(getuid()) + "/gvfs";
}
