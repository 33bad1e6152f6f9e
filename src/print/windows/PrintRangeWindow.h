#pragma once
#include <QDialog>
#include <string>

class QLineEdit;
class QRadioButton;

namespace rsgz::print {

// 打印表格: which pages the preview prints. 确认 writes set/printPage; 取消 and closing the window
// remove it, so nothing is printed.
class PrintRangeWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintRangeWindow(std::string programDir, QWidget* parent = nullptr);
    void confirm();  // 确认
    void reject() override;

private:
    std::string programDir_;
    QRadioButton *all_ = nullptr, *current_ = nullptr, *range_ = nullptr;
    QLineEdit *from_ = nullptr, *to_ = nullptr;
};

}  // namespace rsgz::print
