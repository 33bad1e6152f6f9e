#pragma once
// The twelve pages of the employee window: two of the employee's own columns, ten lists of the
// records kept about the employee, each linked by 员工编号1.
#include <string>
#include <vector>

#include "db/SqlText.h"
#include "app/RecordEditor.h"

namespace rsgz::personnel {

inline constexpr int kEmployeePageCount = 12;
inline constexpr int kFirstListPage = 2;
inline constexpr int kEvaluationPage = 10;  // read-only: listed here, kept in the evaluation window

struct SubRecordPage {
    int index;
    const char* caption;
    const char* dataSet;   // the data module's dataset the page's grid shows
    const char* table;
    std::vector<std::string> columns;  // grid columns in order
    const char* editor;    // caption of the editor a double-click opens; empty for none
    const char* printFile; // the page's table layout, relative to the program directory
};

// Caption of page 0..11 (基本信息, 辅助信息, 个人简历 …).
const char* employeePageCaption(int page);
// The list pages 2..11 in order.
const std::vector<SubRecordPage>& subRecordPages();
// The list page of that index; nullptr for pages 0 and 1.
const SubRecordPage* subRecordPage(int page);
// Whether Enter in the page's grid moves to the next column (pages 2, 3, 4, 9, 10 and 11).
bool gridEnterMovesRight(int page);
// The statement of a list page for one employee number, the number quoted.
db::SqlLines subRecordSql(const SubRecordPage& page, const std::string& employeeNumber);

// A field of pages 0 and 1. Dictionary fields whose key starts with '@' take their list elsewhere:
// @工资等级 (every grade), @帐套 (every payroll set name), @是否 (是, 否).
struct EmployeeField {
    std::string column;
    app::EditorFieldKind kind = app::EditorFieldKind::Text;
    std::string label;  // when it is not the column's name
    std::string key;
};
struct EmployeeGroup {
    std::string caption;
    std::vector<EmployeeField> fields;  // in Enter order
};
// Page 0's groups and page 1's contact group, in Enter order.
const std::vector<EmployeeGroup>& employeeGroups();
const EmployeeGroup& contactGroup();
// The field Enter moves to from a field of pages 0 or 1; the same field where a chain ends.
std::string employeeEnterNext(const std::string& column);

}  // namespace rsgz::personnel
