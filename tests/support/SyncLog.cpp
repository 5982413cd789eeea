#include "support/SyncLog.h"

#include <algorithm>
#include <climits>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex mutex;
std::vector<std::string> log;
bool recording = false;

std::string pathOf(int fd) {
    char buffer[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = readlink(link.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

void note(const char* call, int fd) {
    const std::lock_guard lock(mutex);
    if (recording)
        log.push_back(std::string(call) + " " + pathOf(fd));
}

template <typename Call> Call real(const char* name) {
    return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd) {
    note("fsync", fd);
    static const auto call = real<int (*)(int)>("fsync");
    return call(fd);
}

extern "C" int syncfs(int fd) {
    note("syncfs", fd);
    static const auto call = real<int (*)(int)>("syncfs");
    return call(fd);
}

void SyncLog::start() {
    const std::lock_guard lock(mutex);
    log.clear();
    recording = true;
}

std::vector<std::string> SyncLog::entries() {
    const std::lock_guard lock(mutex);
    return log;
}

bool SyncLog::contains(const std::string& entry) {
    const auto all = entries();
    return std::find(all.begin(), all.end(), entry) != all.end();
}
