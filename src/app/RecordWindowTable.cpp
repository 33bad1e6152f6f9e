#include "app/RecordWindowTable.h"

#include <algorithm>

#include "db/DataSet.h"

namespace rsgz::app {

std::vector<RecordButton> standardButtons()
{
    return {{"addButton", "增加", RecordStep::Add, {}},
            {"saveButton", "保存", RecordStep::Save, {}},
            {"deleteButton", "删除", RecordStep::Delete, {}},
            {"returnButton", "返回", RecordStep::Return, {}}};
}

std::string nextInOrder(const std::vector<std::string>& order, const std::string& column)
{
    const auto it = std::find(order.begin(), order.end(), column);
    if (it == order.end() || std::next(it) == order.end()) return column;
    return *std::next(it);
}

// A closed list does not move.
void RecordBehaviour::first() { if (dataSet().active()) dataSet().first(); }
void RecordBehaviour::prior() { if (dataSet().active()) dataSet().prior(); }
void RecordBehaviour::next() { if (dataSet().active()) dataSet().next(); }
void RecordBehaviour::last() { if (dataSet().active()) dataSet().last(); }
void RecordBehaviour::add() { dataSet().append(); }

void RecordBehaviour::save()
{
    db::DataSet& ds = dataSet();
    if (ds.isEditing()) ds.post();
}

void RecordBehaviour::remove() { dataSet().remove(); }

}  // namespace rsgz::app
