#include "shell/ExchangeWindows.h"

#include <optional>

#include "app/Progress.h"
#include "app/TDM.h"
#include "exchange/ExcelExport.h"
#include "exchange/windows/Tdrsjw.h"
#include "exchange/windows/Txzdczdw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {

void openImport(QWidget* parent, exchange::ImportSession::Kind kind)
{
    app::TDM& dm = app::DM();
    auto file = exchange::chooseImportFile(dm, kind);
    if (!file) return;
    exchange::Tdrsjw w(dm, std::move(file), kind, parent);
    w.exec();
}

// The chooser first; then, with columns chosen on the personnel page, the file, written while a
// progress window counts the rows.
void openExport(QWidget* parent)
{
    app::TDM& dm = app::DM();
    exchange::ExportColumns columns(exchange::ExportColumns::employeeColumns(dm));
    {
        exchange::Txzdczdw w(columns, parent);
        w.exec();
    }
    // The progress window opens only once rows are being written, never over the file dialog, and
    // is closed before anything is said about the result.
    std::optional<app::Progress> progress;
    exchange::exportEmployees(dm, columns.chosen(), [&](int rows) {
        if (!progress) progress.emplace("导出EXCEL文件", "正在导出数据……", dm.rszl.recordCount());
        progress->step(rows);
    }, [&] { progress.reset(); });
}

}  // namespace

void registerExchangeWindows()
{
    widgets::registerWindow(app::WindowId::ImportExcel, [](QWidget* parent) { openImport(parent, exchange::ImportSession::Kind::Excel); });
    widgets::registerWindow(app::WindowId::ImportAccess, [](QWidget* parent) { openImport(parent, exchange::ImportSession::Kind::Access); });
    widgets::registerWindow(app::WindowId::ExportExcel, openExport);
}

}  // namespace rsgz::shell
