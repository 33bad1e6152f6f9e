#include "admin/windows/Tmewindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/WindowStyle.h"

namespace rsgz::admin {

Tmewindow::Tmewindow(app::TDM& dm, QWidget* parent) : QDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tmewindow"));
    setWindowTitle(QStringLiteral("公司情况"));

    auto* fields = new QFormLayout;
    const std::vector<std::string>& columns = companyFields();
    for (size_t i = 0; i < columns.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("field%1").arg(i + 1));
        edit->setMinimumWidth(320);
        if (const int width = form_.maxLength(static_cast<int>(i)); width > 0) edit->setMaxLength(width);
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& t) { form_.values[i] = t.toStdString(); });
        connect(edit, &QLineEdit::returnPressed, this, [this, i] {
            const size_t next = static_cast<size_t>(form_.nextField(static_cast<int>(i)));
            if (next != i) edits_[next]->setFocus();
        });
        fields->addRow(QString::fromStdString(columns[i]), edit);
        edits_.push_back(edit);
    }

    auto* saveButton = new QPushButton(QStringLiteral("保存"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    auto* returnButton = new QPushButton(QStringLiteral("返回"), this);
    returnButton->setObjectName(QStringLiteral("returnButton"));
    for (QPushButton* b : {saveButton, returnButton}) b->setAutoDefault(false);  // Enter belongs to the fields
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(returnButton, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(returnButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    showForm();
    widgets::finishDialog(this);
}

void Tmewindow::showForm()
{
    for (size_t i = 0; i < edits_.size(); ++i) edits_[i]->setText(QString::fromStdString(form_.values[i]));
}

void Tmewindow::save()
{
    if (form_.save()) showForm();
}

void Tmewindow::reject()
{
    form_.close();
    QDialog::reject();
}

void openCompanyWindow(app::TDM& dm, QWidget* parent, const std::function<void()>& frameSteps)
{
    enterCompanyWindow(dm, frameSteps);
    Tmewindow w(dm, parent);
    w.exec();
}

}  // namespace rsgz::admin
