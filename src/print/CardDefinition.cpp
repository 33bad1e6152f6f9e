#include "print/CardDefinition.h"

#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "db/Gbk.h"
#include "print/PaperLimits.h"

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

std::string outOf(const std::string& what, int value, int low, int high)
{
    if (value >= low && value <= high) return {};
    return what + " " + std::to_string(value) + " 不在 " + std::to_string(low) + " 到 " + std::to_string(high) + " 之间";
}

// The first size or position of a definition that no sheet of paper can hold (the paper at most
// A0 either way; lengths, offsets and lines within an A0 length; item positions within an A0
// length of the corner, in pixels; font sizes 0–500); empty when there is none.
std::string rangeProblem(const CardDefinition& d)
{
    using Group = CardDefinition::Group;
    if (!fitsA0(d.paperWidth(), d.paperHeight(), kA0ShortTenths, kA0LongTenths))
        return "纸张大小 " + std::to_string(d.paperWidth()) + "×" + std::to_string(d.paperHeight()) + " 超出了范围（纸张最大为 A0）";
    std::vector<std::string> found;
    auto length = [&](const char* what, int v) { found.push_back(outOf(what, v, 0, kA0LongTenths)); };
    auto shift = [&](const std::string& what, int v, int bound) { found.push_back(outOf(what, v, -bound, bound)); };
    length("左边距", d.leftMargin()), length("右边距", d.rightMargin()), length("上边距", d.topMargin());
    length("下边距", d.bottomMargin()), length("表格上边距", d.tableTop()), length("行距", d.lineSpacing());
    length("简历框宽", d.resumeWidth()), length("简历框高", d.resumeHeight());
    shift("偏差校正", d.offset().x, kA0LongTenths), shift("偏差校正", d.offset().y, kA0LongTenths);
    shift("简历框位置", d.resumePosition().x, kA0LongPixels), shift("简历框位置", d.resumePosition().y, kA0LongPixels);
    auto place = [&](const std::string& what, int slot) {
        shift(what + "的位置", d.position(slot).x, kA0LongPixels), shift(what + "的位置", d.position(slot).y, kA0LongPixels);
    };
    auto size = [&](const std::string& what, int slot) { found.push_back(outOf(what + "的字号", d.font(slot).size, 0, kMaxFontPoints)); };
    place("照片", CardDefinition::kPhotoSlot);
    for (Group g : {Group::Employee, Group::Company, Group::Other}) {
        const int n = static_cast<int>(d.items(g).size());
        for (int i = 1; i <= n; ++i) {
            const std::string what = std::string(groupName(g)) + " " + std::to_string(i);
            place(what, CardDefinition::positionSlot(g, i));
            size(what, CardDefinition::fontSlot(g, i));
        }
    }
    for (bool horizontal : {true, false})
        for (const CardDefinition::Line& l : d.lines(horizontal))
            for (int v : {l.x1, l.y1, l.x2, l.y2}) shift(horizontal ? "表格横线的坐标" : "表格竖线的坐标", v, kA0LongTenths);
    for (const std::string& f : found)
        if (!f.empty()) return f;
    return {};
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

namespace {
// Screen pixels of the card window (3.78 per millimetre) for a place given in millimetres.
int px(double mm) { return static_cast<int>(std::lround(mm * 3.78)); }
}  // namespace

CardDefinition CardDefinition::standardCard()
{
    CardDefinition def;
    def.setPaperName("A4");
    def.setPaperSize(2100, 2970);
    def.setMargins(150, 150, 100, 250);
    def.setTableTop(300);
    def.setLineSpacing(100);
    // Eight rows of particulars in two caption/value pairs; the photograph fills the right end of
    // the first four, the second value runs to the frame in the other four. Then the résumé's
    // caption row, and the résumé in the rest of the frame.
    const int left = 150, right = 1950, top = 300, row = 100, photoLeft = 1550;
    def.setLineCount(true, 9);
    for (int i = 1; i <= 9; ++i) def.setLine(true, i, {left, top + i * row, i <= 3 ? photoLeft : right, top + i * row});
    const int verticals[][2] = {{400, 8}, {850, 8}, {1100, 8}, {photoLeft, 4}};
    def.setLineCount(false, 4);
    for (int i = 0; i < 4; ++i)
        def.setLine(false, i + 1, {verticals[i][0], top, verticals[i][0], top + verticals[i][1] * row});

    const char* pairs[8][2][2] = {
        {{"姓名", "姓名"}, {"性别", "性别"}},         {{"员工编号", "员工编号"}, {"出生年月", "出生年月"}},
        {{"民族", "民族"}, {"籍贯", "籍贯"}},         {{"政治面貌", "政治面貌"}, {"婚姻状况", "婚姻状况"}},
        {{"学历", "学历"}, {"毕业院校", "毕业院校"}}, {{"部门", "一级部门"}, {"职务", "职务"}},
        {{"入职日期", "入职日期"}, {"联系电话", "联系电话"}}, {{"身份证号", "身份证号"}, {"家庭住址", "家庭住址"}},
    };
    std::vector<std::string> other = {"员工档案表", "单位："}, employee;
    def.setPosition(positionSlot(Group::Other, 1), {px(87), px(10)});
    def.setPosition(positionSlot(Group::Other, 2), {px(15), px(22)});
    // Texts sit 2 mm into their cell and 2.5 mm below its top line; item positions carry the
    // drawing's own small shift (0.6 mm left, 0.4 mm up).
    const double captionX[] = {17.6, 87.6}, valueX[] = {42.6, 112.6};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 2; ++c) {
            const double y = 30 + 10 * r + 2.9;
            other.push_back(pairs[r][c][0]);
            def.setPosition(positionSlot(Group::Other, static_cast<int>(other.size())), {px(captionX[c]), px(y)});
            employee.push_back(pairs[r][c][1]);
            def.setPosition(positionSlot(Group::Employee, static_cast<int>(employee.size())), {px(valueX[c]), px(y)});
        }
    other.push_back("个人简历");
    def.setPosition(positionSlot(Group::Other, static_cast<int>(other.size())), {px(17.6), px(112.9)});
    def.setItems(Group::Other, other);
    def.setItems(Group::Employee, employee);
    def.setItems(Group::Company, {"单位名称"});
    def.setPosition(positionSlot(Group::Company, 1), {px(27.6), px(22.4)});

    def.setFont(positionSlot(Group::Other, 1), {"黑体", 20});
    for (size_t i = 2; i <= other.size(); ++i) def.setFont(fontSlot(Group::Other, static_cast<int>(i)), {"宋体", 11});
    def.setFont(kEmployeeFont, {"宋体", 11});
    def.setFont(kCompanyFont, {"宋体", 11});
    // The photograph (109 × 131 pixels) in the middle of its cell; the résumé 2 mm inside the frame.
    def.setPosition(kPhotoSlot, {px(161.2), px(33)});
    def.setResumePosition({px(17.6), px(122.4)});
    def.setResumeSize(px(175), px(145));
    def.setPrintResume(true);
    return def;
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
    if (const std::string problem = rangeProblem(read); !problem.empty()) throw std::runtime_error(problem);
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
    // An item moved far off the sheet stops where the file may still hold it.
    set(at, std::clamp(p.x, -kA0LongPixels, kA0LongPixels));
    set(at + 4, std::clamp(p.y, -kA0LongPixels, kA0LongPixels));
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
        def = CardDefinition::standardCard();
        return {};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        def.fromBytes(bytes);
        return {};
    } catch (const std::exception& e) {
        def = CardDefinition::standardCard();
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
