#include "payroll/SalaryView.h"

#include <sqlite3.h>

#include <algorithm>

#include "db/ChineseCollation.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/BoundStatement.h"
#include "payroll/Formula.h"
#include "payroll/IncomeTax.h"
#include "payroll/TaxLaw.h"
#include "payroll/ViewWithholding.h"

namespace rsgz::payroll {

using db::Money;
using db::SqlLines;

namespace {

const char* const kClosedTest = "结帐状态='是'";
const char* const kOpenTest = "(结帐状态 is null or 结帐状态<>'是')";

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::vector<std::string> tableColumns(db::Connection& conn)
{
    db::Statement st = conn.prepareNative("select * from 工资表 limit 0");
    std::vector<std::string> out;
    for (int c = 0; c < sqlite3_column_count(st.get()); ++c) out.emplace_back(sqlite3_column_name(st.get(), c));
    return out;
}

std::vector<SalaryItem> readItems(db::Connection& conn, const std::string& set)
{
    BoundStatement st(conn,
                      "select 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联 "
                      "from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? order by 工资代码");
    st.bind(1, std::string_view(set));
    std::vector<SalaryItem> items;
    while (st.step()) {
        SalaryItem it;
        it.code = st.textOrEmpty(0);
        it.name = st.textOrEmpty(1);
        it.formula = st.textOrEmpty(2);
        it.taxFlag = st.textOrEmpty(3) == "是";
        it.threshold = st.money(4);
        it.taxLink = st.textOrEmpty(5);
        if (!it.code.empty()) items.push_back(std::move(it));
    }
    return items;
}

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return sameName(n, name); });
}

// The net-pay item: the last item, when it has a formula. Its terms must name columns of the view;
// one that does not is said once here and counts as nothing.
void configureNet(SalaryViewConfig& v, const std::vector<std::string>& columns)
{
    const SalaryItem& last = v.items.back();
    if (last.formula.empty()) return;
    const NetPayTerms terms = parseNetPayTerms(last.formula);
    if (!terms.ok) {
        v.warnings.push_back("工资项目“" + last.name + "”的实发公式有误，显示保存的数值：" + terms.message());
        return;
    }
    v.netColumn = last.code;
    auto keep = [&](const std::vector<std::string>& in, std::vector<std::string>& out) {
        for (const std::string& t : in) {
            if (listed(columns, t) && !sameName(t, last.code)) out.push_back(t);
            else v.warnings.push_back("工资项目“" + last.name + "”的公式中的“" + t + "”不是工资表的数值列，按0计算。");
        }
    };
    keep(terms.added, v.added);
    keep(terms.subtracted, v.subtracted);
}

void configureTax(SalaryViewConfig& v)
{
    const SalaryItem* tax = nullptr;
    for (const SalaryItem& it : v.items)
        if (it.taxFlag && it.formula.empty() && it.code != v.netColumn) tax = &it;  // the highest code wins
    if (!tax) return;
    v.taxColumn = tax->code;
    v.threshold = tax->threshold;
    for (const SalaryItem& it : v.items)
        if (!tax->taxLink.empty() && it.name == tax->taxLink) v.taxBaseColumn = it.code;
    if (v.taxBaseColumn.empty())
        v.warnings.push_back("所得税项目“" + tax->name + "”没有关联的工资项目，不计算所得税。");
}

std::string formulaExpression(SalaryViewConfig& v, const SalaryItem& it)
{
    const FormulaResult r = translateFormula(it.formula);
    if (!r.ok) {
        v.warnings.push_back("工资项目“" + it.name + "”的计算公式有误，显示保存的数值：" + r.message());
        return it.code;
    }
    // A closed row keeps the value it was paid with.
    return std::string("case when ") + kClosedTest + " then " + it.code + " else " + r.sql + " end";
}

}  // namespace

// --- configuration ---------------------------------------------------------------------------------

const SalaryItem* SalaryViewConfig::item(const std::string& code) const
{
    for (const SalaryItem& it : items)
        if (sameName(it.code, code)) return &it;
    return nullptr;
}

bool SalaryViewConfig::isFormula(const std::string& column) const
{
    const SalaryItem* it = item(column);
    // The last item's formula is a net-pay chain, never a database expression.
    return it && !it->formula.empty() && !isComputed(it->code) && it != &items.back();
}

std::string SalaryViewConfig::columnExpression(const std::string& column) const
{
    if (isFormula(column)) {
        const FormulaResult r = translateFormula(item(column)->formula);
        if (r.ok) return std::string("case when ") + kClosedTest + " then " + column + " else " + r.sql + " end";
    }
    return column;
}

std::string storedColumnName(const std::string& code) { return "已存" + code; }

SalaryViewConfig buildSalaryView(db::Connection& conn, const std::string& set)
{
    SalaryViewConfig v;
    v.set = set;
    const std::vector<std::string> columns = tableColumns(conn);
    if (!set.empty()) v.items = readItems(conn, set);
    v.selectLines.push_back("select ");
    for (const std::string& c : columns)
        if (!v.item(c)) v.selectLines.insert(v.selectLines.end(), {c, ","});
    if (!v.items.empty()) {
        configureNet(v, columns);
        configureTax(v);
    }
    for (const SalaryItem& it : v.items) {
        const bool faultyNet = &it == &v.items.back() && v.netColumn.empty();
        if (v.isComputed(it.code)) v.selectLines.push_back(it.code + " as " + storedColumnName(it.code));
        else if (!it.formula.empty() && !faultyNet) v.selectLines.push_back(formulaExpression(v, it) + " as " + it.code);
        else v.selectLines.push_back(it.code);
        v.selectLines.push_back(",");
    }
    v.selectLines.back() = "";
    v.selectLines.push_back(" from 工资表");
    return v;
}

// --- filter ----------------------------------------------------------------------------------------

SqlLines SalaryFilter::conditionLines(const SalaryViewConfig& view) const
{
    SqlLines lines;
    lines.push_back("where 工资帐套=" + db::sqlQuote(set));
    auto isColumn = [&](const std::string& f) {
        return !f.empty() && !view.isComputed(f) &&
               (view.item(f) || std::any_of(view.selectLines.begin(), view.selectLines.end(),
                                            [&](const std::string& l) { return sameName(l, f); }));
    };
    for (const auto& [field, text] : nodes)
        if (isColumn(field)) lines.push_back("and " + field + "=" + db::sqlQuote(text));
    if (isColumn(searchField) && !searchText.empty())
        lines.push_back("and " + view.columnExpression(searchField) + " like " + db::sqlQuote("%" + searchText + "%"));
    return lines;
}

// --- the view --------------------------------------------------------------------------------------

SalaryView::SalaryView(db::Connection& conn, db::DataSet& gzb) : conn_(conn), gzb_(gzb)
{
    gzb_.rules().calculate = [this](db::CalcRow& row) {
        const auto found = values_.find(row.get("编号").toInt());
        if (found == values_.end()) return;
        if (!config_.taxColumn.empty() && !config_.taxBaseColumn.empty()) row.set(config_.taxColumn, found->second.tax);
        if (!config_.netColumn.empty()) row.set(config_.netColumn, found->second.net);
    };
}

void SalaryView::build(const std::string& set)
{
    config_ = buildSalaryView(conn_, set);
    filter_.set = set;
}

SqlLines SalaryView::statementFor(bool withOrder, const std::string& extra) const
{
    SqlLines lines = config_.selectLines;
    if (!config_.set.empty()) {
        for (std::string& l : filter_.conditionLines(config_)) lines.push_back(std::move(l));
        if (!extra.empty()) lines.push_back("and " + extra);
    } else if (!extra.empty()) {
        lines.push_back("where " + extra);
    }
    const bool sortable = !filter_.sortField.empty() && !config_.isComputed(filter_.sortField);
    if (withOrder && sortable)
        lines.push_back("order by " + db::sqlOrderTerm(config_.columnExpression(filter_.sortField), filter_.descending));
    return lines;
}

SqlLines SalaryView::statement() const { return statementFor(true); }

void SalaryView::open()
{
    gzb_.close();
    gzb_.clearCalcFields();
    for (const std::string& c : {config_.taxColumn, config_.netColumn})
        if (!c.empty()) gzb_.addCalcField(c, db::FieldType::Currency);
    // A formula item is an amount like the others: shown "0.00", summed and printed as money.
    gzb_.clearExpressionTypes();
    for (const SalaryItem& it : config_.items)
        if (config_.isFormula(it.code)) gzb_.setExpressionType(it.code, db::FieldType::Currency);
    gzb_.setSql(statement());
    values_.clear();
    gzb_.disableControls();
    try {
        gzb_.open();
        values_ = compute(gzb_);
        withholding_ = lastWithholding_;
        if (sortsByComputedColumn()) sortByComputed();
    } catch (...) {
        gzb_.enableControls();
        throw;
    }
    gzb_.enableControls();
}

SalaryView::Values SalaryView::compute(db::DataSet& ds)
{
    Values out;
    const int idIdx = ds.fieldIndex("编号"), stateIdx = ds.fieldIndex("结帐状态");
    const int baseIdx = config_.taxBaseColumn.empty() ? -1 : ds.fieldIndex(config_.taxBaseColumn);
    const int taxStored = config_.taxColumn.empty() ? -1 : ds.fieldIndex(storedColumnName(config_.taxColumn));
    const int netStored = config_.netColumn.empty() ? -1 : ds.fieldIndex(storedColumnName(config_.netColumn));
    // Each term as a field of the row, or -2 for the tax computed just before.
    auto resolve = [&](const std::vector<std::string>& terms) {
        std::vector<int> idx;
        for (const std::string& t : terms) idx.push_back(sameName(t, config_.taxColumn) ? -2 : ds.fieldIndex(t));
        return idx;
    };
    const std::vector<int> added = resolve(config_.added), subtracted = resolve(config_.subtracted);
    IncomeTax tax(TaxBrackets::read(conn_));
    auto withholding = cumulativeWithholding(ds);
    out.reserve(static_cast<size_t>(ds.rowCount()));
    for (int row = 0; row < ds.rowCount(); ++row) {
        Computed c;
        const bool closed = stateIdx >= 0 && ds.rowValue(row, stateIdx).toString() == "是";
        Money cumulative;
        if (withholding) {
            auto valueOf = [&](const std::string& code) {
                const int i = ds.fieldIndex(code);
                return i >= 0 ? ds.rowValue(row, i).toMoney() : Money();
            };
            cumulative = withholding->taxOf(withholdingRow(ds, row), valueOf);
        }
        if (closed) {
            if (taxStored >= 0) c.tax = ds.rowValue(row, taxStored).toMoney();
            if (netStored >= 0) c.net = ds.rowValue(row, netStored).toMoney();
        } else {
            if (withholding) c.tax = cumulative;
            else if (baseIdx >= 0) c.tax = tax.taxOf(ds.rowValue(row, baseIdx).toMoney(), config_.threshold);
            auto term = [&](int i) { return i == -2 ? c.tax : i >= 0 ? ds.rowValue(row, i).toMoney() : Money(); };
            for (int i : added) c.net = c.net + term(i);
            for (int i : subtracted) c.net = c.net - term(i);
        }
        out[ds.rowValue(row, idIdx).toInt()] = c;
    }
    missedBracket_ = tax.missedBracket();
    lastWithholding_ = withholding;
    return out;
}

// The cumulative withholding of the rows read, for a set that withholds so: the year-to-date
// figures of every month and employee the rows hold, read once.
std::shared_ptr<tax::ViewWithholding> SalaryView::cumulativeWithholding(const db::DataSet& ds) const
{
    if (!cumulativeTax_ || config_.set.empty() || config_.taxColumn.empty() || config_.taxBaseColumn.empty() ||
        tax::taxMethodOf(conn_, config_.set) != tax::TaxMethod::Cumulative)
        return nullptr;
    auto w = std::make_shared<tax::ViewWithholding>(conn_, config_.set);
    std::vector<tax::ViewWithholding::Row> rows;
    rows.reserve(static_cast<size_t>(ds.rowCount()));
    for (int row = 0; row < ds.rowCount(); ++row) rows.push_back(withholdingRow(ds, row));
    w->prepare(rows);
    return w;
}

tax::ViewWithholding::Row SalaryView::withholdingRow(const db::DataSet& ds, int row) const
{
    auto text = [&](const char* f) {
        const int i = ds.fieldIndex(f);
        return i >= 0 ? ds.rowValue(row, i).toString() : std::string();
    };
    tax::ViewWithholding::Row r;
    r.id = ds.rowValue(row, ds.fieldIndex("编号")).toInt();
    r.employee = text("员工编号");
    r.year = text("年");
    r.month = text("月");
    r.closed = text("结帐状态") == "是";
    const int stored = ds.fieldIndex(storedColumnName(config_.taxColumn));
    if (r.closed && stored >= 0) r.storedTax = ds.rowValue(row, stored).toMoney();
    return r;
}

bool SalaryView::sortsByComputedColumn() const { return config_.isComputed(filter_.sortField); }

// The tax and the net pay exist only here, so the database cannot order by them: the rows are put
// into the order of the values they show. Equal values keep the order they were read in.
void SalaryView::sortByComputed()
{
    const bool byTax = sameName(filter_.sortField, config_.taxColumn);
    const int idIdx = gzb_.fieldIndex("编号");
    std::vector<std::pair<Money, int>> keys;
    keys.reserve(static_cast<size_t>(gzb_.rowCount()));
    for (int row = 0; row < gzb_.rowCount(); ++row) {
        const Computed& c = values_[gzb_.rowValue(row, idIdx).toInt()];
        keys.emplace_back(byTax ? c.tax : c.net, row);
    }
    const bool down = filter_.descending;
    std::stable_sort(keys.begin(), keys.end(), [down](const auto& a, const auto& b) {
        return down ? b.first < a.first : a.first < b.first;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const auto& k : keys) order.push_back(k.second);
    gzb_.reorderRows(order);
}

Money SalaryView::taxOf(int64_t id) const
{
    const auto f = values_.find(id);
    return f == values_.end() ? Money() : f->second.tax;
}

Money SalaryView::netOf(int64_t id) const
{
    const auto f = values_.find(id);
    return f == values_.end() ? Money() : f->second.net;
}

// --- closing ---------------------------------------------------------------------------------------

SalaryView::Scope SalaryView::scope(bool closing) const
{
    SqlLines lines = {"select 年, 月, count(*) as 行数 from 工资表"};
    SqlLines where = statementFor(false, closing ? kOpenTest : kClosedTest);
    lines.insert(lines.end(), where.begin() + static_cast<long>(config_.selectLines.size()), where.end());
    lines.push_back("group by 年, 月 order by 年, 月");
    db::DataSet ds(&conn_, "gzb_scope", lines);
    ds.open();
    Scope s;
    for (ds.first(); !ds.eof(); ds.next()) {
        s.rows += static_cast<int>(ds.asInt("行数"));
        s.months.push_back(ds.asString("年") + "年" + ds.asString("月") + "月");
    }
    return s;
}

std::string SalaryView::question(bool closing) const
{
    const Scope s = scope(closing);
    const std::string what = closing ? "结帐" : "取消结帐";
    if (s.rows == 0) return {};
    std::string months;
    for (const std::string& m : s.months) months += (months.empty() ? "" : "、") + m;
    std::string text = "将对帐套“" + config_.set + "”";
    if (!filter_.narrowedToNodes()) text += "所有月份";
    return text + "的 " + std::to_string(s.rows) + " 条工资记录（" + months + "）" + what + "，继续吗?";
}

int SalaryView::closeRows()
{
    // The open rows of the view, read with their displayed values.
    db::DataSet ds(&conn_, "gzb_close", statementFor(false, kOpenTest));
    ds.open();
    const Values values = compute(ds);
    std::vector<std::string> frozen;
    for (const SalaryItem& it : config_.items)
        if (config_.isFormula(it.code)) frozen.push_back(it.code);
    std::string sql = "update 工资表 set 结帐状态='是'";
    for (const std::string& c : frozen) sql += ", " + c + "=?";
    const bool withTax = !config_.taxColumn.empty() && !config_.taxBaseColumn.empty();
    if (withTax) sql += ", " + config_.taxColumn + "=?";
    if (!config_.netColumn.empty()) sql += ", " + config_.netColumn + "=?";
    sql += " where 编号=?";

    std::vector<int> frozenIdx;
    for (const std::string& c : frozen) frozenIdx.push_back(ds.fieldIndex(c));
    const int idIdx = ds.fieldIndex("编号");
    gzb_.close();
    {
        db::Transaction t(conn_);
        BoundStatement st(conn_, sql);
        for (int row = 0; row < ds.rowCount(); ++row) {
            const int64_t id = ds.rowValue(row, idIdx).toInt();
            const Computed& c = values.at(id);
            int p = 1;
            for (int i : frozenIdx) {
                const db::Value v = ds.rowValue(row, i);
                if (v.isNull()) st.bindNull(p++);
                else st.bind(p++, v.toMoney());
            }
            if (withTax) st.bind(p++, c.tax);
            if (!config_.netColumn.empty()) st.bind(p++, c.net);
            st.bind(p, id);
            st.run();
        }
        t.commit();
    }
    open();
    return ds.rowCount();
}

int SalaryView::reopenRows()
{
    SqlLines lines = {"update 工资表 set 结帐状态='否'"};
    const SqlLines all = statementFor(false, kClosedTest);
    lines.insert(lines.end(), all.begin() + static_cast<long>(config_.selectLines.size()), all.end());
    gzb_.close();
    const int n = conn_.exec(db::joinSqlLines(lines));
    open();
    return n;
}

// --- grid ------------------------------------------------------------------------------------------

std::vector<std::string> SalaryView::gridColumns() const
{
    std::vector<std::string> out = {"序号", "姓名", "工资等级"};
    for (const SalaryItem& it : config_.items) out.push_back(it.code);
    for (const char* c : {"年", "月", "出勤天数", "一级部门", "二级部门", "三级部门", "四级部门", "签名", "员工编号",
                          "结帐状态", "发放日期", "工资帐套", "备注"})
        out.emplace_back(c);
    return out;
}

std::string SalaryView::titleOf(const std::string& column) const
{
    const SalaryItem* it = config_.item(column);
    return it && !it->name.empty() ? it->name : column;
}

}  // namespace rsgz::payroll
