#pragma once

#include <string>

// Tells when the mount table changed: the kernel marks /proc/self/mounts as having an
// exceptional condition after every mount and unmount. Asking costs one poll, so it can
// be asked at every tick.
class MountWatch {
  public:
    explicit MountWatch(const std::string& path = "/proc/self/mounts");
    ~MountWatch();
    MountWatch(const MountWatch&) = delete;
    MountWatch& operator=(const MountWatch&) = delete;

    // True once after each change since the last call (or since construction).
    bool changed();

  private:
    int fd_ = -1;
};
