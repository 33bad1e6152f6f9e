#include "personnel/DictionaryEditor.h"

#include "app/TDM.h"
#include "db/DataSet.h"

namespace rsgz::personnel {

DictionaryEditor::DictionaryEditor(app::TDM& dm) : dm_(dm) {}

db::DataSet& DictionaryEditor::dataSet() { return dm_.zidian; }

void DictionaryEditor::add()
{
    if (!dm_.zidian.active()) return;
    dm_.zidian.append();
}

void deleteCurrentRow(db::DataSet& ds)
{
    if (!ds.active()) return;
    // A row being added goes without a question; with no rows there is nothing to delete.
    if (ds.state() != db::DataSet::State::Insert && ds.isEmpty()) return;
    ds.remove();
}

void DictionaryEditor::remove() { deleteCurrentRow(dm_.zidian); }

void DictionaryEditor::save()
{
    db::DataSet& ds = dm_.zidian;
    if (!ds.active()) return;
    ds.post();
    ds.applyUpdates();
    ds.close();
    ds.open();
}

void DictionaryEditor::close() { closed = true; }

}  // namespace rsgz::personnel
