#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "support/ProgramLayout.h"
#include "widgets/DataSetModel.h"

using namespace rsgz;

TEST(DataSetModel, FollowsTheDatasetThroughOpenInsertPostAndDelete)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.dm().runSql({"insert into 工资表 (姓名, gz01, 发放日期, 员工编号) values ('张三', 1234.5, '2009-03-05', 'A1')"});
    db::DataSet& ds = p.dm().gzb;
    ds.setRowNumberField(true);
    widgets::DataSetModel model(&ds);
    model.setEditable(true);
    // The tester follows rows by their first column; the row number moves with the position, so
    // the name leads here.
    model.setVisibleFields({"姓名", "序号", "gz01", "发放日期"});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    ds.open();
    ASSERT_EQ(model.rowCount(), 1);
    auto cell = [&](int row, const char* field) {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.headerData(c, Qt::Horizontal).toString() == QString::fromUtf8(field))
                return model.index(row, c).data().toString();
        return QStringLiteral("<no column>");
    };
    EXPECT_EQ(cell(0, "序号"), "1");
    EXPECT_EQ(cell(0, "gz01"), "1234.50") << "money shows two decimals";
    EXPECT_EQ(cell(0, "发放日期"), "2009-03-05");

    ds.append();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(cell(1, "序号"), "-1") << "a row being inserted";
    ds.setValue("姓名", db::Value("李四"));
    ds.setValue("工资帐套", db::Value("默认"));
    ds.setValue("员工编号", db::Value("A2"));
    ds.post();
    EXPECT_EQ(cell(1, "姓名"), "李四");
    EXPECT_EQ(cell(1, "序号"), "2");

    ds.first();
    ds.remove();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(cell(0, "姓名"), "李四");
    ds.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(DataSetModel, EditsWriteThroughTheDatasetAndBadValuesAreRefused)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '张三')"});
    db::DataSet& ds = p.dm().rszl;
    widgets::DataSetModel model(&ds);
    model.setEditable(true);
    ds.open();
    int nameCol = -1, heightCol = -1, dateCol = -1;
    for (int c = 0; c < model.columnCount(); ++c) {
        const QString h = model.headerData(c, Qt::Horizontal).toString();
        if (h == QStringLiteral("姓名")) nameCol = c;
        if (h == QStringLiteral("身高")) heightCol = c;
        if (h == QStringLiteral("入职日期")) dateCol = c;
    }
    EXPECT_TRUE(model.setData(model.index(0, nameCol), QStringLiteral("张三丰")));
    EXPECT_FALSE(model.setData(model.index(0, heightCol), QStringLiteral("很高")));
    EXPECT_TRUE(model.setData(model.index(0, dateCol), QStringLiteral("20220630")));  // typed as in a date box
    EXPECT_FALSE(model.setData(model.index(0, dateCol), QStringLiteral("20220230")));
    ds.post();
    ds.requery();
    EXPECT_EQ(ds.asString("姓名"), "张三丰");
    EXPECT_EQ(ds.asString("入职日期"), "2022-06-30");

    widgets::DataSetModel readOnly(&ds);
    EXPECT_FALSE(readOnly.flags(readOnly.index(0, nameCol)) & Qt::ItemIsEditable);
}
