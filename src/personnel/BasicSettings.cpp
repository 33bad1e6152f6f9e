#include "personnel/BasicSettings.h"

#include "app/TDM.h"
#include "db/DataSet.h"
#include "personnel/DictionaryEditor.h"

namespace rsgz::personnel {

BasicSettings::BasicSettings(app::TDM& dm) : dm_(dm) {}

db::DataSet& BasicSettings::dataSet() { return dm_.jcsz; }

void BasicSettings::activate()
{
    open_jczl_data();
    if (keys.empty()) {
        // No key to show: the grid stays empty rather than showing every row of the table.
        selectedNode = -1;
        gridTitle.clear();
        dm_.jcsz.close();
        return;
    }
    clickNode(0);
}

void BasicSettings::open_jczl_data()
{
    db::DataSet& q = dm_.s1;
    q.close();
    // Each key once, in the order the keys were first entered (on any engine).
    q.setSql({"select 字段名称 from 数据字典", "where 字段名称 is not null", "and 字段名称 <>''", "group by 字段名称",
              "order by min(编号)"});
    q.open();
    keys.clear();
    const int key = q.fieldIndex("字段名称");
    for (int row = 0; row < q.rowCount(); ++row) keys.push_back(q.rowValue(row, key).toString());
    q.close();
}

void BasicSettings::clickNode(int node)
{
    if (node < 0 || node >= static_cast<int>(keys.size())) return;
    selectedNode = node;
    const std::string& key = keys[static_cast<size_t>(node)];
    db::DataSet& ds = dm_.jcsz;
    ds.close();
    ds.setSql({"select *  from 数据字典", "where 字段名称=" + db::sqlQuote(key)});
    ds.open();
    gridTitle = key;
    dm_.CurrentDictionaryKey = key;
}

void BasicSettings::add()
{
    if (selectedNode < 0 || !dm_.jcsz.active()) return;
    dm_.jcsz.append();
}

void BasicSettings::remove() { deleteCurrentRow(dm_.jcsz); }

void BasicSettings::save()
{
    db::DataSet& ds = dm_.jcsz;
    if (!ds.active()) return;
    ds.post();
    ds.requery();
}

}  // namespace rsgz::personnel
