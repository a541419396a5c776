#pragma once
// Failures of the framework. They reach the host as exceptions unless an operation catches them.
#include <stdexcept>
#include <string>

namespace orb::fw {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that does not convert to a number or a date: "'abc' is not a valid integer value".
class EConvertError : public Exception {
    using Exception::Exception;
};
// A variant that cannot take the type asked of it.
class EVariantError : public Exception {
    using Exception::Exception;
};
// Dataset misuse: a missing field ("Field 'X' not found"), editing outside edit mode, ...
class EDatabaseError : public Exception {
    using Exception::Exception;
};
// A list index out of range: "List index out of bounds (5)".
class EListError : public Exception {
    using Exception::Exception;
};
// A file that cannot be read or written (the debug log, a dataset file).
class EInOutError : public Exception {
    using Exception::Exception;
};

}  // namespace orb::fw
