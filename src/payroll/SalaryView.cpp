#include "payroll/SalaryView.h"

#include <algorithm>

#include "db/ChineseCollation.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/LatinCase.h"
#include "db/BoundStatement.h"
#include "payroll/Formula.h"
#include "payroll/IncomeTax.h"
#include "payroll/TaxLaw.h"

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
    return conn.columnNames("工资表");
}

std::vector<SalaryItem> readItems(db::Connection& conn, const std::string& set)
{
    db::BoundStatement st(conn,
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
}

// A set that withholds cumulatively taxes what its items hold for the withholding; without a 收入
// item it takes the tax item's base as the income, as the month table would.
void configureCumulativeTax(db::Connection& conn, SalaryViewConfig& v)
{
    if (v.set.empty() || v.taxColumn.empty() || tax::taxMethodOf(conn, v.set) != tax::TaxMethod::Cumulative) return;
    const tax::SetKinds k = tax::readSetKinds(conn, v.set, v.taxColumn, v.taxBaseColumn);
    for (int m = 0; m < tax::SetKinds::Tax; ++m)
        for (const std::string& c : k.columns[m])
            if (std::find(v.taxReads.begin(), v.taxReads.end(), c) == v.taxReads.end()) v.taxReads.push_back(c);
    v.cumulativeTax = !v.taxReads.empty();
}

void warnWithoutBase(SalaryViewConfig& v)
{
    if (v.taxColumn.empty() || !v.taxBaseColumn.empty() || v.cumulativeTax) return;
    const SalaryItem* tax = v.item(v.taxColumn);
    v.warnings.push_back("所得税项目“" + (tax ? tax->name : v.taxColumn) + "”没有关联的工资项目，不计算所得税。");
}

}  // namespace

// --- configuration ---------------------------------------------------------------------------------

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
        configureCumulativeTax(conn, v);
        warnWithoutBase(v);
    }
    planCalculation(v);
    // The computed columns are read under another name: their stored value is what a closed row shows.
    for (const SalaryItem& it : v.items) {
        if (v.isComputed(it.code)) v.selectLines.push_back(it.code + " as " + storedColumnName(it.code));
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
        lines.push_back("and " + searchField + " like " + db::sqlQuote("%" + searchText + "%"));
    return lines;
}

// --- the view --------------------------------------------------------------------------------------

SalaryView::SalaryView(db::Connection& conn, db::DataSet& gzb) : conn_(conn), gzb_(gzb)
{
    gzb_.addListener(this);
    gzb_.rules().calculate = [this](db::CalcRow& row) {
        if (!calc_) return;
        auto fill = [&](int step) {
            const Amount v = computedValue(row.row(), step);
            row.set(config_.steps[static_cast<size_t>(step)].column, v ? db::Value(*v) : db::Value());
        };
        if (!row.wanted().empty()) {
            const int step = stepOf(row.wanted());
            if (step >= 0) fill(step);
            return;
        }
        for (int k = 0; k < static_cast<int>(config_.steps.size()); ++k) fill(k);
    };
}

SalaryView::~SalaryView()
{
    gzb_.removeListener(this);
    gzb_.rules().calculate = nullptr;
}

void SalaryView::build(const std::string& set)
{
    config_ = buildSalaryView(conn_, set);
    filter_.set = set;
    calc_.reset();
    withholding_.reset();
    values_.clear();
    offsetOf_.clear();
}

bool SalaryView::searchesComputedColumn() const
{
    return !filter_.searchText.empty() && config_.isComputed(filter_.searchField);
}

// shownOnly: the rows a search by a computed column kept at the last reading, by their keys, so
// that closing and its question take exactly the rows shown.
SqlLines SalaryView::statementFor(bool withOrder, const std::string& extra, bool shownOnly) const
{
    SqlLines lines = config_.selectLines;
    if (!config_.set.empty()) {
        for (std::string& l : filter_.conditionLines(config_)) lines.push_back(std::move(l));
        if (!extra.empty()) lines.push_back("and " + extra);
        if (shownOnly && searchesComputedColumn()) {
            std::string keys;
            for (int64_t id : shownIds_) keys += (keys.empty() ? "" : ",") + std::to_string(id);
            lines.push_back(keys.empty() ? "and 1=0" : "and 编号 in (" + keys + ")");
        }
    } else if (!extra.empty()) {
        lines.push_back("where " + extra);
    }
    const bool sortable = !filter_.sortField.empty() && !config_.isComputed(filter_.sortField);
    if (withOrder && sortable) lines.push_back("order by " + db::sqlOrderTerm(filter_.sortField, filter_.descending));
    return lines;
}

SqlLines SalaryView::statement() const { return statementFor(true); }

void SalaryView::open()
{
    gzb_.close();
    gzb_.clearCalcFields();
    // The computed columns are amounts like the others: shown "0.00", summed and printed as money.
    for (const std::string& c : config_.computedColumns()) gzb_.addCalcField(c, db::FieldType::Currency);
    gzb_.clearExpressionTypes();
    gzb_.setSql(statementFor(true, {}, false));
    calc_.reset();
    values_.clear();
    offsetOf_.clear();
    opening_ = true;
    gzb_.disableControls();
    try {
        gzb_.open();
        calc_ = std::make_unique<RowCalculation>(config_, TaxBrackets::read(conn_));
        withholding_ = prepareWithholding(gzb_);
        if (withholding_) bindRowTax(*calc_, withholding_.get());
        reader_ = readerFor(gzb_, *calc_);
        computeAll();
        if (searchesComputedColumn()) keepSearchedRows();
        if (sortsByComputedColumn()) sortByComputed();
    } catch (...) {
        gzb_.enableControls();
        opening_ = false;
        throw;
    }
    // The reset the grid hears now needs no second computation.
    gzb_.enableControls();
    opening_ = false;
}

SalaryView::Reader SalaryView::readerFor(const db::DataSet& ds, const RowCalculation& calc) const
{
    Reader r;
    r.id = ds.fieldIndex("编号");
    r.state = ds.fieldIndex("结帐状态");
    for (const std::string& c : calc.inputs()) {
        const int idx = ds.fieldIndex(c);
        // A computed column no step fills (the tax without its base) reads as empty.
        r.inputs.push_back(idx >= 0 && !ds.field(idx).calculated ? idx : -1);
    }
    for (const CalculationStep& s : config_.steps) r.stored.push_back(ds.fieldIndex(storedColumnName(s.column)));
    return r;
}

void SalaryView::computeRow(const db::DataSet& ds, const Reader& r, RowCalculation& calc, int row, Amount* out) const
{
    const size_t steps = config_.steps.size();
    rowContext_ = {&ds, row};
    if (r.state >= 0 && ds.valueAt(row, r.state).toString() == "是") {
        // A closed row keeps the values it was paid with.
        for (size_t k = 0; k < steps; ++k) {
            const db::Value v = r.stored[k] >= 0 ? ds.valueAt(row, r.stored[k]) : db::Value();
            out[k] = v.isNull() ? Amount() : Amount(v.toMoney());
        }
        // Its year-to-date figures all the same, for the card.
        if (calc.hasRowTax()) calc.rowTax([&](const std::string& column) {
            const int idx = ds.fieldIndex(config_.isComputed(column) ? storedColumnName(column) : column);
            return idx >= 0 ? ds.valueAt(row, idx).toMoney() : Money();
        });
        return;
    }
    inputs_.resize(r.inputs.size());
    for (size_t i = 0; i < r.inputs.size(); ++i) {
        const db::Value v = r.inputs[i] >= 0 ? ds.valueAt(row, r.inputs[i]) : db::Value();
        inputs_[i] = v.isNull() ? Amount() : Amount(v.toMoney());
    }
    calc.compute(inputs_.data(), out);
}

void SalaryView::computeAll()
{
    const size_t steps = config_.steps.size();
    values_.assign(static_cast<size_t>(gzb_.rowCount()) * steps, Amount());
    offsetOf_.clear();
    offsetOf_.reserve(static_cast<size_t>(gzb_.rowCount()));
    for (int row = 0; row < gzb_.rowCount(); ++row) {
        const size_t at = static_cast<size_t>(row) * steps;
        computeRow(gzb_, reader_, *calc_, row, values_.data() + at);
        const db::Value id = gzb_.valueAt(row, reader_.id);
        if (!id.isNull()) offsetOf_[id.toInt()] = at;
    }
    missedBracket_ = calc_->missedBracket();
}

int SalaryView::stepOf(std::string_view column) const
{
    for (size_t k = 0; k < config_.steps.size(); ++k)
        if (db::equalsIgnoringLatinCase(config_.steps[k].column, column)) return static_cast<int>(k);
    return -1;
}

// The row under the cursor is worked out afresh from what it holds, typed values included; the
// others come from the values computed when they were read or last changed.
SalaryView::Amount SalaryView::computedValue(int row, int step) const
{
    const bool current = row == gzb_.currentRow();
    if (!current && reader_.id >= 0) {
        const db::Value id = gzb_.valueAt(row, reader_.id);
        const auto found = id.isNull() ? offsetOf_.end() : offsetOf_.find(id.toInt());
        if (found != offsetOf_.end()) return values_[found->second + static_cast<size_t>(step)];
    }
    scratch_.resize(config_.steps.size());
    computeRow(gzb_, reader_, *calc_, row, scratch_.data());
    return scratch_[static_cast<size_t>(step)];
}

void SalaryView::dataSetReset(db::DataSet& ds)
{
    if (opening_ || !calc_) return;
    // Read again, reordered or changed in a loop that held the notices back.
    if (ds.active()) computeAll();
}

void SalaryView::rowChanged(db::DataSet& ds, int row)
{
    if (!calc_ || row < 0 || row >= ds.rowCount() || reader_.id < 0) return;
    const db::Value id = ds.valueAt(row, reader_.id);
    if (id.isNull()) return;
    const auto found = offsetOf_.find(id.toInt());
    if (found != offsetOf_.end()) computeRow(ds, reader_, *calc_, row, values_.data() + found->second);
}

// The quick search by a computed column compares the text the grid shows: "4300.10" holds "300.1".
void SalaryView::keepSearchedRows()
{
    const int step = stepOf(filter_.searchField);
    std::vector<int> kept;
    shownIds_.clear();
    for (int row = 0; row < gzb_.rowCount(); ++row) {
        const Amount v = step >= 0 ? computedValue(row, step) : Amount();
        if (!v || v->toString(2).find(filter_.searchText) == std::string::npos) continue;
        kept.push_back(row);
        shownIds_.push_back(gzb_.valueAt(row, reader_.id).toInt());
    }
    gzb_.keepRows(kept);
}

// The computed columns exist only here, so the database cannot order by them: the rows are put
// into the order of the values they show, empty values first as the database would. Equal values
// keep the order they were read in.
void SalaryView::sortByComputed()
{
    const int step = stepOf(filter_.sortField);
    std::vector<std::pair<Amount, int>> keys;
    keys.reserve(static_cast<size_t>(gzb_.rowCount()));
    for (int row = 0; row < gzb_.rowCount(); ++row) keys.emplace_back(step >= 0 ? computedValue(row, step) : Amount(), row);
    const bool down = filter_.descending;
    std::stable_sort(keys.begin(), keys.end(), [down](const auto& a, const auto& b) {
        return down ? b.first < a.first : a.first < b.first;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const auto& k : keys) order.push_back(k.second);
    gzb_.reorderRows(order);
}

int SalaryView::rowOf(int64_t id) const
{
    if (!gzb_.active() || reader_.id < 0) return -1;
    auto at = [&](int row) { return row >= 0 && row < gzb_.rowCount() && gzb_.valueAt(row, reader_.id).toInt() == id; };
    const auto hint = rowHint_.find(id);
    if (hint != rowHint_.end() && at(hint->second)) return hint->second;
    // Rows moved since: the positions are learnt again once, not searched for every value.
    rowHint_.clear();
    for (int row = 0; row < gzb_.rowCount(); ++row) {
        const db::Value v = gzb_.valueAt(row, reader_.id);
        if (!v.isNull()) rowHint_.emplace(v.toInt(), row);
    }
    const auto found = rowHint_.find(id);
    return found != rowHint_.end() && at(found->second) ? found->second : -1;
}

Money SalaryView::valueOf(int64_t id, const std::string& column) const
{
    if (!calc_ || !gzb_.active() || column.empty()) return Money();
    const int row = rowOf(id);
    if (row < 0) return Money();
    const int step = stepOf(column);
    if (step >= 0) return computedValue(row, step).value_or(Money());
    const int idx = gzb_.fieldIndex(column);
    return idx < 0 || gzb_.field(idx).calculated ? Money() : gzb_.valueAt(row, idx).toMoney();
}

// --- cumulative withholding ------------------------------------------------------------------------

// The year-to-date figures of every month and employee the rows hold, read once, for a set that
// withholds cumulatively.
std::shared_ptr<tax::ViewWithholding> SalaryView::prepareWithholding(const db::DataSet& ds) const
{
    if (!cumulativeTax_ || !config_.cumulativeTax) return nullptr;
    auto w = std::make_shared<tax::ViewWithholding>(conn_, config_.set, config_.taxColumn, config_.taxBaseColumn);
    std::vector<tax::ViewWithholding::Row> rows;
    rows.reserve(static_cast<size_t>(ds.rowCount()));
    for (int row = 0; row < ds.rowCount(); ++row) rows.push_back(withholdingRow(ds, row));
    w->prepare(rows);
    return w;
}

tax::ViewWithholding::Row SalaryView::withholdingRow(const db::DataSet& ds, int row) const
{
    auto value = [&](const std::string& f) {
        const int i = ds.fieldIndex(f);
        return i >= 0 ? ds.valueAt(row, i) : db::Value();
    };
    tax::ViewWithholding::Row r;
    r.id = value("编号").toInt();
    r.employee = value("员工编号").toString();
    r.year = value("年").toString();
    r.month = value("月").toString();
    r.closed = value("结帐状态").toString() == "是";
    if (r.closed) r.storedTax = value(storedColumnName(config_.taxColumn)).toMoney();
    return r;
}

// The tax step of every row computed through `calc` asks the withholding, for the row being computed.
void SalaryView::bindRowTax(RowCalculation& calc, tax::ViewWithholding* w) const
{
    calc.setRowTax([this, w](const RowCalculation::ValueOf& valueOf) {
        return w->taxOf(withholdingRow(*rowContext_.ds, rowContext_.row), valueOf);
    });
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
        s.periods.push_back({config_.set, ds.asString("年"), ds.asString("月")});
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
    // The open rows of the view, worked out as they are shown.
    db::DataSet ds(&conn_, "gzb_close", statementFor(false, kOpenTest));
    ds.open();
    RowCalculation calc(config_, TaxBrackets::read(conn_));
    const auto withholding = prepareWithholding(ds);
    if (withholding) bindRowTax(calc, withholding.get());
    const Reader r = readerFor(ds, calc);
    std::string sql = "update 工资表 set 结帐状态='是'";
    for (const CalculationStep& s : config_.steps) sql += ", " + s.column + "=?";
    sql += " where 编号=?";
    std::vector<Amount> out(config_.steps.size());
    gzb_.close();
    {
        db::Transaction t(conn_);
        db::BoundStatement st(conn_, sql);
        for (int row = 0; row < ds.rowCount(); ++row) {
            computeRow(ds, r, calc, row, out.data());
            int p = 1;
            for (const Amount& v : out) {
                if (v) st.bind(p++, *v);
                else st.bindNull(p++);
            }
            st.bind(p, ds.rowValue(row, r.id).toInt());
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
