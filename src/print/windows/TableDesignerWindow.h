#pragma once
#include <QDialog>
#include <vector>

#include "print/TableDesigner.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace rsgz::print {

// 表格设计窗口: paper and margins, page titles, row height and options, and the printed columns
// with their headers, fonts, alignment, width, format and sum flag. Every change goes into the
// layout at once; 返回 refuses a layout that leaves no room for a row.
class TableDesignerWindow : public QDialog {
    Q_OBJECT
public:
    TableDesignerWindow(print::TableLayout& layout, std::vector<std::string> items, QWidget* parent = nullptr);

    print::TableDesigner& designer() { return designer_; }
    QListWidget* titleList() const { return titles_; }
    QListWidget* printList() const { return printed_; }
    void reject() override;  // 返回 and closing the window

private:
    QWidget* buildPage();
    QWidget* buildTable();
    QWidget* buildItems();
    QWidget* buildColumn();
    void numberBox(QLineEdit* box, int& field);
    void fillPrinted(int select);
    void showColumn();
    void showTitle();
    print::TableColumn* column();
    void chooseFont(print::TableFont& font, QPushButton* sample);
    void addColumn(const QString& item);
    void addSelected();

    print::TableLayout& layout_;
    print::TableDesigner designer_;
    bool filling_ = false;
    QListWidget *titles_ = nullptr, *all_ = nullptr, *printed_ = nullptr;
    QLineEdit* titleText_ = nullptr;
    QPushButton *titleFont_ = nullptr, *headerFont_ = nullptr, *dataFont_ = nullptr;
    QLineEdit *itemName_ = nullptr, *format_ = nullptr, *width_ = nullptr, *header_ = nullptr;
    QComboBox *dataAlign_ = nullptr, *headerAlign_ = nullptr;
    QCheckBox* sum_ = nullptr;
};

}  // namespace rsgz::print
