#pragma once
#include <string>

#include "db/SqlText.h"

namespace rsgz::app {

// What a module's list writes into its field list file beside the program (set/…), which the
// combined query windows read.
enum class FieldFileContent {
    None,        // no file
    AllColumns,  // every column of the open list, 序号 and 编号 included
    SortList,    // the sort field list as shown (序号 and 编号 removed)
};

// The fixed particulars of one module of the main window: its list, its windows and how its list
// is opened. Modules 1 to 13; the system group has no entry.
struct ModuleInfo {
    int number = 0;
    std::string title;          // the panel title
    std::string dataSet;        // the shared dataset the panel's grid shows; empty when none
    std::string recordWindow;   // opened by a double-click on the grid; empty when none
    std::string queryWindow;    // opened by 多条件查询; empty when none
    std::string fieldFile;      // below set/; empty when none
    FieldFileContent fileContent = FieldFileContent::None;
    bool trimLists = true;      // drop 序号 and 编号 from the field lists and select the first name
    std::string sortShows;      // the sort field list shows this name instead of the first
    bool hasFieldLists = true;  // the list fills the search and sort field lists when it opens
    db::SqlLines sql;           // the list's statement; empty when the module's own page opens it
};

// The module's entry, or nullptr for 0 and numbers outside 1..13.
const ModuleInfo* findModule(int number);

// Modules 1 to 5, 7 and 8: one list with the common panel layout, opened once and then kept.
bool isRecordModule(int number);
// Modules 9 to 13, the payroll group.
bool isPayrollModule(int number);

}  // namespace rsgz::app
