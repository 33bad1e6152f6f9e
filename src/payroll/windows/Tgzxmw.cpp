#include "payroll/windows/Tgzxmw.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/GridLink.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

// The fields in the order Enter walks through them.
constexpr const char* kFields[] = {"工资代码", "工资项目", "初始值", "是否所得税", "个税关联", "个税起征点", "计算公式"};

void setItems(QComboBox* box, const std::vector<std::string>& items)
{
    QStringList list;
    for (const std::string& s : items) list << q(s);
    const QString text = box->currentText();
    box->blockSignals(true);
    box->clear();
    box->addItems(list);
    box->setCurrentText(text);
    box->blockSignals(false);
}
}  // namespace

Tgzxmw::Tgzxmw(app::TDM& dm, QWidget* parent) : QDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tgzxmw"));
    setWindowTitle(QStringLiteral("工资项目设定"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    layout->addWidget(buildButtons());
    ui::finishDialog(this);
}

QComboBox* Tgzxmw::addCombo(const char* name, bool editable)
{
    auto* box = new QComboBox(this);
    box->setEditable(editable);
    const std::string field = name;
    if (editable)
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, field](const QString& t) { form_.setField(field, t.toStdString()); });
    connect(box, &QComboBox::activated, this, [this, field, box] {
        form_.setField(field, box->currentText().toStdString());
        showForm();
    });
    fields_[name] = box;
    return box;
}

QLineEdit* Tgzxmw::addEdit(const char* name)
{
    auto* edit = new QLineEdit(this);
    const std::string field = name;
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& t) { form_.setField(field, t.toStdString()); });
    fields_[name] = edit;
    return edit;
}

QWidget* Tgzxmw::buildFields()
{
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    addCombo("工资代码", true);
    nameBox_ = addCombo("工资项目", true);
    addEdit("初始值");
    auto* tax = addCombo("是否所得税", false);
    tax->addItems({QStringLiteral("否"), QStringLiteral("是")});
    linkBox_ = addCombo("个税关联", true);
    threshold_ = addEdit("个税起征点");
    QLineEdit* formula = addEdit("计算公式");
    formula->setMinimumWidth(360);
    setItems(static_cast<QComboBox*>(fields_["工资代码"]), form_.codeChoices);
    for (const char* name : kFields) {
        fields_[name]->setObjectName(QString::fromUtf8(name));
        form->addRow(QString::fromUtf8(name), fields_[name]);
    }
    // Enter moves along the fields and from the formula to 保存.
    for (size_t i = 0; i + 1 < std::size(kFields); ++i) {
        QWidget* next = fields_[kFields[i + 1]];
        if (auto* e = qobject_cast<QLineEdit*>(fields_[kFields[i]]))
            connect(e, &QLineEdit::returnPressed, next, [next] { next->setFocus(); });
        else if (auto* c = qobject_cast<QComboBox*>(fields_[kFields[i]]); c && c->lineEdit())
            connect(c->lineEdit(), &QLineEdit::returnPressed, next, [next] { next->setFocus(); });
    }
    return box;
}

QWidget* Tgzxmw::buildButtons()
{
    auto* bar = new QWidget(this);
    auto* column = new QVBoxLayout(bar);
    column->setContentsMargins(0, 0, 0, 0);
    auto* navigator = new QHBoxLayout;
    ui::addNavigatorButtons(navigator, bar, {"第一个记录", "前一个记录", "后一个记录", "最后一个记录"},
                            {[this] { run(&ItemForm::first); }, [this] { run(&ItemForm::prior); },
                             [this] { run(&ItemForm::next); }, [this] { run(&ItemForm::last); }});
    navigator->addStretch();
    column->addLayout(navigator);

    auto* row = new QHBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"添加", [this] { run(&ItemForm::add); }},
        {"删除", [this] { run(&ItemForm::remove); }},
        {"保存", [this] { form_.save(), showForm(); }},
        {"验证公式", [this] { form_.checkFormula(), showForm(); }},
        {"所得税设置", [this] { app::interaction().openWindow("所得税设置"); }},
        {"取消", [this] { reject(); }},
        {"返回", [this] { reject(); }},
    };
    for (const auto& [text, action] : actions) {
        auto* b = new QPushButton(QString::fromUtf8(text), bar);
        b->setObjectName(QString::fromUtf8(text));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons_[text] = b;
        row->addWidget(b);
    }
    column->addLayout(row);
    return bar;
}

void Tgzxmw::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_) return;
    activated_ = true;
    form_.activate();
    showForm();
}

void Tgzxmw::run(void (ItemForm::*step)())
{
    (form_.*step)();
    showForm();
}

void Tgzxmw::showForm()
{
    setItems(nameBox_, form_.nameChoices);
    setItems(linkBox_, form_.taxLinkChoices);
    for (const auto& [name, widget] : fields_) {
        const QString value = q(form_.field(name));
        if (auto* e = qobject_cast<QLineEdit*>(widget)) {
            if (e->text() != value) e->setText(value);
        } else if (auto* c = static_cast<QComboBox*>(widget); c->currentText() != value) {
            c->blockSignals(true);
            c->setCurrentText(value);
            c->blockSignals(false);
        }
    }
    // The threshold and the link belong to the tax item only.
    const bool tax = form_.taxFieldsEditable;
    threshold_->setReadOnly(!tax);
    threshold_->setStyleSheet(tax ? QString() : QStringLiteral("background: palette(button);"));
    linkBox_->setEnabled(tax);
    const bool manage = form_.mayManage();
    for (const char* name : {"保存", "取消", "验证公式"}) buttons_[name]->setEnabled(manage);
    buttons_["所得税设置"]->setEnabled(manage && tax);
}

void Tgzxmw::reject()
{
    form_.close();
    QDialog::reject();
}

}  // namespace rsgz::payroll
