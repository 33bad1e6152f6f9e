#pragma once
#include <QDialog>

namespace rsgz::ui {

// 关于软件: the product title, its version and who makes it.
class Tgyrjw : public QDialog {
    Q_OBJECT
public:
    explicit Tgyrjw(QWidget* parent = nullptr);
};

}  // namespace rsgz::ui
