#include "widgets/PickerFields.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "app/Interaction.h"

namespace rsgz::widgets {

namespace {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(std::function<void()> action, QObject* parent) : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonDblClick) return QObject::eventFilter(watched, e);
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

}  // namespace

void setSuggestions(QComboBox* box, const std::vector<std::string>& items)
{
    QSignalBlocker block(box);
    const QString text = box->currentText();
    box->clear();
    for (const std::string& item : items) box->addItem(QString::fromStdString(item));
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void onDoubleClick(QWidget* w, std::function<void()> action)
{
    auto* filter = new DoubleClickFilter(std::move(action), w);
    auto* box = qobject_cast<QComboBox*>(w);
    if (box && box->lineEdit()) box->lineEdit()->installEventFilter(filter);
    else w->installEventFilter(filter);
}

DepartmentBoxes::DepartmentBoxes(app::TDM& dm, std::vector<QComboBox*> boxes, QObject* parent)
    : QObject(parent), cascade_(dm, static_cast<int>(boxes.size())), boxes_(std::move(boxes))
{
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const int level = static_cast<int>(i) + 1;
        QComboBox* box = boxes_[i];
        box->setEditable(true);
        connect(box, &QComboBox::editTextChanged, this, [this, level] {
            if (filling_) return;
            app::runAction([this, level] { cascade_.textChanged(level, shown()); });
            if (level < cascade_.depth()) showList(level + 1);
        });
        onDoubleClick(box, [this, level] { emit editorRequested(level); });
    }
}

void DepartmentBoxes::refresh(const app::DepartmentPath& stored)
{
    app::runAction([this, &stored] {
        cascade_.fillFirstLevel();
        cascade_.fillFromStored(stored);
    });
    for (int level = 1; level <= cascade_.depth(); ++level) showList(level);
}

app::DepartmentPath DepartmentBoxes::shown() const
{
    app::DepartmentPath path;
    for (size_t i = 0; i < boxes_.size(); ++i) path[i] = boxes_[i]->currentText().toStdString();
    return path;
}

void DepartmentBoxes::showList(int level)
{
    filling_ = true;
    setSuggestions(boxes_[static_cast<size_t>(level - 1)], cascade_.list(level));
    filling_ = false;
}

}  // namespace rsgz::widgets
