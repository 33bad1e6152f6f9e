#include <gtest/gtest.h>

#include "app/PasswordHash.h"

using rsgz::app::hashPassword;
using rsgz::app::verifyPassword;

TEST(PasswordHash, VerifiesOnlyTheRightPassword)
{
    const std::string stored = hashPassword("管理员123");
    struct Case { std::string stored; std::string typed; bool ok; };
    const Case cases[] = {
        {stored, "管理员123", true},
        {stored, "管理员124", false},
        {stored, "管理员12", false},
        {stored, "", false},
        {"", "管理员123", false},
        {"管理员123", "管理员123", false},  // a password kept as typed is not a hash
        {"garbage", "garbage", false},
        {stored.substr(0, stored.size() - 4), "管理员123", false},
        {stored + std::string(1, '\0') + "x", "管理员123", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(verifyPassword(c.stored, c.typed), c.ok) << c.stored << " / " << c.typed;
}

TEST(PasswordHash, SamePasswordHashesDifferently)
{
    const std::string first = hashPassword("secret");
    const std::string second = hashPassword("secret");
    EXPECT_NE(first, second);
    EXPECT_TRUE(verifyPassword(second, "secret"));
    EXPECT_TRUE(verifyPassword(hashPassword(""), ""));
}
