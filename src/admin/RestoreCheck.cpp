#include "admin/RestoreCheck.h"

#include <vector>

#include "db/DbError.h"
#include "db/SchemaCheck.h"
#include "db/SchemaUpgrade.h"

namespace rsgz::admin {

namespace {

constexpr size_t kShownLines = 6;

// The engine's text as one detail line: its lines joined, kept short.
std::string detailLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    constexpr size_t kLongest = 200;
    if (text.size() > kLongest) {
        size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
        text = text.substr(0, cut) + "……";
    }
    return text.empty() ? text : "数据库引擎的说明：" + text;
}

std::string columnsText(const db::TableDifference& t)
{
    std::vector<std::string> parts;
    if (!t.missingColumns.empty()) parts.push_back("缺少列 " + listedNames(t.missingColumns));
    if (!t.extraColumns.empty()) parts.push_back("多出列 " + listedNames(t.extraColumns));
    if (!t.changedColumns.empty()) parts.push_back("列 " + listedNames(t.changedColumns) + " 的类型或约束不同");
    if (t.otherOrder) parts.push_back("列的顺序不同");
    if (parts.empty()) parts.push_back("定义与本系统的不同");
    std::string s = "表“" + t.table + "”";
    for (size_t i = 0; i < parts.size(); ++i) s += (i ? "；" : "：") + parts[i];
    return s;
}

std::vector<std::string> differenceLines(const db::SchemaDifferences& d)
{
    std::vector<std::string> lines;
    auto add = [&lines](const char* what, const std::vector<std::string>& names) {
        if (!names.empty()) lines.push_back(std::string(what) + "：" + listedNames(names));
    };
    add("多出的触发器", d.extraTriggers);
    add("多出的视图", d.extraViews);
    add("多出的索引", d.extraIndexes);
    add("多出的表", d.extraTables);
    if (!d.missingTables.empty()) lines.push_back("缺少表：" + listedNames(d.missingTables));
    for (const db::TableDifference& t : d.changedTables) lines.push_back(columnsText(t));
    for (const std::string& i : d.changedIndexes) lines.push_back("索引“" + i + "”的定义与本系统的不同");
    return lines;
}

[[noreturn]] void refuse(const std::string& reason, const std::string& engineText = {})
{
    throw RestoreRefusal(reason, detailLine(engineText));
}

}  // namespace

std::string listedNames(const std::vector<std::string>& names, size_t shown)
{
    std::string s;
    for (size_t i = 0; i < names.size() && i < shown; ++i) s += (i ? "、" : "") + names[i];
    if (names.size() > shown) s += " 等 " + std::to_string(names.size()) + " 个";
    return s;
}

void checkRestoreFile(const std::string& path)
{
    using Verdict = db::FileInspection::Verdict;
    const db::FileInspection seen = db::inspectDatabaseFile(path);
    switch (seen.verdict) {
    case Verdict::CannotOpen: refuse("无法打开文件 " + path + "。", seen.engineText);
    case Verdict::NotADatabase: refuse("文件 " + path + " 不是数据库文件。");
    case Verdict::Damaged: refuse("文件 " + path + " 已经损坏。", seen.engineText);
    case Verdict::Sound: break;
    }
    db::SchemaDifferences d;
    try {
        d = db::compareWithSchema(path);
    } catch (const db::DbError& e) {
        refuse("文件 " + path + " 已经损坏，读不出其中的表。", e.what());
    }
    if (d.newerVersion)
        refuse("文件 " + path + " 由更新版本的程序建立（数据库第" + std::to_string(d.fileVersion) + "版），本程序只能使用到第"
               + std::to_string(db::currentSchemaVersion()) + "版。");
    if (d.empty()) return;  // an older version is upgraded at the next login
    if (!d.programTablesFound) refuse("文件 " + path + " 不是本系统的数据库：其中没有本系统的任何表。");
    std::vector<std::string> lines = differenceLines(d);
    std::string reason = "文件 " + path + " 与本系统的数据库不同：";
    for (size_t i = 0; i < lines.size() && i < kShownLines; ++i) reason += "\r" + lines[i];
    if (lines.size() > kShownLines) reason += "\r……另有 " + std::to_string(lines.size() - kShownLines) + " 处不同";
    refuse(reason);
}

}  // namespace rsgz::admin
