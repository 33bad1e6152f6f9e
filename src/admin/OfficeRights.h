#pragma once
// The rights of the program as privileges on a database server: which tables each right writes,
// and the making of an office database with its roles.
#include <string>

#include "db/ServerRoles.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// The tables each right lets its holders write, the working lists every operator fills, and the
// tables nobody writes on a server (the file's operator table: there the server keeps the
// operators). Every table of the schema is in exactly one of these.
const db::OfficeGrants& officeGrants();
const std::vector<std::string>& tablesNobodyWrites();

// The rights a new operator starts with: every right but 证照列表 and 工资变更.
std::vector<std::string> newOperatorRights();

// A new office database on the server, with its first operator holding every right. Throws DbError.
void createOffice(const db::ServerTarget& admin, const std::string& database, const std::string& firstOperator,
                  const std::string& password);
void dropOffice(const db::ServerTarget& admin, const std::string& database);
// The office's database brought up to the program's schema and rights (db::upgradeOffice).
// Returns the version it had. Throws DbError.
int upgradeOffice(const db::ServerTarget& adminInOffice);

// Whether typed is the logged-in operator's password (asked again before grave work): the stored
// hash of the file's operator, or, on a server, a second session as that operator with it.
// Throws DbError when the server cannot be reached.
bool isOperatorPassword(app::TDM& dm, const std::string& typed);

}  // namespace rsgz::admin
