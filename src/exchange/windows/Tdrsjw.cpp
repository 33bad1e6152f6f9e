#include "exchange/windows/Tdrsjw.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/BackgroundWork.h"
#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::exchange {

// The rows about to be imported, shown as they were read. Cells are made only when they are painted,
// so a sheet of ten thousand rows shows at once.
class SourceTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const SourceTable* t)
    {
        beginResetModel();
        table_ = t;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !table_) return {};
        return QString::fromStdString(cellText(table_->rows[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())]));
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole || !table_) return {};
        if (o == Qt::Vertical) return table_->lines[static_cast<size_t>(section)];
        return QString::fromStdString(table_->columns[static_cast<size_t>(section)]);
    }

private:
    const SourceTable* table_ = nullptr;
};

namespace {

QGroupBox* group(const char* title, QWidget* parent)
{
    auto* g = new QGroupBox(QString::fromUtf8(title), parent);
    g->setObjectName(QString::fromUtf8(title));
    return g;
}

}  // namespace

Tdrsjw::Tdrsjw(app::TDM& dm, std::unique_ptr<SourceFile> file, ImportSession::Kind kind, QWidget* parent)
    : QDialog(parent), session_(dm, std::move(file), kind)
{
    setObjectName(QStringLiteral("Tdrsjw"));
    setWindowTitle(kind == ImportSession::Kind::Access ? QStringLiteral("导入ACCESS数据文件") : QStringLiteral("导入Excel数据文件"));

    auto* middle = new QVBoxLayout;
    middle->addWidget(makeTablesBox());
    middle->addWidget(makePreviewBox(), 1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(makeItemsBox());
    columns->addLayout(middle, 1);
    columns->addWidget(makeMappingBox());

    QHBoxLayout* buttons = widgets::makeButtonRow(this, {{"导入数据", "导入数据", [this] { importRows(); }},
                                                    {"返回", "返回", [this] { reject(); }}});

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    auto* hint = new QLabel(QStringLiteral("提示"), status);
    progress_ = new QLabel(status);
    progress_->setObjectName(QStringLiteral("progressText"));
    for (QLabel* l : {hint, progress_}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
    }
    status->addWidget(hint);
    status->addWidget(progress_, 1);
    session_.progress = [this](const std::string& text) { showProgress(text); };

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    layout->addWidget(status);
    widgets::finishListDialog(this, 1100, 640);
}

// The preview asks its model for headers while it is taken down, and the model reads the session's
// table; the mapping boxes write into the session. So the window's widgets go first, while the
// session (a member, destroyed before the dialog's children otherwise) is still there.
Tdrsjw::~Tdrsjw()
{
    model_->show(nullptr);
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

QWidget* Tdrsjw::makeItemsBox()
{
    auto* g = group("数据库标准项目", this);
    auto* items = new QTableWidget(static_cast<int>(session_.standardItems().size()), 2, g);
    items->setObjectName(QStringLiteral("standardItems"));
    items->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("项目名称")});
    items->verticalHeader()->hide();
    items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    items->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (size_t i = 0; i < session_.standardItems().size(); ++i) {
        items->setItem(static_cast<int>(i), 0, new QTableWidgetItem(QString::number(i + 1)));
        items->setItem(static_cast<int>(i), 1, new QTableWidgetItem(QString::fromStdString(session_.standardItems()[i])));
    }
    items->resizeColumnsToContents();
    items->horizontalHeader()->setStretchLastSection(true);
    items->verticalHeader()->setDefaultSectionSize(22);
    items->setMinimumWidth(200);
    (new QVBoxLayout(g))->addWidget(items);
    return g;
}

QWidget* Tdrsjw::makeTablesBox()
{
    auto* g = group("选择数据表", this);
    tables_ = new QListWidget(g);
    tables_->setObjectName(QStringLiteral("tables"));
    tables_->setMaximumHeight(110);
    for (const std::string& t : session_.tables()) tables_->addItem(QString::fromStdString(t));
    connect(tables_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseTable(tables_->row(item)); });
    (new QVBoxLayout(g))->addWidget(tables_);
    return g;
}

QWidget* Tdrsjw::makePreviewBox()
{
    auto* g = group("即将导入的数据文件", this);
    model_ = new SourceTableModel(this);
    preview_ = new QTableView(g);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setModel(model_);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->verticalHeader()->setDefaultSectionSize(22);
    preview_->setEnabled(false);
    count_ = new QLabel(QStringLiteral("记录数：0"), g);
    count_->setObjectName(QStringLiteral("recordCount"));
    auto* l = new QVBoxLayout(g);
    l->addWidget(preview_, 1);
    l->addWidget(count_);
    return g;
}

QWidget* Tdrsjw::makeMappingBox()
{
    auto* g = group("导入数据项目", this);
    auto* scroll = new QScrollArea(g);
    scroll->setWidgetResizable(true);
    mapping_ = new QWidget(scroll);
    mapping_->setObjectName(QStringLiteral("mapping"));
    mappingGrid_ = new QGridLayout(mapping_);
    mappingGrid_->setAlignment(Qt::AlignTop);
    scroll->setWidget(mapping_);
    scroll->setMinimumWidth(240);
    (new QVBoxLayout(g))->addWidget(scroll);
    return g;
}

void Tdrsjw::chooseTable(int row)
{
    if (row < 0 || row >= tables_->count()) return;
    tables_->setCurrentRow(row);
    const std::string name = tables_->item(row)->text().toStdString();
    showProgress("正在读取：" + name);
    // The file is read on a thread of its own while the window keeps painting, and the session's
    // table is replaced at the end of it: the preview lets go of it first, so that no paint in
    // between reads rows that are being freed or counts rows that are no longer there.
    model_->show(nullptr);
    const bool read = app::runAction([&] {
        app::runWhileResponsive([&] {
            session_.chooseTable(name);
            return 0;
        });
    });
    showProgress("");
    model_->show(session_.hasTable() ? &session_.table() : nullptr);  // a failed read keeps the last table
    if (!read) return;
    preview_->setEnabled(true);
    count_->setText(QStringLiteral("记录数：%1").arg(session_.table().rows.size()));
    rebuildMapping();
}

void Tdrsjw::rebuildMapping()
{
    boxes_.clear();
    while (QLayoutItem* item = mappingGrid_->takeAt(0)) {
        if (item->widget()) item->widget()->deleteLater();
        delete item;
    }
    mappingGrid_->addWidget(new QLabel(QStringLiteral("对应号"), mapping_), 0, 0);
    mappingGrid_->addWidget(new QLabel(QStringLiteral("项目名称"), mapping_), 0, 1);
    // Three digits in both windows, so that every standard item can be reached.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), mapping_);
    const auto& columns = session_.table().columns;
    for (size_t c = 0; c < columns.size(); ++c) {
        auto* box = new QLineEdit(QString::fromStdString(session_.boxes()[c]), mapping_);
        box->setObjectName(QStringLiteral("box%1").arg(c));
        box->setMaxLength(3);
        box->setValidator(digits);
        box->setFixedWidth(48);
        connect(box, &QLineEdit::textChanged, this, [this, c](const QString& t) { session_.setBox(c, t.toStdString()); });
        mappingGrid_->addWidget(box, static_cast<int>(c) + 1, 0);
        mappingGrid_->addWidget(new QLabel(QString::fromStdString(columns[c]), mapping_), static_cast<int>(c) + 1, 1);
        boxes_.push_back(box);
    }
    // Widgets added to a window already on screen show only when told to.
    for (QObject* o : mapping_->children())
        if (auto* w = qobject_cast<QWidget*>(o)) w->show();
}

void Tdrsjw::importRows()
{
    setEnabled(false);
    app::runAction([this] { session_.importRows(); });
    setEnabled(true);
}

// Repainted at once, with the window's paint events handled, so a long import never looks frozen.
void Tdrsjw::showProgress(const std::string& text)
{
    progress_->setText(QString::fromStdString(text));
    progress_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace rsgz::exchange
