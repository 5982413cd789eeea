#include "platform/viewers/LibreOfficeViewer.h"

#include "platform/WindowList.h"
#include "platform/desktop/UriList.h"
#include "platform/process/BoundedCall.h"
#include "platform/process/RunningPrograms.h"
#include "platform/viewers/office/OfficeBridgeApi.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/random.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kStartMs = 30000; // a fresh profile takes seconds to set up on a busy machine
constexpr int kOpenMs = 15000;
constexpr int kCallMs = 5000;
constexpr int kQuitMs = 5000;
// The office ends with this code after setting up a new profile, to be started again.
constexpr int kRestartExitCode = 81;

// The office module beside the program, loaded once; null when it is missing or the
// office's libraries it needs are not installed.
const TavrinOfficeApi* officeModule() {
    static const TavrinOfficeApi* const api = []() -> const TavrinOfficeApi* {
        std::error_code error;
        const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error)
            return nullptr;
        const std::string module = (exe.parent_path() / "libtavrin_office.so").string();
        void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        // Never unloaded: the UNO runtime keeps threads and singletons of its own.
        auto entry =
            reinterpret_cast<TavrinOfficeApiFunction>(dlsym(handle, TAVRIN_OFFICE_API_SYMBOL));
        const TavrinOfficeApi* table = entry ? entry() : nullptr;
        return table && table->version == TAVRIN_OFFICE_API_VERSION ? table : nullptr;
    }();
    return api;
}

// A pipe name nobody can guess, from the kernel's random source.
std::string randomPipeName() {
    unsigned char bytes[16] = {};
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        return {};
    static const char digits[] = "0123456789abcdef";
    std::string name = "tavrin_";
    for (unsigned char b : bytes) {
        name += digits[b >> 4];
        name += digits[b & 15];
    }
    return name;
}

// Where the office's pipe library puts the socket of a named pipe: a shared temporary
// folder, so the socket is checked before anything is said through it.
std::string pipeSocketPath(const std::string& name) {
    const char* folder = access("/tmp", W_OK) == 0 ? "/tmp" : "/var/tmp";
    return std::string(folder) + "/OSL_PIPE_" + std::to_string(getuid()) + "_" + name;
}

// The socket exists, is ours, and no other user may connect to it (connecting needs
// write permission); a socket made under a lax umask is tightened first.
bool pipeSocketPrivate(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != getuid())
        return false;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && chmod(path.c_str(), st.st_mode & 0700) != 0)
        return false;
    return lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Settings of a new profile: no tip dialog over the first document, macros not run
// even where a document would be trusted.
constexpr const char* kProfileSettings =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="MacroSecurityLevel" oor:op="fuse"><value>3</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="DisableMacrosExecution" oor:op="fuse"><value>true</value></prop></item>
</oor:items>
)";

std::string environmentValue(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

bool namesUtf8(const std::string& locale) {
    return locale.find("UTF-8") != std::string::npos || locale.find("utf8") != std::string::npos ||
           locale.find("UTF8") != std::string::npos || locale.find("utf-8") != std::string::npos;
}

// The office reads file names in the character set of its locale: under "C" or "POSIX"
// it cannot open a name outside ASCII. Names are bytes that are UTF-8 where they are
// text, so the office gets a UTF-8 character set and keeps the rest of the locale.
std::vector<std::string> officeLocale() {
    const std::string all = environmentValue("LC_ALL");
    const std::string ctype = !all.empty()                            ? all
                              : !environmentValue("LC_CTYPE").empty() ? environmentValue("LC_CTYPE")
                                                                      : environmentValue("LANG");
    if (namesUtf8(ctype))
        return {};
    if (all.empty())
        return {"LC_CTYPE=C.UTF-8"};
    return {"LC_ALL", "LANG=" + all, "LC_CTYPE=C.UTF-8"};
}

std::string absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/')
        return path;
    std::error_code error;
    return (std::filesystem::current_path(error) / path).string();
}

} // namespace

LibreOfficeViewer::LibreOfficeViewer(OfficeKind kind, std::string profileFolder, double deviceRatio)
    : kind_(kind), profileFolder_(std::move(profileFolder)), deviceRatio_(deviceRatio) {}

LibreOfficeViewer::~LibreOfficeViewer() {
    try {
        // An office whose windows the user closed keeps running unseen, serving nobody,
        // and would outlive the program without ever being asked about: it ends here.
        if (alive() && !visible().value_or(false))
            endOffice();
        drop();
    } catch (...) {
    }
}

std::string LibreOfficeViewer::fileUrl(const std::string& path) {
    return UriList::fileUri(absolute(path));
}

std::optional<int> LibreOfficeViewer::request(Request call, int timeoutMs) {
    if (!api_ || !session_)
        return std::nullopt;
    const TavrinOfficeApi* api = api_;
    TavrinOfficeSession* session = session_;
    const BoundedCall::Outcome outcome =
        BoundedCall::run([api, session, call = std::move(call)] { return call(*api, session); },
                         timeoutMs, [this] { process_.kill(); });
    if (outcome.abandoned)
        session_ = nullptr; // still in use by the abandoned call: left to it
    else if (!outcome.value)
        drop(); // the office did not answer and was ended
    return outcome.value;
}

void LibreOfficeViewer::command(void (*TavrinOfficeApi::*action)(TavrinOfficeSession*)) noexcept {
    try {
        request(
            [action](const TavrinOfficeApi& a, TavrinOfficeSession* s) {
                (a.*action)(s);
                return 1;
            },
            kCallMs);
    } catch (...) {
    }
}

bool LibreOfficeViewer::alive() {
    try {
        return request([](const TavrinOfficeApi& a, TavrinOfficeSession* s) { return a.alive(s); },
                       kCallMs)
                   .value_or(0) == 1;
    } catch (...) {
        return false;
    }
}

std::optional<int> LibreOfficeViewer::windowState() {
    const std::optional<int> state = request(
        [](const TavrinOfficeApi& a, TavrinOfficeSession* s) { return a.windowState(s); }, kCallMs);
    if (!state || *state == TAVRIN_OFFICE_WINDOW_UNKNOWN)
        return std::nullopt;
    return state;
}

std::optional<bool> LibreOfficeViewer::visible() {
    try {
        const std::optional<int> state = windowState();
        if (!state)
            return std::nullopt;
        return *state != TAVRIN_OFFICE_WINDOW_HIDDEN;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<bool> LibreOfficeViewer::minimized() {
    try {
        const std::optional<int> state = windowState();
        if (!state)
            return std::nullopt;
        return *state == TAVRIN_OFFICE_WINDOW_MINIMIZED;
    } catch (...) {
        return std::nullopt;
    }
}

bool LibreOfficeViewer::start() {
    try {
        endOffice();
        const TavrinOfficeApi* api = officeModule();
        if (!api)
            return false;
        const std::string pipeName = randomPipeName();
        if (pipeName.empty())
            return false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!launch(*api, pipeName))
                return false;
            if (connect(*api, pipeName, kStartMs)) {
                adoptIfHandedOver();
                return true;
            }
            process_.kill();
            removePipeSocket();
            if (process_.exitCode() != kRestartExitCode)
                break;
        }
        return false;
    } catch (...) {
        return false;
    }
}

void LibreOfficeViewer::prepareProfile() const {
    std::error_code error;
    std::filesystem::create_directories(profileFolder_ + "/user", error);
    const std::string settings = profileFolder_ + "/user/registrymodifications.xcu";
    if (access(settings.c_str(), F_OK) == 0)
        return;
    const int fd = ::open(settings.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const std::string_view text(kProfileSettings);
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written)
        ::unlink(settings.c_str());
}

bool LibreOfficeViewer::launch(const TavrinOfficeApi& api, const std::string& pipeName) {
    const std::string office = std::string(api.programFolder) + "/soffice.bin";
    if (access(office.c_str(), X_OK) != 0)
        return false;
    prepareProfile();
    return process_.start({office, installation(), "--accept=pipe,name=" + pipeName + ";urp;",
                           "--norestore", "--nologo", "--nolockcheck"},
                          officeLocale());
}

bool LibreOfficeViewer::connect(const TavrinOfficeApi& api, const std::string& pipeName,
                                int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pipeSocket_ = pipeSocketPath(pipeName);
    // A launch that handed over to an office already running on the profile has ended; that
    // office opens the pipe.
    while (!pipeSocketPrivate(pipeSocket_)) {
        if ((!process_.running() && otherOffice() == 0) ||
            std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          until - std::chrono::steady_clock::now())
                                          .count());
    auto slot = std::make_shared<std::atomic<TavrinOfficeSession*>>(nullptr);
    const TavrinOfficeApi* table = &api;
    const BoundedCall::Outcome outcome = BoundedCall::run(
        [table, slot, pipeName] {
            slot->store(table->connect(pipeName.c_str()));
            return slot->load() ? 1 : 0;
        },
        std::max(left, 1000), [this] { process_.kill(); });
    if (outcome.value.value_or(0) != 1) {
        if (!outcome.abandoned && slot->load())
            table->release(slot->load());
        return false;
    }
    api_ = table;
    session_ = slot->load();
    return true;
}

bool LibreOfficeViewer::open(const std::string& path, bool readOnly) {
    try {
        const std::string url = fileUrl(path);
        const int spreadsheet = kind_ == OfficeKind::Calc ? 1 : 0;
        return request(
                   [url, readOnly, spreadsheet](const TavrinOfficeApi& a, TavrinOfficeSession* s) {
                       return a.open(s, url.c_str(), readOnly ? 1 : 0, spreadsheet);
                   },
                   kOpenMs)
                   .value_or(0) == 1;
    } catch (...) {
        return false;
    }
}

void LibreOfficeViewer::closeDocument() {
    command(&TavrinOfficeApi::closeDocument);
}

void LibreOfficeViewer::show() {
    command(&TavrinOfficeApi::show);
}

void LibreOfficeViewer::minimize() {
    command(&TavrinOfficeApi::minimize);
}

void LibreOfficeViewer::restore() {
    command(&TavrinOfficeApi::restore);
}

void LibreOfficeViewer::setBounds(int left, int top, int width, int height) {
    const ScreenRect device = ScreenRect{left, top, width, height}.inDevicePixels(deviceRatio_);
    try {
        request(
            [device](const TavrinOfficeApi& a, TavrinOfficeSession* s) {
                a.setBounds(s, device.left, device.top, device.width, device.height);
                return 1;
            },
            kCallMs);
    } catch (...) {
    }
}

void LibreOfficeViewer::quit() {
    try {
        endOffice();
    } catch (...) {
    }
}

// Closes the documents without saving, asks the office to end, and makes sure it has.
void LibreOfficeViewer::endOffice() {
    request([](const TavrinOfficeApi& a, TavrinOfficeSession* s) { return a.terminate(s); },
            kQuitMs);
    drop();
    process_.end(kQuitMs);
    endAdopted();
    removePipeSocket();
}

bool LibreOfficeViewer::modified() {
    try {
        return request(
                   [](const TavrinOfficeApi& a, TavrinOfficeSession* s) { return a.modified(s); },
                   kCallMs)
                   .value_or(0) == 1;
    } catch (...) {
        return false;
    }
}

bool LibreOfficeViewer::save() {
    try {
        return request([](const TavrinOfficeApi& a, TavrinOfficeSession* s) { return a.save(s); },
                       kOpenMs)
                   .value_or(0) == 1;
    } catch (...) {
        return false;
    }
}

std::string LibreOfficeViewer::installation() const {
    return "-env:UserInstallation=" + fileUrl(profileFolder_);
}

pid_t LibreOfficeViewer::otherOffice() {
    return RunningPrograms::find("/soffice.bin", installation(), process_.pid());
}

bool LibreOfficeViewer::leftRunning() {
    return session_ == nullptr && otherOffice() != 0;
}

// An office left running on the profile by an earlier run takes the launch's request and
// the launch ends: that office is this viewer's from now on, and the launch is reaped.
void LibreOfficeViewer::adoptIfHandedOver() {
    const pid_t other = otherOffice();
    if (other == 0)
        return;
    process_.end(kQuitMs);
    adopted_ = other;
}

// Not a child: its end is watched by its process id, and it is killed when it lingers.
void LibreOfficeViewer::endAdopted() {
    if (adopted_ <= 0)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kQuitMs);
    const auto runs = [this] {
        return RunningPrograms::find("/soffice.bin", installation(), 0) == adopted_;
    };
    while (runs() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (runs())
        ::kill(adopted_, SIGKILL);
    adopted_ = 0;
}

// A killed office leaves its socket behind in the shared temporary folder.
void LibreOfficeViewer::removePipeSocket() {
    struct stat st {};
    if (!pipeSocket_.empty() && lstat(pipeSocket_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) &&
        st.st_uid == getuid())
        unlink(pipeSocket_.c_str());
    pipeSocket_.clear();
}

void LibreOfficeViewer::drop() {
    if (!api_ || !session_)
        return;
    const TavrinOfficeApi* api = api_;
    TavrinOfficeSession* session = session_;
    session_ = nullptr;
    // Letting go sends the office a last message: bounded like every other request.
    BoundedCall::run(
        [api, session] {
            api->release(session);
            return 1;
        },
        kCallMs, nullptr, 0);
}
