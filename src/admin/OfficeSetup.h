#pragma once
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace rsgz::admin {

// Asks one question; secret: the answer is not shown as it is typed. nullopt at the end of the input.
using AskLine = std::function<std::optional<std::string>(const std::string& prompt, bool secret)>;

// rsgz --create-office: asks for the server (the settings file's, when there is one, as the
// default), the new office database's name, the server administrator's name and password (once),
// and the first operator's name and password (twice); makes the office (admin/OfficeRights.h);
// and writes set/database.ini when there is none, so the next start logs in to the new office.
// Says what it does and any failure, in Chinese, on out. Returns the exit code: 0 when made.
int createOfficeInteractively(const std::string& workDir, const AskLine& ask, std::ostream& out);

// rsgz --upgrade-office: brings the office database the settings file names up to this program's
// schema. Asks once for the server administrator; an older database is first dumped whole into
// bak/升级前-v<version>-<date>-<time>.dump, then upgraded in one transaction with the rights'
// privileges on the new tables. Says what it did, in Chinese, on out. Returns 0 when the database
// is at this program's version afterwards.
int upgradeOfficeInteractively(const std::string& workDir, const AskLine& ask, std::ostream& out);

}  // namespace rsgz::admin
