#pragma once
#include <QDialog>

#include "exchange/ExportColumns.h"

class QListWidget;

namespace rsgz::exchange {

// The column chooser 选择导出字段. Behaviour: ExportColumns. Closing it in any way keeps the choice.
class Txzdczdw : public QDialog {
    Q_OBJECT
public:
    explicit Txzdczdw(ExportColumns& columns, QWidget* parent = nullptr);

private:
    void showChosen();
    ExportColumns& columns_;
    QListWidget* offered_ = nullptr;
    QListWidget* chosen_ = nullptr;
};

}  // namespace rsgz::exchange
