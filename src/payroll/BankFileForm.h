#pragma once
#include <string>

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

class SalaryView;
struct BankBatch;

// The window 银行代发工资文件制作 without its widgets: writes one record per row of the salary view,
// in the view's order, by the set's bank layout.
class BankFileForm {
public:
    BankFileForm(app::TDM& dm, const SalaryView* view);

    std::string set;       // 工资帐套: the set the salary page shows
    std::string fileName;  // 代发文件

    void activate();
    // The save dialog; a file that exists is replaced only when the operator says so.
    void chooseFile();
    // 生成文件. Writes nothing when a character cannot be encoded, when the operator declines the
    // question about a view of several months or about the problems found, or on a file error
    // (thrown, as the standard error box shows it). True when the file was written.
    bool generate();
    // 设置格式.
    void openLayout();

private:
    bool confirmAllMonths(const BankBatch& batch);
    bool confirmProblems(const std::string& problems);

    app::TDM& dm_;
    const SalaryView* view_;
};

}  // namespace rsgz::payroll
