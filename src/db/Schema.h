#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "db/FieldType.h"

namespace rsgz::db {

// The database schema as data: every table of the template database with its columns in their
// stored order. The creating statements are generated from it, and later code looks column types
// and widths up here instead of asking the database.
struct ColumnDef {
    std::string name;
    FieldType type;
    int size = 0;  // width n of a text(n) column, 0 for every other type
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
    // True for the five tables that the program also creates at run time with a statement of its
    // own (the create*Lines functions below); their columns are read from that statement.
    bool ownStatement = false;
};

// The newest version's tables (SchemaUpgrade.h holds the versions); the first version's alone.
const std::vector<TableDef>& schemaTables();
std::vector<TableDef> firstVersionTables();
const TableDef* findTable(std::string_view name);  // exact name; nullptr when unknown
// The schema's own spelling of a table's or column's name that a server gives back in small Latin
// letters (it keeps every name folded): "email" of 员工基本情况 is "EMAIL". With table, a column of
// that table; without, a name every table spells alike. A name the schema does not spell with
// capitals (a column a user added, an alias) is given back as it is.
std::string programSpelling(const std::string& name, const std::string& table = {});

// "create table if not exists" for SQLite, types from declaredType().
std::string createTableSql(const TableDef& t);
// The indexes the schema needs beyond the keys: the unique employee number.
std::vector<std::string> schemaIndexSql();
std::vector<std::string> schemaIndexSql(const std::vector<TableDef>& tables);  // of those tables

// The creation statements the program runs itself, line by line as it joins them. The inner
// spacing is part of the statement text and is kept as is.
std::vector<std::string> createGongsiTableLines();       // 公司数据
std::vector<std::string> createYinghangSetTableLines();  // 代发工资格式
std::vector<std::string> createGzxmLines();              // 默认工资项目
std::vector<std::string> createGzdjLines();              // 工资等级
std::vector<std::string> createGzdjXmLines();            // 默认工资等级值

}  // namespace rsgz::db
