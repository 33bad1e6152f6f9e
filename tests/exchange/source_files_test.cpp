#include <gtest/gtest.h>

#include <zip.h>

#include <QFile>
#include <filesystem>

#include "ExchangeFixtures.h"
#include "exchange/SourceFile.h"
#include "support/TempDir.h"

using namespace rsgz::exchange;
using rsgz::test::cellTexts;
using rsgz::test::dataFile;
using rsgz::test::sharedFixture;

namespace {

const std::vector<std::string> kHeading = {"员工编号", "姓名", "性别", "出生年月", "身高", "体重", "手机", "备注"};
const std::vector<std::vector<std::string>> kRows = {
    {"A001", "张三", "男", "1985-03-12", "1.75", "70", "13800138000", "老员工"},
    {"A002", "李四", "女", "1990-11-02", "1.6", "52", "13912345678", ""},
    {"A003", "王五", "男", "2001-01-31", "1.82", "80", "15000000001", "技术骨干"},
};

// The same three employees saved by a spreadsheet as .xlsx (shared and inline strings, a built-in
// and a custom date format), as .xls and as GBK text read into the same rows: long numbers without
// an exponent, dates as ISO dates, the empty cell empty.
TEST(SourceFiles, EveryFormatReadsTheSameRows)
{
    for (const char* name : {"employees.xlsx", "employees.xls", "employees.csv"}) {
        SCOPED_TRACE(name);
        auto file = openSourceFile(dataFile(name));
        const auto tables = file->tables();
        ASSERT_EQ(tables.size(), 1u);
        const SourceTable t = file->read(tables[0]);
        EXPECT_EQ(t.columns, kHeading);
        EXPECT_EQ(cellTexts(t), kRows);
        ASSERT_EQ(t.rows.size(), 3u);
        EXPECT_TRUE(t.rows[1][7].isNull());
        EXPECT_EQ(t.lines, (std::vector<int>{2, 3, 4}));
    }
}

TEST(SourceFiles, AccessTablesAndRows)
{
    const std::string mdb = sharedFixture("nwind.mdb");
    const std::string accdb = sharedFixture("ASampleDatabase.accdb");
    if (!QFile::exists(QString::fromStdString(mdb)) || !QFile::exists(QString::fromStdString(accdb)))
        GTEST_SKIP() << "no Access fixture in ../shared/fixtures (nwind.mdb, ASampleDatabase.accdb)";

    auto nwind = openSourceFile(mdb);
    const auto tables = nwind->tables();
    EXPECT_NE(std::find(tables.begin(), tables.end(), "Umsätze"), tables.end());
    for (const auto& t : tables) EXPECT_NE(t.rfind("MSys", 0), 0u) << t;  // no system tables
    const SourceTable employees = nwind->read("Employees");
    ASSERT_EQ(employees.columns.size(), 17u);
    ASSERT_EQ(employees.rows.size(), 9u);
    EXPECT_EQ(employees.columns[1], "LastName");
    EXPECT_EQ(employees.rows[0][1].toString(), "Davolio");
    EXPECT_EQ(employees.rows[0][5].toString(), "1948-12-08");           // BirthDate
    EXPECT_EQ(employees.rows[0][0].kind(), rsgz::db::Value::Kind::Int);  // EmployeeID
    EXPECT_TRUE(employees.rows[0][14].isNull());                        // the photo
    EXPECT_NE(employees.rows[0][7].toString().find('\n'), std::string::npos);  // an address of two lines

    auto sample = openSourceFile(accdb);
    const SourceTable assets = sample->read("Asset Items");
    ASSERT_EQ(assets.columns.size(), 13u);
    ASSERT_FALSE(assets.rows.empty());
    EXPECT_EQ(cellText(assets.rows[0][0]), "30050");
    EXPECT_EQ(cellText(assets.rows[0][7]), "1997-09-02");
    EXPECT_EQ(cellText(assets.rows[0][8]), "1995.5");  // Cost
    EXPECT_TRUE(assets.rows[0][12].isNull());
}

// A damaged or mislabelled file is refused with a message, never read as rubbish or a crash.
TEST(SourceFiles, DamagedFilesAreRefused)
{
    rsgz::test::TempDir dir;
    for (const char* name : {"x.xlsx", "x.xls", "x.mdb", "x.accdb", "x.doc"}) {
        const std::string path = dir.file(name);
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PK\x03\x04 this is no workbook at all");
        f.close();
        EXPECT_THROW(openSourceFile(path)->read("Sheet1"), SourceError) << name;
    }
    // A workbook cut short: its parts cannot be unpacked.
    QFile whole(QString::fromStdString(dataFile("employees.xlsx")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(QString::fromStdString(dir.file("cut.xlsx")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    EXPECT_THROW(openSourceFile(dir.file("cut.xlsx"))->tables(), SourceError);
}

TEST(SourceFiles, CsvQuotingAndEncodings)
{
    rsgz::test::TempDir dir;
    struct Case {
        const char* bytes;
        std::vector<std::string> columns;
        std::vector<std::vector<std::string>> rows;
    };
    const Case cases[] = {
        // UTF-8 with a byte order mark; quoted commas, quotes, line breaks; a blank line skipped.
        {"\xEF\xBB\xBF编号,备注\r\n1,\"甲,乙\"\r\n\r\n2,\"他说\"\"好\"\"\r\n第二行\"\r\n",
         {"编号", "备注"}, {{"1", "甲,乙"}, {"2", "他说\"好\"\r\n第二行"}}},
        // GBK without a final line end; a short row padded, a blank heading named.
        {"\xB1\xE0\xBA\xC5,\n7", {"编号", "列2"}, {{"7", ""}}},
        // Tab separated.
        {"a\tb\n1\t2\n", {"a", "b"}, {{"1", "2"}}},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file("t.csv");
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        const SourceTable t = openSourceFile(path)->read("t");
        EXPECT_EQ(t.columns, c.columns);
        EXPECT_EQ(cellTexts(t), c.rows);
    }
}

TEST(SourceFiles, NumberAndDateText)
{
    using rsgz::db::Value;
    const std::pair<Value, const char*> numbers[] = {
        {Value(13800138000.0), "13800138000"}, {Value(1e15), "1000000000000000"}, {Value(0.1), "0.1"},
        {Value(70.0), "70"}, {Value(-2.5), "-2.5"}, {Value(1e-7), "0.0000001"}, {Value(), ""}};
    for (const auto& [v, text] : numbers) EXPECT_EQ(cellText(v), text);

    const std::pair<double, const char*> serials[] = {
        {1, "1900-01-01"}, {59, "1900-02-28"}, {61, "1900-03-01"}, {31118, "1985-03-12"},
        {45000.5, "2023-03-15 12:00:00"}, {45000.99999999, "2023-03-16"}, {0, ""}, {-3, ""}};
    for (const auto& [serial, text] : serials) EXPECT_EQ(serialDateText(serial), text) << serial;
}

}  // namespace

namespace {

// Writes a workbook part by part, so that a test can hold what spreadsheet programs write less often.
void writeWorkbook(const std::string& path, const std::string& sheetData, const std::string& sharedStrings)
{
    const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const std::pair<std::string, std::string> parts[] = {
        {"_rels/.rels", rels + "<Relationship Id=\"r1\" Type=\"officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook " + ns + " xmlns:x=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                            "<sheets><sheet name=\"表一\" sheetId=\"1\" x:id=\"s1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", rels + "<Relationship Id=\"s1\" Type=\"worksheet\" Target=\"sheets/one.xml\"/>"
                                              "<Relationship Id=\"s2\" Type=\"sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/sheets/one.xml", "<worksheet " + ns + "><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", "<sst " + ns + ">" + sharedStrings + "</sst>"},
    };
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, text] : parts) {
        zip_source_t* src = zip_source_buffer(z, text.data(), text.size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(z), 0);  // reads the buffers, which live until here
}

// Rows and cells without their references, a phonetic guide, booleans, errors, formula results, and a
// styled empty cell at the sheet's last column, which must not make every row sixteen thousand wide.
TEST(SourceFiles, XlsxCellsSpreadsheetsWriteLessOften)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("t.xlsx");
    writeWorkbook(path,
                  "<row><c t=\"s\"><v>0</v></c><c t=\"inlineStr\"><is><r><t>备</t></r><r><t>注</t></r></is></c>"
                  "<c r=\"XFD1\" s=\"3\"/></row>"
                  "<row r=\"3\"><c r=\"B3\" t=\"b\"><v>1</v></c><c t=\"e\"><v>#DIV/0!</v></c></row>"
                  "<row><c t=\"str\"><f>A1&amp;\"x\"</f><v>甲x</v></c><c><v>1.5E-3</v></c></row>",
                  "<si><t>编号</t><rPh sb=\"0\" eb=\"1\"><t>ビアン</t></rPh></si>");
    auto file = openSourceFile(path);
    EXPECT_EQ(file->tables(), (std::vector<std::string>{"表一"}));
    const SourceTable t = file->read("表一");
    EXPECT_EQ(t.columns, (std::vector<std::string>{"编号", "备注"}));
    EXPECT_EQ(cellTexts(t), (std::vector<std::vector<std::string>>{{"", "是"}, {"甲x", "0.0015"}}));
    EXPECT_EQ(t.lines, (std::vector<int>{3, 4}));
}

}  // namespace

namespace {

// Every number a workbook gives is read checked and within the format's range; one that is not
// makes the file damaged, never an overflow or an index past the end.
TEST(SourceFiles, XlsxNumbersOutOfRangeAreDamage)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("n.xlsx");
    const char* const damaged[] = {
        "<row r=\"2147483647\"><c><v>1</v></c></row><row><c><v>2</v></c></row>",
        "<row r=\"99999999999\"><c><v>1</v></c></row>",
        "<row r=\"1048577\"><c><v>1</v></c></row>",
        "<row r=\"-1\"><c><v>1</v></c></row>",
        "<row r=\"1x\"><c><v>1</v></c></row>",
        "<row r=\"1\"><c t=\"s\"><v>1</v></c></row>",            // one shared text only
        "<row r=\"1\"><c t=\"s\"><v>-1</v></c></row>",
        "<row r=\"1\"><c t=\"s\"><v>18446744073709551617</v></c></row>",
        "<row r=\"1\"><c s=\"9999999999\"><v>1</v></c></row>",
        "<row r=\"1\"><c s=\"\"><v>1</v></c></row>",
    };
    for (const char* sheet : damaged) {
        writeWorkbook(path, sheet, "<si><t>甲</t></si>");
        try {
            openSourceFile(path)->read("表一");
            ADD_FAILURE() << "read: " << sheet;
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find("已损坏"), std::string::npos) << sheet << ": " << e.what();
        }
    }
    // The last row a sheet can have is still a row.
    writeWorkbook(path, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row r=\"1048576\"><c><v>7</v></c></row>", "<si><t>甲</t></si>");
    const SourceTable t = openSourceFile(path)->read("表一");
    EXPECT_EQ(t.lines, std::vector<int>{1048576});
    EXPECT_EQ(cellTexts(t), (std::vector<std::vector<std::string>>{{"7"}}));
}

}  // namespace
