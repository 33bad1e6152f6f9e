#include "payroll/windows/Tgstzw.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "exchange/ExcelExport.h"
#include "db/BoundStatement.h"
#include "print/TablePreview.h"
#include "widgets/ButtonRow.h"
#include "print/windows/TablePreviewWindow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {
QPushButton* button(const char* text, QWidget* parent, const std::function<void()>& action)
{
    return widgets::makeButton(text, parent, action);
}
}  // namespace

Tgstzw::Tgstzw(app::TDM& dm, const std::string& employee, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("Tgstzw"));
    setWindowTitle(QStringLiteral("个人所得税台账"));
    employees_ = new QComboBox(this);
    employees_->setObjectName(QStringLiteral("employee"));
    employees_->setMinimumWidth(180);
    app::runAction([this] {
        db::BoundStatement st(dm_.DMADO, "select 员工编号, 姓名 from 员工基本情况 order by 员工编号");
        while (st.step())
            employees_->addItem(QString::fromStdString(st.textOrEmpty(0) + " " + st.textOrEmpty(1)),
                                QString::fromStdString(st.textOrEmpty(0)));
    });
    const int at = employees_->findData(QString::fromStdString(employee));
    if (at >= 0) employees_->setCurrentIndex(at);
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("year"));
    year_->setRange(1900, 2999);
    year_->setValue(dm.now().date().year());
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("register"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("员工"), this));
    top->addWidget(employees_);
    top->addWidget(new QLabel(QStringLiteral("年度"), this));
    top->addWidget(year_);
    top->addWidget(button("查询", this, [this] { showRegister(); }));
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(button("打印", this, [this] { print(); }));
    bottom->addWidget(button("导出EXCEL", this, [this] { exportRegister(); }));
    bottom->addWidget(button("返回", this, [this] { accept(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    resize(1200, 480);
    widgets::centreOnScreen(this);
    connect(employees_, &QComboBox::currentIndexChanged, this, [this] { showRegister(); });
    connect(year_, &QSpinBox::valueChanged, this, [this] { showRegister(); });
    showRegister();
}

std::string Tgstzw::employee() const { return employees_->currentData().toString().toStdString(); }

void Tgstzw::showRegister()
{
    lines_.clear();
    const std::string number = employee();
    if (!number.empty()) app::runAction([this, number] { lines_ = taxRegister(dm_.DMADO, number, year_->value()); });
    const TaxRegisterSource source(lines_);
    const auto& columns = taxRegisterColumns();
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(columns.size()));
    grid_->setRowCount(source.rowCount());
    QStringList titles;
    for (const TaxRegisterColumn& c : columns) titles << QString::fromUtf8(c.title);
    grid_->setHorizontalHeaderLabels(titles);
    for (int r = 0; r < source.rowCount(); ++r)
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(source.text(r, c)));
            item->setTextAlignment(source.isNumber(c) ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
            grid_->setItem(r, c, item);
        }
    grid_->resizeColumnsToContents();
}

void Tgstzw::print()
{
    if (lines_.empty()) {
        app::interaction().showMessage("没有可以打印的记录。");
        return;
    }
    const TaxRegisterSource source(lines_);
    print::TablePreview preview(dm_.programDir(), "个税台账.tbl", source, source.titles());
    if (!preview.open()) return;
    print::TablePreviewWindow w(preview, source.titles(), this);
    w.setWindowState(w.windowState() | Qt::WindowMaximized);
    w.exec();
}

void Tgstzw::exportRegister()
{
    if (lines_.empty()) {
        app::interaction().showMessage("没有可以导出的记录。");
        return;
    }
    std::string path = app::interaction().saveFileName("请输入新生成的Excel文件名称", "Microsoft Excel 文件 (*.xlsx)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += ".xlsx";
    try {
        // A sheet's name may not hold every character an employee number may: the sheet has a fixed one.
        writeTaxRegister(path, "个税台账", lines_);
        app::interaction().showMessage("导出完成：共 " + std::to_string(lines_.size()) + " 条记录，已写入文件“" + path + "”。");
    } catch (const exchange::ExportError& e) {
        app::interaction().showMessage(e.what());
    }
}

}  // namespace rsgz::payroll
