#pragma once
// The operators of an office on a database server are login roles, and its rights are group roles
// that hold the table privileges each right allows. The server itself refuses what a role may not
// do, whichever client it connects with.
//
// For an office database <db>:
//   <db>_owner      owns the tables and the functions below; it cannot log in. It may make roles
//                   (CREATEROLE), so that the operators need no such attribute of their own.
//   <db>_operators  every operator is a member: it may connect, read every table, and write the
//                   working lists every operator fills.
//   <db>_<right>    one per right (<db>_档案管理, ...): writes the tables of that right.
// Operators manage each other through functions owned by <db>_owner (SECURITY DEFINER) that
// first check the caller holds <db>_权限管理. The view rsgz_operators lists the operators with one
// yes/no column per right, read from their memberships.
#include <map>
#include <string>
#include <vector>

#include "db/ServerTarget.h"

namespace rsgz::db {

class Connection;

// What the roles of an office may write, as the program's rights stand (admin/OfficeRights).
struct OfficeGrants {
    std::vector<std::string> rights;          // every right in the window's order
    std::string manageRight;                  // the right that manages operators
    std::vector<std::string> everyoneWrites;  // the working lists every operator fills
    std::map<std::string, std::vector<std::string>> writesOfRight;   // right -> tables it inserts, updates, deletes
    // right -> (table, column) it may only update
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> columnUpdatesOfRight;
};

// The name of an office's role: <db>_<what>.
std::string officeRole(const std::string& database, const std::string& what);
// The longest database name whose role names all fit the server's limit on names (63 bytes).
size_t maxOfficeNameBytes(const OfficeGrants& grants);

// The view that lists the operators of the office the connection is on, one row each in the
// order they were made: 姓名, 密码 (always empty: the server keeps the password), one column
// per right.
inline constexpr const char* kOperatorView = "rsgz_operators";

// A new office database, made by a server administrator (admin names the server, the role and a
// database to connect to first, such as "postgres"): the database with its owner, the schema of
// the newest version made as that owner, the group roles and their privileges, the functions and
// the view above, and the first operator holding every right. A database or role of that name
// already there is refused before anything is made; a failure leaves nothing behind. Throws DbError.
void createOffice(const ServerTarget& admin, const std::string& database, const OfficeGrants& grants,
                  const std::string& firstOperator, const std::string& password);
// Removes an office: its database, its operators and its group roles. Throws DbError.
void dropOffice(const ServerTarget& admin, const std::string& database, const OfficeGrants& grants);

// The table privileges again, as the grants stand (after the schema gained tables). Run by the
// administrator on the office's database. Throws DbError.
void grantOfficeTables(const ServerTarget& adminInOffice, const OfficeGrants& grants);
// Brings an office's database up to the newest schema, run by the administrator on it: in one
// transaction, as the owner, every step after the database's version, then the table privileges
// as the grants stand (so the new tables are written by the rights that write them). Returns the
// version the database had. A database of a newer program is refused. Throws DbError; nothing is
// changed then.
int upgradeOffice(const ServerTarget& adminInOffice, const OfficeGrants& grants);

// Operator work on the connection of a logged-in operator of the office, through the owner's
// functions: the server refuses it, with a Denied DbError, unless that operator holds the right
// to manage operators (a password may also be changed by its own operator). The password goes
// to the server only as the verifier it keeps (SCRAM), never as plain text. Throw DbError.
void createOperator(Connection& conn, const std::string& name, const std::string& password,
                    const std::vector<std::string>& rights);
void dropOperator(Connection& conn, const std::string& name);
void setOperatorPassword(Connection& conn, const std::string& name, const std::string& password);
void setOperatorRight(Connection& conn, const std::string& name, const std::string& right, bool held);

}  // namespace rsgz::db
