#pragma once
#include <QDialog>

#include "app/DatePicker.h"

class QCalendarWidget;

namespace rsgz::personnel {

// The date picker 取得当前日期: a month calendar with 取消 and 确定; a double-click on a day is
// 确定. Its behaviour is DatePicker's; this class only binds the controls.
class Tgetdateww : public QDialog {
    Q_OBJECT
public:
    explicit Tgetdateww(app::TDM& dm, QWidget* parent = nullptr);
    QCalendarWidget* calendar() const { return calendar_; }

protected:
    void reject() override;

private:
    app::DatePicker picker_;
    QCalendarWidget* calendar_;
};

}  // namespace rsgz::personnel
