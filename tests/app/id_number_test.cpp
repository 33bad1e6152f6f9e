#include <gtest/gtest.h>

#include "app/IdNumber.h"

namespace {

using namespace rsgz::app;

constexpr const char* kToday = "2026-12-10";

// Check characters worked out by hand: each of the first 17 digits times its weight
// 7 9 10 5 8 4 2 1 6 3 7 9 10 5 8 4 2, the sum taken mod 11, and 0..10 mapped to 1 0 X 9 8 7 6 5 4 3 2.
TEST(IdNumber, CheckCharacterByModEleven)
{
    struct Case {
        const char* first17;
        char check;
    };
    const Case cases[] = {
        // 7+9+0+5+0+20+2+9+24+27+7+18+30+5+0+0+4 = 167; 167 mod 11 = 2 -> X
        {"11010519491231002", 'X'},
        // 28+36+0+25+16+16+2+8+48+0+0+9+0+5+0+0+2 = 195; 195 mod 11 = 8 -> 4
        {"44052418800101001", '4'},
        // 21+18+0+5+0+24+2+9+48+15+0+27+0+10+0+0+2 = 181; 181 mod 11 = 5 -> 7
        {"32010619850302001", '7'},
        // the same with the order digit 2: 183; 183 mod 11 = 7 -> 5
        {"32010619850302002", '5'},
        // 35+9+0+5+0+28+4+0+0+0+0+18+20+45+0+0+6 = 170; 170 mod 11 = 5 -> 7
        {"51010720000229003", '7'},
        {"5101072000022900", 0},   // 16 digits
        {"5101072000022900A", 0},  // not a digit
    };
    for (const Case& c : cases) EXPECT_EQ(idCheckCharacter(c.first17), c.check) << c.first17;
}

TEST(IdNumber, FaultsOfTheNumberItself)
{
    struct Case {
        const char* number;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"11010519491231002X", {}},
        {"11010519491231002x", {}},              // a lower-case x is the same character
        {" 320106198503020017 ", {}},            // blanks around it are not part of it
        {"510107200002290037", {}},              // 2000 is a leap year
        {"32010619850302001", {"身份证号应为18位，现为17位"}},
        {"3201061985030200177", {"身份证号应为18位，现为19位"}},
        {"320106850302001", {"身份证号应为18位，现为15位"}},  // the old 15-digit number
        {"32010619850302一017", {"身份证号的第15位不是数字"}},  // 一 is one character, not three bytes
        {"3201061985030２0017", {"身份证号的第14位不是数字"}},  // a full-width ２
        {"3201061985O3020017", {"身份证号的第11位不是数字"}},
        {"32010619850302001Y", {"身份证号的最后一位应为数字或X"}},
        {"320106198503020015", {"身份证号的校验位应为7，现为5"}},
        // digits swapped: 1985-03-02 typed as 1985-30-02, the check 7 left as it was:
        // 21+18+0+5+0+24+2+9+48+15+21+0+0+10+0+0+2 = 175, mod 11 = 10 -> 2
        {"320106198530020017", {"身份证号中的出生日期19853002不是有效日期", "身份证号的校验位应为2，现为7"}},
        // 1900 is no leap year: 19000229 is no date (35+9+0+5+0+28+2+9+0+0+0+18+20+45+0+0+6 = 177 -> 0)
        {"510107190002290030", {"身份证号中的出生日期19000229不是有效日期"}},
        // 2027-01-01 lies after today: 35+9+0+5+0+28+4+0+12+21+0+9+0+5+0+0+6 = 134, mod 11 = 2 -> X
        {"51010720270101003X", {"身份证号中的出生日期2027-01-01晚于今天"}},
    };
    for (const Case& c : cases) EXPECT_EQ(idNumberFaults(c.number, kToday), c.faults) << c.number;
}

TEST(IdNumber, DisagreementsWithSexAndBirthDate)
{
    struct Case {
        const char* number;
        const char* sex;
        const char* birth;
        std::vector<std::string> said;
    };
    const Case cases[] = {
        {"320106198503020017", "男", "1985-03-02", {}},  // 17th digit 1: odd, a man
        {"320106198503020025", "女", "1985-03-02", {}},  // 17th digit 2: even, a woman
        {"", "女", "1985-03-02", {}},                    // no number: nothing to compare
        {"320106198503020017", "", "", {}},              // nothing recorded to compare with
        {"320106198503020017", "男", "1985-03-02 00:00:00", {}},
        {"320106198503020017", "女", "1985-03-02", {"身份证号表示性别为男，性别填的是女"}},
        {"320106198503020025", "男", "1985-03-12",
         {"身份证号表示性别为女，性别填的是男", "身份证号中的出生日期为1985-03-02，出生年月填的是1985-03-12"}},
        // a faulty number is only reported as such: what it would say is not trusted
        {"320106198503020015", "女", "1990-01-01", {"身份证号的校验位应为7，现为5"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(idNumberDisagreements(c.number, c.sex, c.birth, kToday), c.said) << c.number << " " << c.sex;
}

TEST(IdNumber, ReadsBirthDateAndSexOfASoundNumber)
{
    const auto p = readIdNumber("11010519491231002x", kToday);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->year, 1949);
    EXPECT_EQ(p->month, 12);
    EXPECT_EQ(p->day, 31);
    EXPECT_FALSE(p->male);
    EXPECT_FALSE(readIdNumber("11010519491231002", kToday));
    EXPECT_EQ(normalizedIdNumber(" 11010519491231002x "), "11010519491231002X");
}

}  // namespace
