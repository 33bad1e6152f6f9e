#include "personnel/ReminderSettings.h"

#include <QFileInfo>
#include <charconv>
#include <vector>

#include "db/Gbk.h"

namespace rsgz::personnel {

namespace {

const char* const kContract = "合同到期提前天数";
const char* const kProbation = "转正提前天数";
const char* const kRetirement = "退休提前月数";
constexpr qint64 kMaxFileBytes = 4096;

// A whole number within 1..max, digits only.
bool readNumber(const std::string& text, int max, int* out)
{
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || v < 1 || v > max) return false;
    *out = v;
    return true;
}

}  // namespace

std::string ReminderSettings::path(const std::string& programDir) { return programDir + "set/txsz.cfg"; }

ReminderSettings ReminderSettings::read(const std::string& programDir, bool* damaged)
{
    ReminderSettings s;
    bool bad = false;
    const std::string file = path(programDir);
    const QFileInfo info(QString::fromStdString(file));
    if (info.exists()) {
        std::vector<std::string> lines;
        // Three short lines are all it ever holds; anything much larger is not a file of ours.
        if (info.size() > kMaxFileBytes) {
            bad = true;
        } else {
            try {
                lines = db::readSettingsLines(file);
            } catch (const std::exception&) {
                bad = true;
            }
        }
        for (const std::string& line : lines) {
            if (line.empty()) continue;
            const size_t eq = line.find('=');
            const std::string name = eq == std::string::npos ? line : line.substr(0, eq);
            const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
            bool ok = false;
            if (name == kContract) ok = readNumber(value, kMaxDays, &s.contractDays);
            else if (name == kProbation) ok = readNumber(value, kMaxDays, &s.probationDays);
            else if (name == kRetirement) ok = readNumber(value, kMaxMonths, &s.retirementMonths);
            if (!ok) bad = true;
        }
    }
    if (damaged) *damaged = bad;
    return s;
}

void ReminderSettings::write(const std::string& programDir) const
{
    db::writeSettingsLines(path(programDir), {std::string(kContract) + "=" + std::to_string(contractDays),
                                              std::string(kProbation) + "=" + std::to_string(probationDays),
                                              std::string(kRetirement) + "=" + std::to_string(retirementMonths)});
}

}  // namespace rsgz::personnel
