#pragma once
#include <functional>
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// The columns of 公司数据 that the company window edits, in the order Enter walks its fields. Each
// field is labelled with its column's name.
const std::vector<std::string>& companyFields();

// Opening the company window belongs to the system group: the module number becomes 0, then the
// main window runs its own steps for that (which print entries show); frameSteps may be empty.
void enterCompanyWindow(app::TDM& dm, const std::function<void()>& frameSteps);

// What the company window does, without the window: the twelve fields of the first row of
// gs_data, 保存 and 返回. Typing only changes values; nothing reaches gs_data before 保存.
class CompanyForm {
public:
    explicit CompanyForm(app::TDM& dm);  // re-reads gs_data and shows its first row

    std::vector<std::string> values;  // one per field of companyFields()
    bool closed = false;

    int maxLength(int field) const;  // the column's width; 0 when unknown
    int nextField(int field) const;  // where Enter goes: the next field, or the same one in the last

    // 保存: edit (on an empty table a new row), set what was typed, post. A refused write is
    // reported and leaves the row being edited, so a corrected value can be saved again.
    bool save();
    void close();  // 返回: what was typed and not saved is dropped

private:
    void load();
    app::TDM& dm_;
};

}  // namespace rsgz::admin
