#include "payroll/SetAssignment.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"

namespace rsgz::payroll {

using db::DataSet;

void SetAssignment::get_gzzt_field()
{
    sets.clear();
    app::runAction([this] {
        db::BoundStatement names(dm_.DMADO, "select 帐套名称 from 帐套 order by 编号");
        while (names.step()) sets.push_back(names.textOrEmpty(0));
    });
}

bool SetAssignment::assign(const std::string& set)
{
    if (std::find(sets.begin(), sets.end(), set) == sets.end()) return false;
    DataSet& list = dm_.rszl;
    if (!list.active()) return false;
    return app::runAction([&] {
        app::requireRight(dm_, "员工帐套设定");
        if (list.isEditing()) list.post();
        const int key = list.fieldIndex("编号");
        std::vector<int64_t> keys;
        for (int r = 0; r < list.recordCount(); ++r) keys.push_back(list.rowValue(r, key).toInt());
        dm_.Show_Tishi_windows2("将 " + std::to_string(keys.size()) + " 名员工设为帐套 " + set + "?");
        if (dm_.PromptAnswer != 1) db::abortSilently();
        {
            db::Transaction t(dm_.DMADO);
            db::BoundStatement update(dm_.DMADO, "update 员工基本情况 set 工资帐套名称=? where 编号=?");
            for (int64_t k : keys) update.bind(1, std::string_view(set)).bind(2, k).run();
            t.commit();
        }
        // The list again on its unchanged statement, so the grid shows the new set at once.
        list.close();
        list.open();
    });
}

}  // namespace rsgz::payroll
