#pragma once
#include "db/Connection.h"

namespace rsgz::sample {

// Fills a database made from the template with a believable organisation: the given number of
// employees with every column of 员工基本情况 filled the way an office fills it, the four-level
// department tree, posts, titles, payroll sets and grades, the suggestion lists of 数据字典, and
// about ten sub-records of each kind (history, relations, certificates, transfers, titles, rewards
// and penalties, salary changes, training, evaluations, work articles) for every employee. Everything goes in
// one transaction; the same seed gives the same people. Run again, it adds further employees and
// reuses the lookup rows already there.
void fillSampleData(db::Connection& conn, int employees, unsigned seed);

}  // namespace rsgz::sample
