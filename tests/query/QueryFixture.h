#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Navigation.h"
#include "app/TDM.h"
#include "db/Gbk.h"
#include "query/QueryPages.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace rsgz::test {

// What the pages tell their window, recorded.
class RecordingQueryView : public query::QueryPagesView {
public:
    std::vector<std::string> hints;
    std::map<int, std::pair<std::string, std::string>> sorts;
    std::map<int, int> widths;
    std::map<int, std::string> searchFields;
    void hintChanged(const std::string& t) override { hints.push_back(t); }
    void sortShown(int m, const std::string& f, const std::string& o) override { sorts[m] = {f, o}; }
    void treeWidthShown(int m, int w) override { widths[m] = w; }
    void searchFieldShown(int m, const std::string& n) override { searchFields[m] = n; }
};

// A program with a live database, the record rules, the navigation and the query side of the pages
// plugged into it, and a scripted user; on the file and on the server.
class QueryFixture : public OnBothEngines {
protected:
    QueryFixture() { pages.setView(&view); }

    // One employee; columns by name, each value quoted as text (the column's affinity stores numbers
    // and dates as the program does).
    void addEmployee(const std::map<std::string, std::string>& values)
    {
        std::string columns, literals;
        for (const auto& [c, v] : values) {
            columns += (columns.empty() ? "" : ",") + c;
            literals += (literals.empty() ? "" : ",") + db::sqlQuote(v);
        }
        dm.DMADO.exec("insert into 员工基本情况 (" + columns + ") values (" + literals + ")");
    }
    void writeLines(const std::string& relative, const std::vector<std::string>& lines)
    {
        db::writeSettingsLines(program.path(relative), lines);
    }
    std::vector<std::string> column(const std::string& field)
    {
        std::vector<std::string> values;
        db::DataSet& ds = *pages.queries().dataSet(dm.CurrentModule);
        for (ds.first(); !ds.eof(); ds.next()) values.push_back(ds.asString(field));
        return values;
    }

    ProgramLayout program{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = program.dm();
    app::Navigation& nav = program.frame().navigation();
    ScriptedInteraction user;
    query::QueryPages pages{dm, nav};
    RecordingQueryView view;
};

}  // namespace rsgz::test
