#include "ui/ExchangeWindows.h"

#include <QApplication>
#include <QProgressDialog>
#include <memory>

#include "app/TDM.h"
#include "exchange/ExcelExport.h"
#include "exchange/Tdrsjw.h"
#include "exchange/Txzdczdw.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

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
// progress window counts the rows; the window closes before the notice of how it went.
void openExport(QWidget* parent)
{
    app::TDM& dm = app::DM();
    exchange::ExportColumns columns(exchange::ExportColumns::employeeColumns(dm));
    {
        exchange::Txzdczdw w(columns, parent);
        w.exec();
    }
    // The progress window is made only once rows are being written, never over the file dialog.
    std::unique_ptr<QProgressDialog> progress;
    exchange::exportEmployees(dm, columns.chosen(), [&](int rows) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("正在导出数据……"), QString(), 0,
                                                         dm.rszl.recordCount(), parent);
            progress->setWindowTitle(QStringLiteral("导出EXCEL文件"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
        }
        progress->setValue(rows);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }, [&] { progress.reset(); });  // closed before the notice that the export finished or failed
}

}  // namespace

void registerExchangeWindows()
{
    registerWindow("导入EXCEL数据", [](QWidget* parent) { openImport(parent, exchange::ImportSession::Kind::Excel); });
    registerWindow("导入ACCESS数据", [](QWidget* parent) { openImport(parent, exchange::ImportSession::Kind::Access); });
    registerWindow("导出EXCEL文件", openExport);
}

}  // namespace rsgz::ui
