#include <gtest/gtest.h>

#include <QFile>
#include <set>
#include <string>

#include "app/TDM.h"
#include "db/Gbk.h"
#include "personnel/ReminderSettings.h"
#include "personnel/Reminders.h"
#include "query/ListQuery.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"

namespace {

using namespace rsgz;
using personnel::ReminderKind;
using personnel::ReminderSettings;

// Today is 2026-03-15. With the default windows: contracts and probations from 03-15 to 04-14,
// retirements from 03-15 to 09-15, birthdays in March.
class RemindersTest : public test::OnBothEngines {
protected:
    RemindersTest()
    {
        const struct {
            const char* no;
            const char* status;
            const char* contract;
            const char* probation;
            const char* retirement;
            const char* birth;
        } rows[] = {
            {"C1", "在职", "2026-03-15", "", "", ""},              // contract ends today
            {"C2", "在职", "2026-04-14", "", "", ""},              // the window's last day
            {"C3", "在职", "2026-04-14 10:30:00", "", "", ""},     // the last day, with a time typed
            {"C4", "在职", "2026-04-15", "", "", ""},              // a day after the window
            {"C5", "在职", "2026-03-14", "", "", ""},              // ended yesterday
            {"C6", "离职", "2026-03-20", "", "", ""},              // gone: no reminder
            {"C7", "退休", "2025-01-01", "", "", ""},              // gone: not expired either
            {"C8", "在职", "", "", "", ""},                        // no contract date
            {"P1", "在职", "", "2026-04-01", "", ""},
            {"P2", "在职", "", "2026-03-14", "", ""},              // probation already over
            {"P3", "在职", "", "2026-04-15", "", ""},
            {"R1", "在职", "", "", "2026-09-15", ""},              // six months on, to the day
            {"R2", "在职", "", "", "2026-09-16", ""},
            {"R3", "在职", "", "", "2026-03-15", ""},
            {"R4", "在职", "", "", "2026-03-14", ""},              // past: not due within the window
            {"B1", "在职", "", "", "2040-03-31", "1980-03-31"},   // birthday this month
            {"B2", "在职", "", "", "", "1980-02-29"},             // last month; no retirement date yet
            {"B3", "离职", "", "", "", "1990-03-01"},
            {"B4", "在职", "", "", "", "1975-03-02"},             // birthday, and no retirement date
        };
        for (const auto& r : rows) {
            const auto v = [](const char* s) { return *s ? db::sqlQuote(s) : std::string("null"); };
            dm.DMADO.exec(std::string("insert into 员工基本情况 (员工编号,姓名,在职状况,合同到期,转正日期,退休日期,出生年月) values (") +
                          db::sqlQuote(r.no) + ",'某'," + db::sqlQuote(r.status) + "," + v(r.contract) + "," +
                          v(r.probation) + "," + v(r.retirement) + "," + v(r.birth) + ")");
        }
        // One employee with an empty text rather than null where the date would be (a file may hold
        // one; a server's dates hold no text).
        const std::string none = onServer() ? "null" : "''";
        dm.DMADO.exec("insert into 员工基本情况 (员工编号,姓名,在职状况,合同到期,退休日期,出生年月) values ('E1','某','在职'," + none +
                      "," + none + ",'1980-05-05')");
    }

    std::set<std::string> listed(const personnel::Reminders& r, ReminderKind kind)
    {
        query::applyQuery(dm.rszl, r.listQuery(kind));
        std::set<std::string> out;
        for (dm.rszl.first(); !dm.rszl.eof(); dm.rszl.next()) out.insert(dm.rszl.asString("员工编号"));
        return out;
    }

    test::ProgramLayout p{{.liveDatabase = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    const QDate today{2026, 3, 15};
};
RSGZ_ON_BOTH_ENGINES(RemindersTest);

TEST_P(RemindersTest, CountsAndTheListsTheyOpenAgree)
{
    const personnel::Reminders r(dm, ReminderSettings{}, today);
    const struct {
        ReminderKind kind;
        const char* caption;
        std::set<std::string> expected;
    } cases[] = {
        {ReminderKind::ContractDue, "合同30天内到期", {"C1", "C2", "C3"}},
        {ReminderKind::ContractExpired, "合同已到期", {"C5"}},
        {ReminderKind::ProbationDue, "试用期30天内结束", {"P1"}},
        {ReminderKind::RetirementDue, "6个月内退休", {"R1", "R3"}},
        {ReminderKind::RetirementPast, "已过退休日期仍在职", {"R4"}},
        {ReminderKind::Birthday, "本月过生日", {"B1", "B4"}},
        {ReminderKind::RetirementUnset, "退休日期未填", {"B2", "B4", "E1"}},
    };
    const std::vector<personnel::ReminderCount> counts = r.counts();
    ASSERT_EQ(counts.size(), std::size(cases));
    for (size_t i = 0; i < counts.size(); ++i) {
        SCOPED_TRACE(cases[i].caption);
        EXPECT_EQ(counts[i].kind, cases[i].kind);
        EXPECT_EQ(counts[i].caption, cases[i].caption);
        EXPECT_EQ(counts[i].count, static_cast<int>(cases[i].expected.size()));
        EXPECT_EQ(listed(r, cases[i].kind), cases[i].expected);
    }
}

TEST_P(RemindersTest, WindowsComeFromTheSettings)
{
    const personnel::Reminders r(dm, ReminderSettings{.contractDays = 1, .probationDays = 31, .retirementMonths = 1}, today);
    EXPECT_EQ(listed(r, ReminderKind::ContractDue), (std::set<std::string>{"C1"}));  // 03-15 and 03-16
    EXPECT_EQ(listed(r, ReminderKind::ProbationDue), (std::set<std::string>{"P1", "P3"}));
    EXPECT_EQ(r.count(ReminderKind::RetirementDue), 1);  // R3 only: up to 04-15
    EXPECT_EQ(r.caption(ReminderKind::RetirementDue), "1个月内退休");
}

TEST(ReminderSettings, ReadsWhatWasWrittenAndRefusesWhatIsOutOfBounds)
{
    test::ProgramLayout p;
    bool damaged = true;
    EXPECT_EQ(ReminderSettings::read(p.dir(), &damaged), ReminderSettings{});
    EXPECT_FALSE(damaged);

    const ReminderSettings mine{.contractDays = 60, .probationDays = 15, .retirementMonths = 12};
    mine.write(p.dir());
    EXPECT_EQ(ReminderSettings::read(p.dir(), &damaged), mine);
    EXPECT_FALSE(damaged);

    const struct {
        std::vector<std::string> lines;
        ReminderSettings expected;
    } cases[] = {
        {{"合同到期提前天数=0"}, {}},
        {{"合同到期提前天数=-5", "转正提前天数=7"}, {.probationDays = 7}},
        {{"退休提前月数=121"}, {}},
        {{"退休提前月数=6个月"}, {}},
        {{"合同到期提前天数=99999999999999999999"}, {}},
        {{"转正提前天数"}, {}},
        {{"别的=1", "退休提前月数=3"}, {.retirementMonths = 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        db::writeSettingsLines(ReminderSettings::path(p.dir()), c.lines);
        EXPECT_EQ(ReminderSettings::read(p.dir(), &damaged), c.expected);
        EXPECT_TRUE(damaged);
    }

    // Bytes that are no text of ours at all.
    QFile f(QString::fromStdString(ReminderSettings::path(p.dir())));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xff\xff=\x80");
    f.close();
    EXPECT_EQ(ReminderSettings::read(p.dir(), &damaged), ReminderSettings{});
    EXPECT_TRUE(damaged);

    // A file far larger than three lines is not read at all.
    db::writeSettingsLines(ReminderSettings::path(p.dir()), std::vector<std::string>(2000, "转正提前天数=7"));
    EXPECT_EQ(ReminderSettings::read(p.dir(), &damaged), ReminderSettings{});
    EXPECT_TRUE(damaged);
}

}  // namespace
