#include "personnel/TrainingManagement.h"

#include "admin/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "personnel/ListPickers.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {
constexpr const char* kPickerCaption = "选择受培训人员";
}

TrainingManagement::TrainingManagement(app::TDM& dm) : dm_(dm), rulesWereOff_(dm.TrainingRulesOff)
{
    dm_.TrainingRulesOff = true;
}

TrainingManagement::~TrainingManagement() { dm_.TrainingRulesOff = rulesWereOff_; }

bool TrainingManagement::mayChange() const { return admin::hasRight(dm_, "培训管理"); }

void TrainingManagement::activate()
{
    const db::DataSet& list = dm_.pxjl;
    const bool onRow = list.active() && list.currentRow() >= 0;
    const db::Value course = onRow ? list.value("课程编号") : db::Value();
    const db::Value employee = onRow ? list.value("员工编号") : db::Value();

    reopenList(dm_.pxkc, {"select * from 培训课程"});
    if (!dm_.pxkc.locate("课程编号", course, false)) dm_.pxkc.last();
    openAttendees();
    dm_.pxjl1.locate("员工编号1", employee, false);
}

void TrainingManagement::openAttendees()
{
    query::ListQuery q{{"select * from 培训记录"}, {}, {}};
    q.where(query::Condition::equals("课程编号1", db::Value(storedKey(dm_.pxkc, "课程编号")), db::FieldType::Text));
    reopenList(dm_.pxjl1, q.lines());
    dm_.CourseChanged = false;
}

void TrainingManagement::courseMoved() { openAttendees(); }

void TrainingManagement::courseGridClicked()
{
    if (dm_.CourseChanged) openAttendees();
}

void TrainingManagement::addCourse()
{
    dm_.pxkc.append();
    if (dm_.pxkc.state() == db::DataSet::State::Insert) pendingCourse_.remember(dm_.pxkc);
    openAttendees();
}

void TrainingManagement::saveCourse()
{
    db::DataSet& courses = dm_.pxkc;
    if (!courses.active()) return;
    if (courses.isEditing()) courses.post();
    courses.requery();
    openAttendees();
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
    openAttendees();
}

void TrainingManagement::chooseAttendees()
{
    db::DataSet& courses = dm_.pxkc;
    if (!courses.active() || (courses.isEmpty() && !courses.isEditing())) {
        app::interaction().showMessage("无培训课程可选择！");
        return;
    }
    // A new course is stored before anybody is enrolled in it; refused, nobody is.
    if (courses.isEditing()) {
        postMasterFirst(courses);
        openAttendees();
    }
    app::interaction().openWindow(kPickerCaption);
    const std::string course = courses.asString("课程编号");
    addForEach(dm_, dm_.pxjl1, chosenEmployees(dm_),
               [&course](db::DataSet& row, const ChosenEmployee& e) {
                   row.setValue("员工编号1", e.number);
                   row.setValue("受培训人姓名", e.name);
                   row.setValue("培训费用", 0);
                   row.setValue("课程编号1", course);
               },
               [this] { openAttendees(); });
}

void TrainingManagement::saveAttendee()
{
    db::DataSet& attendees = dm_.pxjl1;
    if (!attendees.active()) return;
    if (attendees.isEditing()) attendees.post();
    attendees.requery();
}

void TrainingManagement::removeAttendee()
{
    db::DataSet& attendees = dm_.pxjl1;
    if (!attendees.active() || attendees.isEmpty()) return;
    attendees.remove();
}

void TrainingManagement::removeAllAttendees() { removeAll(dm_.pxjl1); }

bool TrainingManagement::close()
{
    return pendingCourse_.settle(dm_.pxkc, [this] { dm_.pxkc.post(); });
}

}  // namespace rsgz::personnel
