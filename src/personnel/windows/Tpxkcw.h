#pragma once
#include <QDialog>

#include "personnel/ListPickers.h"

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The course picker 选择培训课程: the editable course list with its navigator, 增加, 保存, 删除,
// 确定 and 取消. Behaviour: CoursePicker.
class Tpxkcw : public QDialog {
    Q_OBJECT
public:
    explicit Tpxkcw(app::TDM& dm, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    CoursePicker picker_;
    widgets::DataSetGrid* grid_ = nullptr;
};

}  // namespace rsgz::personnel
