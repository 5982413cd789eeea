#include "platform/SpawnSetup.h"

#include <csignal>
#include <initializer_list>

SpawnSetup::SpawnSetup() {
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
}

SpawnSetup::~SpawnSetup() {
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
}

bool SpawnSetup::resetSignals(Session session) {
    sigset_t empty, defaults;
    sigemptyset(&empty);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&defaults, sig);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (session == Session::New)
        flags |= POSIX_SPAWN_SETSID;
    return posix_spawnattr_setflags(&attr, flags) == 0 &&
           posix_spawnattr_setsigmask(&attr, &empty) == 0 &&
           posix_spawnattr_setsigdefault(&attr, &defaults) == 0;
}
