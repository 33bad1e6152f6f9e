#pragma once
// Small pieces the record rules are made of. Only the rule files (here and in the modules) include this.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "app/TDM.h"
#include "app/WindowId.h"
#include "db/DataSet.h"

namespace rsgz::app::rules {
using namespace rsgz::db;

using app::TDM;

// Today as yyyy-mm-dd, read from the clock at this moment.
std::string today(TDM& dm);

// True when the dataset is open and holds at least one stored row.
bool hasRows(const DataSet& ds);

// The current row's value, or null when the dataset is closed or has no current row.
Value currentValue(const DataSet& ds, std::string_view field);

// Copies fields from the current row of one dataset into the row being edited in another:
// pairs of (target field, source field).
using FieldPairs = std::initializer_list<std::pair<const char*, const char*>>;
void copyCurrent(DataSet& to, const DataSet& from, FieldPairs fields);

// Refuses the post when the field's text is empty: the notice, then a silent abort.
void requireText(TDM& dm, const DataSet& ds, std::string_view field, const std::string& message);

// Asks before a delete; anything but 是 abandons the delete without a further word.
void askDelete(TDM& dm, const std::string& question);
void bindDeleteQuestion(TDM& dm, DataSet& ds, std::string question);

// Opens a record's editor window unless it is open already (it then shows the new row itself).
void openEditor(bool alreadyOpen, app::WindowId window);

// Status text of a module list. The plain form is written after open and after every move; the
// other only after an open that found rows, so an empty result leaves the previous text.
void bindStatus(TDM& dm, DataSet& ds);
void bindStatusSkippingEmptyOpen(TDM& dm, DataSet& ds);

// The rules of the dictionary lists and of the operator list.
void bindLookupRules(TDM& dm);
// The operator's right that guards each dataset; bound last, it runs before every other rule.
void bindRightsGuards(TDM& dm);

}  // namespace rsgz::app::rules
