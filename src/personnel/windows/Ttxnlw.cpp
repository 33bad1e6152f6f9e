#include "personnel/windows/Ttxnlw.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Ttxnlw::Ttxnlw(app::TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm), ages_(dm)
{
    setObjectName(QStringLiteral("Ttxnlw"));
    setWindowTitle(QStringLiteral("女职工原退休年龄"));
    auto* note = new QLabel(QStringLiteral("女职工原退休年龄（50岁或55岁）是延迟退休前的年龄，按它计算新的退休日期。"
                                           "\n未设定时按岗位工种：管理岗、专业技术岗为55岁，其他岗位为50岁。"
                                           "\n更改后请在到期提醒中按“按出生年月填写退休日期”重新计算。"),
                            this);
    note->setObjectName(QStringLiteral("ageNote"));
    grid_ = new QTableWidget(0, 6, this);
    grid_->setObjectName(QStringLiteral("womenGrid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("员工编号"), QStringLiteral("姓名"), QStringLiteral("一级部门"),
                                      QStringLiteral("岗位工种"), QStringLiteral("原退休年龄"), QStringLiteral("依据")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QHBoxLayout;
    const bool may = app::hasRight(dm_, "档案管理");
    const struct {
        const char* text;
        const char* name;
        int age;
    } choices[] = {{"设为50岁", "set50", 50}, {"设为55岁", "set55", 55}, {"按岗位工种", "byPost", 0}};
    for (const auto& c : choices) {
        auto* b = new QPushButton(QString::fromUtf8(c.text), this);
        b->setObjectName(QString::fromUtf8(c.name));
        b->setAutoDefault(false);
        b->setEnabled(may);
        const int age = c.age;
        connect(b, &QPushButton::clicked, this, [this, age] { setChosen(age); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("returnButton"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    fill();
    widgets::finishListDialog(this, 640, 480);
}

void Ttxnlw::fill()
{
    app::runAction([this] { women_ = ages_.women(); });
    grid_->setRowCount(static_cast<int>(women_.size()));
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const WomanOldAges::Woman& w = women_[static_cast<size_t>(r)];
        const QString cells[] = {q(w.employee), q(w.name), q(w.department), q(w.post), QStringLiteral("%1岁").arg(w.age),
                                 w.set ? QStringLiteral("已设定") : QStringLiteral("按岗位工种")};
        for (int c = 0; c < 6; ++c) grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    grid_->resizeColumnsToContents();
}

void Ttxnlw::setChosen(int age)
{
    std::set<int> rows;
    for (const QModelIndex& i : grid_->selectionModel()->selectedRows()) rows.insert(i.row());
    if (rows.empty()) {
        app::interaction().showMessage("请先在列表中选择员工！");
        return;
    }
    std::vector<std::string> chosen;
    for (int r : rows) chosen.push_back(women_[static_cast<size_t>(r)].employee);
    if (!app::runAction([&] { ages_.set(chosen, age); })) return;
    fill();
    for (int r : rows)
        grid_->selectionModel()->select(grid_->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

}  // namespace rsgz::personnel
