#pragma once
#include <QDate>
#include <optional>
#include <string>

namespace rsgz::personnel {

// Who retires by which statutory schedule: men (60 before the gradual rise), women whose age was 55
// (management and professional posts) and women whose age was 50 (the other posts).
enum class RetirementGroup { Men, Women55, Women50 };

// The statutory retirement age, in months, of a person of the group born in the month.
int retirementAgeMonths(RetirementGroup group, int birthYear, int birthMonth);
// The day the person reaches that age: the birthday that many months on (the last day of the month
// where the month is shorter). Invalid for an invalid birth date.
QDate retirementDate(RetirementGroup group, const QDate& birth);

// The woman's old age where nothing is set for her: 55 on a management or professional post, else 50.
int defaultWomanOldAge(const std::string& post);
// The group of an employee by 性别, the old age set for her (0: none set) and 岗位工种; nothing
// when 性别 is neither 男 nor 女.
std::optional<RetirementGroup> retirementGroup(const std::string& sex, int womanOldAge, const std::string& post);

}  // namespace rsgz::personnel
