#include "payroll/windows/Tjfjsw.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/BaseImport.h"
#include "payroll/windows/TaxListPanel.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

Tjfjsw::Tjfjsw(app::TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm), form_(dm, contributionBaseList())
{
    setObjectName(QStringLiteral("Tjfjsw"));
    setWindowTitle(QStringLiteral("缴费基数设置"));
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("year"));
    year_->setRange(1900, 2999);
    year_->setValue(dm.now().date().year());
    auto* panel = new payroll::TaxListPanel(form_, this);
    panel->setTitle(QStringLiteral("员工编号1"), QStringLiteral("员工编号"));
    auto* import = new QPushButton(QStringLiteral("导入"), this);
    import->setObjectName(QStringLiteral("导入"));
    import->setAutoDefault(false);
    panel->addButton(import);
    import->setEnabled(form_.dataSet().mayChange());
    connect(import, &QPushButton::clicked, this, [this] {
        app::runAction([this] { importBasesAsked(dm_, year_->value()); });
        form_.open();
    });
    connect(year_, &QSpinBox::valueChanged, this, [this](int y) {
        // A base being typed that cannot be stored keeps the year it belongs to.
        if (!form_.setYear(y)) {
            const QSignalBlocker quiet(year_);
            year_->setValue(form_.year());
        }
    });
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("年度"), this));
    top->addWidget(year_);
    top->addStretch();
    top->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(panel, 1);
    resize(640, 480);
    widgets::centreOnScreen(this);
    form_.setYear(year_->value());
}

// The grids listen to the lists this window owns: they go first, while the lists are still there.
Tjfjsw::~Tjfjsw() { qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)); }

}  // namespace rsgz::payroll
