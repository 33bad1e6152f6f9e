#include "payroll/windows/Tgzxmw.h"

namespace rsgz::payroll {

namespace {

using K = app::EditorFieldKind;
using S = app::RecordStep;

// The fields in the order Enter walks through them; 保存, 取消, 验证公式 and 所得税设置 need 帐套管理.
const app::RecordWindowTable& itemWindow()
{
    static const app::RecordWindowTable table{
        "工资项目设定", "Tgzxmw",
        {{"工资代码", K::Dictionary, "@"}, {"工资项目", K::Dictionary, "@"}, {"初始值"}, {"是否所得税", K::Choice},
         {"个税关联", K::Dictionary, "@"}, {"个税起征点"}, {"计算公式", K::Text, {}, app::FieldPattern::AsStored, 360}},
        {"工资代码", "工资项目", "初始值", "是否所得税", "个税关联", "个税起征点", "计算公式"}, "",
        {"第一个记录", "前一个记录", "后一个记录", "最后一个记录"},
        {{"添加", "添加", S::Add, {}}, {"删除", "删除", S::Delete, {}}, {"保存", "保存", S::Save, "帐套管理"},
         {"验证公式", "验证公式", S::Action, "帐套管理"}, {"所得税设置", "所得税设置", S::Action, "帐套管理"},
         {"取消", "取消", S::Return, "帐套管理"}, {"返回", "返回", S::Return, {}}}};
    return table;
}

}  // namespace

Tgzxmw::Tgzxmw(app::TDM& dm, QWidget* parent) : widgets::RecordWindow(dm, itemWindow(), std::make_unique<ItemForm>(dm), parent)
{
}

}  // namespace rsgz::payroll
