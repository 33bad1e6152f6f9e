#pragma once
#include <string>

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::payroll {

// The window 工资项目及初始值设置 without its widgets: default item names (gzxmd), grades (gzdj)
// and each grade's default amounts (gzdj_gzxm).
class GradeValuesForm {
public:
    explicit GradeValuesForm(app::TDM& dm) : dm_(dm) {}

    // Activation: the three lists read afresh; an empty grade table is seeded from the dictionary.
    void activate();
    void open_gzxm();
    void open_gzdj();
    void open_gzdj_gzxm();
    // A click on a grade: its values, completed with a row for every default item name.
    void gradeClicked(int row);
    void add_gzxm();

    // The buttons under each grid, on that grid's dataset.
    void add(db::DataSet& ds);
    void remove(db::DataSet& ds);
    void save(db::DataSet& ds);

private:
    app::TDM& dm_;
};

// The bracket window 所得税设置 without its widgets, over sds_set.
class TaxBracketForm {
public:
    explicit TaxBracketForm(app::TDM& dm) : dm_(dm) {}
    void open_sds_data();
    void add();
    void remove();
    void save();  // 保存: what is pending is written, then the list is read again

private:
    app::TDM& dm_;
};

}  // namespace rsgz::payroll
