#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "query/GridLayout.h"
#include "support/TempDir.h"

using namespace rsgz;
using query::GridColumn;
using query::GridLayout;

TEST(GridLayout, RoundTripKeepsOrderTitlesWidthsAndAlignment)
{
    test::TempDir dir;
    EXPECT_EQ(GridLayout::path("/p/", 3), "/p/set/DBGrid4.dat");
    EXPECT_EQ(GridLayout::path("/p/", 10), "");
    const std::string path = GridLayout::path(dir.path() + "/", 1);
    QDir().mkpath(QString::fromStdString(dir.path() + "/set"));

    GridLayout layout;
    layout.columns = {{"姓名", "员工姓名", 90, GridColumn::Align::Center},
                      {"员工编号", "员工编号", 120, GridColumn::Align::Left},
                      {"身高", "身高(cm)", 60, GridColumn::Align::Right}};
    layout.write(path);
    EXPECT_EQ(GridLayout::read(path).columns, layout.columns);
}

// A damaged or foreign file is reported with its name; it is never half read.
TEST(GridLayout, ADamagedFileIsReportedByName)
{
    test::TempDir dir;
    const std::string path = dir.file("DBGrid1.dat");
    std::string wide = "{\"columns\": [";
    for (int i = 0; i < 1001; ++i) wide += std::string(i ? "," : "") + "{\"field\": \"f" + std::to_string(i) + "\", \"width\": 60}";
    wide += "]}";
    const std::string contents[] = {
        "{\"columns\": [", "TPF0\x01\x02binary", "[1,2,3]",
        // Widths and counts no grid has.
        "{\"columns\": [{\"field\": \"姓名\", \"width\": 3000000000}]}",
        "{\"columns\": [{\"field\": \"姓名\", \"width\": -1}]}", wide};
    for (const std::string& content : contents) {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content.data(), static_cast<qint64>(content.size()));
        f.close();
        try {
            GridLayout::read(path);
            ADD_FAILURE() << content.substr(0, 80);
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
    }
}
