#pragma once
// Values held for the length of a scope, also when it ends by an error.

namespace platform {

// Adds one to a counter for as long as it lives (a nesting depth, a "busy" count).
class ScopedCount {
  public:
    explicit ScopedCount(int& count) : count_(count) { ++count_; }
    ~ScopedCount() { --count_; }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

  private:
    int& count_;
};

// Sets a flag for a scope and gives it back its value when the scope ends, also by an error.
class ScopedFlag {
  public:
    ScopedFlag(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~ScopedFlag() { flag_ = saved_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

}  // namespace platform
