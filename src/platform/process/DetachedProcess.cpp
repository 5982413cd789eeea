#include "platform/process/DetachedProcess.h"

#include "platform/process/SpawnSetup.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

namespace {

bool prepare(SpawnSetup& s, std::string_view workingDirectory) {
    const std::string dir(workingDirectory);
    return s.resetSignals(SpawnSetup::Session::New) &&
           posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           (dir.empty() || posix_spawn_file_actions_addchdir_np(&s.actions, dir.c_str()) == 0);
}

// Collects the program's exit status when it ends, so it leaves no zombie behind.
void reapLater(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

bool DetachedProcess::start(const std::vector<std::string>& argv,
                            std::string_view workingDirectory) {
    if (argv.empty() || argv.front().empty())
        return false;
    SpawnSetup setup;
    if (!prepare(setup, workingDirectory))
        return false;
    const pid_t pid = setup.spawn(argv);
    if (pid == 0)
        return false;
    reapLater(pid);
    return true;
}
