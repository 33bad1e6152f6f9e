#include "payroll/SalaryColumns.h"

#include "db/LatinCase.h"

namespace rsgz::payroll {

const std::vector<std::string>& salaryCodes()
{
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> c;
        for (int i = 1; i <= 39; ++i) c.push_back((i < 10 ? "gz0" : "gz") + std::to_string(i));
        return c;
    }();
    return codes;
}

std::string normalSalaryCode(std::string_view text)
{
    const std::string lower = db::foldLatin(text);
    for (const std::string& code : salaryCodes())
        if (code == lower) return code;
    return {};
}

std::string formulaColumn(std::string_view name)
{
    if (name == "出勤天数") return "出勤天数";
    return normalSalaryCode(name);
}

}  // namespace rsgz::payroll
