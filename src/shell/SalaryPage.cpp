#include "shell/SalaryPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include "app/Navigation.h"
#include "app/TDM.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryCard.h"
#include "payroll/windows/Tgzeditw.h"
#include "query/QueryPages.h"
#include "widgets/DataSetModel.h"
#include "shell/ModulePanel.h"
#include "shell/Tmain.h"
#include "widgets/QueryTreeWidget.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {

QPushButton* addButton(ModulePanel* panel, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), panel);
    b->setObjectName(QString::fromUtf8(caption));
    panel->addToTopBar(b);
    return b;
}

void selectNode(QTreeWidget* tree, int node)
{
    tree->clearSelection();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (widgets::nodeOf(*it) != node) continue;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) up->setExpanded(true);
        tree->setCurrentItem(*it);
        tree->scrollToItem(*it);
        return;
    }
}

}  // namespace

SalaryPage::SalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel)
    : QObject(panel), dm_(dm), panel_(panel), form_(dm)
{
    setObjectName(QStringLiteral("salaryPage"));
    payroll::bindClosedRowRule(dm);
    form_.onRead = [this] { shown(); };

    auto* box = new QWidget(panel);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(12, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("请选择工资帐套"), box));
    sets_ = new QComboBox(box);
    sets_->setObjectName(QStringLiteral("salarySetBox"));
    sets_->setMinimumWidth(150);
    row->addWidget(sets_);
    panel->addToTopBar(box);
    connect(sets_, &QComboBox::activated, this, [this] {
        panel_->queryTree()->clearSelection();
        attached().chooseSet(sets_->currentText().toStdString());
    });
    close_ = addButton(panel, "工资结帐");
    reopen_ = addButton(panel, "取消结帐");
    connect(close_, &QPushButton::clicked, this, [this] { attached().closeOrReopen(true); });
    connect(reopen_, &QPushButton::clicked, this, [this] { attached().closeOrReopen(false); });

    hookSearch(nav);
    panel->addGridFooter();
    // A click on a node rebuilds the view for the set chosen in the box; the sort keeps the filter.
    panel->ownNodeClick = [this](int node) { attached().clickNode(node); };
    panel->ownSort = [this](const std::string& field, const std::string& order) { attached().sort(field, order); };
}

// The quick search of this page narrows the view; the other pages keep theirs. An empty text, by
// Enter or by the magnifier, takes the search back.
void SalaryPage::hookSearch(app::Navigation& nav)
{
    QPointer<SalaryPage> self(this);
    auto before = nav.hooks.searchOneField;
    nav.hooks.searchOneField = [before, self](int module, const std::string& field, const std::string& text) {
        if (module == payroll::SalarySearch::kModule && self) self->attached().search(field, text);
        else if (before) before(module, field, text);
    };
    panel_->ownEmptySearch = [this] { attached().search(panel_->searchField()->currentText().toStdString(), {}); };
}

payroll::SalaryPageForm& SalaryPage::attached()
{
    if (!attached_ && panel_->queryPages()) {
        attached_ = true;
        form_.attachQueries(panel_->queryPages()->trees(), panel_->queryPages()->settings());
    }
    return form_;
}

// After every read of the view: its columns in the grid and in the search and sort boxes (the sort
// in force stays shown), the set in its box, and the status.
void SalaryPage::shown()
{
    layOutGrid();
    showSets();
    if (panel_->queryPages()) {
        app::FieldLists lists;
        lists.search = form_.searchFields();
        lists.sort = form_.sortFields();
        if (!lists.search.empty()) lists.searchIndex = 0;
        if (!lists.sort.empty()) lists.sortIndex = 0;
        const QString searchShown = panel_->searchField()->currentText();
        panel_->setFieldLists(lists);
        panel_->showSearchField(searchShown.toStdString());
        const payroll::SalaryFilter& f = form_.view().filter();
        if (!f.sortField.empty()) panel_->showSort(f.sortField, f.descending ? "降序" : "升序");
    }
    dm_.showStatus(dm_.gzb.statusText());
}

void SalaryPage::layOutGrid()
{
    QStringList fields;
    for (const std::string& f : form_.view().gridColumns()) {
        fields << QString::fromStdString(f);
        panel_->model()->setTitle(fields.back(), QString::fromStdString(form_.view().titleOf(f)));
    }
    panel_->model()->setVisibleFields(fields);
}

void SalaryPage::opened()
{
    payroll::SalaryPageForm& f = attached();
    const bool may = f.mayClose();
    close_->setEnabled(may);
    reopen_->setEnabled(may);
    if (auto* text = panel_->findChild<QLineEdit*>(QStringLiteral("searchText"))) text->clear();
    panel_->queryTree()->clearSelection();
    f.opened();
    showSets();
}

// The box lists the form's sets and shows the one the view is built for.
void SalaryPage::showSets()
{
    const QSignalBlocker block(sets_);
    QStringList names;
    for (const std::string& s : form_.sets) names << QString::fromStdString(s);
    QStringList listed;
    for (int i = 0; i < sets_->count(); ++i) listed << sets_->itemText(i);
    if (listed != names) {
        sets_->clear();
        sets_->addItems(names);
    }
    sets_->setCurrentIndex(sets_->findText(QString::fromStdString(form_.set)));
}

void SalaryPage::showMonth(const payroll::Period& p)
{
    payroll::SalaryPageForm& f = attached();
    if (auto* text = panel_->findChild<QLineEdit*>(QStringLiteral("searchText"))) text->clear();
    const int node = f.showMonth(p);
    if (node >= 0) selectNode(panel_->queryTree(), node);
    else panel_->queryTree()->clearSelection();
}

void SalaryPage::openCard(QWidget* parent)
{
    if (!dm_.gzb.active()) return;
    payroll::Tgzeditw w(dm_, form_.view(), parent);
    w.exec();
    layOutGrid();
}

SalaryPage* installSalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel)
{
    return new SalaryPage(nav, dm, panel);
}

void registerSalaryCard()
{
    widgets::registerWindow(app::WindowId::SalaryCard, [](QWidget* parent) {
        if (SalaryPage* p = salaryPageOf(parent)) p->openCard(parent);
    });
}

SalaryPage* salaryPageOf(QWidget* from)
{
    Tmain* main = mainWindowOf(from);
    return main ? main->salaryPage() : nullptr;
}

const payroll::SalaryView* salaryPageView(QWidget* from)
{
    SalaryPage* p = salaryPageOf(from);
    return p ? &p->form().view() : nullptr;
}

}  // namespace rsgz::shell
