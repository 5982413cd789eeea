#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Walks over entries relative to open folder descriptors without ever following a
// symbolic link: a link is an entry of its own, so no walk leaves the tree it started in.
class DirectoryTree {
  public:
    // The folder `name` of `dirFd` opened for walking; -1 with errno set when it is not a
    // folder (a link to one included).
    static int openFolder(int dirFd, const std::string& name);
    // The names in the folder, "." and ".." left out; `error` is the errno of a failure.
    static std::vector<std::string> entries(int folderFd, int& error);
    // Removes the entry with everything below it; 0 or the errno of the first failure.
    static int remove(int dirFd, const std::string& name);
    // How many entries (the item itself included) and bytes of regular files it holds.
    static void measure(int dirFd, const std::string& name, std::uint64_t& items,
                        std::uint64_t& bytes);
    // Whether the two entries hold the same names, kinds, sizes and link targets.
    static bool sameShape(int dirA, const std::string& nameA, int dirB, const std::string& nameB);
    // A name beside `name` that nothing in the folder uses: "name (2).ext", "name (3).ext"…
    // shortened when needed so that it stays within the longest name allowed.
    static std::string freeName(int dirFd, const std::string& name);
    // A name for work in progress in the folder, not used by anything there.
    static std::string temporaryName(int dirFd);
};
