#include "shell/Tmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include "admin/windows/Tkhdlw.h"
#include "app/MainMenu.h"
#include "app/Module.h"
#include "app/PrintEntries.h"
#include "app/Product.h"
#include "app/TDM.h"
#include "personnel/ReminderDesk.h"
#include "shell/DesktopArea.h"
#include "shell/ModulePanel.h"
#include "shell/NavigationBar.h"
#include "shell/PayrollSetsPanel.h"
#include "shell/PayrollWindows.h"
#include "widgets/ActivationReread.h"
#include "widgets/QueryTreeWidget.h"
#include "shell/RemindersView.h"
#include "shell/StatisticsPanel.h"

namespace rsgz::shell {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The left and right padding of the status panels' text, as the style sheet below sets it.
constexpr int kStatusPadding = 4;

const char* kStyle = R"(
QMainWindow { background: #eef2f6; }
QLineEdit { lineedit-password-character: 42; }
#navigationBar { background: #e4eaf1; border-right: 1px solid #c3ccd6; }
QPushButton[navHeader="true"] {
    text-align: left; padding: 8px 14px; font-weight: bold; color: #2b4560; border: none;
    border-bottom: 1px solid #c3ccd6;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f8fafc, stop:1 #dfe6ee);
}
QPushButton[navHeader="true"]:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfd, stop:1 #e6edf5); }
QPushButton[navHeader="true"][open="true"] {
    color: #10304f; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e1ecf7, stop:1 #c4d8ec);
}
#navPage { background: #eef2f6; }
#navPage QToolButton { padding: 4px 2px 3px 2px; border: 1px solid transparent; border-radius: 6px; color: #243447; }
#navPage QToolButton:hover { background: #dfe9f4; border-color: #c8d8ea; }
#navPage QToolButton:pressed { background: #cddff1; }
#panelHeader {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfd, stop:1 #e9eff5);
    border-bottom: 1px solid #c9d3de;
}
#panelTitle { font-size: 13pt; font-weight: bold; color: #1f3b5a; min-width: 110px; }
#captionBar { background: #e9eff5; border-bottom: 1px solid #d0d8e1; }
#captionText { font-weight: bold; color: #2b4560; }
#sortBar { background: #f6f8fa; border-bottom: 1px solid #dbe1e8; }
#treeSide, #queryTree { background: #ffffff; }
QTableView#moduleGrid {
    background: #ffffff; gridline-color: #e1e6ec; alternate-background-color: #f5f8fb;
    selection-background-color: #cfe1f4; selection-color: #10202f;
}
QHeaderView::section {
    background: #edf1f5; color: #2b3a4a; padding: 3px 6px; border: none;
    border-right: 1px solid #d5dce4; border-bottom: 1px solid #c9d1da;
}
QSplitter::handle { background: #d3dae2; }
QSplitter::handle:horizontal { width: 1px; }
QSplitter::handle:vertical { height: 1px; }
QStatusBar { background: #e7ecf1; }
QStatusBar QLabel { padding: 0 4px; color: #2b3a4a; }
)";

}  // namespace

Tmain::Tmain(app::MainFrame& frame, bool login, QWidget* parent)
    : QMainWindow(parent), frame_(frame), nav_(frame.navigation()),
      queries_(std::make_unique<query::QueryPages>(frame.dm(), frame.navigation())),
      desk_(std::make_unique<personnel::ReminderDesk>(frame.dm(), frame.navigation(), *queries_))
{
    setObjectName(QStringLiteral("Tmain"));
    setWindowTitle(QString::fromUtf8(app::kProductTitle));
    setStyleSheet(QString::fromUtf8(kStyle));
    resize(1280, 760);
    buildWorkArea();
    buildMenus();
    buildStatusBar();
    nav_.setView(this);
    queries_->setView(this);
    // Every window of the program shows, when active again, what other clerks wrote meanwhile.
    widgets::rereadListsOnActivation();
    nav_.hooks.showReminders = [this] { reminders_->refresh(); };
    for (const auto& [module, p] : modulePanels_) p->attachQueries(queries_.get());
    frame_.dm().onStatusText = [this](const std::string& t) { status_[3]->setText(q(t)); };
    if (login) khdl();
    // The full check of the file runs after the login; its outcome is looked at while the operator works.
    fileCheckTimer_ = new QTimer(this);
    fileCheckTimer_->setInterval(250);
    connect(fileCheckTimer_, &QTimer::timeout, this, &Tmain::watchFileCheck);
    if (!frame_.LoginFailed) fileCheckTimer_->start();
}

Tmain::~Tmain()
{
    nav_.setView(nullptr);
    nav_.hooks.showReminders = nullptr;
    queries_->setView(nullptr);
    frame_.dm().onStatusText = nullptr;
}

void Tmain::khdl()
{
    admin::Tkhdlw w(frame_, this);
    w.exec();
}

// --- layout --------------------------------------------------------------------------------------

void Tmain::buildWorkArea()
{
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    navBar_ = new shell::NavigationBar(central);
    navBar_->setFixedWidth(136);
    connect(navBar_, &shell::NavigationBar::groupChanged, this, [this] { nav_.groupChanged(); });
    connect(navBar_, &shell::NavigationBar::buttonClicked, this, [this](const QString& text) { nav_.button(text.toStdString()); });
    row->addWidget(navBar_);

    work_ = new QStackedWidget(central);
    work_->setObjectName(QStringLiteral("workArea"));
    desktop_ = new shell::DesktopArea(work_);
    reminders_ = new shell::RemindersView(*desk_, desktop_);
    desktop_->setOverlay(reminders_);
    empty_ = new QWidget(work_);
    empty_->setObjectName(QStringLiteral("emptyArea"));
    work_->addWidget(desktop_);
    work_->addWidget(empty_);
    buildPanels();
    work_->setCurrentWidget(desktop_);
    row->addWidget(work_, 1);
    setCentralWidget(central);
}

void Tmain::buildPanels()
{
    app::TDM& dm = frame_.dm();
    using Options = shell::ModulePanel::Options;
    using M = app::Module;
    const std::map<app::Module, Options> lists = {
        {M::Personnel, {true, true, true}},      {M::Training, {false, true, true}},
        {M::Titles, {false, true, true}},        {M::Rewards, {false, true, true}},
        {M::Transfers, {false, true, true}},     {M::Evaluations, {false, true, true}},
        {M::Articles, {true, true, true}},       {M::SetAssignment, {false, false, true}},
        {M::SalaryTables, {false, true, false}}, {M::TimeWork, {false, true, false}},
        {M::PieceWork, {false, true, false}},
    };
    for (const auto& [m, options] : lists) {
        const int module = app::moduleNumber(m);
        auto* p = new shell::ModulePanel(nav_, module, nav_.lists().dataSet(module), options, work_);
        modulePanels_[module] = p;
        panels_[module] = p;
    }
    panels_[app::moduleNumber(M::Statistics)] = new shell::StatisticsPanel(nav_, dm, queries_->trees(), work_);
    auto* sets = new shell::PayrollSetsPanel(nav_, dm, work_);
    panels_[app::moduleNumber(M::PayrollSets)] = sets;
    const auto panel = [this](app::Module m) { return modulePanels_[app::moduleNumber(m)]; };
    salaryPage_ = shell::installPayrollPages(nav_, dm, {sets, panel(M::SetAssignment), panel(M::SalaryTables), panel(M::TimeWork),
                                       panel(M::PieceWork)});
    for (const auto& [module, p] : panels_) work_->addWidget(p);
}

void Tmain::buildMenus()
{
    for (const app::Menu& m : app::mainMenus()) {
        QMenu* menu = menuBar()->addMenu(q(m.title));
        for (const app::MenuEntry& e : m.entries) {
            QAction* a = menu->addAction(q(e.text));
            a->setObjectName(q(e.text));
            const std::string text = e.text;
            connect(a, &QAction::triggered, this, [this, text] { nav_.menuEntry(text); });
            actions_[e.text] = a;
            if (e.separatorAfter) menu->addSeparator();
        }
    }
    QAction* close = menuBar()->addAction(QString::fromUtf8(app::kCloseEntry));
    close->setObjectName(QStringLiteral("actionClose"));
    actions_[app::kCloseEntry] = close;
    connect(close, &QAction::triggered, this, &QWidget::close);
    // Until the first activation decides, no print entry shows.
    printEntriesChanged({});
}

void Tmain::buildStatusBar()
{
    const char* texts[6] = {"提示", "", "记录/总数", "", "CAP", ""};
    for (int i = 0; i < 6; ++i) {
        status_[i] = new QLabel(QString::fromUtf8(texts[i]), this);
        status_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(status_[i], i == 1 ? 1 : 0);
    }
    sizeStatusBar();
}

// The widest text a panel must show in full: the record/total caption and the status of a list of
// up to 99,999 rows. Panels are at least their usual width and wider where the font needs it.
int Tmain::statusPanelWidth(int i) const
{
    const int widths[6] = {50, 0, 64, 60, 50, 50};
    const char* widest[6] = {"提示", "", "记录/总数", "99999/99999", "CAP", ""};
    QLabel* l = status_[i];
    const QMargins m = l->contentsMargins();
    const int text = l->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[i]));
    return std::max(widths[i], text + m.left() + m.right() + 2 * l->margin() + 2 * kStatusPadding + 2);
}

void Tmain::sizeStatusBar()
{
    for (int i = 0; i < 6; ++i)
        if (i != 1) status_[i]->setFixedWidth(statusPanelWidth(i));
    // The hint panel stretches over what the others leave, at whatever width the window has later
    // and however long a progress message is; a minimum taken now would push the record/total
    // panels out of sight once the window is made narrower.
    status_[1]->setMinimumWidth(0);
    status_[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QWidget* Tmain::panel(int module) const
{
    const auto it = panels_.find(module);
    return it == panels_.end() ? nullptr : it->second;
}

QWidget* Tmain::workAreaWidget() const { return work_->currentWidget(); }

QAction* Tmain::menuAction(const std::string& text) const
{
    const auto it = actions_.find(text);
    return it == actions_.end() ? nullptr : it->second;
}

// --- the navigation's view -----------------------------------------------------------------------

void Tmain::workAreaChanged()
{
    // A panel lies over the desktop picture; with neither the area stays empty.
    if (QWidget* p = panel(nav_.visiblePanel())) {
        work_->setCurrentWidget(p);
    } else if (nav_.desktopVisible()) {
        // What is due may have changed in the pages the operator comes back from.
        if (work_->currentWidget() != desktop_) reminders_->refresh();
        work_->setCurrentWidget(desktop_);
    } else {
        work_->setCurrentWidget(empty_);
    }
}

void Tmain::printEntriesChanged(const std::vector<std::string>& shown)
{
    for (const std::string& entry : app::allPrintEntries())
        if (QAction* a = menuAction(entry)) a->setVisible(std::find(shown.begin(), shown.end(), entry) != shown.end());
}

void Tmain::fieldListsChanged(int module)
{
    const auto it = modulePanels_.find(module);
    if (it != modulePanels_.end()) it->second->setFieldLists(nav_.fieldLists(module));
}

bool Tmain::showPicture(const std::string& path) { return desktop_->loadPicture(q(path)); }

// JPEG first, then whatever else the picture reader of this installation can decode.
std::string Tmain::pictureFilter() const
{
    QStringList patterns = {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format);
        if (!patterns.contains(pattern)) patterns << pattern;
    }
    return QStringLiteral("图片文件 (%1)").arg(patterns.join(QLatin1Char(' '))).toStdString();
}

void Tmain::resetGridColumns(int module)
{
    const auto it = modulePanels_.find(module);
    if (it != modulePanels_.end()) it->second->resetColumns();
}

void Tmain::loadGridLayout(int module)
{
    if (shell::ModulePanel* p = modulePanel(module)) p->loadGridLayout();
}

// --- the query side of the pages -------------------------------------------------------------------

shell::ModulePanel* Tmain::modulePanel(int module) const
{
    const auto it = modulePanels_.find(module);
    return it == modulePanels_.end() ? nullptr : it->second;
}

void Tmain::treeChanged(int module)
{
    if (shell::ModulePanel* p = modulePanel(module)) p->showTree(queries_->trees().tree(module));
    else if (QWidget* other = panel(module))  // the statistics page shows the personnel tree as it is
        if (auto* tree = other->findChild<QTreeWidget*>(QStringLiteral("queryTree")))
            widgets::fillQueryTree(tree, queries_->trees().tree(module), false);
}

void Tmain::hintChanged(const std::string& text)
{
    status_[1]->setText(q(text));
    status_[1]->repaint();  // "正在查询数据....." shows before the search runs
}

void Tmain::sortShown(int module, const std::string& field, const std::string& order)
{
    if (shell::ModulePanel* p = modulePanel(module)) p->showSort(field, order);
}

void Tmain::treeWidthShown(int module, int width)
{
    if (shell::ModulePanel* p = modulePanel(module)) p->showTreeWidth(width);
}

void Tmain::searchFieldShown(int module, const std::string& name)
{
    if (shell::ModulePanel* p = modulePanel(module)) p->showSearchField(name);
}

// --- activation and close ------------------------------------------------------------------------

bool Tmain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowDeactivate) {
        // Back from a modal window, or from another program, is not a new activation.
        countNextActivation_ = QApplication::activeModalWidget() == nullptr && QApplication::activeWindow() != nullptr;
    } else if (e->type() == QEvent::WindowActivate) {
        if (!firstShown_ || countNextActivation_) {
            firstShown_ = true;
            countNextActivation_ = false;
            QTimer::singleShot(0, this, &Tmain::onActivate);
        }
    }
    return QMainWindow::event(e);
}

void Tmain::onActivate()
{
    if (!frame_.activate()) {
        closingWithoutCopy_ = true;
        showMinimized();
        close();
        return;
    }
    sizeStatusBar();
    // After the login, and whenever the operator comes back to the program, the desktop says what is due.
    if (work_->currentWidget() == desktop_) reminders_->refresh();
}

void Tmain::watchFileCheck()
{
    // A damaged file closes the program, but never under a window the operator is working in: the
    // outcome waits until the main window is in front again.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return;
    switch (frame_.fileCheck()) {
    case app::MainFrame::FileCheck::Running: return;
    case app::MainFrame::FileCheck::Damaged:
        fileCheckTimer_->stop();
        close();  // the close-time copy says what was found and the way back
        return;
    case app::MainFrame::FileCheck::Sound:
    case app::MainFrame::FileCheck::NotChecked: fileCheckTimer_->stop(); return;
    }
}

void Tmain::closeEvent(QCloseEvent* e)
{
    if (!closingWithoutCopy_) frame_.BeiFen_data();
    e->accept();
}

Tmain* mainWindowOf(QWidget* from)
{
    for (QWidget* w = from; w; w = w->parentWidget())
        if (auto* main = qobject_cast<Tmain*>(w)) return main;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<Tmain*>(w)) return main;
    return nullptr;
}

}  // namespace rsgz::shell
