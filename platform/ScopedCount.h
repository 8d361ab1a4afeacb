#pragma once
// Adds one to a counter for as long as it lives (a nesting depth, a "busy" count).

namespace platform {

class ScopedCount {
  public:
    explicit ScopedCount(int& count) : count_(count) { ++count_; }
    ~ScopedCount() { --count_; }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

  private:
    int& count_;
};

}  // namespace platform
