#pragma once
#include <string>

namespace rsgz::personnel {

// How far ahead the desktop reminders look. Kept in set/txsz.cfg beside the program, one
// "name=value" line each, in the settings files' encoding.
struct ReminderSettings {
    int contractDays = 30;     // contracts that end within so many days
    int probationDays = 30;    // probations that end within so many days
    int retirementMonths = 6;  // retirements due within so many months

    static constexpr int kMaxDays = 3660;
    static constexpr int kMaxMonths = 120;

    // The file's settings; a missing file gives the defaults. A line that is not one of ours or a value
    // out of bounds keeps that setting's default and makes the file damaged (*damaged set, when given).
    static ReminderSettings read(const std::string& programDir, bool* damaged = nullptr);
    // Writes the file as a whole (a temporary file renamed over it). Throws on a write error.
    void write(const std::string& programDir) const;
    static std::string path(const std::string& programDir);

    bool operator==(const ReminderSettings&) const = default;
};

}  // namespace rsgz::personnel
