#pragma once
#include <string>
#include <vector>

#include "app/RecordWindowTable.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// The item window 工资项目设定 without its widgets, over the current row of zt_mx. While it exists
// a new item opens no second item window. Its steps report nothing themselves: a refusal or a
// database error goes to the window that runs them.
class ItemForm : public app::RecordBehaviour {
public:
    explicit ItemForm(app::TDM& dm);
    ~ItemForm() override;
    ItemForm(const ItemForm&) = delete;
    ItemForm& operator=(const ItemForm&) = delete;

    std::vector<std::string> codeChoices;     // gz01 … gz39
    std::vector<std::string> nameChoices;     // 默认工资项目
    std::vector<std::string> taxLinkChoices;  // the items of the current set
    bool taxFieldsEditable = false;           // 个税起征点, 个税关联 and 所得税设置
    bool closed = false;

    db::DataSet& dataSet() const override;
    void activate() override;
    // The tax-field rule: editable only on the tax item; the link list rebuilt.
    void SetSds();

    std::string field(const std::string& name) const;
    // Typing edits the row at once; a change of 是否所得税 applies the tax-field rule.
    void setField(const std::string& name, const std::string& text);

    void first() override;
    void prior() override;
    void next() override;
    void last() override;
    void add() override;
    void remove() override;
    // 保存: writes the pending change (the rules refuse a bad code or formula) and re-reads.
    void save() override;
    // 验证公式: the formula is checked first and its fault named; a sound one is then saved like
    // 保存. The last item of a set, its net pay, must be a sum and difference of columns.
    bool checkFormula();
    void cancel();
    bool close() override;

    // The window's side: 验证公式 and 所得税设置, the lists of the drop-down fields, the tax fields.
    void act(const std::string& button) override;
    bool enabled(const app::RecordButton& button) const override;
    bool writable(const std::string& column) const override;
    void written(const std::string& column) override;
    std::vector<std::string> choices(const app::EditorField& field) const override;

private:
    bool isLastItem() const;
    void moved();
    app::TDM& dm_;
};

}  // namespace rsgz::payroll
