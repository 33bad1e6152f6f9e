#pragma once
// Storing the current employee of rszl: the number check, the save with its refusals, a changed
// number carrying the employee's records and photo along, and the photo file itself.
#include <string>
#include <utility>
#include <vector>

#include "app/EmployeePhoto.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// Every (table, column) of the live database that links a row to an employee by number: 员工编号1
// of the record tables, 员工编号 of the wage and salary tables. Read from the database itself, so the
// salary tables of each month are included.
std::vector<std::pair<std::string, std::string>> employeeLinks(app::TDM& dm);

// Whether a stored employee has the number; whether any record still carries it.
bool employeeExists(app::TDM& dm, const std::string& number);
bool numberHasRecords(app::TDM& dm, const std::string& number);

// The check button beside 员工编号: "此编号已被使用！" or "此编号可以使用！". A number that records of
// a deleted employee still carry counts as used, since saving it would be refused.
void checkEmployeeNumber(app::TDM& dm, const std::string& typed);

// Posts the employee row being inserted or edited (nothing to do otherwise). A duplicate number
// shows "员工编号重复，数据保存失败！", any other refusal the engine's own text; a number that a
// deleted employee's records still carry is refused. A stored employee whose number changed takes
// the linked records and the photo file to the new number in the same transaction. On refusal the
// row stays in edit mode and the action ends silently.
void saveEmployee(app::TDM& dm);

// The photo file and the picture to show live with the data module (app/EmployeePhoto.h).
using app::employeePhotoPath;
using app::photoToShow;
// 照片: asks for a JPEG, copies it to the employee's photo file and stores its path in 照片位置.
// Refused while the number is empty or holds a path separator.
void choosePhoto(app::TDM& dm);

}  // namespace rsgz::personnel
