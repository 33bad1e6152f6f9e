#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::admin {

// An operator name is one line of text: a line break would split it into two names in the history
// file, and a NUL would cut it short. Names are checked where they are typed.
bool isOneLineName(std::string_view name);
inline constexpr const char* kNameOnOneLine = "用户名称不能含有换行符或空字符！";

// The operator names typed at login, most recent first, kept in a GB18030 text file beside the program
// (YongHuNameList.Cfg). A name occurs once, where "once" ignores the letter case of Latin letters;
// names are never removed and the list has no limit.
class NameHistory {
public:
    // Reads the history file; a missing file is an empty history. Throws when the file exists but
    // cannot be read or is not GB18030 text.
    static NameHistory load(const std::string& path);
    // An empty history over the file, for when the file on disk cannot be read: the next record()
    // writes a sound file in its place.
    static NameHistory fresh(const std::string& path) { return NameHistory(path); }

    const std::vector<std::string>& items() const { return items_; }

    // Position of the name, comparing ASCII letters without regard to case and everything else
    // (Chinese, full-width or accented letters) exactly; -1 when absent.
    int indexOfIgnoringLatinCase(std::string_view name) const;

    // Adds the name when absent, moves its entry to the top and rewrites the file. Returns the top
    // entry: a name typed in another case than its entry comes back in the entry's case, and that
    // is the name the login goes on with. Throws std::invalid_argument for an empty name or one that
    // is not one line, and rsgz::db::EncodingError or std::runtime_error when the file cannot be
    // written; the file and the list are then left as they were.
    std::string record(std::string_view name);

private:
    explicit NameHistory(std::string path) : path_(std::move(path)) {}

    std::string path_;
    std::vector<std::string> items_;
};

}  // namespace rsgz::admin
