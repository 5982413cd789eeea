#include "platform/viewers/OfficeProcess.h"

#include "platform/process/SpawnSetup.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string nameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// This program's environment with the extra entries replacing those of the same name;
// an entry without "=" removes the variable.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || nameOf(x) == nameOf(entry);
        if (!replaced)
            result.push_back(entry);
    }
    for (const std::string& x : extra)
        if (x.find('=') != std::string::npos)
            result.push_back(x);
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& t : texts)
        result.push_back(t.data());
    result.push_back(nullptr);
    return result;
}

// A session of its own, no input, output to nothing, in "/" so it holds no folder.
bool prepare(SpawnSetup& s) {
    return s.resetSignals(SpawnSetup::Session::New) &&
           posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&s.actions, 1, "/dev/null", O_WRONLY, 0) == 0 &&
           posix_spawn_file_actions_addchdir_np(&s.actions, "/") == 0;
}

} // namespace

bool OfficeProcess::start(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnv) {
    if (argv.empty())
        return false;
    SpawnSetup setup;
    if (!prepare(setup))
        return false;
    std::vector<std::string> args = argv;
    std::vector<std::string> env = environmentWith(extraEnv);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    pid_t pid = 0;
    if (posix_spawn(&pid, argp[0], &setup.actions, &setup.attr, argp.data(), envp.data()) != 0)
        return false;
    pid_ = pid;
    exitCode_ = -1;
    return true;
}

bool OfficeProcess::running() {
    if (pid_ <= 0)
        return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0)
        return true;
    if (r == pid_ && WIFEXITED(status))
        exitCode_ = WEXITSTATUS(status);
    if (r == pid_ || (r < 0 && errno == ECHILD))
        pid_ = 0;
    return false;
}

void OfficeProcess::end(int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (running() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill();
}

void OfficeProcess::kill() {
    if (!running())
        return;
    // The whole session: helpers the office started go with it.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = 0;
}
