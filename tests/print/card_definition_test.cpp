#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <fstream>
#include <random>

#include "db/Gbk.h"
#include "print/CardDefinition.h"
#include "print/CardPage.h"
#include "print/ReportPages.h"
#include "support/TempDir.h"

namespace {

using namespace rsgz;
using print::CardDefinition;
using print::CardFile;
using Group = CardDefinition::Group;

struct CardDir {
    test::TempDir tmp;
    CardDir()
    {
        QDir(QString::fromStdString(tmp.path())).mkpath(QStringLiteral("baobiao"));
        QDir(QString::fromStdString(tmp.path())).mkpath(QStringLiteral("set"));
    }
    CardFile file() const { return CardFile(tmp.path() + "/"); }
    void write(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream(tmp.file(relative), std::ios::binary) << bytes;
    }
    std::string read(const std::string& relative) const
    {
        std::ifstream in(tmp.file(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

int32_t at(const std::string& bytes, int offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
    return static_cast<int32_t>(v);
}

void put(std::string& bytes, int offset, int32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A record as another installation could have written it: noise in every reserved byte and after
// every text, and items, fonts and lines in use.
std::string writtenElsewhere()
{
    std::string bytes(CardDefinition::kSize, '\0');
    std::mt19937 noise(7);
    for (char& c : bytes) c = static_cast<char>(noise());
    CardDefinition def;
    def.fromBytes([&] {
        std::string b = bytes;
        for (int offset : {10560, 10572, 10580, 83840, 83844}) put(b, offset, 0);
        b[83892] = 0;
        // Sizes and positions are held to what a sheet of paper can take; the noise stays elsewhere.
        for (int offset : {10240, 10244, 10248, 10252, 83864, 83868, 83872, 83876, 83880, 83884, 83888, 83928})
            put(b, offset, 40);
        put(b, 83852, 2100), put(b, 83856, 2970);
        for (int slot : {1, 2, 3, 260, 301, 501, 502})
            for (int i = 0; i < 4; ++i) put(b, (slot - 1) * 16 + 4 * i, 100);
        for (int base : {77440, 77456, 80640})
            for (int i = 0; i < 4; ++i) put(b, base + 4 * i, 500);
        return b;
    }());
    def.setItems(Group::Employee, {"姓名", "员工编号", "部门"});
    def.setItems(Group::Company, {"单位名称"});
    def.setItems(Group::Other, {"员工档案表", "填表日期"});
    for (int slot : {1, 301, 501, 502}) def.setFont(slot, {"宋体", 10 + slot % 7});
    def.setLineCount(true, 2);
    def.setLineCount(false, 1);
    def.setPaperName("A4");
    return def.bytes();
}

TEST(CardDefinition, FileIsReadAndWrittenByteForByte)
{
    CardDir dir;
    const std::string original = writtenElsewhere();
    dir.write("baobiao/rszlbb.dat", original);
    CardDefinition def;
    ASSERT_EQ(dir.file().read(def), "");
    EXPECT_EQ(def.items(Group::Employee), (std::vector<std::string>{"姓名", "员工编号", "部门"}));
    EXPECT_EQ(def.font(301).name, "宋体");
    QFile::remove(QString::fromStdString(dir.file().path()));
    dir.file().save(def);
    EXPECT_TRUE(dir.read("baobiao/rszlbb.dat") == original);
}

// The fields land where other installations look for them.
TEST(CardDefinition, FieldsAreAtTheirOffsets)
{
    CardDefinition def;
    def.setPosition(260, {123, -45});
    def.setResumePosition({7, 8});
    def.setResumeSize(300, 200);
    def.setOffset({-30, 40});
    def.setMargins(100, 110, 120, 130);
    def.setTableTop(140);
    def.setLine(false, 200, {1, 2, 3, 4});
    def.setFont(640, {"黑体", 12});
    def.setItems(Group::Other, {"甲", "乙"});
    const std::string& b = def.bytes();
    ASSERT_EQ(b.size(), 83932u);
    const std::pair<int, int32_t> fields[] = {
        {259 * 16, 123}, {259 * 16 + 4, -45}, {10240, 7}, {10244, 8}, {10248, 200}, {10252, 300},
        {10580, 2},      {10584, 7},          {10596, 1}, {83852, 2100}, {83856, 2970}, {83864, 50},
        {83868, -30},    {83872, 40},         {83876, 100}, {83880, 110}, {83884, 120}, {83888, 130},
        {83928, 140},    {80640 + 199 * 16 + 12, 4}, {51200 + 639 * 32 + 24, 12},
    };
    for (const auto& [offset, value] : fields) EXPECT_EQ(at(b, offset), value) << "offset " << offset;
    EXPECT_EQ(b[83849], 1);  // the résumé prints
    EXPECT_EQ(b.substr(26100 + 251, 3), "\x02" + db::toGbk("乙"));
    EXPECT_EQ(b.substr(51200 + 639 * 32, 5), "\x04" + db::toGbk("黑体"));
    // Texts GBK has no code for are kept too.
    def.setItems(Group::Employee, {"王䶮", "𠀀"});
    CardDefinition back;
    back.fromBytes(def.bytes());
    EXPECT_EQ(back.items(Group::Employee), (std::vector<std::string>{"王䶮", "𠀀"}));
}

// A damaged file never gets into the definition: the defaults are taken and the user told why.
TEST(CardDefinition, DamagedFileGivesTheDefaultsAndSaysWhy)
{
    const std::string good = writtenElsewhere();
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    auto with = [&good](auto change) {
        std::string b = good;
        change(b);
        return b;
    };
    const Case cases[] = {
        {"short", good.substr(0, 1000), "1000 字节"},
        {"long", good + "x", "83933 字节"},
        {"employee count", with([](std::string& b) { put(b, 10560, 101); }), "员工数据项的数量 101"},
        {"negative lines", with([](std::string& b) { put(b, 83844, -1); }), "表格竖线的数量 -1"},
        {"text too long", with([](std::string& b) { b[10600 + 31] = 31; }), "员工数据项 2的长度 31"},
        {"not GBK", with([](std::string& b) { b[19901] = '\xff'; }), "公司数据项 1不是有效的文字"},
        {"font name", with([](std::string& b) { b[51200 + 501 * 32] = 21; }), "其他内容 2 的字体名称"},
        // Sizes and positions no sheet of paper holds.
        {"paper 19 km high", with([](std::string& b) { put(b, 83856, 190000000); }), "纸张大小 2100×190000000"},
        {"no paper", with([](std::string& b) { put(b, 83852, 0); }), "纸张大小"},
        {"square beyond A0", with([](std::string& b) { put(b, 83852, 9000), put(b, 83856, 9000); }), "纸张大小"},
        {"margin", with([](std::string& b) { put(b, 83876, INT32_MAX); }), "左边距"},
        {"negative line spacing", with([](std::string& b) { put(b, 83864, -50); }), "行距 -50"},
        {"offset", with([](std::string& b) { put(b, 83872, -20000); }), "偏差校正"},
        {"résumé box", with([](std::string& b) { put(b, 10252, 12000); }), "简历框宽"},
        {"item far away", with([](std::string& b) { put(b, 2 * 16 + 4, 5000); }), "员工数据项 3的位置"},
        {"photo far away", with([](std::string& b) { put(b, 259 * 16, -5000); }), "照片的位置"},
        {"huge font", with([](std::string& b) { put(b, 51200 + 24, 100000); }), "员工数据项 1的字号"},
        {"line far away", with([](std::string& b) { put(b, 80640 + 12, 2000000000); }), "表格竖线的坐标"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CardDir dir;
        dir.write("baobiao/rszlbb.dat", c.bytes);
        CardDefinition def;
        def.setItems(Group::Company, {"单位名称"});
        def.setPaperSize(1000, 1000);
        const std::string message = dir.file().read(def);
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_NE(message.find("默认设置"), std::string::npos) << message;
        EXPECT_TRUE(def.bytes() == CardDefinition::standardCard().bytes()) << "the standard card stands in";
    }
    // A missing file is a first start, not damage: the standard card, without a word.
    CardDir empty;
    CardDefinition def;
    EXPECT_EQ(empty.file().read(def), "");
    EXPECT_TRUE(def.bytes() == CardDefinition::standardCard().bytes());
}

// The card a new installation prints: everything on the paper, the particulars inside the frame
// and clear of the photograph, and the résumé wrapped at a real width inside the frame.
TEST(CardDefinition, StandardCardFitsThePaper)
{
    const CardDefinition def = CardDefinition::standardCard();
    print::CardValues values;
    for (const std::string& column : def.items(Group::Employee)) values.employee[column] = "四个汉字";
    values.employee["身份证号"] = "320102198804120026";
    values.company["单位名称"] = "宏达机械厂";
    values.resume = "2006年考入南京财经大学会计系，2010年毕业后进入本厂财务部。";
    const print::CardPage page = print::layoutCard(def, values, print::CardScale::screen(), print::CardMode::Card);
    const int paperW = 794, paperH = 1123;  // A4 at 3.78 pixels per millimetre
    const auto& f = page.frame;
    EXPECT_TRUE(f.x > 0 && f.y > 0 && f.x + f.width < paperW && f.y + f.height < paperH);
    for (const auto& l : page.lines) {
        EXPECT_TRUE(std::min(l.x1, l.x2) >= f.x && std::max(l.x1, l.x2) <= f.x + f.width);
        EXPECT_TRUE(std::min(l.y1, l.y2) >= f.y && std::max(l.y1, l.y2) <= f.y + f.height);
    }
    auto overlaps = [](const print::CardPage::Rect& a, int x, int y, int w, int h) {
        return x < a.x + a.width && a.x < x + w && y < a.y + a.height && a.y < y + h;
    };
    ASSERT_EQ(page.texts.size(), 16u + 19u + 1u);
    for (const print::CardPage::Text& t : page.texts) {
        print::FontSpec font;
        font.size = t.font.size;
        const int w = static_cast<int>(print::textWidthMm(t.text, font) * 3.78), h = t.font.size * 96 / 72;
        const bool inTable = t.y > f.y;
        SCOPED_TRACE(t.text);
        EXPECT_TRUE(t.x >= (inTable ? f.x : 0) && t.x + w <= (inTable ? f.x + f.width : paperW));
        EXPECT_TRUE(t.y >= 0 && t.y + h <= (inTable ? f.y + f.height : paperH));
        EXPECT_FALSE(overlaps(page.photoBox, t.x, t.y, w, h));
        for (const auto& l : page.lines) {
            const bool across = l.y1 == l.y2 && l.y1 > t.y && l.y1 < t.y + h && l.x1 < t.x + w && l.x2 > t.x;
            const bool down = l.x1 == l.x2 && l.x1 > t.x && l.x1 < t.x + w && l.y1 < t.y + h && l.y2 > t.y;
            EXPECT_FALSE(across || down) << "a ruling line runs through the text";
        }
    }
    EXPECT_TRUE(page.photo);
    EXPECT_TRUE(page.photoBox.x > f.x && page.photoBox.x + page.photoBox.width < f.x + f.width);
    ASSERT_TRUE(page.resume);
    EXPECT_GT(page.resumeWrapWidth, 600);
    EXPECT_LE(page.resumeText.x + page.resumeWrapWidth, f.x + f.width);
    EXPECT_GE(page.resumeText.y, page.lines[8].y1) << "below the résumé's caption row";
}

TEST(CardDefinition, ItemsAreCutWithoutSplittingACharacter)
{
    CardDefinition def;
    const std::string sixteen = "一二三四五六七八九十甲乙丙丁戊己";
    std::vector<std::string> many(120, "姓名");
    many[0] = sixteen;
    def.setItems(Group::Employee, many);
    def.setItems(Group::Other, {"a" + sixteen});
    EXPECT_EQ(def.items(Group::Employee).size(), 100u);
    EXPECT_EQ(def.items(Group::Employee)[0], "一二三四五六七八九十甲乙丙丁戊");
    EXPECT_EQ(def.items(Group::Other)[0], "a" + sixteen);
}

TEST(CardDefinition, LinesAreInitialisedEvenly)
{
    CardDefinition def;
    def.setMargins(100, 100, 0, 100);
    def.setTableTop(200);
    def.setLineSpacing(50);
    def.setLineCount(true, 3);
    def.setLineCount(false, 2);
    def.initialiseHorizontalLines();
    def.initialiseVerticalLines();
    using L = CardDefinition::Line;
    EXPECT_EQ(def.lines(true), (std::vector<L>{{100, 250, 2000, 250}, {100, 300, 2000, 300}, {100, 350, 2000, 350}}));
    // (2100 − 200) ÷ 3 = 633.3 → 633
    EXPECT_EQ(def.lines(false), (std::vector<L>{{733, 200, 733, 350}, {1366, 200, 1366, 350}}));
}

TEST(CardDefinition, PaperSizeFiles)
{
    CardDir dir;
    dir.write("set/B5.p", "1820\r\n2570\r\n");
    dir.write("set/坏.p", "宽\r\n");
    int w = 1, h = 1;
    EXPECT_TRUE(dir.file().paperSize("B5", w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(1820, 2570));
    EXPECT_FALSE(dir.file().paperSize("坏", w, h));
    EXPECT_FALSE(dir.file().paperSize("没有", w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(1820, 2570));
}

// What a card shows in each mode, and where: the print offset moves everything, item positions are
// screen pixels whatever the device.
TEST(CardPage, ModesAndPlacement)
{
    CardDefinition def;
    def.setItems(Group::Employee, {"姓名", "没有这列"});
    def.setItems(Group::Other, {"员工档案表"});
    def.setPosition(1, {378, 189});
    def.setPosition(501, {0, 0});
    def.setMargins(100, 100, 0, 100);
    def.setTableTop(100);
    def.setLineCount(true, 1);
    def.initialiseHorizontalLines();
    def.setOffset({100, 0});
    print::CardValues values;
    values.employee = {{"姓名", "张三"}};
    values.resume = "简历";

    using print::CardMode;
    const print::CardPage card = print::layoutCard(def, values, print::CardScale::screen(), CardMode::Card);
    EXPECT_EQ(card.frame.x, 76);  // (100 + 100) ÷ 10 × 3.78 = 75.6
    ASSERT_EQ(card.texts.size(), 3u);
    EXPECT_EQ(card.texts[0].text, "员工档案表");
    EXPECT_FALSE(card.texts[0].bold);
    EXPECT_EQ(card.texts[1].text, "张三");
    EXPECT_TRUE(card.texts[1].bold);
    EXPECT_EQ(card.texts[1].x, 414);  // (378 ÷ 3.78 + 100 ÷ 10 − 0.6) × 3.78 = 413.53
    EXPECT_EQ(card.texts[1].y, 187);  // (189 ÷ 3.78 − 0.4) × 3.78 = 187.49
    EXPECT_EQ(card.texts[2].text, "");  // a column the list does not have prints nothing
    EXPECT_TRUE(card.photo && card.resume);
    EXPECT_EQ(card.texts[1].font.name, "宋体");

    const print::CardPage blank = print::layoutCard(def, values, print::CardScale::screen(), CardMode::Blank);
    EXPECT_FALSE(blank.photo || blank.resume);
    ASSERT_EQ(blank.texts.size(), 1u);
    EXPECT_EQ(blank.lines.size(), 1u);

    const print::CardPage placing = print::layoutCard(def, values, print::CardScale::screen(), CardMode::Placement);
    EXPECT_TRUE(placing.texts.empty());
    EXPECT_FALSE(placing.photo);

    def.setPrintResume(false);
    EXPECT_FALSE(print::layoutCard(def, values, print::CardScale::screen(), CardMode::Card).resume);

    const print::CardPage printed = print::layoutCard(def, values, print::CardScale::printer(600, 600), CardMode::Card);
    EXPECT_EQ(printed.texts[1].x, 2589);  // (100 + 10 − 0.6) × 600 ÷ 180 × 7.1 = 2589.1
}

}  // namespace
