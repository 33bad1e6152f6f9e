#pragma once
#include "personnel/DetailLists.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// What the training window 员工培训管理 does: the courses (pxkc) and the attendees of the current
// course (pxjl1). The window Tpxglw only binds controls to it.
//
// While it exists the insert rule and the check before posting of pxjl1 are off, because this
// window fills the attendee rows itself; the destructor puts them back, so every way out of the
// window (返回主窗口, the close box, an error while it is open) restores them.
class TrainingManagement {
public:
    explicit TrainingManagement(app::TDM& dm);
    ~TrainingManagement();
    TrainingManagement(const TrainingManagement&) = delete;
    TrainingManagement& operator=(const TrainingManagement&) = delete;

    // The right 培训管理: every changing button, and typing in the course grid.
    bool mayChange() const;

    // Courses, positioned on the course of the main window's current training row, and its attendees
    // positioned on that row's employee.
    void activate();
    void courseMoved() { lists_.openDetails(); }           // after a navigator move
    void courseGridClicked() { lists_.gridClicked(); }     // re-reads the attendees only when the course changed

    void addCourse() { lists_.addMaster(); }
    void saveCourse() { lists_.saveMaster(); }
    void removeCourse();

    // 选择受培训人员: the picker, then one record per chosen employee (cost 0), all or none.
    void chooseAttendees();
    void saveAttendee() { lists_.saveDetail(); }
    void removeAttendee() { lists_.removeDetail(); }
    void removeAllAttendees() { removeAll(lists_.detail()); }

    // 返回主窗口 and the close box: a pending course is settled. False: stay open.
    bool close() { return lists_.close(); }

private:
    app::TDM& dm_;
    bool rulesWereOff_;
    MasterDetail lists_;
};

}  // namespace rsgz::personnel
