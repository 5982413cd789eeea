#include "support/SlowMount.h"

#include "platform/fs/MountTable.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const fusermount = "/usr/bin/fusermount3";
constexpr auto mountWait = std::chrono::seconds(10);

} // namespace

SlowMount::SlowMount(const Options& options)
    : source_(tmp_.mkdir("source")),
      // As the mount table names it, also where the temporary folder lies behind a link.
      mountPoint_(std::filesystem::canonical(tmp_.mkdir("mount"))), slowName_(options.slowName) {
    tmp_.mkdir("source/" + slowName_);
    reason_ = start(options);
}

SlowMount::~SlowMount() {
    unmount();
}

std::string SlowMount::slowFolder() const {
    return mountPoint_ + "/" + slowName_;
}

void SlowMount::setDelay(int ms) const {
    control(std::to_string(ms));
}

void SlowMount::setHang() const {
    control("hang");
}

// Replaced in one step, so that the daemon never reads half a word.
void SlowMount::control(const std::string& word) const {
    std::rename(tmp_.write("control.new", word + "\n").c_str(), (tmp_ / "control").c_str());
}

std::string SlowMount::start(const Options& options) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return std::string("/dev/fuse cannot be opened: ") + std::strerror(errno);
    if (::geteuid() != 0 && ::access(fusermount, X_OK) != 0)
        return "fusermount3 is not installed (package fuse3)";
    std::vector<std::string> argv{
        TAVRIN_SLOW_MIRROR_FS,           source_,     mountPoint_,     "--delay-ms",
        std::to_string(options.delayMs), "--control", tmp_ / "control"};
    if (options.hang)
        argv.push_back("--hang");
    if (options.everywhere)
        argv.push_back("--slow-everywhere");
    else
        argv.insert(argv.end(), {"--slow-under", slowName_});
    daemon_ = std::make_unique<ChildProcess>(argv, std::vector<std::string>{}, tmp_ / "daemon.log");
    const auto until = std::chrono::steady_clock::now() + mountWait;
    while (!mounted() && daemon_->running() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (mounted())
        return "";
    unmount();
    return "the FUSE file system did not mount: " + TempDir::read(tmp_ / "daemon.log");
}

// Reads the mount table only: a hung file system is never touched.
bool SlowMount::mounted() const {
    for (const MountEntry& entry : MountTable::read())
        if (entry.mountPoint == mountPoint_)
            return true;
    return false;
}

// Ending the daemon first makes the kernel fail every operation still waiting on it; only then
// can a lazy unmount not be held up by them.
void SlowMount::unmount() {
    if (daemon_) {
        daemon_->signal(SIGTERM);
        if (!daemon_->wait(1000)) {
            daemon_->signal(SIGKILL);
            daemon_->wait(2000);
        }
        daemon_.reset();
    }
    if (mounted() && ::umount2(mountPoint_.c_str(), MNT_DETACH) != 0)
        ChildProcess({fusermount, "-u", "-z", mountPoint_}, {}).wait(2000);
}
