#include "personnel/windows/Tunitw.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "widgets/PickerFields.h"
#include "widgets/RecordFields.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tunitw::Tunitw(app::TDM& dm, const app::EditorSpec& setup, QWidget* parent)
    : widgets::RecordWindow(dm, setup, std::make_unique<app::RecordEditor>(dm, setup), parent), dm_(dm)
{
    std::vector<QComboBox*> after;
    for (const app::EditorField& f : setup.fields)
        if (f.kind == app::EditorFieldKind::Department) after.push_back(fields().box(f.column));
    if (!after.empty()) departments_ = new widgets::DepartmentBoxes(dm, after, this);
    if (setup.coursePanel) {
        auto* box = new QGroupBox(QStringLiteral("培训课程"), this);
        course_ = new QLabel(box);
        course_->setObjectName(QStringLiteral("coursePanel"));
        (new QVBoxLayout(box))->addWidget(course_);
        addBelow(box);
    }
}

Tunitw::~Tunitw() = default;

void Tunitw::showAfterStep()
{
    widgets::RecordWindow::showAfterStep();
    showDepartments();
    showCourse();
}

void Tunitw::showDepartments()
{
    if (!departments_) return;
    const db::DataSet& ds = editor().dataSet();
    app::DepartmentPath stored;
    for (int level = 1; level <= 3; ++level)
        stored[static_cast<size_t>(level - 1)] = ds.active() && ds.currentRow() >= 0
                                                     ? ds.asString(std::string("调动后") + app::departmentColumn(level))
                                                     : std::string();
    departments_->refresh(stored);
}

void Tunitw::showCourse()
{
    if (!course_) return;
    QStringList lines;
    const bool has = dm_.pxkc.active() && dm_.pxkc.currentRow() >= 0;
    for (const char* f : {"课程编号", "培训名称", "培训内容", "开始日期", "结束日期", "培训单位"})
        lines << QStringLiteral("%1：%2").arg(QString::fromUtf8(f), has ? q(dm_.pxkc.asString(f)) : QString());
    course_->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace rsgz::personnel
