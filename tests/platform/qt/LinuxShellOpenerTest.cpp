#include "platform/qt/LinuxShellOpener.h"

#include "opening/ShellServices.h"
#include "platform/desktop/ShellLink.h"
#include "support/ChildProcess.h"
#include "support/EnvVar.h"
#include "support/NullUiLoop.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <chrono>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A program that writes its working directory and then each of its arguments, every one
// followed by NUL, to "<its own path>.out" once it is done.
std::string recorder(const TempDir& dir, const std::string& name) {
    const std::string path = dir.write(name, "#!/bin/sh\n"
                                             "out=\"$0.out\"\n"
                                             "{ printf '%s\\0' \"$PWD\"\n"
                                             "  for a in \"$@\"; do printf '%s\\0' \"$a\"; done\n"
                                             "} > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    chmod(path.c_str(), 0755);
    return path;
}

// What the recorder wrote: working directory first, then the arguments.
std::vector<std::string> recorded(const std::string& program) {
    const std::string out = program + ".out";
    for (int i = 0; i < 500 && access(out.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<std::string> fields;
    const std::string text = TempDir::read(out);
    for (std::size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
         start = end + 1)
        fields.push_back(text.substr(start, end - start));
    return fields;
}

} // namespace

TEST(LinuxShellOpenerTest, SendToItemGetsEverySelectedPathWholeAsItsOwnArgument) {
    TempDir dir;
    EnvVar data("XDG_DATA_HOME", dir / "data");
    const std::string program = recorder(dir, "bin dir/record args.sh");
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(
        ShellLink::save(dir / "data/Quorvale/SendTo/引数 記録.lnk", program, dir / "bin dir"));

    LinuxShellOpener opener;
    ScriptedFolderPicker picker;
    NullUiLoop loop;
    ShellServices shell(opener, picker, loop);
    const std::vector<std::string> paths{dir / "a b, c\nd.txt", dir / "<x> & \"y\" 'z'.txt",
                                         dir / "名前\xFF\xFE.txt", dir / "-n"};
    ASSERT_TRUE(shell.runShortcut("引数 記録", paths, false));

    std::vector<std::string> expected{dir / "bin dir"};
    expected.insert(expected.end(), paths.begin(), paths.end());
    EXPECT_EQ(recorded(program), expected);
}

TEST(LinuxShellOpenerTest, ProgramFilesStartDirectlyAndMissingThingsStartNothing) {
    TempDir dir;
    LinuxShellOpener opener;
    const std::string program = recorder(dir, "tool.sh");
    EXPECT_TRUE(opener.open(program));
    EXPECT_EQ(recorded(program).size(), 1u) << "started without arguments";

    const std::string second = recorder(dir, "second.sh");
    EXPECT_TRUE(opener.start(second, {"one", ""}, dir.path()));
    EXPECT_EQ(recorded(second), (std::vector<std::string>{dir.path(), "one", ""}));

    EXPECT_FALSE(opener.open(dir / "missing.txt"));
    EXPECT_FALSE(opener.open(""));
    EXPECT_FALSE(opener.start(dir / "missing.sh", {"x"}, ""));
    EXPECT_FALSE(opener.start(recorder(dir, "third.sh"), {}, dir / "no such folder"));
    EXPECT_FALSE(opener.explore(dir / "missing"));
}

namespace {

// A file manager of the test's own on a private session bus: records the URIs it is
// asked to show.
class FakeFileManager {
  public:
    explicit FakeFileManager(const std::string& address) {
        thread_ = std::thread([this, address] { run(address); });
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, std::chrono::seconds(10), [this] { return started_; });
    }
    ~FakeFileManager() {
        if (loop_)
            g_main_loop_quit(loop_);
        thread_.join();
    }
    bool ok() {
        std::lock_guard lock(mutex_);
        return owned_;
    }
    std::vector<std::pair<std::string, std::string>> calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    static void onCall(GDBusConnection*, const char*, const char*, const char*, const char* method,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        auto* fm = static_cast<FakeFileManager*>(self);
        GVariant* uris = g_variant_get_child_value(parameters, 0);
        std::lock_guard lock(fm->mutex_);
        for (gsize i = 0; i < g_variant_n_children(uris); ++i) {
            GVariant* uri = g_variant_get_child_value(uris, i);
            fm->calls_.emplace_back(method, g_variant_get_string(uri, nullptr));
            g_variant_unref(uri);
        }
        g_variant_unref(uris);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }

    void run(const std::string& address) {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.FileManager1'>"
            "<method name='ShowFolders'><arg type='as'/><arg type='s'/></method>"
            "<method name='ShowItems'><arg type='as'/><arg type='s'/></method>"
            "</interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable{onCall, nullptr, nullptr, {}};
        bool owned = false;
        if (bus && node &&
            g_dbus_connection_register_object(bus, "/org/freedesktop/FileManager1",
                                              node->interfaces[0], &vtable, this, nullptr,
                                              nullptr)) {
            GVariant* reply = g_dbus_connection_call_sync(
                bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "RequestName", g_variant_new("(su)", "org.freedesktop.FileManager1", 0u), nullptr,
                G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
            owned = reply != nullptr;
            if (reply)
                g_variant_unref(reply);
        }
        loop_ = g_main_loop_new(context, false);
        {
            std::lock_guard lock(mutex_);
            owned_ = owned;
            started_ = true;
        }
        ready_.notify_all();
        g_main_loop_run(loop_);
        g_main_loop_unref(loop_);
        if (node)
            g_dbus_node_info_unref(node);
        if (bus)
            g_object_unref(bus);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    std::thread thread_;
    GMainLoop* loop_ = nullptr;
    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false;
    bool owned_ = false;
    std::vector<std::pair<std::string, std::string>> calls_;
};

std::string fileUri(const std::string& path) {
    char* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string out = uri ? uri : "";
    g_free(uri);
    return out;
}

} // namespace

TEST(LinuxShellOpenerTest, ExploreAsksTheFileManagerOnTheSessionBus) {
    if (access("/usr/bin/dbus-daemon", X_OK) != 0)
        GTEST_SKIP() << "dbus-daemon is not installed";
    TempDir dir;
    const std::string addressFile = dir / "address";
    ChildProcess daemon({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"}, {},
                        addressFile);
    std::string address;
    for (int i = 0; i < 250 && address.find('\n') == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        address = TempDir::read(addressFile);
    }
    ASSERT_NE(address.find('\n'), std::string::npos);
    address.erase(address.find('\n'));
    EnvVar bus("DBUS_SESSION_BUS_ADDRESS", address);
    FakeFileManager fileManager(address);
    ASSERT_TRUE(fileManager.ok());

    const std::string folder = dir.mkdir("フォルダ a,b\xFF");
    const std::string file = dir.write("フォルダ a,b\xFF/報告 #1%.txt", "x");
    LinuxShellOpener opener;
    EXPECT_TRUE(opener.explore(folder));
    EXPECT_TRUE(opener.explore(file));
    const auto calls = fileManager.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].first, "ShowFolders");
    EXPECT_EQ(calls[0].second, fileUri(folder));
    EXPECT_EQ(calls[1].first, "ShowItems");
    EXPECT_EQ(calls[1].second, fileUri(file));
    char* back = g_filename_from_uri(calls[0].second.c_str(), nullptr, nullptr);
    EXPECT_EQ(std::string(back ? back : ""), folder);
    g_free(back);
}

TEST(LinuxShellOpenerTest, AFileNoProgramHandlesIsReportedWithItsNameAndTheReason) {
    if (GAppInfo* handler = g_app_info_get_default_for_type("application/octet-stream", false)) {
        g_object_unref(handler);
        GTEST_SKIP() << "this desktop opens any file";
    }
    TempDir dir;
    const std::string file = dir.write("データ 1.zzqqx", std::string("\x01\x02\xff\x00\x7f", 5));
    ScriptedMessageBox messages;
    LinuxShellOpener opener(&messages);
    EXPECT_FALSE(opener.open(file));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind(file + "\r\r", 0), 0u) << messages.shown[0];
    EXPECT_GT(messages.shown[0].size(), file.size() + 10) << "a reason follows";
}
