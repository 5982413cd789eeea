#pragma once

#include <spawn.h>
#include <string>
#include <sys/types.h>
#include <vector>

// The posix_spawn attributes and file actions of one program start, released on every
// path. Callers add their own file actions before the start.
class SpawnSetup {
  public:
    enum class Session { Same, New };

    SpawnSetup();
    ~SpawnSetup();
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // The child starts with an empty signal mask and default handling of the signals this
    // program catches or ignores, whatever it has set up; in a session of its own when
    // asked. False when the attributes could not be set.
    bool resetSignals(Session session);
    // Starts argv[0] (looked up on PATH when it holds no "/") with this set-up and this
    // program's environment; the child's process id, 0 when it could not be started.
    pid_t spawn(const std::vector<std::string>& argv);

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
};
