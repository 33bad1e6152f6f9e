#include "personnel/ListPickers.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {

void reopen(db::DataSet& ds, const char* statement)
{
    ds.close();
    ds.setSql(statement);
    ds.open();
}

}  // namespace

ArticlePicker::ArticlePicker(app::TDM& dm) : dm_(dm) { dm_.ArticlePicked = false; }

void ArticlePicker::activate() { reopen(dm_.wpdj, "select * from 物品登记"); }
void ArticlePicker::choose() { dm_.ArticlePicked = true; }
void ArticlePicker::cancel() { dm_.ArticlePicked = false; }

CoursePicker::CoursePicker(app::TDM& dm) : dm_(dm) { dm_.CoursePicked = false; }

void CoursePicker::activate() { reopen(dm_.pxkc, "select * from 培训课程"); }

void CoursePicker::add() { dm_.pxkc.append(); }

void CoursePicker::save()
{
    db::DataSet& ds = dm_.pxkc;
    if (ds.isEditing()) ds.post();
    if (ds.batchMode()) ds.applyUpdates();
    ds.requery();
}

void CoursePicker::remove()
{
    db::DataSet& ds = dm_.pxkc;
    if (ds.state() == db::DataSet::State::Insert) {
        ds.cancel();
        return;
    }
    if (ds.isEmpty()) return;
    if (courseHasAttendees(dm_, ds)) {
        app::interaction().showMessage("培训记录有数据，不能删除！");
        return;
    }
    ds.remove();  // the record rule asks first
}

void CoursePicker::choose()
{
    // A course still being typed is stored first, so the caller never links a course that is not there.
    if (dm_.pxkc.isEditing()) dm_.pxkc.post();
    dm_.CoursePicked = true;
}
void CoursePicker::cancel() { dm_.CoursePicked = false; }

bool courseHasAttendees(app::TDM& dm, const db::DataSet& courses)
{
    query::ListQuery q{{"select count(*) as n from 培训记录"}, {}, {}};
    q.where(query::Condition::equals("课程编号1", courses.value("课程编号"), db::FieldType::Text));
    db::DataSet& count = dm.s5;
    count.close();
    count.setSql(q.lines());
    count.open();
    const bool any = count.asInt("n") > 0;
    count.close();
    return any;
}

}  // namespace rsgz::personnel
