#include "widgets/DataSetModel.h"

#include <QDate>
#include <QDateTime>

#include "app/Interaction.h"
#include "db/TypedDate.h"

namespace rsgz::widgets {

using db::FieldType;

DataSetModel::DataSetModel(db::DataSet* ds, QObject* parent) : QAbstractTableModel(parent), ds_(ds)
{
    ds_->addListener(this);
    rebuildColumns();
}

DataSetModel::~DataSetModel() { ds_->removeListener(this); }

void DataSetModel::setTitle(const QString& field, const QString& title)
{
    titles_[field] = title;
    emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

void DataSetModel::setAlignment(const QString& field, Qt::Alignment alignment)
{
    alignments_[field] = static_cast<int>(alignment);
    if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::TextAlignmentRole});
}

Qt::Alignment DataSetModel::alignment(int column) const
{
    const int f = fieldIndexOfColumn(column);
    if (f < 0) return Qt::AlignLeft;
    const auto it = alignments_.find(QString::fromStdString(ds_->field(f).name));
    if (it != alignments_.end()) return Qt::Alignment(it.value());
    const FieldType type = ds_->field(f).type;
    return db::isNumeric(type) && type != FieldType::AutoInc ? Qt::AlignRight : Qt::AlignLeft;
}

void DataSetModel::setVisibleFields(const QStringList& fields)
{
    ++reshaping_;
    beginResetModel();
    visible_ = fields;
    rebuildColumns();
    endResetModel();
    --reshaping_;
}

void DataSetModel::rebuildColumns()
{
    columns_.clear();
    rows_ = ds_->active() ? ds_->rowCount() : 0;
    if (!ds_->active()) return;
    if (visible_.isEmpty()) {
        for (int i = 0; i < ds_->fieldCount(); ++i) columns_.push_back(i);
        return;
    }
    for (const QString& f : visible_) {
        const int i = ds_->fieldIndex(f.toStdString());
        if (i >= 0) columns_.push_back(i);
    }
}

int DataSetModel::fieldIndexOfColumn(int column) const
{
    return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[static_cast<size_t>(column)] : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString DataSetModel::displayText(const db::Value& v, FieldType type)
{
    if (v.isNull()) return {};
    switch (type) {
    case FieldType::Currency: return QString::fromStdString(v.toMoney().toString(2));
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid()) return v.toQString();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                         : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case FieldType::YesNo: return v.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    default: return v.toQString();
    }
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ds_->active()) return {};
    const int f = fieldIndexOfColumn(index.column());
    if (f < 0) return {};
    const FieldType type = ds_->field(f).type;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignVCenter | alignment(index.column()));
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const db::Value v = ds_->valueAt(index.row(), f);
    if (role == Qt::EditRole && type != FieldType::Currency && type != FieldType::DateTime) return v.toQString();
    return displayText(v, type);
}

QVariant DataSetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) {
        // The record indicator: the grid's row numbers are the dataset's own 序号 column.
        if (section != ds_->currentRow()) return QString();
        return ds_->state() == db::DataSet::State::Insert ? QStringLiteral("*")
             : ds_->state() == db::DataSet::State::Edit   ? QStringLiteral("I")
                                                           : QStringLiteral("▶");
    }
    const int f = fieldIndexOfColumn(section);
    if (f < 0) return {};
    const QString name = QString::fromStdString(ds_->field(f).name);
    return titles_.value(name, name);
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags fl = QAbstractTableModel::flags(index);
    const int f = fieldIndexOfColumn(index.column());
    if (editable_ && f >= 0 && !ds_->readOnly() && ds_->mayChange() && !ds_->field(f).readOnly &&
        ds_->field(f).type != FieldType::AutoInc)
        fl |= Qt::ItemIsEditable;
    return fl;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int f = fieldIndexOfColumn(index.column());
    std::string text = value.toString().toStdString();
    // A date cell takes the same typings as a date box (20220630, 2022.6.30 …).
    if (ds_->field(f).type == FieldType::DateTime)
        if (std::string date = db::typedDateText(text); !date.empty()) text = std::move(date);
    return app::runAction([&] {
        ds_->moveToRow(index.row());
        ds_->edit();
        ds_->setValue(f, db::Value(text));
    });
}

void DataSetModel::dataSetReset(db::DataSet&)
{
    ++reshaping_;
    beginResetModel();
    rebuildColumns();
    endResetModel();
    --reshaping_;
}

void DataSetModel::rowChanged(db::DataSet&, int row)
{
    if (row < 0 || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DataSetModel::rowAboutToBeInserted(db::DataSet&, int row)
{
    ++reshaping_;
    beginInsertRows({}, row, row);
}

void DataSetModel::rowInserted(db::DataSet&, int row)
{
    ++rows_;
    endInsertRows();
    --reshaping_;
    rowNumbersFrom(row + 1);
}

void DataSetModel::rowAboutToBeRemoved(db::DataSet&, int row)
{
    ++reshaping_;
    beginRemoveRows({}, row, row);
}

void DataSetModel::rowRemoved(db::DataSet&, int row)
{
    --rows_;
    endRemoveRows();
    --reshaping_;
    rowNumbersFrom(row);
}

void DataSetModel::rowNumbersFrom(int row)
{
    // Rows after an insert or removal move, and with them their row numbers.
    if (row < rows_ && !columns_.empty()) emit dataChanged(index(row, 0), index(rows_ - 1, 0));
}

void DataSetModel::currentChanged(db::DataSet& ds)
{
    // The row number column changes with the cursor and the state (-1 while inserting).
    if (ds.currentRow() >= 0 && !columns_.empty()) emit dataChanged(index(ds.currentRow(), 0), index(ds.currentRow(), 0));
    // Only the rows the indicator leaves and reaches change their header.
    for (int row : {indicatorRow_, ds.currentRow()})
        if (row >= 0 && row < rows_) emit headerDataChanged(Qt::Vertical, row, row);
    indicatorRow_ = ds.currentRow();
    emit currentRowChanged(ds.currentRow());
}

}  // namespace rsgz::widgets
