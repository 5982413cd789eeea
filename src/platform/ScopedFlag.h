#pragma once

// Sets a flag for the life of the object and always gives it back its value from before,
// also when the guarded work throws, so a nested scope does not clear an outer one's flag.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = was_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool was_;
};
