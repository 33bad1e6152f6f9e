#include "app/Navigation.h"
#include "app/Module.h"

#include <algorithm>
#include <map>

#include "app/DesktopPicture.h"
#include "app/Interaction.h"
#include "app/NavigationGroups.h"
#include "app/OtherClerks.h"
#include "app/PrintEntries.h"
#include "app/Product.h"
#include "app/TDM.h"

namespace rsgz::app {

namespace {

// Windows that the menu and the system group open by caption. Some are operations rather than
// windows (backup, restore …); they are reached the same way so that each can be plugged in alone.
const std::map<std::string, std::string>& windowEntries()
{
    static const std::map<std::string, std::string> entries = {
        {"导入EXCEL数据", "导入EXCEL数据"},
        {"导入ACCESS数据", "导入ACCESS数据"},
        {"导出EXCEL文件", "导出EXCEL文件"},
        {"数据库迁移", "数据库迁移"},
        {"工资等级及项目值设置", "工资项目及初始值设置"},
        {"关于软件", "关于软件"},
        {"打印员工档案表", "员工档案表格打印"},
        {"银行代发工资输出", "银行代发工资文件制作"},
        {"专项附加扣除及其他扣除", "个税扣除信息"},
        {"社保公积金缴费方案", "缴费方案设置"},
        {"社保公积金缴费基数", "缴费基数设置"},
        {"个税扣缴申报表", "扣缴申报"},
        {"个人所得税台账", "个人所得税台账"},
    };
    return entries;
}

// Menu entries that do what a button of the system group does.
const std::map<std::string, std::string>& menuButtons()
{
    static const std::map<std::string, std::string> entries = {
        {"备份数据库文件", "数据备份"}, {"恢复数据库文件", "数据恢复"}, {"压缩数据库文件", "压缩数据库"}};
    return entries;
}

bool isPrintEntry(const std::string& text)
{
    for (const std::string& e : allPrintEntries())
        if (e == text) return true;
    return false;
}

}  // namespace

Navigation::Navigation(TDM& dm) : dm_(dm), lists_(dm) {}

// --- navigation bar and menu ---------------------------------------------------------------------

void Navigation::button(const std::string& text)
{
    for (const NavigationGroup& g : navigationGroups())
        for (const NavigationButton& b : g.buttons)
            if (b.text == text && b.module != Module::None) return chooseModule(b.module);

    if (text == "到期提醒") return showReminders();
    if (text == "操作员设置") return systemWindow("权限管理", true);
    if (text == "基本资料管理") return systemWindow("基本资料设置", true);
    // The maintenance operations and the company window leave the panel that shows in place.
    if (text == "公司数据") return systemWindow("公司情况", false);
    if (text == "数据备份" || text == "数据恢复" || text == "数据初始化" || text == "压缩数据库")
        return systemWindow(text, false);
    // 月末处理 has nothing to do.
}

void Navigation::menuEntry(const std::string& text)
{
    if (const auto it = menuButtons().find(text); it != menuButtons().end()) return button(it->second);
    if (text == "批量修改人事资料一列字段内容") {
        if (dm_.CurrentModule == Module::Personnel) interaction().openWindow(app::WindowId::BatchChange);
        return;
    }
    if (text == "初始化表格显示") {
        if (dm_.CurrentModule == Module::Articles) view_->resetGridColumns(moduleNumber(Module::Articles));
        return;
    }
    if (text == "设置桌面背景图片") return chooseDesktopPicture();
    if (text == "访问软件技术支持网站") return openSupportSite();
    if (const auto it = windowEntries().find(text); it != windowEntries().end())
        return interaction().openWindow(it->second);
    // The table prints open the print preview of their own layout, named after the entry.
    if (isPrintEntry(text)) interaction().openWindow(text);
}

// Without a browser the address is still of use: the user can type it elsewhere.
void Navigation::openSupportSite()
{
    if (!interaction().openUrl(kSupportUrl))
        interaction().showMessage(std::string("无法打开浏览器。请访问软件技术支持网站：\n") + kSupportUrl);
}

void Navigation::groupChanged()
{
    SetNotVisible_Panel();
    setDesktop(true);
    clearStatus();
}

void Navigation::showReminders()
{
    SetNotVisible_Panel();
    setDesktop(true);
    clearStatus();
    if (hooks.showReminders) runAction(hooks.showReminders);
}

void Navigation::chooseModule(int module)
{
    if (isRecordModule(module)) chooseRecordModule(module);
    else if (module == Module::Statistics) chooseStatistics();
    else if (isPayrollModule(module)) choosePayrollModule(module);
}

void Navigation::chooseRecordModule(int module)
{
    SetNotVisible_Panel();
    setPanel(module);
    setModule(module);
    call(hooks.openSortSettings, module);
    SetPrintVisible();
    // A list is read once and then kept, with its position and the filter of its last query; on a
    // server it is read afresh for what other clerks wrote meanwhile.
    db::DataSet* ds = lists_.dataSet(module);
    if (!ds->active()) {
        openList(module);
        if (ds->active()) view_->loadGridLayout(module);
    } else {
        rereadForOtherClerks(*ds);
        if (fieldLists(module).empty()) {
            lists_.fillFromOpenList(module);
            view_->fieldListsChanged(module);
        }
    }
    call(hooks.loadQueryTree, module);
    setDesktop(false);
    writeStatus(module);
    call(hooks.applySortSettings, module);
}

void Navigation::chooseStatistics()
{
    SetNotVisible_Panel();
    setModule(moduleNumber(Module::Statistics));
    clearStatus();
    SetPrintVisible();
    runAction([this] { lists_.open(moduleNumber(Module::Statistics)); });
    call(hooks.loadQueryTree, moduleNumber(Module::Statistics));
    if (hooks.enterStatistics) runAction(hooks.enterStatistics);
    setPanel(moduleNumber(Module::Statistics));
    setDesktop(false);
}

void Navigation::choosePayrollModule(int module)
{
    SetNotVisible_Panel();
    setPanel(module);
    setModule(module);
    call(hooks.openSortSettings, module);
    SetPrintVisible();
    if (module != Module::PayrollSets) {
        call(hooks.loadQueryTree, module);
        setDesktop(false);
    }
    // The payroll lists are read afresh every time their module is chosen.
    if (const ModuleInfo* info = findModule(module); info && !info->sql.empty()) {
        // The set assignment and the piece and time lists: the list, then the page's own part.
        openList(module);
        writeStatus(module);
        call(hooks.openPayrollList, module);
        call(hooks.applySortSettings, module);
    } else {
        // Until the page's own list opens (and moves), the status is none of the previous module's.
        clearStatus();
        if (hooks.openPayrollList) runAction([&] { hooks.openPayrollList(module); });
    }
}

void Navigation::systemWindow(const std::string& caption, bool hidePanels)
{
    setModule(moduleNumber(Module::None));
    SetPrintVisible();
    if (hidePanels) {
        SetNotVisible_Panel();
        setDesktop(false);
        clearStatus();
    }
    interaction().openWindow(caption);
}

// --- frame operations ----------------------------------------------------------------------------

void Navigation::SetNotVisible_Panel() { setPanel(moduleNumber(Module::None)); }

void Navigation::SetPrintVisible()
{
    print_ = app::SetPrintVisible(dm_.CurrentModule);
    view_->printEntriesChanged(print_);
}

void Navigation::OpenImageStart()
{
    const std::string path = DesktopPicture(dm_.programDir()).load();
    if (!path.empty()) view_->showPicture(path);
}

void Navigation::chooseDesktopPicture()
{
    const std::string path = interaction().openFileName("选择桌面背景图片", view_->pictureFilter());
    if (path.empty()) return;
    view_->showPicture(path);
    runAction([&] { DesktopPicture(dm_.programDir()).choose(path); });
}

// --- module panels -------------------------------------------------------------------------------

void Navigation::browse(int module, Move move)
{
    db::DataSet* ds = lists_.dataSet(module);
    if (!ds || !ds->active()) return;
    runAction([&] {
        switch (move) {
        case Move::First: ds->first(); break;
        case Move::Prior: ds->prior(); break;
        case Move::Next: ds->next(); break;
        case Move::Last: ds->last(); break;
        }
    });
}

void Navigation::searchOneField(int module, const std::string& field, const std::string& text)
{
    if (hooks.searchOneField) {
        runAction([&] { hooks.searchOneField(module, field, text); });
        return;
    }
    db::DataSet* ds = lists_.dataSet(module);
    if (!ds || !ds->active() || text.empty() || !fieldLists(module).hasSearchField(field)) return;
    runAction([&] { ds->locate(field, db::Value(text), true, true); });
}

void Navigation::searchEmptyValue(int module, const std::string& field)
{
    if (hooks.searchEmptyValue) runAction([&] { hooks.searchEmptyValue(module, field); });
}

void Navigation::refreshList(int module)
{
    if (module != Module::Personnel && module != Module::Articles) return;
    openList(module);
}

void Navigation::openRecordWindow(int module)
{
    const ModuleInfo* info = findModule(module);
    if (!info || info->recordWindow.empty()) return;
    interaction().openWindow(info->recordWindow);
    if (module != Module::Training && module != Module::Articles) return;
    // What the window changed shows in the list only after a fresh read, which stays on the row the
    // user opened the window from (by its place: these lists carry no key of their own).
    db::DataSet* list = lists_.dataSet(module);
    const int row = list && list->active() ? list->currentRow() : -1;
    if (module == Module::Training) {
        runAction([this] {
            dm_.pxjl.close();
            dm_.pxjl.open();
        });
    } else {
        openList(moduleNumber(Module::Articles));
    }
    if (row > 0 && list->active() && list->recordCount() > 0)
        runAction([list, row] { list->moveToRow(std::min(row, list->recordCount() - 1)); });
}

void Navigation::openQueryWindow(int module)
{
    const ModuleInfo* info = findModule(module);
    if (info && !info->queryWindow.empty()) interaction().openWindow(info->queryWindow);
}

void Navigation::gridClicked(int module)
{
    if (module != Module::Training || !dm_.CourseChanged) return;
    if (hooks.reopenCourseRecords) runAction(hooks.reopenCourseRecords);
    dm_.CourseChanged = false;
}

void Navigation::treeMenu(int module, const std::string& entry)
{
    if (entry == "刷新查询列表") call(hooks.refreshQueryTree, module);
    else if (entry == "定义查询列表") interaction().openWindow(app::WindowId::QueryFields);
    else if (entry == "保存查询列表") call(hooks.saveQueryTree, module);
}

// --- helpers -------------------------------------------------------------------------------------

// A list that fails to open is reported in the error box; the panel stays with what the list holds.
void Navigation::openList(int module)
{
    const bool opened = runAction([&] { lists_.open(module); });
    if (!opened) return;
    for (int m = 1; m <= 13; ++m)
        if (lists_.dataSet(m) == lists_.dataSet(module)) view_->fieldListsChanged(m);
}

void Navigation::writeStatus(int module)
{
    const db::DataSet* ds = lists_.dataSet(module);
    if (ds && ds->active()) dm_.showStatus(ds->statusText());
}

// Panels without a list (and the desktop) show no status of the module shown before them.
void Navigation::clearStatus() { dm_.showStatus(""); }

void Navigation::setPanel(int module)
{
    if (panel_ == module) return;
    panel_ = module;
    view_->workAreaChanged();
}

void Navigation::setDesktop(bool visible)
{
    if (desktop_ == visible) return;
    desktop_ = visible;
    view_->workAreaChanged();
}

void Navigation::setModule(int module) { dm_.CurrentModule = module; }

void Navigation::call(const std::function<void(int)>& hook, int module) const
{
    if (hook) runAction([&] { hook(module); });
}

}  // namespace rsgz::app
