#include "print/ReportEngine.h"

#include <QFile>

#include "app/Interaction.h"
#include "print/ReportFile.h"

namespace rsgz::print {

void ReportEngine::setSource(ReportTable table, std::string title)
{
    table_ = std::move(table);
    title_ = std::move(title);
}

bool ReportEngine::loadOrStart(const std::string& path)
{
    const QString qpath = QString::fromStdString(path);
    if (!QFile::exists(qpath)) {
        startNewDefinition(def_);
        return true;
    }
    ReportFileResult r = loadReportDefinition(path);
    if (r.ok) {
        def_ = std::move(r.definition);
        return true;
    }
    // A damaged file must not block printing this grid for good: offer a new definition, and
    // keep the damaged file aside rather than writing over it unseen.
    if (!app::interaction().ask(r.error + "\n是否改用默认的报表定义？（原文件将改名为 .bad 保留）"))
        return false;
    QFile::remove(qpath + ".bad");
    if (!QFile::rename(qpath, qpath + ".bad")) {
        app::interaction().showError("无法将损坏的报表定义文件改名保留：" + path);
        return false;
    }
    startNewDefinition(def_);
    return true;
}

bool ReportEngine::save(const std::string& path) const
{
    const std::string err = saveReportDefinition(def_, path);
    if (err.empty())
        return true;
    app::interaction().showError("报表定义保存失败：" + path + "\n" + err);
    return false;
}

void ReportEngine::reset()
{
    def_ = defaultDefinition();
    table_ = {};
    title_.clear();
}

ReportEngine& reportEngine()
{
    static ReportEngine engine;
    return engine;
}

namespace {

bool runGrid(const db::DataSet& ds, const std::string& path, const std::string& title, app::WindowId window)
{
    ReportEngine& e = reportEngine();
    e.setSource(ReportTable::fromDataSet(ds), title);
    if (!e.loadOrStart(path))
        return false;
    app::interaction().openWindow(window);
    e.save(path);
    return true;
}

}  // namespace

bool previewGrid(const db::DataSet& ds, const std::string& definitionPath, const std::string& title)
{
    return runGrid(ds, definitionPath, title, app::WindowId::ReportPreview);
}

bool designGrid(const db::DataSet& ds, const std::string& definitionPath, const std::string& title)
{
    return runGrid(ds, definitionPath, title, app::WindowId::ReportDesigner);
}

}  // namespace rsgz::print
