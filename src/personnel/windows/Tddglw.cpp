#include "personnel/windows/Tddglw.h"

namespace rsgz::personnel {

namespace {

using S = app::RecordStep;

// 增加, 保存 and 删除 need 调动管理; the three pickers fill the person, the handler and the approver.
const app::RecordWindowTable& transferWindow()
{
    static const app::RecordWindowTable table{
        "调动数据管理", "Tddglw", TransferManagement::fields(), {}, "",
        {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"},
        {{"addButton", "增加", S::Add, "调动管理"}, {"saveButton", "保存", S::Save, "调动管理"},
         {"deleteButton", "删除", S::Delete, "调动管理"}, {"personButton", "选择被调动人", S::Action, {}},
         {"handlerButton", "选择经办人", S::Action, {}}, {"approverButton", "选择批准人", S::Action, {}},
         {"returnButton", "返回", S::Return, {}}},
        2};
    return table;
}

}  // namespace

Tddglw::Tddglw(app::TDM& dm, QWidget* parent)
    : widgets::RecordWindow(dm, transferWindow(), std::make_unique<TransferManagement>(dm), parent)
{
}

}  // namespace rsgz::personnel
