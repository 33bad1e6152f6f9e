#pragma once
#include <array>
#include <string>

namespace rsgz::db {
class Connection;
class DataSet;
}  // namespace rsgz::db

namespace rsgz::payroll {

// Contents a part may take besides a column of the salary grid.
inline constexpr const char* kBankCardContent = "银行卡号";
inline constexpr const char* kFixedContent = "其他";
// Width modes and padding sides as the layout table stores them.
inline constexpr const char* kFixedWidth = "固定宽度";
inline constexpr const char* kActualWidth = "实际宽度";
inline constexpr const char* kPadFront = "前加";
inline constexpr const char* kPadBack = "后加";

// One part of a bank record: where its text comes from and how it is framed and padded.
struct BankPart {
    std::string content = kFixedContent;  // a grid column title, 银行卡号 or 其他
    std::string fixedText;                // 其他内容: the text when the content is 其他
    std::string front, back;              // 前加, 后加
    bool fixedWidth = false;              // 宽度: 固定宽度 or 实际宽度
    int width = 30;                       // 固定宽度, in GBK bytes
    std::string padSide;                  // 宽度加方向: 前加, 后加 or empty (no padding)
    std::string padText;                  // 宽度加内容
    bool times100 = false;                // 乘100

    bool operator==(const BankPart&) const = default;
};

// The record layout of one payroll set: eight parts, of which the first partsUsed are written,
// joined with the separator.
struct BankLayout {
    static constexpr int kParts = 8;
    static constexpr int kMaxWidth = 999;  // 固定宽度 of a part, in bytes
    int partsUsed = 3;                 // 记录数, 3 … 8
    std::string separator = "逗号";    // 分隔符: |, 无, 空格, 逗号 or 其他
    std::string otherSeparator;        // 分隔符其他
    std::array<BankPart, kParts> parts;

    // The text put between neighbouring parts; empty for a choice that is none of the known ones.
    std::string separatorText() const;
    bool operator==(const BankLayout&) const = default;
};

// The stored layouts in 代发工资格式, read and written through the shared dataset dfgz_set.
class BankLayoutStore {
public:
    BankLayoutStore(db::Connection& conn, db::DataSet& dfgz);

    // Reads the set's layout. A set that does not hold exactly one row for each part 1 … 8 is put
    // right first, in one transaction: the first row of each part is kept as it is, other rows of the
    // set are removed and missing parts are added with the defaults (and the record settings the
    // kept rows carry), so a damaged layout loses only what cannot be placed. dfgz stays open on the
    // set's eight rows, ordered by part.
    BankLayout open(const std::string& set);
    // True when the last open had to put the stored rows right.
    bool repaired() const { return repaired_; }
    // Why the layout the last open read cannot be used as stored (a fixed width beyond 0 … 999,
    // which would pad every record to gigabytes); empty when it can. Such a width is read as the
    // nearest one within, for the settings window to show.
    const std::string& damage() const { return damage_; }
    // Writes every part and the record settings into the set's eight rows, all or none.
    void save(const std::string& set, const BankLayout& layout);

private:
    void repair(const std::string& set);
    void openRows(const std::string& set);

    db::Connection& conn_;
    db::DataSet& dfgz_;
    bool repaired_ = false;
    std::string damage_;
};

}  // namespace rsgz::payroll
