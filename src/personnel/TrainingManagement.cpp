#include "personnel/TrainingManagement.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "personnel/ListPickers.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {
constexpr const char* kPickerCaption = "选择受培训人员";

// The attendees of the current course: a new course has no number yet and shows nobody.
db::SqlLines attendeesSql(const db::DataSet& courses)
{
    query::ListQuery q{{"select * from 培训记录"}, {}, {}};
    q.where(query::Condition::equals("课程编号1", db::Value(storedKey(courses, "课程编号")), db::FieldType::Text));
    return q.lines();
}

}  // namespace

TrainingManagement::TrainingManagement(app::TDM& dm)
    : dm_(dm), rulesWereOff_(dm.TrainingRulesOff),
      lists_(dm, dm.pxkc, dm.pxjl1, dm.CourseChanged, [&dm] { return attendeesSql(dm.pxkc); })
{
    dm_.TrainingRulesOff = true;
}

TrainingManagement::~TrainingManagement() { dm_.TrainingRulesOff = rulesWereOff_; }

bool TrainingManagement::mayChange() const { return app::hasRight(dm_, "培训管理"); }

void TrainingManagement::activate()
{
    const db::DataSet& list = dm_.pxjl;
    const bool onRow = list.active() && list.currentRow() >= 0;
    const db::Value course = onRow ? list.value("课程编号") : db::Value();
    const db::Value employee = onRow ? list.value("员工编号") : db::Value();

    reopenList(dm_.pxkc, {"select * from 培训课程"});
    if (!dm_.pxkc.locate("课程编号", course, false)) dm_.pxkc.last();
    lists_.openDetails();
    dm_.pxjl1.locate("员工编号1", employee, false);
}

void TrainingManagement::removeCourse()
{
    db::DataSet& courses = dm_.pxkc;
    if (!courses.active()) return;
    if (courses.state() == db::DataSet::State::Insert) {
        courses.cancel();
    } else if (!courses.isEmpty()) {
        courses.cancel();
        // The attendees' records name the course by its number: it stays while any exists.
        if (courseHasAttendees(dm_, courses)) {
            app::interaction().showMessage("培训记录有数据，不能删除！");
            return;
        }
        courses.remove();  // after the question
    }
    lists_.openDetails();
}

void TrainingManagement::chooseAttendees()
{
    lists_.addChosen("无培训课程可选择！", kPickerCaption, [this](db::DataSet& row, const ChosenEmployee& e) {
        row.setValue("员工编号1", e.number);
        row.setValue("受培训人姓名", e.name);
        row.setValue("培训费用", 0);
        row.setValue("课程编号1", dm_.pxkc.value("课程编号"));
    });
}

}  // namespace rsgz::personnel
