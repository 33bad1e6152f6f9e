#pragma once
#include <QAbstractTableModel>
#include <QStringList>

#include "db/DataSet.h"

namespace rsgz::widgets {

// Shows a dataset in a grid without copying its rows: every cell is read from the dataset when the
// view asks for it. Formats follow the column's logical type (money "0.00", dates yyyy-mm-dd).
// Editable models write through the dataset (edit, set, and a post when the user leaves the row).
class DataSetModel : public QAbstractTableModel, private db::DataSetListener {
    Q_OBJECT
public:
    explicit DataSetModel(db::DataSet* ds, QObject* parent = nullptr);
    ~DataSetModel() override;

    db::DataSet* dataSet() const { return ds_; }
    void setEditable(bool on) { editable_ = on; }
    // Column titles by field name; fields without one show their name.
    void setTitle(const QString& field, const QString& title);
    // The alignment of a field's cells; without one numbers go right and the rest left.
    void setAlignment(const QString& field, Qt::Alignment alignment);
    Qt::Alignment alignment(int column) const;
    // Shows only these fields, in this order (empty: every field).
    void setVisibleFields(const QStringList& fields);
    int fieldIndexOfColumn(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    static QString displayText(const db::Value& v, db::FieldType type);

    // True while rows come or go or the model is reset: a view's current row moves then by itself,
    // which is no choice of the user's and must not move the dataset.
    bool reshaping() const { return reshaping_ > 0; }

signals:
    // The dataset's current row moved (or -1): views follow it.
    void currentRowChanged(int row);

private:
    void dataSetReset(db::DataSet&) override;
    void rowChanged(db::DataSet&, int row) override;
    void rowAboutToBeInserted(db::DataSet&, int row) override;
    void rowInserted(db::DataSet&, int row) override;
    void rowAboutToBeRemoved(db::DataSet&, int row) override;
    void rowRemoved(db::DataSet&, int row) override;
    void rowNumbersFrom(int row);
    void currentChanged(db::DataSet&) override;
    void rebuildColumns();

    db::DataSet* ds_;
    bool editable_ = false;
    QHash<QString, QString> titles_;
    QHash<QString, int> alignments_;
    QStringList visible_;
    std::vector<int> columns_;  // model column -> field index
    // The row count as the views last heard it: it moves between begin and end of each insert or
    // removal, whatever the dataset holds at that moment.
    int rows_ = 0;
    int indicatorRow_ = -1;
    int reshaping_ = 0;
};

}  // namespace rsgz::widgets
