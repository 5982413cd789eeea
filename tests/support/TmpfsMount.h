#pragma once

#include <string>
#include <sys/mount.h>

// A small tmpfs of its own at a folder, for a full disk, a read-only target or a second
// file system; unmounted at the end. mounted() is false where mounting is not allowed.
class TmpfsMount {
  public:
    TmpfsMount(const std::string& at, const std::string& options)
        : at_(at), mounted_(mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0) {}
    ~TmpfsMount() {
        if (mounted_)
            umount2(at_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    bool makeReadOnly() {
        return mount(nullptr, at_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string at_;
    bool mounted_;
};
