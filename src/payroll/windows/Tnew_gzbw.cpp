#include "payroll/windows/Tnew_gzbw.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

Tnew_gzbw::Tnew_gzbw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tnew_gzbw"));
    setWindowTitle(QStringLiteral("生成新工资表"));
    set_ = new QComboBox(this);
    set_->setObjectName(QStringLiteral("setBox"));
    set_->setMinimumWidth(200);
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("yearBox"));
    year_->setRange(2006, 2050);
    month_ = new QSpinBox(this);
    month_->setObjectName(QStringLiteral("monthBox"));
    month_->setRange(1, 12);
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("modeBox"));
    mode_->addItems({QStringLiteral("复制上月工资数据"), QStringLiteral("复制帐套中的初始数据")});

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("工资帐套"), set_);
    fields->addRow(QStringLiteral("年度"), year_);
    fields->addRow(QStringLiteral("月份"), month_);
    fields->addRow(QStringLiteral("生成方式"), mode_);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, void (NewMonthForm::*)()> actions[] = {
        {"生成工资表", &NewMonthForm::generate},
        {"同步员工数据", &NewMonthForm::synchronise},
        {"删除工资表", &NewMonthForm::removeMonth}};
    for (const auto& [text, step] : actions) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromUtf8(text));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, step = step] {
            takeControls();
            setEnabled(false);
            (form_.*step)();
            setEnabled(true);
        });
        buttons->addWidget(b);
    }
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("返回"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(back);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    auto* hint = new QLabel(QStringLiteral("提示"), status);
    hint->setFrameShape(QFrame::Panel);
    hint->setFrameShadow(QFrame::Sunken);
    progress_ = new QLabel(status);
    progress_->setObjectName(QStringLiteral("progressText"));
    progress_->setFrameShape(QFrame::Panel);
    progress_->setFrameShadow(QFrame::Sunken);
    status->addWidget(hint);
    status->addWidget(progress_, 1);
    // The share done shows while the work runs: the status bar is repainted at once, and the
    // window handles its paint events so it never looks frozen for long.
    form_.onProgress = [this](const std::string& text) {
        progress_->setText(QString::fromStdString(text));
        progress_->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(status);
    widgets::finishDialog(this);
}

void Tnew_gzbw::activateOnce()
{
    form_.activate();
    for (const std::string& s : form_.sets) set_->addItem(QString::fromStdString(s));
    set_->setCurrentIndex(form_.setIndex);
    year_->setValue(form_.year);
    month_->setValue(form_.month);
}

void Tnew_gzbw::takeControls()
{
    form_.setIndex = set_->currentIndex();
    form_.year = year_->value();
    form_.month = month_->value();
    form_.mode = mode_->currentIndex() == 0 ? NewMonthForm::Mode::CopyPrevious : NewMonthForm::Mode::FromSet;
}

void Tnew_gzbw::done(int result)
{
    form_.close();
    QDialog::done(result);
}

}  // namespace rsgz::payroll
