#include "exchange/ImportCheck.h"

#include <charconv>
#include <cmath>
#include <map>
#include <set>

#include "db/DbError.h"
#include "db/LatinCase.h"

namespace rsgz::exchange {

namespace {

constexpr const char* kNumber = "员工编号";
constexpr const char* kName = "姓名";

std::string trimmed(const std::string& s)
{
    const auto a = s.find_first_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// The value a source cell gives a column of the given type: a number for a text column becomes
// plain decimal text; a fraction is no whole number (the engine would cut it off).
db::Value forColumn(const db::Value& v, const db::Field& f)
{
    if (v.isNull()) return v;
    if (f.type == db::FieldType::Text || f.type == db::FieldType::Memo) return db::Value(cellText(v));
    if (f.type == db::FieldType::Integer && v.kind() == db::Value::Kind::Double && v.toDouble() != std::floor(v.toDouble()))
        throw db::DataSetError("“" + cellText(v) + "”不是有效的整数（字段“" + f.name + "”）");
    return v;
}

}  // namespace

int mappingNumber(const std::string& box, size_t items)
{
    const std::string t = trimmed(box);
    if (t.empty()) return 0;
    int n = -1;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), n);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || n < 0 || static_cast<size_t>(n) > items) return -1;
    return n;
}

ImportCheck::ImportCheck(db::Connection& conn, std::vector<std::string> standardItems)
    : conn_(conn), items_(std::move(standardItems))
{
}

void ImportCheck::problem(int line, const std::string& column, std::string text)
{
    if (!full()) problems_.push_back({line, column, std::move(text)});
}

std::vector<ImportProblem> ImportCheck::run(const SourceTable& table, const std::vector<std::string>& boxes,
                                            const std::function<void(int)>& progress)
{
    problems_.clear();
    rows_.clear();
    targets_.clear();
    scratch_ = std::make_unique<db::DataSet>(&conn_, "importCheck",
                                             db::SqlLines{"select * from " + db::sqlIdent("员工基本情况") + " where 1=0"});
    scratch_->open();
    checkMapping(boxes, table);
    if (problems_.empty()) {
        checkRows(table, progress);
        checkEmployeeNumbers(table);
    }
    scratch_.reset();
    if (!problems_.empty()) rows_.clear();
    return problems_;
}

void ImportCheck::checkMapping(const std::vector<std::string>& boxes, const SourceTable& table)
{
    std::set<std::string> mapped;
    for (size_t c = 0; c < boxes.size() && c < table.columns.size(); ++c) {
        const int n = mappingNumber(boxes[c], items_.size());
        if (n < 0) {
            problem(0, table.columns[c], "对应号“" + trimmed(boxes[c]) + "”不是 0 到 " + std::to_string(items_.size()) + " 之间的数字");
            continue;
        }
        if (n == 0) continue;
        const std::string& item = items_[static_cast<size_t>(n - 1)];
        const int idx = scratch_->fieldIndex(item);
        const db::Field* f = idx >= 0 ? &scratch_->field(idx) : nullptr;
        // Computed items (the row number, ages and years of service) and the row key are not kept.
        if (!f || f->readOnly || f->type == db::FieldType::AutoInc) {
            problem(0, table.columns[c], "对应的项目“" + item + "”是计算或自动生成的，不能导入");
            continue;
        }
        targets_.emplace_back(c, item);
        mapped.insert(item);
    }
    for (const char* required : {kNumber, kName})
        if (!mapped.count(required)) problem(0, "", std::string("没有导入项目对应“") + required + "”，" + required + "不能为空");
}

void ImportCheck::checkRows(const SourceTable& table, const std::function<void(int)>& progress)
{
    scratch_->append();
    rows_.resize(table.rows.size());
    for (size_t r = 0; r < table.rows.size() && !full(); ++r) {
        checkRow(table, r, rows_[r]);
        if (progress && (r + 1) % 500 == 0) progress(static_cast<int>(r + 1));
    }
    scratch_->cancel();
}

// The row's values are put into the scratch row, which checks them as a new employee's row would,
// and read back in the form they will be stored in.
void ImportCheck::checkRow(const SourceTable& table, size_t r, ImportRow& out)
{
    const int line = table.lines[r];
    out.reserve(targets_.size());
    for (const auto& [c, item] : targets_) {
        try {
            const db::Field& f = scratch_->fieldByName(item);
            scratch_->setValue(item, forColumn(table.rows[r][c], f));
            out.emplace_back(item, scratch_->value(item));
        } catch (const db::DataSetError& e) {
            problem(line, table.columns[c], e.what());
        }
    }
    for (const char* required : {kNumber, kName})
        if (trimmed(scratch_->value(required).toString()).empty()) problem(line, "", std::string(required) + "不能为空");
}

// Employee numbers compare as the table's unique index compares them: ignoring the case of Latin letters.
void ImportCheck::checkEmployeeNumbers(const SourceTable& table)
{
    db::DataSet stored(&conn_, "importNumbers", db::SqlLines{"select " + db::sqlIdent(kNumber) + " from " + db::sqlIdent("员工基本情况")});
    stored.open();
    std::set<std::string> taken;
    for (int i = 0; i < stored.recordCount(); ++i) taken.insert(db::foldLatin(stored.rowValue(i, 0).toString()));
    std::map<std::string, int> seen;  // number -> first line
    for (size_t r = 0; r < rows_.size() && !full(); ++r) {
        std::string number;
        for (const auto& [item, v] : rows_[r])
            if (item == kNumber) number = v.toString();
        const std::string key = db::foldLatin(number);
        const int line = table.lines[r];
        if (taken.count(key)) problem(line, "", "员工编号“" + number + "”已经有员工使用");
        else if (auto [it, fresh] = seen.emplace(key, line); !fresh)
            problem(line, "", "员工编号“" + number + "”与第 " + std::to_string(it->second) + " 行重复");
    }
}

std::string problemNotice(const std::vector<ImportProblem>& problems)
{
    std::string text = "没有导入任何数据。请改正以下内容后重新导入：";
    for (const ImportProblem& p : problems) {
        text += "\n";
        if (p.line > 0) text += "第 " + std::to_string(p.line) + " 行";
        if (!p.column.empty()) text += "“" + p.column + "”列";
        if (p.line > 0 || !p.column.empty()) text += "：";
        text += p.text;
    }
    if (problems.size() >= ImportCheck::kMaxProblems) text += "\n……（只列出前 " + std::to_string(problems.size()) + " 处）";
    return text;
}

}  // namespace rsgz::exchange
