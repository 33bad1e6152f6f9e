#include "exchange/ImportSession.h"
#include "app/Module.h"

#include "app/BackgroundWork.h"
#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/DbError.h"
#include "db/LatinCase.h"
#include "exchange/ImportCheck.h"

namespace rsgz::exchange {

namespace {

// Appends the checked rows to the employee list in batch mode and writes them in one transaction.
// Anything that fails on the way (a record rule, the disk) leaves the table and the list as before.
int appendRows(db::DataSet& ds, std::vector<ImportRow>& rows, const std::function<void(int)>& progress)
{
    const bool batch = ds.batchMode();
    ds.disableControls();
    ds.setBatchMode(true);
    int count = 0;
    try {
        for (ImportRow& row : rows) {
            ds.append();
            for (const auto& [item, v] : row) ds.setValue(item, v);
            ds.post();
            if (++count % 200 == 0) progress(count);
        }
        ds.applyUpdates();
    } catch (...) {
        if (ds.isEditing()) ds.cancel();
        ds.cancelUpdates();
        ds.setBatchMode(batch);
        ds.enableControls();
        ds.sendStatus();
        throw;
    }
    ds.setBatchMode(batch);
    ds.enableControls();
    // The last row posted is the current one; the status bar was last told while it was being
    // inserted ("-1/…").
    ds.sendStatus();
    return count;
}

// The engine's code for a write refused because the disk (or the database's size limit) is full.

}  // namespace

ImportSession::ImportSession(app::TDM& dm, std::unique_ptr<SourceFile> file, Kind kind)
    : dm_(dm), file_(std::move(file)), kind_(kind)
{
    if (!dm_.rszl.active()) dm_.rszl.open();
    for (std::string& name : dm_.rszl.fieldNames())
        if (!(kind_ == Kind::Excel && name == "序号")) items_.push_back(std::move(name));
}

ImportSession::~ImportSession() = default;

void ImportSession::chooseTable(const std::string& name)
{
    SourceTable t = file_->read(name);
    table_ = std::move(t);
    tableName_ = name;
    hasTable_ = true;
    premap();
}

void ImportSession::premap()
{
    boxes_.assign(table_.columns.size(), "0");
    for (size_t c = 0; c < table_.columns.size(); ++c)
        for (size_t i = 0; i < items_.size(); ++i)
            if (db::equalsIgnoringLatinCase(table_.columns[c], items_[i])) {
                boxes_[c] = std::to_string(i + 1);
                break;
            }
}

void ImportSession::setBox(size_t column, std::string text)
{
    if (column < boxes_.size()) boxes_[column] = std::move(text);
}

void ImportSession::tellProgress(int count)
{
    if (progress) progress("已经完成导入数据：" + std::to_string(count) + "条");
}

int ImportSession::importRows()
{
    app::Interaction& ui = app::interaction();
    // Whatever this run ends in, the status bar no longer tells of the last one.
    if (progress) progress("");
    // Importing adds employees: the right of the employee records, before anything is read.
    if (!app::runAction([this] { app::requireRight(dm_, "档案管理"); })) return 0;
    if (!hasTable_) {
        ui.showMessage("请先选择表文件！");
        return 0;
    }
    if (table_.columns.empty()) {
        ui.showMessage("数据表“" + tableName_ + "”是空的，没有可以导入的数据。");
        return 0;
    }
    bool mapped = false;
    for (const std::string& box : boxes_) mapped = mapped || mappingNumber(box, items_.size()) != 0;
    if (!mapped) {
        ui.showMessage("导入数据项目没有填写对应号码！\n在对应号中填入左边的数据库标准项目中的项目名称前面的序号");
        return 0;
    }
    ImportCheck check(dm_.DMADO, items_);
    const auto problems = check.run(table_, boxes_, [this](int n) {
        if (progress) progress("正在检查导入数据：" + std::to_string(n) + "条");
    });
    if (!problems.empty()) {
        ui.showMessage(problemNotice(problems));
        return 0;
    }
    int count = 0;
    try {
        count = appendRows(dm_.rszl, check.rows(), [this](int n) { tellProgress(n); });
    } catch (const db::Abort&) {
        ui.showMessage("没有导入任何数据。");  // the rule that refused has said why
        return 0;
    } catch (const db::DbError& e) {
        if (e.kind() == db::DbError::Kind::Full) ui.showMessage("磁盘空间不足，不能写入数据库文件“" + dm_.DMADO.path() + "”，没有导入任何数据。");
        else ui.showMessage(std::string("导入失败，没有导入任何数据：\n") + e.what());
        return 0;
    } catch (const std::exception& e) {
        ui.showMessage(std::string("导入失败，没有导入任何数据：\n") + e.what());
        return 0;
    }
    tellProgress(count);
    ui.showMessage("共完成" + std::to_string(count) + "条数据导入完成");
    return count;
}

std::unique_ptr<SourceFile> chooseImportFile(app::TDM& dm, ImportSession::Kind kind)
{
    if (dm.CurrentModule != app::Module::Personnel) return nullptr;
    const char* filter = kind == ImportSession::Kind::Access
                             ? "Microsoft Access 数据文件 (*.mdb *.accdb)"
                             : "Microsoft Excel 数据文件 (*.xls *.xlsx);;逗号分隔的文本文件 (*.csv)";
    const std::string path = app::interaction().openFileName("请选择一个数据库文件", filter);
    if (path.empty()) return nullptr;
    try {
        // A damaged file may keep its reader busy until it is stopped: the window paints meanwhile.
        return app::runWhileResponsive([&] {
            auto file = openSourceFile(path);
            file->tables();
            return file;
        });
    } catch (const std::exception& e) {
        app::interaction().showError(e.what());
        return nullptr;
    }
}

}  // namespace rsgz::exchange
