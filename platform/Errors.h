#pragma once
// The program's exceptions. Every error carries the text the user is shown.

#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// A file could not be opened for reading.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

// A file could not be created or written.
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace platform
