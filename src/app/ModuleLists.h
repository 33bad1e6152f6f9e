#pragma once
#include <map>
#include <string>

#include "app/FieldLists.h"
#include "app/ModuleInfo.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::app {

class TDM;

// Opens the module lists of the main window and keeps the field lists each opening fills. Lists
// are kept per dataset, so the personnel records and the payroll-set assignment (both on rszl)
// share theirs.
class ModuleLists {
public:
    explicit ModuleLists(TDM& dm) : dm_(dm) {}

    // The module's dataset, or nullptr when the module has none.
    db::DataSet* dataSet(int module) const;
    // Closes the list, gives it the module's statement, opens it, fills the field lists and writes
    // the field list file. Database and file errors are thrown to the caller.
    void open(int module);
    // Fills the field lists from a list that something else opened, without writing a file.
    void fillFromOpenList(int module);

    const FieldLists& fieldLists(int module) const;
    // The list's field list file path, empty when the module has none.
    std::string fieldFilePath(int module) const;

private:
    FieldLists makeLists(const ModuleInfo& info, const db::DataSet& ds) const;
    void writeFieldFile(const ModuleInfo& info, const db::DataSet& ds, const FieldLists& lists) const;

    TDM& dm_;
    std::map<std::string, FieldLists> lists_;  // by dataset name
};

}  // namespace rsgz::app
