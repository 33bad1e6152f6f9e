#include "payroll/windows/Tjffaw.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"
#include "payroll/TaxLaw.h"
#include "widgets/QtStrings.h"
#include "payroll/windows/TaxListPanel.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {
QStringList texts(const std::vector<std::string>& v) { return widgets::toQStringList(v); }
}  // namespace

Tjffaw::Tjffaw(app::TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm), form_(dm, contributionSchemeList())
{
    setObjectName(QStringLiteral("Tjffaw"));
    setWindowTitle(QStringLiteral("缴费方案设置"));
    auto* panel = new payroll::TaxListPanel(form_, this);
    panel->setChoices(QStringLiteral("险种"), texts(tax::standardContributionKinds()));
    panel->setChoices(QStringLiteral("舍入单位"), {QStringLiteral("分"), QStringLiteral("角"), QStringLiteral("元")});
    panel->setChoices(QStringLiteral("舍入方式"), {QStringLiteral("四舍五入"), QStringLiteral("进位")});
    panel->setTitle(QStringLiteral("个人比例"), QStringLiteral("个人比例(%)"));
    panel->setTitle(QStringLiteral("单位比例"), QStringLiteral("单位比例(%)"));

    sets_ = new QComboBox(this);
    sets_->setObjectName(QStringLiteral("sets"));
    scheme_ = new QComboBox(this);
    scheme_->setObjectName(QStringLiteral("scheme"));
    scheme_->setEditable(true);
    scheme_->setMinimumWidth(160);
    auto* use = new QPushButton(QStringLiteral("设为帐套的方案"), this);
    use->setObjectName(QStringLiteral("useScheme"));
    use->setAutoDefault(false);
    connect(use, &QPushButton::clicked, this, [this] { useScheme(); });
    use->setEnabled(form_.dataSet().mayChange());  // the scheme's right is the sets' right
    connect(sets_, &QComboBox::currentIndexChanged, this, [this] { showSchemeOfSet(); });
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* setRow = new QHBoxLayout;
    setRow->addWidget(new QLabel(QStringLiteral("帐套"), this));
    setRow->addWidget(sets_);
    setRow->addWidget(new QLabel(QStringLiteral("缴费方案"), this));
    setRow->addWidget(scheme_);
    setRow->addWidget(use);
    setRow->addStretch();
    setRow->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(setRow);
    resize(1100, 460);
    widgets::centreOnScreen(this);
    form_.open();
    fillSets();
}

void Tjffaw::fillSets()
{
    app::runAction([this] {
        db::BoundStatement st(dm_.DMADO, "select 帐套名称 from 帐套 where 帐套名称 is not null order by 编号");
        while (st.step()) sets_->addItem(QString::fromStdString(st.textOrEmpty(0)));
        db::BoundStatement names(dm_.DMADO, "select distinct 方案名称 from 缴费方案 where 方案名称 is not null order by 方案名称");
        while (names.step()) scheme_->addItem(QString::fromStdString(names.textOrEmpty(0)));
    });
    showSchemeOfSet();
}

void Tjffaw::showSchemeOfSet()
{
    const std::string set = sets_->currentText().toStdString();
    app::runAction([this, set] { scheme_->setCurrentText(QString::fromStdString(tax::schemeOfSet(dm_.DMADO, set))); });
}

void Tjffaw::useScheme()
{
    app::runAction([this] {
        app::requireRight(dm_, "帐套管理");
        const std::string set = sets_->currentText().toStdString(), scheme = scheme_->currentText().toStdString();
        if (set.empty()) return;
        tax::setSchemeOfSet(dm_.DMADO, set, scheme);
        app::interaction().showMessage("帐套“" + set + "”" + (scheme.empty() ? "不再使用缴费方案。" : "使用缴费方案“" + scheme + "”。"));
    });
}

// The grids listen to the lists this window owns: they go first, while the lists are still there.
Tjffaw::~Tjffaw() { qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)); }

}  // namespace rsgz::payroll
