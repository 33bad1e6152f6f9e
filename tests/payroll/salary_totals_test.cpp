// One month's totals agree wherever they appear: the totals row under the salary grid, the 总计 of
// the printed salary table and the 金额合计 of the bank file, each the sum of the figures the rows
// show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/GridTotals.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/BankFile.h"
#include "payroll/BankLayout.h"
#include "payroll/BankRecord.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryView.h"
#include "print/TablePages.h"
#include "print/TableSource.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using db::Money;

namespace {

Money shownFigure(const db::DataSet& ds, int row, int field)
{
    Money m;
    const std::string text = print::displayText(ds.rowValue(row, field), ds.field(field).type);
    EXPECT_TRUE(Money::parse(text, &m)) << text;
    return m;
}

// Set 管理: 基本工资 entered, 养老保险 = 基本工资*0.08, 个税 5 % of 基本工资, 实发工资 = 基本工资 -
// 养老保险 - 个税. March 2024 holds 5,000 rows whose 基本工资 runs 0.1, 0.2, 0.3, 0.0625: the rate
// and the tax give fractions of a fen, some of them exactly half a fen, and one stored amount has
// four decimals.
class SalaryTotalsTest : public test::OnBothEngines {
protected:
    static constexpr int kRows = 5000;

    SalaryTotalsTest()
    {
        conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
                  "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '养老保险', 'gz01*0.08', '否', 0, ''), "
                  "('01', 'gz03', '个税', '', '是', 0, '基本工资'), ('01', 'gz04', '实发工资', 'gz01-gz02-gz03', '否', 0, '')");
        conn.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 1000000, 5, 0)");
        const char* const basics[] = {"0.1", "0.2", "0.3", "0.0625"};
        db::Transaction t(conn);
        db::BoundStatement st(conn, "insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01) "
                                         "values (?, ?, '管理', '2024', '03', '否', ?)");
        for (int i = 0; i < kRows; ++i) {
            Money basic;
            Money::parse(basics[i % 4], &basic);
            st.bind(1, std::string_view("员工" + std::to_string(i)));
            const std::string no = "E" + std::to_string(i);
            st.bind(2, std::string_view(no));
            st.bind(3, basic);
            st.run();
        }
        t.commit();
        view.build("管理");
        view.open();
    }

    int field(const char* name) const { return gzb.fieldIndex(name); }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
    db::DataSet gzb{&conn, "gzb"};
    payroll::SalaryView view{conn, gzb};
};
RSGZ_ON_BOTH_ENGINES(SalaryTotalsTest);

}  // namespace

TEST_P(SalaryTotalsTest, GridPrintAndBankFileTotalsAreTheSumOfTheShownFigures)
{
    ASSERT_EQ(gzb.recordCount(), kRows);
    const std::vector<std::string> columns = view.gridColumns();
    std::vector<int> fields;
    std::vector<print::PrintItem> grid;
    for (const std::string& c : columns) {
        fields.push_back(gzb.fieldIndex(c));
        grid.push_back({c, view.titleOf(c)});
    }
    const app::GridTotals footer = app::gridTotals(gzb, fields);
    EXPECT_EQ(footer.texts()[1], "合计") << "under 姓名, the first text column";

    const std::vector<std::string> amounts = {"基本工资", "养老保险", "个税", "实发工资"};
    std::vector<std::string> titles = {"姓名"};
    titles.insert(titles.end(), amounts.begin(), amounts.end());
    print::TableLayout layout = print::TableLayout::defaults(titles);
    for (size_t c = 1; c < titles.size(); ++c) layout.columns[c].sum = true;
    layout.grandTotal = true;
    const print::DataSetSource source(gzb, grid);
    const print::TablePrinter printer(layout, source);

    payroll::BankLayout bank;
    bank.partsUsed = 2;
    bank.parts[0].content = "员工编号";
    bank.parts[1].content = "实发工资";
    payroll::BankCards cards(conn);
    const payroll::BankRecordBuilder builder(bank, view, gzb, cards);
    const payroll::BankBatch batch = payroll::buildBankBatch(builder, gzb);

    for (size_t a = 0; a < amounts.size(); ++a) {
        const std::string code = columns[static_cast<size_t>(3 + a)];
        const int f = field(code.c_str());
        Money shown, stored;
        for (int r = 0; r < kRows; ++r) {
            shown = shown + shownFigure(gzb, r, f);
            stored = stored + gzb.rowValue(r, f).toMoney();
        }
        if (a == 0) ASSERT_NE(shown, stored) << "a stored 0.0625 shows as 0.06";
        const auto sum = footer.sums[static_cast<size_t>(3 + a)];
        ASSERT_TRUE(sum.has_value()) << amounts[a];
        EXPECT_EQ(sum->toString(2), shown.toString(2)) << amounts[a] << " in the totals row";
        EXPECT_EQ(printer.grandTotals()[1 + a].toString(2), shown.toString(2)) << amounts[a] << " in the printed 总计";
        if (amounts[a] == "实发工资") {
            EXPECT_TRUE(batch.hasAmount);
            EXPECT_EQ(batch.total.toString(2), shown.toString(2)) << "the bank file's 金额合计";
            EXPECT_NE(batch.summary().find("金额合计 " + shown.toString(2) + " 元"), std::string::npos) << batch.summary();
        }
    }

    // Each record pays the row's shown net pay.
    const int net = field(columns[6].c_str());
    for (int r : {0, 1, 2, 3, kRows - 1}) {
        const payroll::BankRecord rec = builder.build(r);
        const std::string paid = rec.text.substr(rec.text.find(',') + 1);
        Money m;
        ASSERT_TRUE(Money::parse(paid, &m)) << rec.text;
        EXPECT_EQ(m, shownFigure(gzb, r, net)) << "row " << r << ": " << rec.text;
    }
}
