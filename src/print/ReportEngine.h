#pragma once
#include <string>

#include "app/WindowId.h"

#include "print/ReportDefinition.h"
#include "print/ReportPages.h"
#include "print/ReportTable.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::print {

// The program's one report engine: the definition it holds (which outlives each print request,
// so a grid without a file of its own starts from the definition last loaded) and the grid it
// prints. The preview and designer windows work on this object.
class ReportEngine {
public:
    ReportDefinition& definition() { return def_; }
    const ReportDefinition& definition() const { return def_; }

    // The grid being printed: its rows in the dataset's current order, its columns as the field
    // choices of the designer.
    void setSource(ReportTable table, std::string title);
    const ReportTable& source() const { return table_; }
    const std::string& title() const { return title_; }

    // Loads the grid's definition file, or starts a new definition when there is none. A file
    // that cannot be read is told to the user, who may go on with a new definition (the damaged
    // file is kept beside it as .bad) or stop: false then, and nothing is saved.
    bool loadOrStart(const std::string& path);
    // Saves the definition whole; a failure is told to the user. False when it failed.
    bool save(const std::string& path) const;

    ReportLayout layout() const { return layoutReport(def_, table_); }

    // Back to the state at start (for tests and a new login).
    void reset();

private:
    ReportDefinition def_ = defaultDefinition();
    ReportTable table_;
    std::string title_;
};

ReportEngine& reportEngine();

// ---- What the employee window calls -------------------------------------------------------------
// Prints the rows of a sub-record grid through its definition file (baobiao/….dat):
//   previewGrid: takes the dataset's rows, loads the file or starts a new definition whose title
//     band reads "表格标题", opens the window "打印预览" through app::interaction().openWindow (it
//     does not block; 打印, PDF… and 退出 are in it) and saves the definition to the file.
//   designGrid: the same, but opens the designer "报表设置" (modal) and saves what the user set.
// Both return false when the request ended without a window (a damaged file the user would not
// replace); errors have then been told through app::interaction().
bool previewGrid(const db::DataSet& ds, const std::string& definitionPath, const std::string& title = {});
bool designGrid(const db::DataSet& ds, const std::string& definitionPath, const std::string& title = {});

// The captions of the two windows, as their identities name them.
inline const std::string& kPreviewCaption = app::windowCaption(app::WindowId::ReportPreview);
inline const std::string& kDesignerCaption = app::windowCaption(app::WindowId::ReportDesigner);

}  // namespace rsgz::print
