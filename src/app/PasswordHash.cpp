#include "app/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace rsgz::app {

namespace {

void ensureSodium()
{
    // sodium_init is safe to call repeatedly, but once per process is all it needs.
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw std::runtime_error("密码加密库初始化失败");
}

}  // namespace

std::string hashPassword(std::string_view password)
{
    ensureSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("内存不足，无法计算密码摘要");
    return out;
}

bool verifyPassword(std::string_view stored, std::string_view typed)
{
    ensureSodium();
    // The library reads the stored value as a C string of bounded length; anything that could not
    // have come from hashPassword is refused before it gets there.
    if (stored.empty() || stored.size() >= crypto_pwhash_STRBYTES
        || stored.find('\0') != std::string_view::npos)
        return false;
    const std::string terminated(stored);
    return crypto_pwhash_str_verify(terminated.c_str(), typed.data(), typed.size()) == 0;
}

}  // namespace rsgz::app
