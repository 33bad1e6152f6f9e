#include "payroll/windows/Tgzxmdw.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetModel.h"
#include "widgets/GridLink.h"
#include "widgets/PanelParts.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {

QPushButton* button(const char* text, QWidget* parent, const std::function<void()>& action)
{
    return widgets::makeButton(text, parent, action);
}

widgets::DataSetModel* modelOf(db::DataSet& ds, const QStringList& fields, QObject* parent)
{
    auto* model = new widgets::DataSetModel(&ds, parent);
    model->setVisibleFields(fields);
    return model;
}

// The bracket grid shows amounts with two decimals and the rate as a whole per cent ("5%"); what
// is typed stays a plain number.
class BracketFormat : public QStyledItemDelegate {
public:
    BracketFormat(bool percent, QObject* parent) : QStyledItemDelegate(parent), percent_(percent) {}
    QString displayText(const QVariant& value, const QLocale&) const override
    {
        bool ok = false;
        const double v = QLocale::c().toDouble(value.toString(), &ok);
        if (!ok) return value.toString();
        return percent_ ? QLocale::c().toString(v, 'f', 0) + QLatin1Char('%') : QLocale::c().toString(v, 'f', 2);
    }

private:
    bool percent_;
};

}  // namespace

// --- grades and default amounts ------------------------------------------------------------------

Tgzxmdw::Tgzxmdw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm), dm_(dm)
{
    setObjectName(QStringLiteral("Tgzxmdw"));
    setWindowTitle(QStringLiteral("工资项目及初始值设置"));
    auto* grids = new QHBoxLayout;
    grids->addWidget(column(QStringLiteral("工资项目设定"), dm.gzxmd, {"序号", "工资项目"}, "itemNames"));
    grids->addWidget(column(QStringLiteral("工资等级设定"), dm.gzdj, {"序号", "工资等级"}, "grades"));
    grids->addWidget(column(QStringLiteral("工资等级对应工资项目"), dm.gzdj_gzxm, {"序号", "工资项目", "金额"}, "gradeValues"), 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(button("返回", this, [this] { accept(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(bottom);
    resize(900, 520);
    widgets::centreOnScreen(this);
}

QWidget* Tgzxmdw::column(const QString& caption, db::DataSet& ds, const QStringList& fields, const char* name)
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widgets::makeCaptionBar(caption, box));
    QTableView* grid = widgets::makeEditGrid(modelOf(ds, fields, box), box);
    grid->setObjectName(QString::fromUtf8(name));
    layout->addWidget(grid, 1);
    if (&ds == &dm_.gzdj)
        connect(grid, &QTableView::clicked, this, [this](const QModelIndex& i) { form_.gradeClicked(i.row()); });
    auto* row = new QHBoxLayout;
    row->addWidget(button("添加", box, [this, &ds] { form_.add(ds); }));
    row->addWidget(button("删除", box, [this, &ds] { form_.remove(ds); }));
    row->addWidget(button("保存", box, [this, &ds] { form_.save(ds); }));
    layout->addLayout(row);
    return box;
}

void Tgzxmdw::activateOnce()
{
    form_.activate();
}

// --- brackets ------------------------------------------------------------------------------------

Tsdsw::Tsdsw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tsdsw"));
    setWindowTitle(QStringLiteral("所得税设置"));
    auto* model = modelOf(dm.sds_set, {"编号", "起始额", "结束额", "税率", "速扣"}, this);
    QTableView* grid = widgets::makeEditGrid(model, this);
    grid->setObjectName(QStringLiteral("bracketGrid"));
    for (int column : {1, 2, 4}) grid->setItemDelegateForColumn(column, new BracketFormat(false, grid));
    grid->setItemDelegateForColumn(3, new BracketFormat(true, grid));

    auto* row = new QHBoxLayout;
    db::DataSet* ds = &dm.sds_set;
    // Moves through the brackets; a pending edit is written first, as with every move.
    auto move = [ds](void (db::DataSet::*step)()) {
        return [ds, step] {
            app::runAction([ds, step] {
                if (ds->active()) (ds->*step)();
            });
        };
    };
    widgets::addNavigatorButtons(row, this, {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"},
                            {move(&db::DataSet::first), move(&db::DataSet::prior), move(&db::DataSet::next),
                             move(&db::DataSet::last)});
    row->addStretch();
    row->addWidget(button("添加", this, [this] { form_.add(); }));
    row->addWidget(button("删除", this, [this] { form_.remove(); }));
    row->addWidget(button("保存", this, [this] { form_.save(); }));
    row->addWidget(button("返回", this, [this] { accept(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid, 1);
    layout->addLayout(row);
    resize(560, 360);
    widgets::centreOnScreen(this);
}

void Tsdsw::activateOnce()
{
    form_.open_sds_data();
}

}  // namespace rsgz::payroll
