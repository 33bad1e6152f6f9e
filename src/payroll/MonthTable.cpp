#include "payroll/MonthTable.h"

#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

#include "db/Connection.h"
#include "db/LatinCase.h"
#include "db/BatchInsert.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryColumns.h"
#include "payroll/SalaryView.h"

namespace rsgz::payroll {

using db::Money;

namespace {

const char* const kPeriodWhere = " where 工资帐套=? and 年=? and 月=?";
const char* const kEmployeeColumns[] = {"员工编号", "姓名", "工资等级", "一级部门", "二级部门", "三级部门", "四级部门"};
constexpr int kEmployeeColumnCount = 7;

// The position of a code among gz01 … gz39.
size_t codeIndex(const std::string& code) { return static_cast<size_t>(std::stoi(code.substr(2)) - 1); }

std::string codeList(const char* separator)
{
    std::string out;
    for (const std::string& code : salaryCodes()) out += (out.empty() ? "" : separator) + code;
    return out;
}


void bindPeriod(db::BoundStatement& st, const Period& p, int first)
{
    st.bind(first, std::string_view(p.set)).bind(first + 1, std::string_view(p.year)).bind(first + 2, std::string_view(p.month));
}

std::string employeeSelect()
{
    std::string sql = "select ";
    for (int i = 0; i < kEmployeeColumnCount; ++i) sql += std::string(i ? "," : "") + kEmployeeColumns[i];
    return sql + " from 员工基本情况 where 工资帐套名称=? and 工资核算='是'";
}

// The insert of generated rows: the period, the seven employee columns, 出勤天数, 结帐状态 and
// the 39 amounts, in this order.
constexpr int kRowColumns = 3 + kEmployeeColumnCount + 2 + 39;

std::string rowInsertHead()
{
    std::string cols = "工资帐套,年,月";
    for (const char* c : kEmployeeColumns) cols += std::string(",") + c;
    cols += ",出勤天数,结帐状态";
    for (const std::string& code : salaryCodes()) cols += "," + code;
    return "insert into 工资表 (" + cols + ")";
}

std::string rowInsert()
{
    std::string marks;
    for (int i = 0; i < kRowColumns; ++i) marks += i ? ",?" : "?";
    return rowInsertHead() + " values (" + marks + ")";
}

}  // namespace

// --- period --------------------------------------------------------------------------------------

Period Period::of(std::string set, int year, int month)
{
    return {std::move(set), std::to_string(year), (month < 10 ? "0" : "") + std::to_string(month)};
}

Period Period::previous() const
{
    const int m = std::stoi(month), y = std::stoi(year);
    return m <= 1 ? of(set, y - 1, 12) : of(set, y, m - 1);
}

db::SqlLines Period::conditionLines() const
{
    return {"where 工资帐套=" + db::sqlQuote(set), "and 年=" + db::sqlQuote(year), "and 月=" + db::sqlQuote(month)};
}

// --- what a set gives a new row ------------------------------------------------------------------

struct MonthTable::SetData {
    struct Item {
        std::string code;
        std::string name;
        Money initial;
    };
    std::vector<Item> items;
    std::unordered_map<std::string, Money> gradeValues;  // folded grade + "\x1f" + folded item name

    std::optional<Money> gradeValue(const std::string& grade, const std::string& item) const
    {
        const auto it = gradeValues.find(db::foldLatin(grade) + '\x1f' + db::foldLatin(item));
        if (it == gradeValues.end()) return std::nullopt;
        return it->second;
    }
    Money startingValue(const Item& item, const std::string& grade) const
    {
        return gradeValue(grade, item.name).value_or(item.initial);
    }
};

// The items and the grade values are read once per run, not once per cell.
MonthTable::SetData MonthTable::readSet(const std::string& set)
{
    SetData data;
    db::BoundStatement items(conn_, "select 工资代码, 工资项目, 初始值 from 帐套, 工资帐套明细 "
                                "where 帐套编号1=帐套编号 and 帐套名称=? order by 工资代码");
    items.bind(1, std::string_view(set));
    while (items.step()) {
        // Only a real salary column is ever written; an item with any other code is passed over.
        const std::string code = normalSalaryCode(items.textOrEmpty(0));
        if (!code.empty()) data.items.push_back({code, items.textOrEmpty(1), items.money(2)});
    }
    db::BoundStatement values(conn_, "select 工资等级, 工资项目, 金额 from 默认工资等级值 order by 顺序号");
    while (values.step())  // the first row of a grade and item counts
        data.gradeValues.try_emplace(db::foldLatin(values.textOrEmpty(0)) + '\x1f' + db::foldLatin(values.textOrEmpty(1)), values.money(2));
    return data;
}

void MonthTable::report(int done, int total)
{
    if (progress && total > 0) progress(static_cast<int>(std::lround(100.0 * done / total)));
}

int MonthTable::rowCount(const Period& p)
{
    db::BoundStatement st(conn_, std::string("select count(*) from 工资表") + kPeriodWhere);
    bindPeriod(st, p, 1);
    st.step();
    return static_cast<int>(st.integer(0));
}

int MonthTable::closedCount(const Period& p)
{
    db::BoundStatement st(conn_, std::string("select count(*) from 工资表") + kPeriodWhere + " and 结帐状态='是'");
    bindPeriod(st, p, 1);
    st.step();
    return static_cast<int>(st.integer(0));
}

// --- generate ------------------------------------------------------------------------------------

namespace {

struct Employee {
    std::optional<std::string> cols[kEmployeeColumnCount];
    const std::string& number() const { return *cols[0]; }
    std::string grade() const { return cols[2].value_or(std::string()); }
};

std::vector<Employee> readEmployees(db::Connection& conn, const std::string& set)
{
    db::BoundStatement st(conn, employeeSelect());
    st.bind(1, std::string_view(set));
    std::vector<Employee> out;
    while (st.step()) {
        Employee e;
        for (int i = 0; i < kEmployeeColumnCount; ++i) e.cols[i] = st.text(i);
        if (!e.cols[0]) e.cols[0] = std::string();
        out.push_back(std::move(e));
    }
    return out;
}

// The values of one new row for an employee with the amounts given, bound to a statement of one
// row or to the next row of a batch.
template <class Insert>
void bindRow(Insert& insert, const Period& p, const Employee& e, const std::vector<Money>& amounts)
{
    insert.bind(1, std::string_view(p.set)).bind(2, std::string_view(p.year)).bind(3, std::string_view(p.month));
    int param = 4;
    for (const auto& col : e.cols) insert.bind(param++, col);
    insert.bind(param++, 30.0).bind(param++, std::string_view("否"));
    for (const Money& m : amounts) insert.bind(param++, m);
}

// Writes one new row for an employee with the amounts given.
void insertRow(db::BoundStatement& insert, const Period& p, const Employee& e, const std::vector<Money>& amounts)
{
    bindRow(insert, p, e, amounts);
    insert.run();
}

// Every gz amount 0, then each item of the set its starting value for the grade.
template <class SetData>
void startingAmounts(const SetData& set, const std::string& grade, std::vector<Money>& amounts)
{
    std::fill(amounts.begin(), amounts.end(), Money());
    for (const auto& item : set.items) amounts[codeIndex(item.code)] = set.startingValue(item, grade);
}

}  // namespace

int MonthTable::generateFromSet(const Period& p)
{
    db::Transaction t(conn_);
    const SetData set = readSet(p.set);
    const std::vector<Employee> employees = readEmployees(conn_, p.set);
    // Many rows to a statement: on a server each statement is a trip there and back.
    db::BatchInsert insert(conn_, rowInsertHead(), kRowColumns);
    std::vector<Money> amounts(39);
    for (size_t i = 0; i < employees.size(); ++i) {
        startingAmounts(set, employees[i].grade(), amounts);
        bindRow(insert, p, employees[i], amounts);
        insert.endRow();
        report(static_cast<int>(i + 1), static_cast<int>(employees.size()));
    }
    insert.finish();
    t.commit();
    return static_cast<int>(employees.size());
}

// --- copy ----------------------------------------------------------------------------------------

namespace {

// Every column of 工资表 but its key, in table order.
std::vector<std::string> copiedColumns(db::Connection& conn)
{
    std::vector<std::string> cols = conn.columnNames("工资表");
    std::erase(cols, "编号");
    return cols;
}

// Copies one row by its key into the new period, only while its employee is still in payroll.
// The computed columns start at 0: the closed month's frozen figures are no input for the new one.
std::string rowCopy(const std::vector<std::string>& cols, const SalaryViewConfig& set)
{
    std::string names, values;
    for (const std::string& c : cols) {
        names += (names.empty() ? "" : ",") + c;
        std::string v = "s." + c;
        if (c == "年") v = "?1";
        else if (c == "月") v = "?2";
        else if (c == "结帐状态") v = "'否'";
        else if (set.isComputed(c)) v = "0";
        values += (values.empty() ? "" : ",") + v;
    }
    return "insert into 工资表 (" + names + ") select " + values + " from 工资表 s where s.编号=?3 and exists "
           "(select 1 from 员工基本情况 e where e.员工编号=s.员工编号 and e.工资核算='是')";
}

}  // namespace

int MonthTable::copyPreviousMonth(const Period& p)
{
    const Period before = p.previous();
    if (rowCount(before) == 0) return generateFromSet(p);
    db::Transaction t(conn_);
    std::vector<int64_t> keys;
    {
        db::BoundStatement rows(conn_, std::string("select 编号 from 工资表") + kPeriodWhere + " order by 编号");
        bindPeriod(rows, before, 1);
        while (rows.step()) keys.push_back(rows.integer(0));
    }
    // The entered amounts go over as stored, column to column: nothing is converted on the way.
    db::BoundStatement copy(conn_, rowCopy(copiedColumns(conn_), buildSalaryView(conn_, p.set)));
    int copied = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        copy.bind(1, std::string_view(p.year)).bind(2, std::string_view(p.month)).bind(3, keys[i]);
        copy.run();
        copied += conn_.changedRows();
        report(static_cast<int>(i + 1), static_cast<int>(keys.size()));
    }
    t.commit();
    return copied;
}

// --- synchronise ---------------------------------------------------------------------------------

namespace {

// The rows of employees taken out of payroll go.
const char* const kOutOfPayroll = " and 员工编号 in (select 员工编号 from 员工基本情况 where 工资核算='否')";

}  // namespace

MonthTable::SyncResult MonthTable::synchronise(const Period& p)
{
    SyncResult r;
    db::Transaction t(conn_);
    if (closedCount(p) > 0) {
        r.closedMonth = true;
        return r;
    }
    {
        db::BoundStatement drop(conn_, std::string("delete from 工资表") + kPeriodWhere + kOutOfPayroll);
        bindPeriod(drop, p, 1);
        drop.run();
        r.removed = conn_.changedRows();
    }
    const SetData set = readSet(p.set);
    const std::vector<Employee> employees = readEmployees(conn_, p.set);
    db::BoundStatement find(conn_, "select 编号, 工资等级, " + codeList(",") + " from 工资表" + kPeriodWhere +
                                   " and 员工编号=? order by 编号 limit 1");
    db::BoundStatement refresh(conn_, "update 工资表 set 姓名=?,一级部门=?,二级部门=?,三级部门=?,四级部门=? where 编号=?");
    db::BoundStatement regrade(conn_, "update 工资表 set 工资等级=?," + codeList("=?,") + "=? where 编号=?");
    db::BoundStatement insert(conn_, rowInsert());
    std::vector<Money> amounts(39);
    for (size_t i = 0; i < employees.size(); ++i) {
        const Employee& e = employees[i];
        bindPeriod(find, p, 1);
        find.bind(4, std::string_view(e.number()));
        if (!find.step()) {
            find.reset();
            startingAmounts(set, e.grade(), amounts);
            insertRow(insert, p, e, amounts);
            ++r.added;
        } else {
            const int64_t key = find.integer(0);
            const std::string oldGrade = find.textOrEmpty(1);
            for (size_t c = 0; c < 39; ++c) amounts[c] = find.money(static_cast<int>(c) + 2);
            find.reset();
            refresh.bind(1, e.cols[1]).bind(2, e.cols[3]).bind(3, e.cols[4]).bind(4, e.cols[5]).bind(5, e.cols[6]);
            refresh.bind(6, key).run();
            if (oldGrade != e.grade()) {
                // The new grade's amounts replace the old; an item it has none for gets its initial
                // value only where nothing was entered.
                for (const SetData::Item& item : set.items) {
                    Money& cell = amounts[codeIndex(item.code)];
                    if (const auto v = set.gradeValue(e.grade(), item.name)) cell = *v;
                    else if (cell == Money()) cell = item.initial;
                }
                regrade.bind(1, e.cols[2]);
                for (size_t c = 0; c < 39; ++c) regrade.bind(static_cast<int>(c) + 2, amounts[c]);
                regrade.bind(41, key).run();
            }
            ++r.updated;
        }
        report(static_cast<int>(i + 1), static_cast<int>(employees.size()));
    }
    t.commit();
    return r;
}

// --- delete --------------------------------------------------------------------------------------

int MonthTable::remove(const Period& p)
{
    db::Transaction t(conn_);
    db::BoundStatement drop(conn_, std::string("delete from 工资表") + kPeriodWhere);
    bindPeriod(drop, p, 1);
    drop.run();
    const int n = conn_.changedRows();
    t.commit();
    return n;
}

}  // namespace rsgz::payroll
