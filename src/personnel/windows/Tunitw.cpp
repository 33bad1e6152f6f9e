#include "personnel/windows/Tunitw.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tunitw::Tunitw(app::TDM& dm, const app::EditorSpec& setup, QWidget* parent)
    : widgets::RecordWindow(dm, setup, std::make_unique<app::RecordEditor>(dm, setup), parent), dm_(dm)
{
    if (setup.coursePanel) {
        auto* box = new QGroupBox(QStringLiteral("培训课程"), this);
        course_ = new QLabel(box);
        course_->setObjectName(QStringLiteral("coursePanel"));
        (new QVBoxLayout(box))->addWidget(course_);
        addBelow(box);
    }
}

void Tunitw::showAfterStep()
{
    widgets::RecordWindow::showAfterStep();
    showCourse();
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
