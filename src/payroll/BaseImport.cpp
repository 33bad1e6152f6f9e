#include "payroll/BaseImport.h"

#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/Money.h"
#include "exchange/SourceFile.h"
#include "db/BoundStatement.h"

namespace rsgz::payroll {

namespace {

struct BaseRow {
    std::string number;
    int64_t year = 0;
    std::optional<db::Money> social, fund;
};

// A number cell as an amount: a number of the sheet, or text in plain digits (a locale's comma is
// not a decimal point here). nullopt for anything else; a blank cell is no amount at all (*blank).
std::optional<db::Money> amountOf(const db::Value& v, bool* blank)
{
    *blank = v.isNull() || (v.kind() == db::Value::Kind::Text && v.toString().empty());
    if (*blank) return std::nullopt;
    db::Money m;
    if (v.kind() == db::Value::Kind::Int || v.kind() == db::Value::Kind::Double) {
        if (!db::Money::fromDoubleChecked(v.toDouble(), &m)) return std::nullopt;
        return m;
    }
    if (v.kind() == db::Value::Kind::Text && db::Money::read(v.toString(), &m) == db::Money::Reading::Ok) return m;
    return std::nullopt;
}

int columnOf(const exchange::SourceTable& t, const char* name)
{
    for (size_t c = 0; c < t.columns.size(); ++c)
        if (t.columns[c] == name) return static_cast<int>(c);
    return -1;
}

std::set<std::string> employeeNumbers(db::Connection& conn)
{
    db::BoundStatement st(conn, "select 员工编号 from 员工基本情况");
    std::set<std::string> out;
    while (st.step()) out.insert(st.textOrEmpty(0));
    return out;
}

struct Columns {
    int number = -1, year = -1, social = -1, fund = -1;
};

// One row checked: its refusal (empty when it may be stored) and what it holds.
std::string readRow(const exchange::SourceTable& t, size_t r, const Columns& c, int year,
                    const std::set<std::string>& employees, BaseRow& out)
{
    const std::vector<db::Value>& row = t.rows[r];
    out.number = exchange::cellText(row[static_cast<size_t>(c.number)]);
    if (out.number.empty()) return "员工编号是空的";
    if (!employees.count(out.number)) return "没有员工编号为“" + out.number + "”的员工";
    out.year = year;
    if (c.year >= 0 && !row[static_cast<size_t>(c.year)].isNull()) {
        bool blank = false;
        const auto y = amountOf(row[static_cast<size_t>(c.year)], &blank);
        if (!y || y->units() % db::Money::kScale != 0 || y->units() / db::Money::kScale < 1900
            || y->units() / db::Money::kScale > 2999)
            return "年度“" + exchange::cellText(row[static_cast<size_t>(c.year)]) + "”不是1900到2999之间的年份";
        out.year = y->units() / db::Money::kScale;
    }
    for (auto [index, target, name] : {std::tuple{c.social, &out.social, "社保基数"}, std::tuple{c.fund, &out.fund, "公积金基数"}}) {
        if (index < 0) continue;
        bool blank = false;
        *target = amountOf(row[static_cast<size_t>(index)], &blank);
        if (blank) continue;
        if (!*target || **target < db::Money())
            return std::string(name) + "“" + exchange::cellText(row[static_cast<size_t>(index)]) + "”不是有效的金额";
    }
    return {};
}

void store(db::Connection& conn, const std::vector<BaseRow>& rows)
{
    db::Transaction tx(conn);
    db::BoundStatement st(conn,
                      "insert into 缴费基数 (员工编号1, 年度, 社保基数, 公积金基数) values (?, ?, ?, ?) "
                      "on conflict (员工编号1, 年度) do update set 社保基数=coalesce(excluded.社保基数, 社保基数), "
                      "公积金基数=coalesce(excluded.公积金基数, 公积金基数)");
    for (const BaseRow& b : rows) {
        st.bind(1, std::string_view(b.number)).bind(2, b.year);
        if (b.social) st.bind(3, *b.social);
        else st.bindNull(3);
        if (b.fund) st.bind(4, *b.fund);
        else st.bindNull(4);
        st.run();
    }
    tx.commit();
}

}  // namespace

BaseImportResult importBases(app::TDM& dm, const std::string& path, int year)
{
    auto file = exchange::openSourceFile(path);
    const std::vector<std::string> sheets = file->tables();
    if (sheets.empty()) throw exchange::SourceError("文件“" + path + "”中没有工作表");
    exchange::SourceTable t = file->read(sheets.front());
    exchange::tidyTable(t);
    BaseImportResult result;
    const Columns c{columnOf(t, "员工编号"), columnOf(t, "年度"), columnOf(t, "社保基数"), columnOf(t, "公积金基数")};
    if (c.number < 0 || (c.social < 0 && c.fund < 0)) {
        result.refused.push_back("第1行：应有“员工编号”列和“社保基数”或“公积金基数”列");
        return result;
    }
    if (t.rows.size() > static_cast<size_t>(kMaxBaseRows)) {
        result.refused.push_back("文件有" + std::to_string(t.rows.size()) + "行，最多" + std::to_string(kMaxBaseRows) + "行");
        return result;
    }
    const std::set<std::string> employees = employeeNumbers(dm.DMADO);
    std::vector<BaseRow> rows;
    std::map<std::pair<std::string, int64_t>, int> seen;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        BaseRow b;
        const std::string line = "第" + std::to_string(t.lines[r]) + "行：";
        std::string refusal = readRow(t, r, c, year, employees, b);
        if (refusal.empty()) {
            const auto [it, fresh] = seen.emplace(std::pair{b.number, b.year}, t.lines[r]);
            if (!fresh) refusal = "员工“" + b.number + "”在第" + std::to_string(it->second) + "行已经出现过";
        }
        if (!refusal.empty()) result.refused.push_back(line + refusal);
        else rows.push_back(std::move(b));
    }
    if (!result.refused.empty()) return result;
    store(dm.DMADO, rows);
    result.written = static_cast<int>(rows.size());
    return result;
}

void importBasesAsked(app::TDM& dm, int year)
{
    app::requireRight(dm, "工资表管理");
    const std::string path = app::interaction().openFileName("请选择缴费基数文件", "Excel 文件 (*.xlsx *.xls)");
    if (path.empty()) return;
    BaseImportResult r;
    try {
        r = importBases(dm, path, year);
    } catch (const exchange::SourceError& e) {
        app::interaction().showMessage(std::string("不能读取文件：") + e.what());
        return;
    }
    if (r.refused.empty()) {
        app::interaction().showMessage("已导入" + std::to_string(r.written) + "名员工的缴费基数。");
        return;
    }
    std::string text = "文件中有" + std::to_string(r.refused.size()) + "处错误，没有导入任何数据：";
    for (size_t i = 0; i < r.refused.size() && i < 20; ++i) text += "\n" + r.refused[i];
    if (r.refused.size() > 20) text += "\n……";
    app::interaction().showMessage(text);
}

}  // namespace rsgz::payroll
