#include "settings/HiddenEntriesChoice.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/SmallFile.h"

namespace {

constexpr std::string_view kHidden = "hidden";
constexpr std::string_view kShown = "shown";
// Room for either line; a larger file is not one of ours.
constexpr std::size_t kLimit = 64;

} // namespace

std::string HiddenEntriesChoice::pathIn(std::string_view userData) {
    return std::string(userData) + std::string(kFileName);
}

bool HiddenEntriesChoice::shown(std::string_view userData) {
    if (userData.empty())
        return true;
    auto text = SmallFile::read(pathIn(userData), kLimit);
    if (!text)
        return true;
    // A line end written by another editor is taken as well.
    while (!text->empty() && (text->back() == '\n' || text->back() == '\r'))
        text->pop_back();
    return *text != kHidden;
}

bool HiddenEntriesChoice::store(std::string_view userData, bool shown) {
    if (userData.empty())
        return false;
    return FileSystem::writeBytesAtomically(pathIn(userData),
                                            std::string(shown ? kShown : kHidden) + "\n");
}
