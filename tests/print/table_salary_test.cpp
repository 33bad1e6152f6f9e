// The salary table printed from the salary view: the printed amounts, and their totals, are the
// ones the grid shows, the computed tax and net pay included; a total adds the figures shown.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/SalaryView.h"
#include "print/NumberFormat.h"
#include "print/TablePages.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using db::Money;

namespace {

class TableSalaryTest : public ::testing::Test {
protected:
    TableSalaryTest()
    {
        conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
                  "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '个税', '', '是', 1600, '基本工资'), "
                  "('01', 'gz03', '实发', 'gz01-gz02', '否', 0, '')");
        conn.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25)");
        for (int i = 1; i <= 5; ++i)
            conn.exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03) values ('员工" +
                      std::to_string(i) + "', 'E" + std::to_string(i) + "', '管理', '2024', '03', '否', " +
                      std::to_string(1600 + i * 333) + ".335, 9999, 9999)");
        view.build("管理");
        view.open();
        for (const std::string& f : view.gridColumns()) grid.push_back({f, view.titleOf(f)});
    }

    test::TestDatabase db;
    db::Connection conn{db.livePath()};
    db::DataSet gzb{&conn, "gzb"};
    payroll::SalaryView view{conn, gzb};
    std::vector<print::PrintItem> grid;
};

}  // namespace

TEST_F(TableSalaryTest, TotalsAreTheSumsOfTheShownTaxAndNetPay)
{
    const print::DataSetSource source(gzb, grid);
    print::TableLayout layout = print::TableLayout::defaults({"姓名", "基本工资", "个税", "实发"});
    for (int c = 1; c <= 3; ++c) layout.columns[static_cast<size_t>(c)].sum = true;
    layout.columns[2].format = layout.columns[3].format = "#,##0.00";
    layout.grandTotal = true;
    gzb.moveToRow(2);

    const print::TablePrinter printer(layout, source);
    const print::ReportPage page = printer.page(1);
    Money tax, net;
    for (int r = 0; r < gzb.recordCount(); ++r) {
        const int64_t id = gzb.rowValue(r, gzb.fieldIndex("编号")).toInt();
        tax = tax + view.taxOf(id).toFen();
        net = net + view.netOf(id).toFen();
    }
    ASSERT_NE(tax, Money()) << "the fixture's rows pay tax";
    EXPECT_EQ(printer.grandTotals()[2], tax) << "not the stored 9999";
    EXPECT_EQ(printer.grandTotals()[3], net);
    const auto cells = page.textsOf(print::TextRole::Cell);
    ASSERT_GE(cells.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(cells.end() - 4, cells.end()),
              (std::vector<std::string>{"总计", "12996.7", print::formatNumber(tax, "#,##0.00"), print::formatNumber(net, "#,##0.00")}))
        << "five rows shown as x.34 (not the stored x.335); a sum without a format in its shortest form";
    EXPECT_EQ(gzb.currentRow(), 2) << "printing never moves the list's cursor";
}
