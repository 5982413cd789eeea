#include "platform/viewers/ChromiumViewer.h"

#include "platform/desktop/UriList.h"
#include "platform/process/MessagePipe.h"
#include "platform/process/SpawnedProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// A fresh profile takes a few seconds to come up on a loaded machine.
constexpr auto kStartTimeout = 15s;
constexpr auto kRequestTimeout = 4s;
// A navigation answers once the page's first bytes arrive, which a slow server delays:
// waiting no longer than this, the viewer goes on and the page keeps loading.
constexpr auto kNavigateWait = 2s;
constexpr auto kStateWait = 2s;
constexpr auto kExitWait = 3s;

const char* const kPrograms[] = {"chromium", "chromium-browser", "google-chrome"};

std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::string findBrowser() {
    for (const char* name : kPrograms)
        if (auto found = onPath(name); !found.empty())
            return found;
    return {};
}

std::string hostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

bool isBrowserProcess(long pid) {
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return false;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    // Another user's process cannot be looked at: count it as a live browser.
    return ec || exe.filename().string().find("chrom") != std::string::npos;
}

// Chromium refuses a profile whose lock ("host-pid") names a live process. A browser of
// ours that was killed leaves its lock behind, and its process id may since have gone to
// another program: the lock is removed when it names this host and no browser runs there.
void removeStaleLock(const std::string& profile) {
    std::error_code ec;
    const std::string lock = std::filesystem::read_symlink(profile + "/SingletonLock", ec).string();
    const auto dash = lock.rfind('-');
    if (ec || dash == std::string::npos || lock.substr(0, dash) != hostName())
        return;
    char* end = nullptr;
    const long pid = std::strtol(lock.c_str() + dash + 1, &end, 10);
    if (pid <= 0 || *end != '\0' || isBrowserProcess(pid))
        return;
    for (const char* name : {"SingletonLock", "SingletonSocket", "SingletonCookie"})
        std::filesystem::remove(profile + "/" + name, ec);
}

std::vector<std::string> browserArguments(const std::string& program, const std::string& profile,
                                          double deviceRatio) {
    std::vector<std::string> args{program,
                                  "--remote-debugging-pipe",
                                  "--user-data-dir=" + profile,
                                  "--no-first-run",
                                  "--no-default-browser-check",
                                  "--disable-background-networking",
                                  "--disable-component-update",
                                  "--disable-sync",
                                  "--password-store=basic",
                                  "--hide-crash-restore-bubble"};
    // Chromium refuses to run as root with its sandbox on.
    if (geteuid() == 0)
        args.push_back("--no-sandbox");
    // The browser's own scale follows the desktop's, which need not be this program's.
    if (deviceRatio != 1.0)
        args.push_back("--force-device-scale-factor=" + QString::number(deviceRatio).toStdString());
    // The window comes with the page this program creates, so there is exactly one.
    args.push_back("--no-startup-window");
    return args;
}

bool hasScheme(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// An address keeps its own escapes; bytes that may not stand in a URL as they are
// (blanks, controls, anything beyond ASCII) are percent-encoded byte by byte.
std::string escapeAddress(const std::string& address) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 0x0F];
        }
    }
    return out;
}

std::string currentFolder() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

QString latin(const std::string& ascii) {
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

template <typename R, typename F> R safely(R fallback, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        return fallback;
    }
}

} // namespace

ChromiumViewer::ChromiumViewer(std::string profileFolder, double deviceRatio)
    : profileFolder_(std::move(profileFolder)), deviceRatio_(deviceRatio) {}

ChromiumViewer::~ChromiumViewer() {
    safely(0, [&] {
        drop();
        return 0;
    });
}

std::string ChromiumViewer::addressOf(const std::string& path) {
    if (!path.empty() && path.front() == '/')
        return UriList::fileUri(path);
    if (hasScheme(path))
        return escapeAddress(path);
    return UriList::fileUri(currentFolder() + "/" + path);
}

bool ChromiumViewer::alive() {
    return safely(false, [&] {
        return !hung_ && process_ && process_->running() && call("Browser.getVersion");
    });
}

std::optional<bool> ChromiumViewer::visible() {
    // A browser window cannot be hidden, only minimised, which still counts as shown; a
    // browser whose window the user closed runs on without one.
    return safely(std::optional<bool>(), [&]() -> std::optional<bool> {
        if (windowState())
            return true;
        if (call("Browser.getVersion"))
            return false;
        return std::nullopt;
    });
}

std::optional<bool> ChromiumViewer::minimized() {
    return safely(std::optional<bool>(), [&]() -> std::optional<bool> {
        const auto state = windowState();
        if (!state)
            return std::nullopt;
        return *state == "minimized";
    });
}

bool ChromiumViewer::start() {
    return safely(false, [&] {
        drop();
        const std::string program = findBrowser();
        if (program.empty() || !launch(program))
            return false;
        if (callWithin("Browser.getVersion", {}, Target::Browser, kStartTimeout) && attachPage())
            return true;
        drop();
        return false;
    });
}

bool ChromiumViewer::launch(const std::string& program) {
    std::error_code ec;
    std::filesystem::create_directories(profileFolder_, ec);
    removeStaleLock(profileFolder_);
    int toBrowser[2], fromBrowser[2];
    if (pipe2(toBrowser, O_CLOEXEC) != 0)
        return false;
    FileDescriptor browserReads(toBrowser[0]), weWrite(toBrowser[1]);
    if (pipe2(fromBrowser, O_CLOEXEC) != 0)
        return false;
    FileDescriptor weRead(fromBrowser[0]), browserWrites(fromBrowser[1]);
    process_ = SpawnedProgram::start(browserArguments(program, profileFolder_, deviceRatio_),
                                     {browserReads.get(), browserWrites.get()});
    if (!process_)
        return false;
    pipe_ = std::make_unique<MessagePipe>(std::move(weWrite), std::move(weRead));
    hung_ = false;
    return true;
}

bool ChromiumViewer::open(const std::string& path, bool /*readOnly*/) {
    return safely(false, [&] { return ensurePage() && navigate(addressOf(path)); });
}

void ChromiumViewer::closeDocument() {
    safely(false, [&] { return navigate("about:blank"); });
}

void ChromiumViewer::show() {
    safely(false, [&] {
        return call("Target.activateTarget", {{"targetId", targetId_}}).has_value();
    });
}

void ChromiumViewer::minimize() {
    safely(false, [&] {
        if (!setWindowBounds({{"windowState", "minimized"}}))
            return false;
        waitForState("minimized");
        return true;
    });
}

void ChromiumViewer::restore() {
    safely(false, [&] {
        const auto state = ensurePage() ? windowState() : std::nullopt;
        if (!state || *state == "normal")
            return false;
        setWindowBounds({{"windowState", "normal"}});
        waitForState("normal");
        return true;
    });
}

void ChromiumViewer::setBounds(int left, int top, int width, int height) {
    // A minimised or maximised window takes no rectangle: it is made normal first.
    restore();
    safely(false, [&] {
        return setWindowBounds(
            {{"left", left}, {"top", top}, {"width", width}, {"height", height}});
    });
}

void ChromiumViewer::quit() {
    safely(false, [&] {
        if (process_ && !hung_)
            callWithin("Browser.close", {}, Target::Browser, 1s);
        drop();
        return true;
    });
}

std::string ChromiumViewer::locationUrl() {
    return safely(std::string(), [&]() -> std::string {
        const auto info = call("Target.getTargetInfo", {{"targetId", targetId_}});
        return info ? info->value("targetInfo").toObject().value("url").toString().toStdString()
                    : std::string();
    });
}

pid_t ChromiumViewer::processId() {
    return process_ && process_->running() ? process_->pid() : 0;
}

std::optional<QJsonObject> ChromiumViewer::call(const char* method, const QJsonObject& params,
                                                Target target) {
    return callWithin(method, params, target, kRequestTimeout);
}

// Sends one request and waits for the answer with its id, passing over events and late
// answers to earlier requests. A browser that does not answer in time counts as hung: no
// further request waits for it until it is started anew.
std::optional<QJsonObject> ChromiumViewer::callWithin(const char* method, const QJsonObject& params,
                                                      Target target, Duration timeout) {
    if (!pipe_ || pipe_->broken() || hung_)
        return std::nullopt;
    const long long id = nextId_++;
    QJsonObject request{{"id", id}, {"method", method}, {"params", params}};
    if (target == Target::Page)
        request.insert("sessionId", sessionId_);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    if (!pipe_->send(QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(), deadline))
        return std::nullopt;
    while (auto message = pipe_->receive(deadline)) {
        const QJsonObject answer =
            QJsonDocument::fromJson(QByteArray::fromStdString(*message)).object();
        if (answer.value("id").toInteger(-1) != id)
            continue;
        if (answer.contains("error"))
            return std::nullopt;
        return answer.value("result").toObject();
    }
    hung_ = !pipe_->broken();
    return std::nullopt;
}

bool ChromiumViewer::navigate(const std::string& address) {
    if (!pipe_ || pipe_->broken() || hung_)
        return false;
    const auto answer =
        callWithin("Page.navigate", {{"url", latin(address)}}, Target::Page, kNavigateWait);
    if (hung_ && !pipe_->broken()) {
        hung_ = false; // still loading, not hung
        return true;
    }
    return answer && answer->value("errorText").toString().isEmpty();
}

// Takes a page the browser shows, or opens a new window when there is none (at start,
// or after the user closed them all), and attaches a session to it.
bool ChromiumViewer::attachPage() {
    targetId_.clear();
    sessionId_.clear();
    const auto targets = call("Target.getTargets");
    if (!targets)
        return false;
    for (const auto& t : targets->value("targetInfos").toArray())
        if (t.toObject().value("type").toString() == "page") {
            targetId_ = t.toObject().value("targetId").toString();
            break;
        }
    if (targetId_.isEmpty()) {
        const auto created = call("Target.createTarget", {{"url", "about:blank"}});
        targetId_ = created ? created->value("targetId").toString() : QString();
    }
    const auto attached =
        call("Target.attachToTarget", {{"targetId", targetId_}, {"flatten", true}});
    sessionId_ = attached ? attached->value("sessionId").toString() : QString();
    return !targetId_.isEmpty() && !sessionId_.isEmpty();
}

// The page shown, attached anew in a new window when the user has closed ours.
bool ChromiumViewer::ensurePage() {
    const bool stillThere = !sessionId_.isEmpty() &&
                            call("Target.getTargetInfo", {{"targetId", targetId_}}).has_value();
    return stillThere || attachPage();
}

std::optional<QJsonObject> ChromiumViewer::window() {
    if (targetId_.isEmpty())
        return std::nullopt;
    return call("Browser.getWindowForTarget", {{"targetId", targetId_}});
}

std::optional<QString> ChromiumViewer::windowState() {
    const auto w = window();
    if (!w)
        return std::nullopt;
    return w->value("bounds").toObject().value("windowState").toString();
}

bool ChromiumViewer::setWindowBounds(const QJsonObject& bounds) {
    const auto w = window();
    return w && call("Browser.setWindowBounds",
                     {{"windowId", w->value("windowId")}, {"bounds", bounds}});
}

// The window manager changes a window's state a moment after it is asked to.
void ChromiumViewer::waitForState(const QString& state) {
    const auto until = std::chrono::steady_clock::now() + kStateWait;
    while (std::chrono::steady_clock::now() < until) {
        const auto now = windowState();
        if (!now || *now == state)
            return;
        std::this_thread::sleep_for(50ms);
    }
}

// Ends the browser: closing the pipe asks it to finish; one that does not is killed.
void ChromiumViewer::drop() {
    if (pipe_)
        pipe_->close();
    if (process_ && !process_->waitForExit(hung_ ? 0ms : Duration(kExitWait)))
        process_->kill();
    process_.reset();
    pipe_.reset();
    hung_ = false;
    targetId_.clear();
    sessionId_.clear();
}
