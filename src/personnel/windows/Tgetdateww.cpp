#include "personnel/windows/Tgetdateww.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tgetdateww::Tgetdateww(app::TDM& dm, QWidget* parent) : QDialog(parent), picker_(dm)
{
    setObjectName(QStringLiteral("Tgetdateww"));
    setWindowTitle(QStringLiteral("取得当前日期"));
    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("calendar"));
    calendar_->setGridVisible(true);
    calendar_->setLocale(QLocale(QLocale::Chinese, QLocale::China));  // the program speaks Chinese everywhere
    calendar_->setSelectedDate(picker_.today());
    // activated: a double-click on a day, or Enter.
    connect(calendar_, &QCalendarWidget::activated, this, [this](QDate date) {
        picker_.choose(date);
        accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    auto* buttons = widgets::makeButtonRow(this, {
        {"cancelButton", "取消", [this] { reject(); }},
        {"okButton", "确定", [this] {
             picker_.choose(calendar_->selectedDate());
             accept();
         }},
    });
    buttons->insertStretch(0);
    layout->addLayout(buttons);
    widgets::finishDialog(this);
}

void Tgetdateww::reject()
{
    picker_.cancel();
    QDialog::reject();
}

}  // namespace rsgz::personnel
