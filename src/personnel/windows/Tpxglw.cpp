#include "personnel/windows/Tpxglw.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/DataSetGrid.h"
#include "widgets/ListGroup.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tpxglw::Tpxglw(app::TDM& dm, QWidget* parent) : widgets::RecordDialog(parent), training_(dm)
{
    setObjectName(QStringLiteral("Tpxglw"));
    setWindowTitle(QStringLiteral("员工培训管理"));
    const bool may = training_.mayChange();
    auto step = [this](void (TrainingManagement::*f)()) { return [this, f] { run([this, f] { (training_.*f)(); }); }; };

    widgets::ListGroup courses = widgets::makeListGroup(
        this, dm.pxkc,
        {QStringLiteral("培训课程记录"), QStringLiteral("courses"),
         {"序号", "培训名称", "培训内容", "开始日期", "结束日期", "培训单位", "培训总费用", "备注", "课程编号"}, may,
         [this] { training_.courseMoved(); }},
        {{"addCourse", "增加", [this] {
              run([this] { training_.addCourse(); });
              courses_->editCurrent(QStringLiteral("培训名称"));
          }},
         {"saveCourse", "保存", step(&TrainingManagement::saveCourse)},
         {"deleteCourse", "删除", step(&TrainingManagement::removeCourse)},
         {"returnButton", "返回主窗口", [this] { reject(); }}});
    courses_ = courses.grid;
    connect(courses_, &QAbstractItemView::clicked, this, [this] { run([this] { training_.courseGridClicked(); }); });

    widgets::ListGroup attendees = widgets::makeListGroup(
        this, dm.pxjl1,
        {QStringLiteral("参加培训人员记录"), QStringLiteral("attendees"), {"序号", "受培训人姓名", "培训结果", "培训费用", "培训备注"},
         false, {}},
        {{"saveAttendee", "保存", step(&TrainingManagement::saveAttendee)},
         {"deleteAttendee", "删除", step(&TrainingManagement::removeAttendee)},
         {"deleteAllAttendees", "删除下表全部记录", step(&TrainingManagement::removeAllAttendees)},
         {"chooseAttendees", "选择受培训人员", step(&TrainingManagement::chooseAttendees)}});

    widgets::enableButtons(this, {"addCourse", "saveCourse", "deleteCourse", "saveAttendee", "deleteAttendee",
                             "deleteAllAttendees", "chooseAttendees"},
                      may);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(courses.box, 1);
    layout->addWidget(attendees.box, 1);
    widgets::finishListDialog(this, 900, 640);
}

void Tpxglw::activateOnce()
{
    run([this] { training_.activate(); });
}

bool Tpxglw::leave() { return training_.close(); }

}  // namespace rsgz::personnel
