#pragma once
#include <QDialog>

#include "personnel/ListPickers.h"

namespace rsgz::personnel {

// The article picker 选择物品: the list of registered articles with 取消, 确定 and 返回; a
// double-click on a row is a choice too. Behaviour: ArticlePicker.
class Tselectwpw : public QDialog {
    Q_OBJECT
public:
    explicit Tselectwpw(app::TDM& dm, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    void pick();
    ArticlePicker picker_;
};

}  // namespace rsgz::personnel
