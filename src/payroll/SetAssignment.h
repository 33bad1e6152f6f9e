#pragma once
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// Module 10 (人员帐套设置): gives every employee the list currently shows one payroll set. It
// works on the rows of the list itself, so whatever narrowed the list (a tree node, a query, a
// search) narrows the change the same way.
class SetAssignment {
public:
    explicit SetAssignment(app::TDM& dm) : dm_(dm) {}

    std::vector<std::string> sets;  // every 帐套名称, in table order; the box starts empty
    void get_gzzt_field();

    // The operator chose a set: a name that is not one of the sets is ignored; otherwise the
    // question "将 N 名员工设为帐套 X?" and, on 是, all of them in one transaction. True when written.
    bool assign(const std::string& set);

private:
    app::TDM& dm_;
};

}  // namespace rsgz::payroll
