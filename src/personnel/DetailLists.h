#pragma once
// What the windows over a master list and its detail list share (courses and their attendees,
// evaluation items and their participants, articles and their issues): reading a list with its row
// numbers, storing a master row before details are linked to it, adding the employees chosen in the
// picker as one unit of work, and emptying a detail list row by row.
#include <functional>
#include <string>
#include <vector>

#include "db/DataSet.h"
#include "app/PendingRow.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// Closes the dataset, gives it the statement and opens it again with the row number 序号.
void reopenList(db::DataSet& ds, const db::SqlLines& sql);

// The master row's key as the detail rows store it; empty while there is no stored current row (an
// empty or closed list, or a row still being inserted).
std::string storedKey(const db::DataSet& master, const char* keyField);

// A detail row takes its master's key, so a master row still being typed is posted first. When the
// rules refuse it the refusal propagates and the caller adds nothing.
void postMasterFirst(db::DataSet& master);

// One employee of the picker's chosen list.
struct ChosenEmployee {
    std::string number;  // 员工编号
    std::string name;    // 姓名
};
// The picker's chosen list in its order (empty when the picker was cancelled).
std::vector<ChosenEmployee> chosenEmployees(const app::TDM& dm);

// Appends and posts one detail row per chosen employee in one transaction. fill sets the new row's
// employee fields. On a refusal or an error nothing is stored, the row being typed is dropped,
// reread() shows the list as it is stored, and the refusal or error propagates.
using FillChosen = std::function<void(db::DataSet&, const ChosenEmployee&)>;
void addForEach(app::TDM& dm, db::DataSet& detail, const std::vector<ChosenEmployee>& chosen, const FillChosen& fill,
                const std::function<void()>& reread);

// 删除下表全部记录: deletes from the first row on, each row after the dataset's own question. The run is
// bounded by the number of rows at its start and ends at the first refusal (an answer of 否
// propagates as the rule's silent abort) or error, or when a delete took no row away.
void removeAll(db::DataSet& detail);

// The common part of those windows: a master list, the detail list of its current row, the flag the
// master's scroll rule raises, and the steps every such window takes the same way.
class MasterDetail {
public:
    // detailSql gives the detail statement for the current master (it reads the master's stored key).
    MasterDetail(app::TDM& dm, db::DataSet& master, db::DataSet& detail, bool& movedFlag,
                 std::function<db::SqlLines()> detailSql);

    db::DataSet& master() const { return master_; }
    db::DataSet& detail() const { return detail_; }

    void openDetails();  // the current master's details; lowers the moved flag
    void gridClicked();  // re-reads the details only when the master moved since
    void addMaster();    // a new master with its defaults, and its (empty) detail list
    void saveMaster();   // posts, re-reads the masters and the details
    void removeMaster(); // abandons a new master or deletes the current one after its question

    // Stores a master still being typed, opens the picker and adds one detail per chosen employee,
    // all or none. Without any master: the notice, and false.
    bool addChosen(const std::string& noMaster, const std::string& picker, const FillChosen& fill);

    void saveDetail();    // posts a pending detail and re-reads
    void removeDetail();  // the current detail after its question
    bool close();         // a pending master settled; false: stay open

private:
    app::TDM& dm_;
    db::DataSet& master_;
    db::DataSet& detail_;
    bool& moved_;
    std::function<db::SqlLines()> detailSql_;
    app::PendingRow pending_;
};

}  // namespace rsgz::personnel
