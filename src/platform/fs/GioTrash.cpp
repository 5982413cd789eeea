#include "platform/fs/GioTrash.h"

#include "platform/fs/FileDescriptor.h"
#include "platform/text/PathText.h"

#include <dirent.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// The top folder of the volume that holds `path`: its highest ancestor on the same device.
std::string volumeTop(const std::string& path, dev_t device) {
    std::string top = PathText::folderAndName(path).first;
    for (;;) {
        const std::string parent = PathText::folderAndName(top).first;
        struct stat st {};
        if (parent.empty() || parent == top || lstat(parent.c_str(), &st) != 0 ||
            st.st_dev != device)
            return top;
        top = parent;
    }
}

// The trash folders an item of this volume may have gone to: the home trash, and the
// shared and the own trash at the top of its volume.
std::vector<std::string> trashFolders(const std::string& path, dev_t device) {
    const std::string top = volumeTop(path, device);
    const std::string uid = std::to_string(getuid());
    return {PathText::child(g_get_user_data_dir(), "Trash"),
            PathText::child(PathText::child(top, ".Trash"), uid),
            PathText::child(top, ".Trash-" + uid)};
}

// The name in `files/` of `trash` that holds the entry (device, inode); empty if none.
std::string entryOf(const std::string& trash, dev_t device, ino_t inode) {
    FileDescriptor files(
        open(PathText::child(trash, "files").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!files.valid())
        return {};
    DIR* dir = fdopendir(dup(files.get()));
    if (!dir)
        return {};
    std::string found;
    while (dirent* entry = readdir(dir)) {
        struct stat st {};
        if (entry->d_ino == inode &&
            fstatat(files.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            st.st_dev == device && st.st_ino == inode) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

} // namespace

Trash::Outcome GioTrash::moveToTrash(const std::string& path) {
    struct stat before {};
    const bool known = lstat(path.c_str(), &before) == 0;
    // A path, not a URI or a name relative to the working folder of GIO's choosing.
    std::unique_ptr<GFile, ObjectUnref> file(g_file_new_for_path(path.c_str()));
    GError* raw = nullptr;
    if (g_file_trash(file.get(), nullptr, &raw)) {
        Outcome outcome{Result::Done, {}, {}, {}};
        if (known)
            locate(path, before.st_dev, before.st_ino, outcome);
        return outcome;
    }
    std::unique_ptr<GError, ErrorFree> error(raw);
    const bool noTrash = g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
    return {noTrash ? Result::NoTrash : Result::Failed, error->message, {}, {}};
}

// GIO does not say where the item went: it was renamed within its volume, so the trash
// entry is the one with its inode.
void GioTrash::locate(const std::string& path, dev_t device, ino_t inode, Outcome& outcome) {
    for (const std::string& trash : trashFolders(path, device)) {
        const std::string name = entryOf(trash, device, inode);
        if (name.empty())
            continue;
        outcome.trashed = PathText::child(PathText::child(trash, "files"), name);
        outcome.info = PathText::child(PathText::child(trash, "info"), name + ".trashinfo");
        return;
    }
}
