#pragma once
// The suggestion lists behind the drop-down fields of the record windows, kept in 数据字典.
//
// A dictionary key is the name of the column a suggestion serves (职务, 学历 …), not a table-qualified
// name, so every window whose field is bound to a column of that name shares one list. A few fields
// use another column's list (调动后职务 uses 职务). Lists are suggestions only: every field also
// takes free text.
#include <string>
#include <vector>

#include "db/SqlText.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::app {

// One dictionary-bound field of a record window.
struct DictionaryField {
    std::string column;   // the column the field is bound to
    std::string key;      // its dictionary key; the column itself unless stated otherwise
    std::string dataSet;  // the shared dataset of the field (a window may show two)
};

// The picker behaviours of one record window: its dictionary-bound fields in the order the list
// fill runs, and its date fields (which open the date picker).
struct PickerMembers {
    std::string caption;      // the window's caption, 员工信息, 个人简历编辑 …
    std::string windowClass;  // Trszlw, Tunit_grjlw …
    std::string dataSet;      // the shared dataset the window edits (its date fields are in it)
    std::vector<DictionaryField> lists;
    std::vector<std::string> dateFields;
    bool departmentCascade = false;  // the four (or three) linked department fields
};

// Every record window that uses the dictionary lists, the department cascade or the date picker.
const std::vector<PickerMembers>& pickerMembers();
// The members of one window by caption; nullptr for a window that has none.
const PickerMembers* pickerMembersOf(const std::string& caption);

// "Select * from 数据字典" / "where 字段名称 = 'key'", the key quoted.
db::SqlLines dictionarySql(const std::string& key);

// Re-opens the shared query object zidian on one key (whatever it held is dropped).
void openDictionary(app::TDM& dm, const std::string& key);

// The suggestions of one key: every row's 字典内容 in the order the rows arrive, duplicates and
// empty texts included. zidian is closed again afterwards.
std::vector<std::string> dictionaryList(app::TDM& dm, const std::string& key);

// The list fill of a record window: one list per field, in the fields' order.
std::vector<std::vector<std::string>> fillDictionaryLists(app::TDM& dm, const std::vector<DictionaryField>& fields);

// The dictionary picker (a double-click on a list field): zidian is opened on the key, the key
// becomes the preset of new rows (CurrentDictionaryKey), and 字典管理 is shown. The caller runs its
// list fill afterwards, which also drops whatever the user left unsaved there.
void pickDictionary(app::TDM& dm, const std::string& key);

}  // namespace rsgz::app
