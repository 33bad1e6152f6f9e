#pragma once
#include <QDialog>

#include "print/CardDefinitionForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace rsgz::print {

// The definition window of the record card 定义订单打印内容: the items of each group, their fonts,
// the paper, margins, offsets, résumé box and the ruling lines. Every value goes into the
// definition as it changes; 保存 writes the file.
class Tdyddw : public QDialog {
    Q_OBJECT
public:
    Tdyddw(app::TDM& dm, CardDefinition& def, QWidget* parent = nullptr);
    CardDefinitionForm& form() { return form_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* buildLists();
    QWidget* buildSettings();
    QWidget* buildLines(bool horizontal);
    void showLists();
    void showFont();
    void chooseFont(bool forAllOther);
    void showLine(bool horizontal);
    QSpinBox* spin(const char* name, int min, int max, int step, int value, std::function<void(int)> store);

    CardDefinitionForm form_;
    CardDefinition& def_;
    QListWidget* groups_ = nullptr;
    QListWidget* fields_ = nullptr;
    QListWidget* chosen_ = nullptr;
    QLineEdit* fontName_ = nullptr;
    QLineEdit* fontSize_ = nullptr;
    QLineEdit* entry_ = nullptr;
    QComboBox* paper_ = nullptr;
    QSpinBox* paperWidth_ = nullptr;
    QSpinBox* paperHeight_ = nullptr;
    struct LineRow {
        QSpinBox* count = nullptr;
        QSpinBox* number = nullptr;
        QSpinBox* coords[4] = {};
    } lines_[2];  // 0 horizontal, 1 vertical
    bool showing_ = false;
};

}  // namespace rsgz::print
