#include "print/windows/PrintRangeWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "print/PrintRange.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

PrintRangeWindow::PrintRangeWindow(std::string programDir, QWidget* parent)
    : QDialog(parent), programDir_(std::move(programDir))
{
    setWindowTitle(QStringLiteral("打印表格"));
    auto* group = new QGroupBox(QStringLiteral("打印范围"), this);
    auto* box = new QVBoxLayout(group);
    all_ = new QRadioButton(QStringLiteral("打印全部"), group);
    current_ = new QRadioButton(QStringLiteral("打印当前页"), group);
    range_ = new QRadioButton(QStringLiteral("选择范围"), group);
    current_->setChecked(true);
    from_ = new QLineEdit(QStringLiteral("1"), group);
    to_ = new QLineEdit(QStringLiteral("1"), group);
    from_->setObjectName(QStringLiteral("from"));
    to_->setObjectName(QStringLiteral("to"));
    for (QLineEdit* e : {from_, to_}) {
        e->setEnabled(false);
        e->setMaximumWidth(60);
    }
    box->addWidget(all_);
    box->addWidget(current_);
    auto* row = new QHBoxLayout;
    row->addWidget(range_);
    row->addWidget(new QLabel(QStringLiteral("从第"), group));
    row->addWidget(from_);
    row->addWidget(new QLabel(QStringLiteral("到"), group));
    row->addWidget(to_);
    row->addWidget(new QLabel(QStringLiteral("页"), group));
    row->addStretch();
    box->addLayout(row);
    connect(range_, &QRadioButton::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
        if (on) from_->setFocus();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(widgets::makeButtonRow(this, {{"confirm", "确认", [this] { confirm(); }},
                                           {"cancel", "取消", [this] { reject(); }}}));
    widgets::finishDialog(this);
}

void PrintRangeWindow::confirm()
{
    using K = print::PrintRange::Kind;
    const K kind = all_->isChecked() ? K::All : range_->isChecked() ? K::Range : K::Current;
    const print::RangeChoice choice = print::chooseRange(kind, from_->text().toStdString(), to_->text().toStdString());
    if (!choice.range) {
        app::interaction().showMessage(choice.message);
        from_->setFocus();
        return;
    }
    if (app::runAction([&] { print::writePrintRange(programDir_, *choice.range); })) accept();
}

void PrintRangeWindow::reject()
{
    print::removePrintRange(programDir_);
    QDialog::reject();
}

}  // namespace rsgz::print
