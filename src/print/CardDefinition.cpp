#include "print/CardDefinition.h"

#include <QSaveFile>

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "db/Gbk.h"

namespace rsgz::print {

namespace {

constexpr int kPositions = 0;
constexpr int kEmployeeCount = 10560, kCompanyCount = 10572, kOtherCount = 10580;
constexpr int kEmployeeItems = 10600, kCompanyItems = 19900, kOtherItems = 26100;
constexpr int kNameField = 31, kOtherField = 251;
constexpr int kFonts = 51200, kFontSlot = 32, kFontNameCapacity = 20;
constexpr int kHorizontalLines = 77440, kVerticalLines = 80640;
constexpr int kHorizontalCount = 83840, kVerticalCount = 83844;

struct GroupLayout {
    int countOffset, firstItem, fieldSize;
};
GroupLayout layoutOf(CardDefinition::Group g)
{
    switch (g) {
    case CardDefinition::Group::Employee: return {kEmployeeCount, kEmployeeItems, kNameField};
    case CardDefinition::Group::Company: return {kCompanyCount, kCompanyItems, kNameField};
    case CardDefinition::Group::Other: break;
    }
    return {kOtherCount, kOtherItems, kOtherField};
}

const char* groupName(CardDefinition::Group g)
{
    switch (g) {
    case CardDefinition::Group::Employee: return "员工数据项";
    case CardDefinition::Group::Company: return "公司数据项";
    case CardDefinition::Group::Other: break;
    }
    return "其他内容";
}

int slotOffset(int slot, int base, int size)
{
    if (slot < 1 || slot > CardDefinition::kSlots) throw std::out_of_range("card slot " + std::to_string(slot));
    return base + (slot - 1) * size;
}

}  // namespace

CardDefinition::CardDefinition() : bytes_(kSize, '\0') { applyDefaults(); }

void CardDefinition::applyDefaults()
{
    for (const auto& [offset, value] : {std::pair{kEmployeeCount, 0}, {10564, 0}, {10568, 0}, {10576, 0},
                                        {kOtherCount, 0}, {10584, 7}, {10588, 7}, {10592, 0}, {10596, 1},
                                        {kHorizontalCount, 0}, {kVerticalCount, 0}, {83852, 2100}, {83856, 2970},
                                        {83864, 50}})
        set(offset, value);
    setByte(83848, 1);
    setByte(83849, 1);
}

int32_t CardDefinition::get(int offset) const
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes_[offset + i]);
    return static_cast<int32_t>(v);
}

void CardDefinition::set(int offset, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string CardDefinition::text(int offset, int capacity) const
{
    const int length = std::min<int>(byte(offset), capacity);
    return db::fromGb18030(std::string_view(bytes_).substr(offset + 1, length));
}

// Only the length byte and the text are written: the bytes after it keep what they held.
void CardDefinition::setText(int offset, int capacity, const std::string& utf8)
{
    const std::string encoded = db::cutGb18030(db::toGb18030(utf8), static_cast<size_t>(capacity));
    setByte(offset, static_cast<uint8_t>(encoded.size()));
    std::memcpy(bytes_.data() + offset + 1, encoded.data(), encoded.size());
}

void CardDefinition::fromBytes(const std::string& bytes)
{
    if (bytes.size() != static_cast<size_t>(kSize))
        throw std::runtime_error("文件长度是 " + std::to_string(bytes.size()) + " 字节，应为 " + std::to_string(kSize)
                                 + " 字节");
    CardDefinition read;
    read.bytes_ = bytes;
    auto checkText = [&read](int offset, int capacity, const std::string& what) {
        if (read.byte(offset) > capacity)
            throw std::runtime_error(what + "的长度 " + std::to_string(read.byte(offset)) + " 超过了 "
                                     + std::to_string(capacity) + " 字节");
        try {
            read.text(offset, capacity);
        } catch (const std::exception&) {
            throw std::runtime_error(what + "不是有效的文字");
        }
    };
    auto checkCount = [&read](int offset, int max, const std::string& what) {
        const int n = read.get(offset);
        if (n < 0 || n > max)
            throw std::runtime_error(what + "的数量 " + std::to_string(n) + " 不在 0 到 " + std::to_string(max) + " 之间");
        return n;
    };
    for (Group g : {Group::Employee, Group::Company, Group::Other}) {
        const GroupLayout l = layoutOf(g);
        const int n = checkCount(l.countOffset, kMaxItems, groupName(g));
        for (int i = 1; i <= n; ++i) {
            const std::string what = std::string(groupName(g)) + " " + std::to_string(i);
            checkText(l.firstItem + (i - 1) * l.fieldSize, l.fieldSize - 1, what);
            checkText(slotOffset(fontSlot(g, i), kFonts, kFontSlot), kFontNameCapacity, what + " 的字体名称");
        }
    }
    checkCount(kHorizontalCount, kMaxLines, "表格横线");
    checkCount(kVerticalCount, kMaxLines, "表格竖线");
    checkText(83892, 30, "纸张名称");
    bytes_ = bytes;
}

CardDefinition::Point CardDefinition::position(int slot) const
{
    const int at = slotOffset(slot, kPositions, 16);
    return {get(at), get(at + 4)};
}

void CardDefinition::setPosition(int slot, Point p)
{
    const int at = slotOffset(slot, kPositions, 16);
    set(at, p.x);
    set(at + 4, p.y);
}

CardDefinition::Font CardDefinition::font(int slot) const
{
    const int at = slotOffset(slot, kFonts, kFontSlot);
    return {text(at, kFontNameCapacity), get(at + 24)};
}

void CardDefinition::setFont(int slot, const Font& f)
{
    const int at = slotOffset(slot, kFonts, kFontSlot);
    setText(at, kFontNameCapacity, f.name);
    set(at + 24, f.size);
}

std::vector<std::string> CardDefinition::items(Group g) const
{
    const GroupLayout l = layoutOf(g);
    const int n = std::clamp(get(l.countOffset), 0, kMaxItems);
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i) texts.push_back(text(l.firstItem + i * l.fieldSize, l.fieldSize - 1));
    return texts;
}

void CardDefinition::setItems(Group g, const std::vector<std::string>& texts)
{
    const GroupLayout l = layoutOf(g);
    const int n = std::min<int>(static_cast<int>(texts.size()), kMaxItems);
    for (int i = 0; i < n; ++i) setText(l.firstItem + i * l.fieldSize, l.fieldSize - 1, texts[i]);
    set(l.countOffset, n);
}

int CardDefinition::positionSlot(Group g, int item)
{
    switch (g) {
    case Group::Employee: return item;
    case Group::Company: return kCompanyBase + item;
    case Group::Other: break;
    }
    return kOtherBase + item;
}

int CardDefinition::fontSlot(Group g, int item)
{
    switch (g) {
    case Group::Employee: return kEmployeeFont;
    case Group::Company: return kCompanyFont;
    case Group::Other: break;
    }
    return kOtherBase + item;
}

std::vector<CardDefinition::Line> CardDefinition::lines(bool horizontal) const
{
    const int base = horizontal ? kHorizontalLines : kVerticalLines;
    const int n = std::clamp(get(horizontal ? kHorizontalCount : kVerticalCount), 0, kMaxLines);
    std::vector<Line> v;
    for (int i = 0; i < n; ++i) {
        const int at = base + i * 16;
        v.push_back({get(at), get(at + 4), get(at + 8), get(at + 12)});
    }
    return v;
}

void CardDefinition::setLineCount(bool horizontal, int count)
{
    set(horizontal ? kHorizontalCount : kVerticalCount, std::clamp(count, 0, kMaxLines));
}

void CardDefinition::setLine(bool horizontal, int number, const Line& l)
{
    if (number < 1 || number > kMaxLines) throw std::out_of_range("card line " + std::to_string(number));
    const int at = (horizontal ? kHorizontalLines : kVerticalLines) + (number - 1) * 16;
    set(at, l.x1);
    set(at + 4, l.y1);
    set(at + 8, l.x2);
    set(at + 12, l.y2);
}

void CardDefinition::setMargins(int left, int right, int top, int bottom)
{
    set(83876, left);
    set(83880, right);
    set(83884, top);
    set(83888, bottom);
}

void CardDefinition::initialiseHorizontalLines()
{
    const int n = static_cast<int>(lines(true).size());
    for (int i = 1; i <= n; ++i) {
        const int y = tableTop() + i * lineSpacing();
        setLine(true, i, {leftMargin(), y, paperWidth() - rightMargin(), y});
    }
}

void CardDefinition::initialiseVerticalLines()
{
    const int n = static_cast<int>(lines(false).size());
    const int rows = static_cast<int>(lines(true).size());
    // Rounded half to even, as the card's other layout values are.
    const int step = static_cast<int>(
        std::nearbyint(static_cast<double>(paperWidth() - leftMargin() - rightMargin()) / (n + 1)));
    for (int i = 1; i <= n; ++i) {
        const int x = leftMargin() + i * step;
        setLine(false, i, {x, tableTop(), x, tableTop() + rows * lineSpacing()});
    }
}

// --- the files ------------------------------------------------------------------------------------

std::string CardFile::read(CardDefinition& def) const
{
    std::ifstream in(path(), std::ios::binary);
    if (!in) {
        def.applyDefaults();
        return {};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        def.fromBytes(bytes);
        return {};
    } catch (const std::exception& e) {
        def.applyDefaults();
        return "员工档案表格的定义文件 " + path() + " 已经损坏（" + e.what()
             + "），现在使用默认设置。\r在“表格定义”中保存后，这个文件会被默认设置替换。";
    }
}

void CardFile::save(const CardDefinition& def) const
{
    QSaveFile f(QString::fromStdString(path()));
    const std::string& bytes = def.bytes();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), static_cast<qint64>(bytes.size())) != CardDefinition::kSize
        || !f.commit())
        throw std::runtime_error("无法保存员工档案表格的定义文件 " + path() + "：" + f.errorString().toStdString());
}

bool CardFile::paperSize(const std::string& name, int& width, int& height) const
{
    std::vector<std::string> lines;
    try {
        lines = db::readSettingsLines(dir_ + "set/" + name + ".p");
    } catch (const std::exception&) {
        return false;
    }
    if (lines.size() < 2) return false;
    int v[2] = {};
    for (int i = 0; i < 2; ++i) {
        const std::string& s = lines[i];
        const char* first = s.data();
        while (first < s.data() + s.size() && *first == ' ') ++first;
        const auto [end, ec] = std::from_chars(first, s.data() + s.size(), v[i]);
        if (ec != std::errc() || v[i] <= 0) return false;
    }
    width = v[0];
    height = v[1];
    return true;
}

}  // namespace rsgz::print
