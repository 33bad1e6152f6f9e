#include "payroll/windows/Tkjsbw.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/DeclarationData.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

Tkjsbw::Tkjsbw(app::TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("Tkjsbw"));
    setWindowTitle(QStringLiteral("扣缴申报"));
    const QDate today = dm.now().date();
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("year"));
    year_->setRange(1900, 2999);
    year_->setValue(today.year());
    month_ = new QSpinBox(this);
    month_->setObjectName(QStringLiteral("month"));
    month_->setRange(1, 12);
    month_->setValue(today.month());
    auto* write = new QPushButton(QStringLiteral("生成申报表"), this);
    write->setObjectName(QStringLiteral("生成申报表"));
    write->setAutoDefault(false);
    connect(write, &QPushButton::clicked, this,
            [this] { app::runAction([this] { declareMonthAsked(dm_, year_->value(), month_->value()); }); });
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("所属期"), this));
    row->addWidget(year_);
    row->addWidget(new QLabel(QStringLiteral("年"), this));
    row->addWidget(month_);
    row->addWidget(new QLabel(QStringLiteral("月"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(write);
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("生成该月的个人所得税扣缴申报表（正常工资薪金与全年一次性奖金），\n"
                                                "可导入税务机关的扣缴客户端。"),
                                 this));
    layout->addLayout(row);
    layout->addLayout(buttons);
    widgets::centreOnScreen(this);
}

}  // namespace rsgz::payroll
