#include "platform/process/SpawnSetup.h"

#include <csignal>
#include <initializer_list>

extern char** environ;

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

pid_t SpawnSetup::spawn(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty())
        return 0;
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const bool search = argv.front().find('/') == std::string::npos;
    const int rc = search ? posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ)
                          : posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    return rc == 0 ? pid : 0;
}
