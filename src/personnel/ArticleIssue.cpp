#include "personnel/ArticleIssue.h"

#include "admin/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {
constexpr const char* kPickerCaption = "选择人员发放物品";
}

ArticleIssue::ArticleIssue(app::TDM& dm) : dm_(dm) {}

bool ArticleIssue::mayChange() const { return admin::hasRight(dm_, "物品发放"); }

const EditorSpec& ArticleIssue::issueEditorSpec()
{
    using K = EditorFieldKind;
    static const EditorSpec spec{"发放数据编辑", "Twpffjl", "wplyjl", &app::TDM::EditorOpen::wplyjl,
                                 {{"序号", K::ReadOnly}, {"物品", K::ReadOnly}, {"领用人姓名", K::ReadOnly},
                                  {"领用日期", K::Date}, {"归还日期", K::Date}, {"数量"}, {"价值"}, {"领用备注"}},
                                 {}, "", true};
    return spec;
}

void ArticleIssue::activate()
{
    reopenList(dm_.wpdj, {"select * from 物品登记"});
    openIssues();
}

void ArticleIssue::openIssues()
{
    // Issues name their article by its number; a new article has none yet and shows no issue.
    const db::DataSet& articles = dm_.wpdj;
    const bool stored = !storedKey(articles, "编号").empty();
    query::ListQuery q{{"select * from 物品领用"}, {}, {}};
    q.where(query::Condition::equals("物品编号", stored ? articles.value("编号") : db::Value(0), db::FieldType::Integer));
    reopenList(dm_.wplyjl, q.lines());
    dm_.ItemChanged = false;
}

void ArticleIssue::articleMoved() { openIssues(); }

void ArticleIssue::articleGridClicked()
{
    if (dm_.ItemChanged) openIssues();
}

void ArticleIssue::addArticle()
{
    dm_.wpdj.append();
    if (dm_.wpdj.state() == db::DataSet::State::Insert) pendingArticle_.remember(dm_.wpdj);
    openIssues();
}

void ArticleIssue::saveArticle()
{
    db::DataSet& articles = dm_.wpdj;
    if (!articles.active()) return;
    if (articles.isEditing()) articles.post();
    articles.requery();
    openIssues();
}

void ArticleIssue::removeArticle()
{
    removeOrAbandon(dm_.wpdj);
    openIssues();
}

void ArticleIssue::issueToChosen()
{
    db::DataSet& articles = dm_.wpdj;
    if (!articles.active() || (articles.isEmpty() && !articles.isEditing())) {
        app::interaction().showMessage("无物品可发放！");
        return;
    }
    // Issues name their article by number: a new article is stored first; refused, nothing is issued.
    if (articles.isEditing()) {
        postMasterFirst(articles);
        openIssues();
    }
    app::interaction().openWindow(kPickerCaption);
    addForEach(dm_, dm_.wplyjl, chosenEmployees(dm_),
               [](db::DataSet& row, const ChosenEmployee& e) {
                   row.setValue("员工编号1", e.number);
                   row.setValue("领用人姓名", e.name);
               },
               [this] { openIssues(); });
}

void ArticleIssue::saveIssue()
{
    db::DataSet& issues = dm_.wplyjl;
    if (!issues.active()) return;
    if (issues.isEditing()) issues.post();
    issues.requery();
}

void ArticleIssue::removeIssue()
{
    db::DataSet& issues = dm_.wplyjl;
    if (!issues.active() || issues.isEmpty()) return;
    issues.remove();
}

void ArticleIssue::removeAllIssues() { removeAll(dm_.wplyjl); }

bool ArticleIssue::close()
{
    return pendingArticle_.settle(dm_.wpdj, [this] { dm_.wpdj.post(); });
}

}  // namespace rsgz::personnel
