#pragma once
// The lists the wage-tax windows edit in their grids (declared deductions, other deductions, the
// contribution scheme, the bases), without their controls: a dataset of the window's own over one
// table, narrowed to an employee or a year, guarded by a payroll right where it is written, each row
// checked before it is stored.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/DataSet.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

struct TaxListSetup {
    std::string caption;
    std::string table;
    std::string right;                 // guards every insert, change and deletion
    std::vector<std::string> columns;  // the grid's, in order
    std::string order;                 // the columns of the order line
    std::vector<std::pair<std::string, db::Value>> defaults;  // of a new row
    // The refusal of the row about to be stored, naming what is wrong; empty when it may be stored.
    std::function<std::string(const db::DataSet&)> check;
    bool showsName = false;            // a calculated 姓名 beside 员工编号1, from the employee table
};

// 专项附加扣除, 其他扣除 (narrowed to an employee), 缴费方案, 缴费基数 (narrowed to a year).
const TaxListSetup& additionalDeductionList();
const TaxListSetup& otherDeductionList();
const TaxListSetup& contributionSchemeList();
const TaxListSetup& contributionBaseList();

class TaxListForm {
public:
    TaxListForm(app::TDM& dm, const TaxListSetup& setup);
    TaxListForm(const TaxListForm&) = delete;
    TaxListForm& operator=(const TaxListForm&) = delete;

    const TaxListSetup& setup() const { return setup_; }
    db::DataSet& dataSet() { return ds_; }

    // The rows of one employee (员工编号1) or of one year (年度); a new row takes them. A pending
    // edit is posted first; when it is refused the list stays where it was and false comes back.
    bool setEmployee(const std::string& number);
    // Posts a pending edit; false when it was refused (and told).
    bool settle();
    bool setYear(int year);
    const std::string& employee() const { return employee_; }
    int year() const { return year_; }

    // Each runs as a button does: a refusal is told, the window stays open.
    bool open();
    void add();
    void save();
    void remove();  // asks first; a row being added is only dropped

private:
    db::SqlLines statement() const;
    void readNames();

    app::TDM& dm_;
    const TaxListSetup& setup_;
    db::DataSet ds_;
    std::string employee_;
    int year_ = 0;
    std::map<std::string, std::string> names_;  // employee number -> 姓名, read at every open
};

}  // namespace rsgz::payroll
