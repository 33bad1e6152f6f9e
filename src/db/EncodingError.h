#pragma once
#include <stdexcept>
#include <string>

namespace rsgz::db {

// Text that cannot pass between UTF-8 and a file's code page unchanged. We refuse rather than write
// a substitute character, because a name saved as "?" can never be matched again.
class EncodingError : public std::runtime_error {
public:
    explicit EncodingError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace rsgz::db
