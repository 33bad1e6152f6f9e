#pragma once
// The resident identity number (身份证号) of 18 characters: six digits of the region, the birth date
// yyyymmdd, three digits of the order (the last of them odd for men, even for women) and a check
// character computed by ISO 7064 MOD 11-2 over the first seventeen (10 is written X).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::app {

struct IdNumberParts {
    int year = 0, month = 0, day = 0;  // the birth date in the number
    bool male = false;                 // the 17th digit odd
};

// The check character of seventeen digits ('0'..'9' or 'X'); 0 when the text is not 17 digits.
char idCheckCharacter(std::string_view first17);

// The number without blanks around it and with a lower-case x written X, as it is checked and declared.
std::string normalizedIdNumber(std::string_view typed);

// What is wrong with the number itself, each fault a sentence naming it: the length, a character
// that is not a digit, the birth date (not a real date, or after today), the check character.
// Empty when the number is sound. today is yyyy-mm-dd.
std::vector<std::string> idNumberFaults(std::string_view number, std::string_view today);

// The birth date and sex a sound number holds; nothing when idNumberFaults finds any fault.
std::optional<IdNumberParts> readIdNumber(std::string_view number, std::string_view today);

// The faults of the number, and where a sound number disagrees with the record: 性别 (男/女; any
// other text is not compared) and 出生年月 (yyyy-mm-dd[ time]; empty is not compared). Empty
// number: nothing to say.
std::vector<std::string> idNumberDisagreements(std::string_view number, std::string_view sex,
                                               std::string_view birthDate, std::string_view today);

}  // namespace rsgz::app
