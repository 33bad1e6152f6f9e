// The bank disbursement file of one month of 5,000 employees: every record built by a layout of
// five parts (employee number and net pay in fixed widths, the card number looked up, the name and
// fixed text), encoded in GBK and written to a file.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/BankFile.h"
#include "payroll/BankLayout.h"
#include "payroll/BankRecord.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 5000;

// gz01 … gz09 entered, gz10 their sum, gz11 the tax on gz10, gz12 the net pay.
void seed(db::Connection& conn)
{
    db::Transaction t(conn);
    conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    for (int i = 1; i <= 12; ++i) {
        const std::string code = (i < 10 ? "gz0" : "gz") + std::to_string(i);
        std::string formula, tax = "否", link;
        if (i == 10) formula = "gz01+gz02+gz03+gz04+gz05+gz06+gz07+gz08+gz09";
        if (i == 11) { tax = "是"; link = "应发工资"; }
        if (i == 12) formula = "gz10-gz11";
        const std::string name = i == 10 ? "应发工资" : i == 12 ? "实发工资" : "项目" + std::to_string(i);
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 计算公式, 是否所得税, 个税起征点, 个税关联) "
                  "values ('01', '" + code + "', '" + name + "', " + std::to_string(100 + i) + ".37, '" + formula + "', '" +
                  tax + "', 1600, '" + link + "')");
    }
    conn.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), (2000, 5000, 15, 125)");
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(kEmployees) +
              ") insert into 员工基本情况 (员工编号, 姓名, 银行卡号, 工资帐套名称, 工资核算, 一级部门) "
              "select printf('E%05d', i), '员工' || i, printf('6222020%012d', i), '管理', '是', '总部' from n");
    t.commit();
    payroll::MonthTable(conn).generateFromSet(payroll::Period::of("管理", 2024, 3));
    conn.exec("update 工资表 set gz01 = 1000 + (编号 % 3000) + 0.005");
}

void saveLayout(db::Connection& conn)
{
    payroll::BankLayout l;
    l.partsUsed = 5;
    auto part = [&](int i, const char* content, int width, bool times100) {
        payroll::BankPart& p = l.parts[static_cast<size_t>(i)];
        p.content = content;
        p.fixedWidth = width > 0;
        p.width = width;
        p.padSide = payroll::kPadFront;
        p.padText = "0";
        p.times100 = times100;
    };
    part(0, "员工编号", 10, false);
    part(1, payroll::kBankCardContent, 0, false);
    part(2, "姓名", 0, false);
    part(3, "实发工资", 12, true);
    part(4, payroll::kFixedContent, 0, false);
    l.parts[4].fixedText = "工资";
    db::DataSet dfgz(&conn, "dfgz_set");
    payroll::BankLayoutStore store(conn, dfgz);
    store.open("管理");
    store.save("管理", l);
}

struct Fixture {
    QTemporaryDir dir;
    std::string path;
    Fixture()
    {
        path = dir.filePath("bank.db").toStdString();
        app::createTemplateDatabase(path);
        db::Connection conn(path);
        seed(conn);
        saveLayout(conn);
    }
};

const Fixture& fixture()
{
    static const Fixture f;
    return f;
}

// From the open view to the file on disk: the layout read, every record built and encoded, the
// file written and renamed into place.
void WriteBankFileOfOneMonth(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet gzb(&conn, "gzb"), dfgz(&conn, "dfgz_set");
    payroll::SalaryView view(conn, gzb);
    view.build("管理");
    view.filter().nodes = {{"月", "03"}, {"年", "2024"}};
    view.open();
    const std::string target = fixture().dir.filePath("df.txt").toStdString();
    for (auto _ : state) {
        const payroll::BankLayout layout = payroll::BankLayoutStore(conn, dfgz).open("管理");
        payroll::BankCards cards(conn);
        const payroll::BankRecordBuilder builder(layout, view, gzb, cards);
        const payroll::BankBatch batch = payroll::buildBankBatch(builder, gzb);
        if (batch.rows != kEmployees || !batch.unencodable.empty() || batch.rounded == 0)
            state.SkipWithError("the records are not what the layout makes");
        payroll::writeBankFile(target, batch.bytes);
    }
    state.counters["rows"] = kEmployees;
}

}  // namespace

BENCHMARK(WriteBankFileOfOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

BENCHMARK_MAIN();
