#include "platform/qt/LinuxShellOpener.h"

#include "platform/process/DetachedProcess.h"
#include "platform/fs/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/desktop/ProgramFile.h"

#include <cstdlib>
#include <gio/gio.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename T> struct GFree {
    void operator()(T* p) const { g_free(p); }
};
using GText = std::unique_ptr<char, GFree<char>>;

struct GObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};

struct GErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};

// "https://...", "mailto:..." : a scheme of at least two characters before the colon
// (so that "C:" is no scheme) and no leading "/".
bool isAddress(std::string_view target) {
    const auto colon = target.find(':');
    if (colon == std::string_view::npos || colon < 2 || !g_ascii_isalpha(target[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = target[i];
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

std::string absolute(std::string_view path) {
    if (!path.empty() && path.front() == '/')
        return std::string(path);
    GText cwd(g_get_current_dir());
    return FileSystem::join(cwd.get(), path);
}

std::string fileUri(std::string_view path) {
    GText uri(g_filename_to_uri(absolute(path).c_str(), nullptr, nullptr));
    return uri ? std::string(uri.get()) : std::string();
}

// Launches the default application of a file or an address through GIO; on failure
// `reason` tells why (no application for the type, a program that cannot start).
bool launchDefault(const std::string& target, bool address, std::string& reason) {
    GError* error = nullptr;
    bool ok = false;
    if (address) {
        ok = g_app_info_launch_default_for_uri(target.c_str(), nullptr, &error);
    } else {
        std::unique_ptr<GFile, GObjectUnref> file(g_file_new_for_path(target.c_str()));
        std::unique_ptr<GAppInfo, GObjectUnref> app(
            g_file_query_default_handler(file.get(), nullptr, &error));
        if (app) {
            GList files{file.get(), nullptr, nullptr};
            ok = g_app_info_launch(app.get(), &files, nullptr, &error);
        }
    }
    std::unique_ptr<GError, GErrorFree> release(error);
    if (!ok)
        reason = error ? error->message : "unknown error";
    return ok;
}

// Only a bus that is there already: GLib would otherwise try to launch one for the X
// display, which is not this program's business.
bool sessionBusKnown() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    return runtime && *runtime && stat((std::string(runtime) + "/bus").c_str(), &st) == 0 &&
           S_ISSOCK(st.st_mode);
}

bool showInFileManager(const std::string& uri, bool folder) {
    if (uri.empty() || !sessionBusKnown())
        return false;
    GError* error = nullptr;
    std::unique_ptr<GDBusConnection, GObjectUnref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    std::unique_ptr<GError, GErrorFree> releaseBusError(error);
    if (!bus)
        return false;
    const char* uris[] = {uri.c_str(), nullptr};
    error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", folder ? "ShowFolders" : "ShowItems",
        g_variant_new("(^ass)", uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
    std::unique_ptr<GError, GErrorFree> releaseCallError(error);
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}

} // namespace

bool LinuxShellOpener::openWithDefaultApplication(std::string_view target, bool address) {
    const std::string launched = address ? std::string(target) : absolute(target);
    std::string reason;
    if (launchDefault(launched, address, reason))
        return true;
    if (messages_)
        messages_->inform(launched + "\r\rﾌｧｲﾙを開けません: " + reason);
    return false;
}

bool LinuxShellOpener::open(std::string_view target) {
    if (target.empty())
        return false;
    if (isAddress(target))
        return openWithDefaultApplication(target, true);
    struct stat st {};
    if (stat(absolute(target).c_str(), &st) != 0)
        return false;
    if (ProgramFile::is(target))
        return DetachedProcess::start({absolute(target)}, {});
    return openWithDefaultApplication(target, false);
}

bool LinuxShellOpener::explore(std::string_view path) {
    struct stat st {};
    if (path.empty() || stat(absolute(path).c_str(), &st) != 0)
        return false;
    const bool folder = S_ISDIR(st.st_mode);
    if (showInFileManager(fileUri(path), folder))
        return true;
    return openWithDefaultApplication(folder ? path : FileSystem::parentOf(absolute(path)), false);
}

bool LinuxShellOpener::start(std::string_view program, const std::vector<std::string>& arguments,
                             std::string_view workingDirectory) {
    if (!ProgramFile::is(program))
        return open(program);
    std::vector<std::string> argv{absolute(program)};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return DetachedProcess::start(argv, workingDirectory);
}
