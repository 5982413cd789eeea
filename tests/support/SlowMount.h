#pragma once

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <memory>
#include <string>

// A FUSE file system (tavrin_slow_mirror_fs) mounted for one test: it mirrors a fresh
// temporary folder and answers late, or never, in its slow folder, like a hung network share.
// The top folder and the slow folder's own attributes answer at once, so the slow folder can
// be listed as a child; reading it and everything inside it waits. The end of the test ends
// the daemon and unmounts, also while operations hang: they fail with ENOTCONN or
// ECONNABORTED, as on a share that went away.
class SlowMount {
  public:
    struct Options {
        int delayMs = 0;
        bool hang = false;
        std::string slowName = "slow"; // created in the source folder
        bool everywhere = false;       // the top folder is slow as well
    };

    explicit SlowMount(const Options& options);
    ~SlowMount();
    SlowMount(const SlowMount&) = delete;
    SlowMount& operator=(const SlowMount&) = delete;

    // False where FUSE cannot be mounted here; reason() says why, for GTEST_SKIP().
    bool available() const { return reason_.empty(); }
    const std::string& reason() const { return reason_; }

    // The mirrored folder, read and written directly: never slow.
    const std::string& source() const { return source_; }
    const std::string& mountPoint() const { return mountPoint_; }
    // mountPoint() + "/" + the slow folder's name.
    std::string slowFolder() const;

    // Change the slow operations' answer while mounted; operations started after the call see
    // it, and hung ones go on after setDelay().
    void setDelay(int ms) const;
    void setHang() const;

    // Ends the daemon (SIGTERM, then SIGKILL) and unmounts lazily; bounded in time. The
    // destructor calls it.
    void unmount();
    bool mounted() const;

  private:
    std::string start(const Options& options);
    void control(const std::string& word) const;

    TempDir tmp_;
    std::string source_;
    std::string mountPoint_;
    std::string slowName_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string reason_;
};
