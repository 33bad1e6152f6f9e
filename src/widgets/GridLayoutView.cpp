#include "widgets/GridLayoutView.h"

#include <QHeaderView>
#include <QTableView>

#include "widgets/DataSetModel.h"

namespace rsgz::widgets {

namespace {

using Align = query::GridColumn::Align;

Align alignOf(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter) return Align::Center;
    if (a & Qt::AlignRight) return Align::Right;
    return Align::Left;
}

Qt::Alignment qtAlign(Align a)
{
    switch (a) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

QString fieldName(const DataSetModel* model, int column)
{
    const int f = model->fieldIndexOfColumn(column);
    return f < 0 ? QString() : QString::fromStdString(model->dataSet()->field(f).name);
}

}  // namespace

query::GridLayout captureLayout(const QTableView* grid, const DataSetModel* model)
{
    query::GridLayout layout;
    const QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        const QString field = fieldName(model, column);
        if (field.isEmpty() || header->isSectionHidden(column)) continue;
        layout.columns.push_back({field.toStdString(), model->headerData(column, Qt::Horizontal).toString().toStdString(),
                                  header->sectionSize(column), alignOf(model->alignment(column))});
    }
    return layout;
}

void applyLayout(QTableView* grid, DataSetModel* model, const query::GridLayout& layout)
{
    const db::DataSet* ds = model->dataSet();
    QStringList fields;
    for (const query::GridColumn& c : layout.columns) {
        if (ds->fieldIndex(c.field) < 0) continue;
        const QString name = QString::fromStdString(c.field);
        fields << name;
        if (!c.title.empty()) model->setTitle(name, QString::fromStdString(c.title));
        model->setAlignment(name, qtAlign(c.align));
    }
    if (fields.isEmpty()) return;
    QHeaderView* header = grid->horizontalHeader();
    for (int i = 0; i < header->count(); ++i) header->moveSection(header->visualIndex(i), i);
    model->setVisibleFields(fields);
    applyWidths(grid, model, layout);
}

void applyWidths(QTableView* grid, const DataSetModel* model, const query::GridLayout& layout)
{
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString field = fieldName(model, column);
        for (const query::GridColumn& c : layout.columns)
            if (c.width > 0 && QString::fromStdString(c.field) == field) grid->setColumnWidth(column, c.width);
    }
}

}  // namespace rsgz::widgets
