#include "platform/fs/GioTrash.h"

#include <gio/gio.h>
#include <memory>

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

} // namespace

Trash::Outcome GioTrash::moveToTrash(const std::string& path) {
    // A path, not a URI or a name relative to the working folder of GIO's choosing.
    std::unique_ptr<GFile, ObjectUnref> file(g_file_new_for_path(path.c_str()));
    GError* raw = nullptr;
    if (g_file_trash(file.get(), nullptr, &raw))
        return {Result::Done, {}};
    std::unique_ptr<GError, ErrorFree> error(raw);
    const bool noTrash = g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
    return {noTrash ? Result::NoTrash : Result::Failed, error->message};
}
