// The salary view of a set that withholds cumulatively, month after month through a year: every
// row's tax from January on, across two sets, with each month closed before the next (one left open
// a month longer). Every figure is worked out by hand beside it.
#include <gtest/gtest.h>

#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/SalaryView.h"
#include "payroll/TaxLaw.h"
#include "payroll/ViewWithholding.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using db::Money;
using payroll::SalaryView;
using namespace payroll::tax;

namespace {

Money y(int64_t yuan) { return Money::fromUnits(yuan * Money::kScale); }

// 管理: gz01 基本工资 (收入), gz02 年终奖 (全年一次性奖金), gz03 养老 (养老保险), gz04 应发 = gz01+gz02,
// gz05 个税 on 应发, gz06 实发 = gz04-gz03-gz05. 补贴: gz01 补贴 (收入), gz02 个税, gz03 实发.
// 旧 keeps the month table: gz01 工资, gz02 个税 above 1600, gz03 实发.
class CumulativeViewTest : public test::OnBothEngines {
protected:
    CumulativeViewTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '补贴'), ('03', '旧')");
        setTaxMethod(conn, "管理", TaxMethod::Cumulative);
        setTaxMethod(conn, "补贴", TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
             "('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), ('01', 'gz02', '年终奖', '', '否', 0, '', '全年一次性奖金'), "
             "('01', 'gz03', '养老', '', '否', 0, '', '养老保险'), ('01', 'gz04', '应发', 'gz01+gz02', '否', 0, '', '其他'), "
             "('01', 'gz05', '个税', '', '是', 5000, '应发', '个税'), ('01', 'gz06', '实发', 'gz04-gz03-gz05', '否', 0, '', '实发'), "
             "('02', 'gz01', '补贴', '', '否', 0, '', '收入'), ('02', 'gz02', '个税', '', '是', 0, '补贴', '个税'), "
             "('02', 'gz03', '实发', 'gz01-gz02', '否', 0, '', '实发'), "
             "('03', 'gz01', '工资', '', '否', 0, '', null), ('03', 'gz02', '个税', '', '是', 1600, '工资', null), "
             "('03', 'gz03', '实发', 'gz01-gz02', '否', 0, '', null)");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25)");
        // A all year with a raise and a child; B hired in July; C with the 60,000 choice; D's bonus
        // on its own, E's added; F paid from both sets; G in the old set.
        exec("insert into 员工基本情况 (员工编号, 姓名, 入职日期) values ('A', '甲', '2019-03-01'), ('B', '乙', '2026-07-10'), "
             "('C', '丙', '2015-01-01'), ('D', '丁', '2015-01-01'), ('E', '戊', '2015-01-01'), ('F', '己', '2015-01-01'), "
             "('G', '庚', '2015-01-01')");
        exec("insert into 专项附加扣除 (员工编号1, 扣除类别, 子女人数, 起始年月, 每月金额) values ('A', '子女教育', 1, '2025-09', 2000)");
        exec("insert into 个税年度选项 (员工编号1, 年度, 六万元扣除, 奖金计税方式) values ('C', 2026, '是', null), "
             "('E', 2026, '否', '并入综合所得')");
    }
    void exec(const std::string& sql) { conn.exec(sql); }
    void pay(const char* no, int month, const char* set, int64_t basic, int64_t bonus = 0, int64_t pension = 0)
    {
        const std::string mm = (month < 10 ? "0" : "") + std::to_string(month);
        exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02, gz03) values ('" + std::string(no) +
             "', '员工', '2026', '" + mm + "', '" + set + "', '否', " + std::to_string(basic) + ", " +
             (std::string(set) == "管理" ? std::to_string(bonus) + ", " + std::to_string(pension) : "0, 0") + ")");
    }
    void openMonth(const char* set, int month)
    {
        view.build(set);
        view.filter().nodes = {{"月", (month < 10 ? "0" : "") + std::to_string(month)}, {"年", "2026"}};
        view.open();
    }
    Money shown(const char* no, const char* column)
    {
        EXPECT_TRUE(gzb.locate("员工编号", db::Value(no))) << no;
        return gzb.asMoney(column);
    }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
    db::DataSet gzb{&conn, "gzb"};
    SalaryView view{conn, gzb};
};

TEST_P(CumulativeViewTest, AYearMonthByMonth)
{
    struct Row {
        const char* no;
        int month;
        const char* set;
        int64_t basic, bonus, pension;
        int64_t tax;
    };
    const Row rows[] = {
        // A: 20000 to June, 30000 from July, 2000 pension, 2000 for the child: 11000 taxable a
        // month, then 21000. The limits 36000 (April) and 144000 (October) are crossed mid-year.
        {"A", 1, "管理", 20000, 0, 2000, 330},   // 11000 × 3%
        {"A", 2, "管理", 20000, 0, 2000, 330},   // 22000 → 660 − 330
        {"A", 3, "管理", 20000, 0, 2000, 330},   // 33000 → 990 − 660
        {"A", 4, "管理", 20000, 0, 2000, 890},   // 44000 → 4400 − 2520 = 1880 − 990
        {"A", 5, "管理", 20000, 0, 2000, 1100},  // 55000 → 2980 − 1880
        {"A", 6, "管理", 20000, 0, 2000, 1100},  // 66000 → 4080 − 2980
        {"A", 7, "管理", 30000, 0, 2000, 2100},  // 87000 → 6180 − 4080
        {"A", 8, "管理", 30000, 0, 2000, 2100},  // 108000 → 8280 − 6180
        {"A", 9, "管理", 30000, 0, 2000, 2100},  // 129000 → 10380 − 8280
        {"A", 10, "管理", 30000, 0, 2000, 2700}, // 150000 → 30000 − 16920 = 13080 − 10380
        {"A", 11, "管理", 30000, 0, 2000, 4200}, // 171000 → 17280 − 13080
        {"A", 12, "管理", 30000, 0, 2000, 4200}, // 192000 → 21480 − 17280
        // B, hired in July, nothing paid in August: September counts three months' 5000.
        {"B", 7, "管理", 15000, 0, 0, 300},      // 10000 × 3%
        {"B", 9, "管理", 15000, 0, 0, 150},      // 30000 − 15000 = 15000 → 450 − 300
        // C: 60000 deducted from January.
        {"C", 1, "管理", 8000, 0, 0, 0},
        {"C", 2, "管理", 8000, 0, 0, 0},
        {"C", 3, "管理", 8000, 0, 0, 0},         // 24000 − 60000: nothing
        {"C", 4, "管理", 60000, 0, 0, 720},      // 84000 − 60000 = 24000 × 3%
        // D: the bonus 36000 on its own: 1080 beside the wage tax 5000 × 3% = 150.
        {"D", 1, "管理", 10000, 36000, 0, 1230},
        {"D", 2, "管理", 10000, 0, 0, 150},      // 10000 → 300 − 150 (the bonus tax is apart)
        // E: the bonus added to the wages: 46000 − 5000 = 41000 → 4100 − 2520.
        {"E", 1, "管理", 10000, 36000, 0, 1580},
        {"E", 2, "管理", 10000, 0, 0, 500},      // 46000 → 2080 − 1580
        // F: 10000 from 管理 and 5000 from 补贴 each month; one 5000 deduction a month.
        {"F", 1, "管理", 10000, 0, 0, 150},      // 5000 × 3%
        {"F", 1, "补贴", 5000, 0, 0, 150},       // 10000 → 300 − 150
        {"F", 2, "管理", 10000, 0, 0, 150},      // 15000 → 450 − 300
        {"F", 2, "补贴", 5000, 0, 0, 150},       // 20000 → 600 − 450
        // G: the month table, as before: 2600 − 1600 = 1000 → 10% − 25.
        {"G", 1, "旧", 2600, 0, 0, 75},
    };
    for (const Row& r : rows) pay(r.no, r.month, r.set, r.basic, r.bonus, r.pension);

    const char* taxColumn[] = {"gz05", "gz02", "gz02"};
    for (int month = 1; month <= 12; ++month) {
        for (int s = 0; s < 3; ++s) {
            const char* set = s == 0 ? "管理" : s == 1 ? "补贴" : "旧";
            openMonth(set, month);
            for (const Row& r : rows)
                if (r.month == month && std::string(r.set) == set)
                    EXPECT_EQ(shown(r.no, taxColumn[s]), y(r.tax)) << r.no << " " << set << " month " << month;
            if (month == 6 && s == 0) {
                // May was left open: its figures are as computed, and the view says so.
                ASSERT_NE(view.withholding(), nullptr);
                EXPECT_EQ(view.withholding()->openMonths(), std::vector<std::string>{"2026年05月（帐套“管理”）"});
            }
            if (month != 5) view.closeRows();
        }
        if (month == 6) {
            openMonth("管理", 5);
            view.closeRows();
        }
    }

    // December of A on the card: 6 × 20000 + 6 × 30000 = 300000; 12 × 5000; 12 × 2000 twice;
    // 192000 at 20%; 17280 withheld before; 4200 now. 实发 30000 − 2000 − 4200.
    openMonth("管理", 12);
    EXPECT_EQ(shown("A", "gz06"), y(23800));
    const CumulativeFigures* f = view.withholding()->figuresOf(gzb.asInt("编号"));
    ASSERT_NE(f, nullptr);
    const std::vector<std::pair<std::string, std::string>> card = {
        {"累计收入", "300000.00"}, {"累计减除费用", "60000.00"},  {"累计专项扣除", "24000.00"},
        {"累计专项附加扣除", "24000.00"}, {"累计应纳税所得额", "192000.00"}, {"税率", "20%"},
        {"累计已缴税额", "17280.00"}, {"本期税额", "4200.00"},
    };
    EXPECT_EQ(cardLines(*f), card);
    EXPECT_TRUE(view.withholding()->openMonths().empty());
    openMonth("旧", 1);
    EXPECT_EQ(view.withholding(), nullptr);
}

// A view of the whole year (a node above the months), nothing closed: each row is taxed after the
// rows before it, its own month's row of what was read set aside.
TEST_P(CumulativeViewTest, AViewOfManyOpenMonths)
{
    for (int month = 1; month <= 3; ++month) pay("A", month, "管理", 20000, 0, 2000);  // 330 each
    pay("D", 1, "管理", 10000, 36000);  // 1230
    pay("D", 2, "管理", 10000);         // 150
    pay("F", 1, "补贴", 5000);          // walked after F's 管理 row of January: 15000 − 5000 → 300 − 150
    pay("F", 1, "管理", 10000);         // 10000 − 5000 → 150
    pay("F", 2, "管理", 10000);         // after both January rows: 25000 − 10000 → 450 − 150 − 150
    view.build("管理");
    view.filter().nodes = {{"年", "2026"}};
    view.open();
    struct Expect {
        const char* no;
        const char* month;
        int64_t tax;
    };
    for (const Expect& e : {Expect{"A", "01", 330}, Expect{"A", "02", 330}, Expect{"A", "03", 330},
                            Expect{"D", "01", 1230}, Expect{"D", "02", 150}, Expect{"F", "01", 150},
                            Expect{"F", "02", 150}}) {
        bool found = false;
        for (int row = 0; row < gzb.rowCount(); ++row) {
            gzb.moveToRow(row);
            if (gzb.asString("员工编号") != e.no || gzb.asString("月") != e.month) continue;
            found = true;
            EXPECT_EQ(gzb.asMoney("gz05"), y(e.tax)) << e.no << " " << e.month;
        }
        EXPECT_TRUE(found) << e.no << " " << e.month;
    }
    // The months shown are no news; the other set's open January is.
    EXPECT_EQ(view.withholding()->openMonths(), std::vector<std::string>{"2026年01月（帐套“补贴”）"});
}

// A cumulative set needs no 个税关联 when its items say what they hold; a formula item of 收入 is
// computed before the tax, whatever its code.
TEST_P(CumulativeViewTest, TheTaxReadsWhatTheItemsHoldComputedFirst)
{
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('04', '新')");
    setTaxMethod(conn, "新", TaxMethod::Cumulative);
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
         "('04', 'gz01', '基本', '', '否', 0, '', '收入'), ('04', 'gz02', '个税', '', '是', 0, '', '个税'), "
         "('04', 'gz03', '津贴', 'gz01*0.1', '否', 0, '', '收入'), ('04', 'gz04', '实发', 'gz01+gz03-gz02', '否', 0, '', '实发')");
    exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01) values ('D', '丁', '2026', '01', '新', '否', 10000)");
    openMonth("新", 1);
    EXPECT_TRUE(view.config().warnings.empty()) << view.config().warnings.front();
    // 10000 + 津贴 1000 = 11000 − 5000 = 6000 × 3% = 180; 实发 11000 − 180.
    EXPECT_EQ(shown("D", "gz02"), y(180));
    EXPECT_EQ(shown("D", "gz04"), y(10820));
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(CumulativeViewTest);
