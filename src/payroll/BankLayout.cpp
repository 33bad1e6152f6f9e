#include "payroll/BankLayout.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "db/ChineseCollation.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/BoundStatement.h"

namespace rsgz::payroll {

namespace {

std::string partNumber(int index) { return std::to_string(index + 1); }

// 1 … 8 for a stored part number, 0 for anything else.
int partOf(const std::string& number)
{
    for (int i = 0; i < BankLayout::kParts; ++i)
        if (number == partNumber(i)) return i + 1;
    return 0;
}

struct StoredRow {
    int64_t id = 0;
    int part = 0;
    std::optional<std::string> separator, otherSeparator;
    int64_t partsUsed = 0;
    bool partsUsedNull = true;
};

std::vector<StoredRow> storedRows(db::Connection& conn, const std::string& set)
{
    db::BoundStatement st(conn, "select 顺序号, 部分序号, 记录数, 分隔符, 分隔符其他 from 代发工资格式 "
                            "where 工资帐套=? order by 顺序号");
    st.bind(1, std::string_view(set));
    std::vector<StoredRow> rows;
    while (st.step()) {
        StoredRow r;
        r.id = st.integer(0);
        r.part = partOf(st.textOrEmpty(1));
        r.partsUsedNull = st.isNull(2);
        r.partsUsed = st.integer(2);
        r.separator = st.text(3);
        r.otherSeparator = st.text(4);
        rows.push_back(std::move(r));
    }
    return rows;
}

}  // namespace

std::string BankLayout::separatorText() const
{
    if (separator == "|") return "|";
    if (separator == "空格") return " ";
    if (separator == "逗号") return ",";
    if (separator == "其他") return otherSeparator;
    return {};  // 无, or a choice the program does not know
}

BankLayoutStore::BankLayoutStore(db::Connection& conn, db::DataSet& dfgz) : conn_(conn), dfgz_(dfgz) {}

void BankLayoutStore::repair(const std::string& set)
{
    // An operator who may not change the layouts sees them as stored; saving is refused by the rows.
    if (!dfgz_.mayChange()) return;
    const std::vector<StoredRow> rows = storedRows(conn_, set);
    std::map<int, const StoredRow*> kept;  // by part: the first row stored for it
    for (const StoredRow& r : rows)
        if (r.part > 0 && !kept.count(r.part)) kept[r.part] = &r;
    if (kept.size() == BankLayout::kParts && rows.size() == BankLayout::kParts) return;
    repaired_ = !rows.empty();  // a set without rows simply gets its first layout

    // New parts take the record settings of the kept part read last, so the repair does not change
    // how the kept parts are joined.
    const BankLayout defaults;
    const StoredRow* last = kept.empty() ? nullptr : kept.rbegin()->second;
    db::Transaction t(conn_);
    db::BoundStatement drop(conn_, "delete from 代发工资格式 where 顺序号=?");
    for (const StoredRow& r : rows)
        if (r.part == 0 || kept.at(r.part) != &r) drop.bind(1, r.id).run();
    db::BoundStatement add(conn_, "insert into 代发工资格式 (工资帐套, 部分序号, 记录数, 分隔符, 分隔符其他, 内容, 其他内容, "
                              "前加, 后加, 宽度, 固定宽度, 宽度加方向, 宽度加内容, 乘100) "
                              "values (?, ?, ?, ?, ?, ?, '', '', '', ?, ?, '', '', false)");
    for (int i = 0; i < BankLayout::kParts; ++i) {
        if (kept.count(i + 1)) continue;
        const BankPart part;
        add.bind(1, std::string_view(set)).bind(2, std::string_view(partNumber(i)));
        if (last && last->partsUsedNull) add.bindNull(3);
        else add.bind(3, last ? last->partsUsed : int64_t{defaults.partsUsed});
        add.bind(4, last ? last->separator : std::optional<std::string>(defaults.separator));
        add.bind(5, last ? last->otherSeparator : std::optional<std::string>(defaults.otherSeparator));
        add.bind(6, std::string_view(part.content)).bind(7, std::string_view(kActualWidth));
        add.bind(8, int64_t{part.width}).run();
    }
    t.commit();
}

void BankLayoutStore::openRows(const std::string& set)
{
    dfgz_.close();
    dfgz_.setSql(db::SqlLines{"select * from 代发工资格式", "where 工资帐套=" + db::sqlQuote(set),
                              "order by " + db::sqlOrderTerm("部分序号")});
    dfgz_.open();
}

BankLayout BankLayoutStore::open(const std::string& set)
{
    repaired_ = false;
    damage_.clear();
    repair(set);
    openRows(set);
    BankLayout layout;
    for (dfgz_.first(); !dfgz_.eof(); dfgz_.next()) {
        const int part = partOf(dfgz_.asString("部分序号"));
        if (part == 0) continue;
        BankPart& p = layout.parts[static_cast<size_t>(part - 1)];
        p.content = dfgz_.asString("内容");
        p.fixedText = dfgz_.asString("其他内容");
        p.front = dfgz_.asString("前加");
        p.back = dfgz_.asString("后加");
        p.fixedWidth = dfgz_.asString("宽度") == kFixedWidth;
        const int64_t width = dfgz_.asInt("固定宽度");
        if ((width < 0 || width > BankLayout::kMaxWidth) && damage_.empty())
            damage_ = "第" + std::to_string(part) + "部分的固定宽度 " + std::to_string(width) + " 不在 0 到 "
                    + std::to_string(BankLayout::kMaxWidth) + " 之间";
        p.width = static_cast<int>(std::clamp<int64_t>(width, 0, BankLayout::kMaxWidth));
        p.padSide = dfgz_.asString("宽度加方向");
        p.padText = dfgz_.asString("宽度加内容");
        p.times100 = dfgz_.asBool("乘100");
        // The record settings are repeated in every row; the last one read counts.
        layout.partsUsed = static_cast<int>(std::clamp<int64_t>(dfgz_.asInt("记录数"), 3, BankLayout::kParts));
        layout.separator = dfgz_.asString("分隔符");
        layout.otherSeparator = dfgz_.asString("分隔符其他");
    }
    dfgz_.first();
    return layout;
}

void BankLayoutStore::save(const std::string& set, const BankLayout& layout)
{
    repair(set);
    openRows(set);
    try {
        db::Transaction t(conn_);
        for (dfgz_.first(); !dfgz_.eof(); dfgz_.next()) {
            const int part = partOf(dfgz_.asString("部分序号"));
            if (part == 0) continue;
            const BankPart& p = layout.parts[static_cast<size_t>(part - 1)];
            dfgz_.edit();
            dfgz_.setValue("内容", db::Value(p.content));
            dfgz_.setValue("其他内容", db::Value(p.fixedText));
            dfgz_.setValue("前加", db::Value(p.front));
            dfgz_.setValue("后加", db::Value(p.back));
            dfgz_.setValue("宽度", db::Value(p.fixedWidth ? kFixedWidth : kActualWidth));
            dfgz_.setValue("固定宽度", db::Value(p.width));
            dfgz_.setValue("宽度加方向", db::Value(p.padSide));
            dfgz_.setValue("宽度加内容", db::Value(p.padText));
            dfgz_.setValue("乘100", db::Value(p.times100));
            dfgz_.setValue("记录数", db::Value(layout.partsUsed));
            dfgz_.setValue("分隔符", db::Value(layout.separator));
            dfgz_.setValue("分隔符其他", db::Value(layout.otherSeparator));
            dfgz_.post();
        }
        t.commit();
    } catch (...) {
        // What was posted before the failure is rolled back; the rows are read again to match.
        if (dfgz_.isEditing()) dfgz_.cancel();
        openRows(set);
        throw;
    }
    dfgz_.first();
}

}  // namespace rsgz::payroll
