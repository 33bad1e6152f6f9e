#include "personnel/ArticleIssue.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {

constexpr const char* kPickerCaption = "选择人员发放物品";

// Issues name their article by its number; a new article has none yet and shows no issue.
db::SqlLines issuesSql(const db::DataSet& articles)
{
    const bool stored = !storedKey(articles, "编号").empty();
    query::ListQuery q{{"select * from 物品领用"}, {}, {}};
    q.where(query::Condition::equals("物品编号", stored ? articles.value("编号") : db::Value(0), db::FieldType::Integer));
    return q.lines();
}

}  // namespace

ArticleIssue::ArticleIssue(app::TDM& dm)
    : dm_(dm), lists_(dm, dm.wpdj, dm.wplyjl, dm.ItemChanged, [&dm] { return issuesSql(dm.wpdj); })
{
}

bool ArticleIssue::mayChange() const { return app::hasRight(dm_, "物品发放"); }

const app::EditorSpec& ArticleIssue::issueEditorSpec()
{
    using K = app::EditorFieldKind;
    static const app::EditorSpec setup{"发放数据编辑", "Twpffjl", "wplyjl", &app::TDM::EditorOpen::wplyjl,
                                 {{"序号", K::ReadOnly}, {"物品", K::ReadOnly}, {"领用人姓名", K::ReadOnly},
                                  {"领用日期", K::Date}, {"归还日期", K::Date}, {"数量"}, {"价值", K::Text, {}, app::FieldPattern::Yuan}, {"领用备注"}},
                                 {}, "", true};
    return setup;
}

void ArticleIssue::activate()
{
    reopenList(dm_.wpdj, {"select * from 物品登记"});
    lists_.openDetails();
}

void ArticleIssue::issueToChosen()
{
    lists_.addChosen("无物品可发放！", kPickerCaption, [](db::DataSet& row, const ChosenEmployee& e) {
        row.setValue("员工编号1", e.number);
        row.setValue("领用人姓名", e.name);
    });
}

}  // namespace rsgz::personnel
