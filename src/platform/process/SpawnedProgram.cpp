#include "platform/process/SpawnedProgram.h"

#include "platform/process/SpawnSetup.h"

#include "platform/fs/FileDescriptor.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

namespace {

// Standard input and output on /dev/null, the inherited descriptors at 3, 4, … and every
// other descriptor closed. `high` holds copies of the inherited ones above the targets,
// so that placing one never overwrites another that is still to be placed.
bool placeDescriptors(SpawnSetup& s, const std::vector<FileDescriptor>& high) {
    auto& a = s.actions;
    if (posix_spawn_file_actions_addopen(&a, 0, "/dev/null", O_RDONLY, 0) != 0 ||
        posix_spawn_file_actions_addopen(&a, 1, "/dev/null", O_WRONLY, 0) != 0 ||
        posix_spawn_file_actions_addopen(&a, 2, "/dev/null", O_WRONLY, 0) != 0)
        return false;
    for (std::size_t i = 0; i < high.size(); ++i)
        if (posix_spawn_file_actions_adddup2(&a, high[i].get(), 3 + static_cast<int>(i)) != 0)
            return false;
    return posix_spawn_file_actions_addclosefrom_np(&a, 3 + static_cast<int>(high.size())) == 0;
}

std::vector<FileDescriptor> copiesAbove(const std::vector<int>& fds, int floor) {
    std::vector<FileDescriptor> copies;
    for (const int fd : fds)
        copies.emplace_back(fcntl(fd, F_DUPFD_CLOEXEC, floor));
    return copies;
}

bool allValid(const std::vector<FileDescriptor>& fds) {
    for (const auto& fd : fds)
        if (!fd.valid())
            return false;
    return true;
}

} // namespace

std::unique_ptr<SpawnedProgram> SpawnedProgram::start(const std::vector<std::string>& argv,
                                                      const std::vector<int>& inherited) {
    if (argv.empty() || argv.front().empty())
        return nullptr;
    const auto high = copiesAbove(inherited, 3 + static_cast<int>(inherited.size()));
    SpawnSetup setup;
    if (!allValid(high) || !setup.resetSignals(SpawnSetup::Session::Same) ||
        !placeDescriptors(setup, high))
        return nullptr;
    const pid_t pid = setup.spawn(argv);
    if (pid == 0)
        return nullptr;
    return std::unique_ptr<SpawnedProgram>(new SpawnedProgram(pid));
}

SpawnedProgram::~SpawnedProgram() {
    kill();
}

bool SpawnedProgram::running() {
    if (ended_)
        return false;
    int status = 0;
    pid_t rc;
    while ((rc = waitpid(pid_, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    // ECHILD: someone else collected it; it is gone all the same.
    ended_ = rc == pid_ || (rc < 0 && errno == ECHILD);
    return !ended_;
}

bool SpawnedProgram::waitForExit(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void SpawnedProgram::kill() {
    if (!running())
        return;
    ::kill(pid_, SIGKILL);
    if (waitForExit(std::chrono::seconds(2)))
        return;
    // Stuck in the kernel: collect it whenever it finally goes.
    std::thread([pid = pid_] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    ended_ = true;
}
