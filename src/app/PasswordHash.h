#pragma once
#include <string>
#include <string_view>

namespace rsgz::app {

// Operator passwords are stored as salted, deliberately slow hashes (Argon2id), never as typed.
// The stored text carries its own salt and cost settings, so old hashes stay checkable if the
// costs are raised later.

// Throws std::runtime_error when the hash cannot be computed (out of memory).
std::string hashPassword(std::string_view password);

// False for a wrong password and for a stored value that is empty or not a hash at all.
bool verifyPassword(std::string_view stored, std::string_view typed);

}  // namespace rsgz::app
