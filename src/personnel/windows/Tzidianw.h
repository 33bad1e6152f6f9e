#pragma once
#include <QDialog>
#include <functional>

#include "personnel/DictionaryEditor.h"

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The dictionary editor 字典管理: zidian (opened by the caller on one key) in an editable grid of
// 字段名称 and 字典内容. Its behaviour is DictionaryEditor's; this class only binds the controls.
class Tzidianw : public QDialog {
    Q_OBJECT
public:
    explicit Tzidianw(app::TDM& dm, QWidget* parent = nullptr);
    widgets::DataSetGrid* grid() const { return grid_; }

protected:
    void reject() override;

private:
    void run(const std::function<void()>& step);

    DictionaryEditor editor_;
    widgets::DataSetGrid* grid_;
};

}  // namespace rsgz::personnel
