#include "app/RecordEditor.h"

#include <algorithm>

#include "app/Interaction.h"
#include "db/SqlText.h"

namespace rsgz::app {

namespace {

using K = EditorFieldKind;
using Flag = bool app::TDM::EditorOpen::*;

std::vector<EditorField> plain(std::initializer_list<EditorField> f) { return f; }

}  // namespace

EditorSpec::EditorSpec(std::string caption, std::string windowClass, std::string dataSetName, Flag openFlag,
                       std::vector<EditorField> fields, std::vector<std::string> enterOrder, std::string wrapTo,
                       bool reread, bool course)
    : app::RecordWindowTable{std::move(caption), std::move(windowClass), std::move(fields), std::move(enterOrder),
                            std::move(wrapTo)},
      dataSet(std::move(dataSetName)), flag(openFlag), rereadOnSave(reread), coursePanel(course)
{
}

const std::vector<EditorSpec>& editorSpecs()
{
    static const std::vector<EditorSpec> specs = {
        {"个人简历编辑", "Tunit_grjlw", "grjl", &app::TDM::EditorOpen::grjl,
         plain({{"序号", K::ReadOnly}, {"起始日期", K::Date}, {"结束日期", K::Date}, {"学校或者工作单位"},
                {"部门", K::Dictionary}, {"职务", K::Dictionary}, {"备注"}}),
         {"起始日期", "结束日期", "学校或者工作单位", "部门", "职务", "备注"}, "起始日期"},
        {"社会关系", "Tunit_shgxw", "shgx", &app::TDM::EditorOpen::shgx,
         plain({{"序号", K::ReadOnly}, {"姓名"}, {"与本人关系", K::Dictionary}, {"工作单位"}, {"部门", K::Dictionary},
                {"职务", K::Dictionary}, {"联系电话"}, {"政治面貌", K::Dictionary}, {"备注"}}),
         {}, ""},
        {"证照记录", "Tunit_zzlbw", "zzlb", &app::TDM::EditorOpen::zzlb,
         plain({{"序号", K::ReadOnly}, {"证照名称", K::Dictionary}, {"证照编号"}, {"取得日期", K::Date},
                {"失效日期", K::Date}, {"发证机构"}, {"证照类型", K::Dictionary}, {"备注"}}),
         {"序号", "证照编号", "取得日期", "失效日期", "发证机构", "证照类型", "备注"}, "证照名称"},
        {"培训记录", "Tunit_pxjlw", "pxjl1", &app::TDM::EditorOpen::pxjl,
         plain({{"序号", K::ReadOnly}, {"受培训人姓名"}, {"培训费用"}, {"培训结果"}, {"培训备注", K::Memo}}), {}, "",
         true, true},
        {"调动记录", "Tunit_ddjlw", "ddjl", &app::TDM::EditorOpen::ddjl,
         plain({{"姓名", K::ReadOnly}, {"调动类型", K::Dictionary}, {"调动日期", K::Date}, {"调动前单位"}, {"调动后单位"},
                {"调动前职务"}, {"调动后职务", K::Dictionary, "职务"}, {"调动前一级部门"}, {"调动前二级部门"},
                {"调动前三级部门"}, {"调动前四级部门"}, {"调动后一级部门", K::Department},
                {"调动后二级部门", K::Department}, {"调动后三级部门", K::Department}, {"调动后四级部门"},
                {"经办人", K::Person, "选择经办人"}, {"批准人", K::Person, "选择批准人"}, {"调动原因", K::Memo}}),
         {}, ""},
        {"奖惩情况", "Tunit_jcqkw", "jcqk", &app::TDM::EditorOpen::jcqk,
         plain({{"奖惩人姓名", K::ReadOnly}, {"奖或惩", K::Dictionary}, {"奖惩内容"}, {"奖惩原因", K::Dictionary},
                {"奖惩级别", K::Dictionary}, {"批准部门", K::Dictionary}, {"批准人"}, {"奖惩日期", K::Date},
                {"撤销日期", K::Date}, {"撤销原因"}, {"奖惩备注", K::Memo}}),
         {}, "", true},
        {"工资变更", "Tunit_gzbgw", "gzjs", &app::TDM::EditorOpen::gzjs,
         plain({{"序号", K::ReadOnly}, {"工资等级", K::Dictionary}, {"晋升日期", K::Date}, {"晋升前工资"}, {"晋升后工资"},
                {"备注"}}),
         {"序号", "工资等级", "晋升日期", "晋升前工资", "晋升后工资", "备注"}, "工资等级", true},
        {"物品领用", "Tunit_wplyw", "wply", &app::TDM::EditorOpen::wply,
         plain({{"序号", K::ReadOnly}, {"物品", K::ReadOnly}, {"领用人姓名", K::ReadOnly}, {"领用日期", K::Date},
                {"归还日期", K::Date}, {"数量"}, {"价值"}, {"领用备注"}}),
         {"序号", "物品", "领用人姓名", "领用日期", "归还日期", "数量", "价值", "领用备注"}, "领用日期", true},
    };
    return specs;
}

const EditorSpec* editorSpec(const std::string& caption)
{
    for (const EditorSpec& s : editorSpecs())
        if (s.caption == caption) return &s;
    return nullptr;
}

RecordEditor::RecordEditor(app::TDM& dm, const EditorSpec& setup)
    : dm_(dm), spec_(setup), ds_(*dm.dataSet(setup.dataSet)),
      buttons_([this](const app::BrowseState& s) { browse = s; })
{
    dm_.editorOpen.*spec_.flag = true;
    buttons_.follow(&ds_);
    // Opened by an insert rule: the new row as its defaults left it is what "untouched" means.
    if (ds_.state() == db::DataSet::State::Insert) pending_.remember(ds_);
}

RecordEditor::~RecordEditor() { dm_.editorOpen.*spec_.flag = false; }

void RecordEditor::activate() { afterChange(); }

void RecordEditor::afterChange()
{
    if (!spec_.coursePanel) return;
    const std::string course = ds_.active() && ds_.currentRow() >= 0 ? ds_.asString("课程编号1") : std::string();
    dm_.pxkc.close();
    dm_.pxkc.setSql(db::SqlLines{"select * from 培训课程", "where 课程编号=" + db::sqlQuote(course)});
    dm_.pxkc.open();
}

template <class Move>
void RecordEditor::move(Move m)
{
    if (!ds_.active()) return;
    m(ds_);
    afterChange();
}

void RecordEditor::first() { move([](db::DataSet& d) { d.first(); }); }
void RecordEditor::prior() { move([](db::DataSet& d) { d.prior(); }); }
void RecordEditor::next() { move([](db::DataSet& d) { d.next(); }); }
void RecordEditor::last() { move([](db::DataSet& d) { d.last(); }); }

void RecordEditor::add()
{
    ds_.append();
    if (ds_.state() == db::DataSet::State::Insert) pending_.remember(ds_);
    afterChange();
}

void RecordEditor::save()
{
    ds_.edit();  // on an empty list this starts a new row with its defaults
    ds_.post();
    if (spec_.rereadOnSave) ds_.requery();
    afterChange();
}

void RecordEditor::remove()
{
    removeOrAbandon(ds_);
    afterChange();
}

bool RecordEditor::close()
{
    return pending_.settle(ds_, [this] { ds_.post(); });
}

std::string RecordEditor::enter(const std::string& column)
{
    const auto& order = spec_.enterOrder;
    const auto it = std::find(order.begin(), order.end(), column);
    if (it == order.end()) return column;
    if (std::next(it) != order.end()) return *std::next(it);
    if (spec_.wrapTo.empty() || spec_.wrapTo == column) return column;
    add();
    return spec_.wrapTo;
}

bool RecordEditor::pickPerson(const std::string& column)
{
    const auto it = std::find_if(spec_.fields.begin(), spec_.fields.end(),
                                 [&](const EditorField& f) { return f.column == column; });
    if (it == spec_.fields.end() || it->kind != EditorFieldKind::Person || !ds_.active()) return false;
    // A pick left over from an earlier picker must never fill this field.
    dm_.PickResult = 0;
    app::interaction().openWindow(it->key);
    if (dm_.PickResult != 1 || !dm_.s4.active() || dm_.s4.currentRow() < 0) return false;
    const std::string name = dm_.s4.asString("姓名");
    ds_.edit();  // on an empty list this starts a new row with its defaults
    ds_.setValue(column, name);
    return true;
}

}  // namespace rsgz::app
