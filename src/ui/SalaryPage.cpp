#include "ui/SalaryPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/Interaction.h"
#include "app/Navigation.h"
#include "app/TDM.h"
#include "payroll/IncomeTax.h"
#include "payroll/SalaryCard.h"
#include "payroll/SalaryClosing.h"
#include "payroll/SalarySearch.h"
#include "payroll/SalaryView.h"
#include "payroll/Tgzeditw.h"
#include "query/QueryPages.h"
#include "ui/DataSetModel.h"
#include "ui/ModulePanel.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

namespace {

struct SalaryPage {
    app::TDM* dm = nullptr;
    ModulePanel* panel = nullptr;
    QComboBox* sets = nullptr;
    QPushButton *close = nullptr, *reopen = nullptr;
    std::unique_ptr<payroll::SalaryView> view;
    std::unique_ptr<payroll::SalarySearch> search;

    void fillSets();
    void openView();
    void layOutGrid();
    void closeOrReopen(bool closing);
    // The tree, the sort bar and the quick search, once the page's query side is attached.
    payroll::SalarySearch* searcher();
    void shown();
};

SalaryPage& page()
{
    static SalaryPage p;
    return p;
}

void SalaryPage::fillSets()
{
    const QString shown = sets->currentText();
    db::DataSet ds(&dm->DMADO, "gzb_sets", {"select 帐套名称 from 帐套"});
    ds.open();
    sets->clear();
    for (ds.first(); !ds.eof(); ds.next()) sets->addItem(QString::fromStdString(ds.asString("帐套名称")));
    if (const int i = sets->findText(shown); i >= 0) sets->setCurrentIndex(i);
}

payroll::SalarySearch* SalaryPage::searcher()
{
    query::QueryPages* pages = panel->queryPages();
    if (!search && pages) search = std::make_unique<payroll::SalarySearch>(*view, dm->gzb, pages->trees(), pages->settings());
    return search.get();
}

// After every read of the view: its columns in the grid and in the search and sort boxes (the sort
// in force stays shown), and its status.
void SalaryPage::shown()
{
    layOutGrid();
    if (payroll::SalarySearch* s = searcher()) {
        app::FieldLists lists;
        lists.search = s->searchFields();
        lists.sort = s->sortFields();
        if (!lists.search.empty()) lists.searchIndex = 0;
        if (!lists.sort.empty()) lists.sortIndex = 0;
        const QString searchShown = panel->searchField()->currentText();
        panel->setFieldLists(lists);
        panel->showSearchField(searchShown.toStdString());
        const payroll::SalaryFilter& f = view->filter();
        if (!f.sortField.empty()) panel->showSort(f.sortField, f.descending ? "降序" : "升序");
    }
    dm->showStatus(dm->gzb.statusText());
}

void SalaryPage::layOutGrid()
{
    QStringList fields;
    for (const std::string& f : view->gridColumns()) {
        fields << QString::fromStdString(f);
        panel->model()->setTitle(fields.back(), QString::fromStdString(view->titleOf(f)));
    }
    panel->model()->setVisibleFields(fields);
}

// Builds the view for the set shown and opens it; what the build found wrong is said once.
void SalaryPage::openView()
{
    view->build(sets->currentText().toStdString());
    view->open();
    shown();
    std::string said;
    for (const std::string& w : view->config().warnings) said += (said.empty() ? "" : "\n") + w;
    if (view->missedBracket()) said += (said.empty() ? "" : "\n") + std::string(payroll::IncomeTax::missingBracketWarning());
    if (!said.empty()) app::interaction().showMessage(said);
}

void SalaryPage::closeOrReopen(bool closing)
{
    if (!view || !dm->gzb.active()) return;
    if (!app::runAction([this] { payroll::requireClosingRights(*dm); })) return;
    const std::string question = view->question(closing);
    if (question.empty()) {
        app::interaction().showMessage(closing ? "当前列表中没有未结帐的工资记录。" : "当前列表中没有已结帐的工资记录。");
        return;
    }
    if (!app::interaction().ask(question)) return;
    const int n = closing ? view->closeRows() : view->reopenRows();
    shown();
    app::interaction().showMessage((closing ? "已结帐 " : "已取消结帐 ") + std::to_string(n) + " 条工资记录。");
}

QPushButton* addButton(ModulePanel* panel, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), panel);
    b->setObjectName(QString::fromUtf8(caption));
    panel->addToTopBar(b);
    return b;
}

}  // namespace

void installSalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel)
{
    SalaryPage& p = page();
    p.dm = &dm;
    p.panel = panel;
    p.view = std::make_unique<payroll::SalaryView>(dm.DMADO, dm.gzb);
    payroll::bindClosedRowRule(dm);

    auto* box = new QWidget(panel);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(12, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("请选择工资帐套"), box));
    p.sets = new QComboBox(box);
    p.sets->setObjectName(QStringLiteral("salarySetBox"));
    p.sets->setMinimumWidth(150);
    row->addWidget(p.sets);
    panel->addToTopBar(box);
    QObject::connect(p.sets, &QComboBox::activated, p.sets, [&dm] {
        page().view->filter() = {};
        page().openView();
        (void)dm;
    });
    p.close = addButton(panel, "工资结帐");
    p.reopen = addButton(panel, "取消结帐");
    QObject::connect(p.close, &QPushButton::clicked, p.close, [] { page().closeOrReopen(true); });
    QObject::connect(p.reopen, &QPushButton::clicked, p.reopen, [] { page().closeOrReopen(false); });

    // The quick search of this page narrows the view; the other pages keep theirs.
    auto before = nav.hooks.searchOneField;
    nav.hooks.searchOneField = [before](int module, const std::string& field, const std::string& text) {
        if (module != 11) {
            if (before) before(module, field, text);
            return;
        }
        if (payroll::SalarySearch* s = page().searcher(); s && s->search(field, text)) page().shown();
    };
    // A click on a node rebuilds the view for the set chosen in the box; the sort keeps the filter.
    panel->ownNodeClick = [](int node) {
        SalaryPage& sp = page();
        payroll::SalarySearch* s = sp.searcher();
        if (!s) return;
        app::runAction([&] {
            if (s->clickNode(sp.sets->currentText().toStdString(), node)) sp.shown();
        });
    };
    panel->ownSort = [](const std::string& field, const std::string& order) {
        payroll::SalarySearch* s = page().searcher();
        if (!s) return;
        app::runAction([&] {
            if (s->sort(field, order)) page().shown();
        });
    };
}

void registerSalaryCard()
{
    registerWindow("工资卡片编辑", [](QWidget* parent) {
        SalaryPage& p = page();
        if (!p.view || !p.dm->gzb.active()) return;
        payroll::Tgzeditw w(*p.dm, *p.view, parent);
        w.exec();
        p.layOutGrid();
    });
}

const payroll::SalaryView* salaryPageView() { return page().view.get(); }

void openSalaryPage()
{
    SalaryPage& p = page();
    if (!p.view) return;
    const bool may = payroll::mayClose(*p.dm);
    p.close->setEnabled(may);
    p.reopen->setEnabled(may);
    p.fillSets();
    p.openView();
}

}  // namespace rsgz::ui
