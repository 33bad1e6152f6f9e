#pragma once
#include <map>
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::personnel {

// The old age (50 or 55) the office has set for a woman, kept in 女职工退休年龄 by employee number.
// Where none is set her post decides (defaultWomanOldAge).
class WomanOldAges {
public:
    explicit WomanOldAges(app::TDM& dm) : dm_(dm) {}

    struct Woman {
        std::string employee, name, department, post;
        int set = 0;  // the age set for her, 0 when her post decides
        int age = 0;  // the age that applies: the one set, else the post's
    };
    // The women in service, by employee number.
    std::vector<Woman> women() const;
    // Every age set, by employee number (Latin letters folded to lower case, as the numbers compare).
    std::map<std::string, int> all() const;
    // Sets the age of the employees (50 or 55; 0 drops what was set, so the post decides again), in
    // one transaction. Needs the right 档案管理; refuses with its notice and a silent abort.
    void set(const std::vector<std::string>& employees, int age);
    static std::string key(const std::string& employee);

private:
    app::TDM& dm_;
};

// One employee whose 退休日期 a fill would change.
struct RetirementChange {
    std::string employee;  // 员工编号
    std::string oldDate;   // as stored, empty when none
    std::string newDate;   // yyyy-mm-dd
};

// Fills 退休日期 of the employees in a list from 出生年月, 性别 and the old age by the statutory
// schedules. Only employees in service are touched: the date of one who has left or retired is a
// fact of the past, not a forecast.
class RetirementFill {
public:
    explicit RetirementFill(app::TDM& dm) : dm_(dm) {}

    struct Plan {
        std::vector<RetirementChange> changes;
        int unknown = 0;  // in service, but without a readable 出生年月 or a 性别 of 男 or 女
    };
    // What a fill of the list's rows would change; the list is only read.
    Plan plan(const db::DataSet& list) const;
    // The whole operation as the button runs it: the right, the question with the number of rows
    // that change, the writing in one transaction, the list read again. The number written.
    int run(db::DataSet& list);

private:
    app::TDM& dm_;
};

}  // namespace rsgz::personnel
