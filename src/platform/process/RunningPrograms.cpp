#include "platform/process/RunningPrograms.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether the NUL-separated command line runs `program` with `argument`.
bool runs(const std::string& cmdline, const std::string& program, const std::string& argument) {
    std::size_t from = 0;
    for (int index = 0; from < cmdline.size(); ++index) {
        std::size_t end = cmdline.find('\0', from);
        if (end == std::string::npos)
            end = cmdline.size();
        const std::string arg = cmdline.substr(from, end - from);
        if (index == 0 && !endsWith(arg, program))
            return false;
        if (index > 0 && arg == argument)
            return true;
        from = end + 1;
    }
    return false;
}

} // namespace

pid_t RunningPrograms::find(const std::string& program, const std::string& argument, pid_t except) {
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    pid_t found = 0;
    while (const dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        struct stat st {};
        const std::string folder = std::string("/proc/") + entry->d_name;
        if (pid <= 0 || pid == except || stat(folder.c_str(), &st) != 0 || st.st_uid != getuid())
            continue;
        // A zombie's command line reads empty.
        std::ifstream in(folder + "/cmdline", std::ios::binary);
        const std::string cmdline{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
        if (runs(cmdline, program, argument)) {
            found = pid;
            break;
        }
    }
    closedir(proc);
    return found;
}
