#pragma once
#include <QDialog>

class QLabel;

namespace rsgz::widgets {

// The notice window 软件提示: the text in red and one button 确定.
class Tjdtsw : public QDialog {
    Q_OBJECT
public:
    explicit Tjdtsw(const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QLabel* label_;
};

}  // namespace rsgz::widgets
