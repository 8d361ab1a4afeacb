#pragma once
// Runs part of a test under another process locale and puts the previous one back, so a
// test can show that reading numbers or mapping case does not follow the locale.

#include <clocale>
#include <string>

class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale is not installed (scripts/install-deps.sh makes pt_BR.UTF-8).
    bool active() const { return active_; }

  private:
    std::string saved_;
    bool active_ = false;
};
