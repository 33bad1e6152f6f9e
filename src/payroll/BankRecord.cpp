#include "payroll/BankRecord.h"

#include <algorithm>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Gbk.h"
#include "db/LatinCase.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryView.h"

namespace rsgz::payroll {

using db::Money;

namespace {

std::string partName(int index, const BankPart& p)
{
    return "第" + std::to_string(index + 1) + "部分“" + p.content + "”";
}

// Bytes a text takes in GBK when it cannot be encoded: enough to lay out the preview.
size_t estimatedBytes(const std::string& utf8)
{
    size_t n = 0;
    for (unsigned char c : utf8)
        if (c < 0x80) ++n;
        else if ((c & 0xC0) != 0x80) n += 2;
    return n;
}

bool holdsLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::vector<BankColumn> bankColumns(const SalaryView& view)
{
    std::vector<BankColumn> out;
    for (const std::string& f : view.gridColumns()) out.push_back({view.titleOf(f), f});
    return out;
}

std::vector<std::string> bankContentList(const std::vector<BankColumn>& columns)
{
    std::vector<std::string> out;
    for (const BankColumn& c : columns) out.push_back(c.title);
    out.emplace_back(kBankCardContent);
    out.emplace_back(kFixedContent);
    return out;
}

int64_t toFen(Money amount, bool* rounded)
{
    // The figure the grid shows for the row, so the file pays what the table prints.
    *rounded = amount.units() % 100 != 0;
    return amount.toFen().units() / 100;
}

std::string BankCards::cardOf(const std::string& employee)
{
    if (!loaded_) {
        db::BoundStatement st(conn_, "select 员工编号, 银行卡号 from 员工基本情况");
        while (st.step()) {
            Entry& e = cards_[db::foldLatin(st.textOrEmpty(0))];
            ++e.count;
            e.card = st.textOrEmpty(1);
        }
        loaded_ = true;
    }
    const auto found = cards_.find(db::foldLatin(employee));
    return found != cards_.end() && found->second.count == 1 ? found->second.card : std::string();
}

BankRecordBuilder::BankRecordBuilder(const BankLayout& layout, const SalaryView& view, const db::DataSet& rows,
                                     BankCards& cards)
    : layout_(layout), rows_(rows), cards_(cards), employeeField_(rows.fieldIndex("员工编号"))
{
    const std::vector<BankColumn> columns = bankColumns(view);
    separator_ = layout.separatorText();
    try {
        separatorGbk_ = db::toGbk(separator_);
    } catch (const db::EncodingError& e) {
        badSetting_ = std::string("分隔符中的") + e.what();
    }
    for (int i = 0; i < BankLayout::kParts; ++i) {
        Part& p = parts_[static_cast<size_t>(i)];
        p.setting = &layout.parts[static_cast<size_t>(i)];
        const bool used = i < layout.partsUsed;
        try {
            p.pad = db::toGbk(p.setting->padText);
        } catch (const db::EncodingError& e) {
            if (used && badSetting_.empty()) badSetting_ = partName(i, *p.setting) + "的填充内容中的" + e.what();
        }
        if (p.setting->content == kFixedContent) p.source = Source::Fixed;
        else if (p.setting->content == kBankCardContent) p.source = Source::Card;
        for (const BankColumn& c : columns) {
            if (p.source != Source::None || c.title != p.setting->content) continue;
            p.field = rows.fieldIndex(c.field);
            p.source = p.field >= 0 ? Source::Field : c.field == "序号" ? Source::RowNumber : Source::None;
            p.money = p.field >= 0 && (rows.field(p.field).type == db::FieldType::Currency || view.config().item(c.field));
        }
        if (!used) continue;
        if (p.source == Source::None)
            unresolved_.push_back(partName(i, *p.setting) + "不是当前工资表的列，按空白输出");
        // The record's amount: the first money part multiplied by 100, else the first money part.
        if (p.money && (amountPart_ < 0 || (p.setting->times100 && !parts_[static_cast<size_t>(amountPart_)].setting->times100)))
            amountPart_ = i;
    }
}

std::string BankRecordBuilder::valueText(int index, const Part& p, int row, BankRecord& r) const
{
    switch (p.source) {
    case Source::Fixed: return p.setting->fixedText;
    case Source::Card: return employeeField_ < 0 ? std::string() : cards_.cardOf(rows_.rowValue(row, employeeField_).toString());
    case Source::RowNumber: return std::to_string(row + 1);
    case Source::None: return {};
    case Source::Field: break;
    }
    const db::Value v = rows_.rowValue(row, p.field);
    if (v.isNull() || !p.money) return v.toString();
    bool rounded = false;
    const int64_t fen = toFen(v.toMoney(), &rounded);
    if (rounded) ++r.rounded;
    if (index == amountPart_) {
        r.hasAmount = true;
        r.amount = Money::fromUnits(fen * 100);
    }
    return p.setting->times100 ? std::to_string(fen) : Money::fromUnits(fen * 100).toSqlLiteral();
}

void BankRecordBuilder::addPart(int index, const Part& p, int row, BankRecord& r) const
{
    const BankPart& setting = *p.setting;
    std::string text = setting.front + valueText(index, p, row, r) + setting.back;
    std::string bytes;
    size_t length = 0;
    try {
        bytes = db::toGbk(text);
        length = bytes.size();
    } catch (const db::EncodingError& e) {
        if (r.unencodable.empty()) r.unencodable = partName(index, setting) + "中的" + e.what();
        length = estimatedBytes(text);
    }
    const std::string name = partName(index, setting);
    if (!separator_.empty() && text.find(separator_) != std::string::npos)
        r.problems.push_back(name + "含有分隔符“" + separator_ + "”");
    if (holdsLineBreak(text)) r.problems.push_back(name + "含有换行符，记录会被分成两行");
    if (setting.fixedWidth && length > static_cast<size_t>(std::max(setting.width, 0))) {
        r.problems.push_back(name + "长 " + std::to_string(length) + " 字节，超过固定宽度 " + std::to_string(setting.width));
    } else if (setting.fixedWidth && length < static_cast<size_t>(setting.width)) {
        // Whole copies of the padding text, never beyond the width: a padding of two bytes (a
        // Chinese character, "00") cannot always fill it exactly, and the preview says so.
        const size_t missing = static_cast<size_t>(setting.width) - length;
        const bool pads = !p.pad.empty() && (setting.padSide == kPadFront || setting.padSide == kPadBack);
        const size_t copies = pads ? missing / p.pad.size() : 0;
        std::string padText, padBytes;
        for (size_t k = 0; k < copies; ++k) {
            padText += setting.padText;
            padBytes += p.pad;
        }
        if (setting.padSide == kPadFront) {
            text = padText + text;
            bytes = padBytes + bytes;
        } else {
            text += padText;
            bytes += padBytes;
        }
        if (copies * p.pad.size() != missing)
            r.problems.push_back(name + "不能恰好补足到固定宽度 " + std::to_string(setting.width) + " 字节");
    }
    if (index > 0) {
        r.text += separator_;
        r.gbk += separatorGbk_;
    }
    r.text += text;
    r.gbk += bytes;
}

BankRecord BankRecordBuilder::build(int row) const
{
    BankRecord r;
    if (!badSetting_.empty()) r.unencodable = badSetting_;
    for (int i = 0; i < layout_.partsUsed && i < BankLayout::kParts; ++i) addPart(i, parts_[static_cast<size_t>(i)], row, r);
    if (!r.unencodable.empty()) r.gbk.clear();
    return r;
}

}  // namespace rsgz::payroll
