#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/TDM.h"
#include "db/Schema.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using app::TDM;
using db::DataSet;
using db::FieldType;

namespace {

TEST(TDM, EveryDataSetExistsWithItsDefaultStatement)
{
    const std::map<std::string, std::string> expected = {
        {"rszl", "员工基本情况"}, {"grjl", "个人经历"}, {"shgx", "社会关系"}, {"zzlb", "证照列表"},
        {"pxjl", "培训记录"}, {"pxjl1", "培训记录"}, {"ddjl", "调动记录"}, {"zcpd", "职称评定"},
        {"jcqk", "奖惩情况"}, {"gzjs", "工资晋升"}, {"kpqk", "考评情况"}, {"wply", "物品领用"},
        {"ddjl1", "调动记录"}, {"zcpd1", "职称评定"}, {"jcqk1", "奖惩情况"}, {"kpqk1", "考评情况"},
        {"wply1", "物品领用"}, {"pxkc", "培训课程"}, {"wpdj", "物品登记"}, {"wplyjl", "物品领用"},
        {"kpxm", "考评项目表"}, {"kpjl", "考评情况"}, {"zidian", ""}, {"jcsz", "数据字典"},
        {"gz_zt", "帐套"}, {"zt_mx", "工资帐套明细"}, {"gzb", "工资表"}, {"sds_set", "所得税设置"},
        {"jjgz", "计件工资"}, {"jsgz", "计时工资"}, {"gzxmd", "默认工资项目"}, {"gzdj", "工资等级"},
        {"gzdj_gzxm", "默认工资等级值"}, {"dfgz_set", "代发工资格式"}, {"qxgl", "权限"}, {"zh", ""},
        {"gs_data", "公司数据"}, {"rytongji", "人员统计"}, {"select_renyuan", "选择人员"}, {"pxb", ""},
        {"s1", ""}, {"s2", ""}, {"s3", ""}, {"s4", ""}, {"s5", ""}, {"search_zt", ""},
    };
    TDM dm;
    EXPECT_EQ(dm.allDataSets().size(), expected.size());
    for (const auto& [name, table] : expected) {
        const DataSet* ds = dm.dataSet(name);
        ASSERT_NE(ds, nullptr) << name;
        EXPECT_EQ(ds->name(), name);
        EXPECT_EQ(ds->sqlText(), table.empty() ? "" : "select * from " + table) << name;
        EXPECT_FALSE(ds->active()) << name << ": the data module opens nothing itself";
        const bool batch = name == "zidian" || name == "rytongji" || name == "select_renyuan";
        EXPECT_EQ(ds->batchMode(), batch) << name;
    }
    EXPECT_EQ(dm.dataSet("nosuch"), nullptr);
    EXPECT_FALSE(dm.DMADO.isOpen());
}

TEST(TDM, DefaultStatementsOpenOnTheTemplateDatabase)
{
    test::TestDatabase db;
    TDM dm;
    dm.setProgramDir(db.programDir());
    EXPECT_EQ(dm.DMADO.path(), db.livePath());
    for (DataSet* ds : dm.allDataSets()) {
        if (ds->sqlText().empty()) continue;
        SCOPED_TRACE(ds->name());
        ds->open();
        EXPECT_FALSE(ds->readOnly());
    }
    EXPECT_EQ(dm.qxgl.recordCount(), 1);
    EXPECT_EQ(dm.qxgl.asString("姓名"), app::kDefaultOperator);
    EXPECT_TRUE(dm.qxgl.asBool("权限管理"));
}

TEST(TDM, CloseAllDataClosesInItsOrderAndLeavesTheOperatorOpen)
{
    struct Recorder : db::DataSetListener {
        std::vector<std::string>* closed;
        void dataSetReset(DataSet& ds) override
        {
            if (!ds.active()) closed->push_back(ds.name());
        }
    };
    test::TestDatabase db;
    TDM dm;
    dm.setProgramDir(db.programDir());
    std::vector<std::string> closed;
    std::vector<Recorder> recorders(dm.allDataSets().size());
    for (size_t i = 0; i < dm.allDataSets().size(); ++i) {
        DataSet* ds = dm.allDataSets()[i];
        if (ds->sqlText().empty()) ds->setSql("select * from 权限");
        ds->open();
        recorders[i].closed = &closed;
        ds->addListener(&recorders[i]);
    }
    dm.close_all_data();
    EXPECT_EQ(closed, (std::vector<std::string>{
                          "rszl", "grjl", "shgx", "zzlb", "pxjl", "ddjl", "zcpd", "jcqk", "gzjs", "kpqk", "wply",
                          "zidian", "pxkc", "pxjl1", "zcpd1", "ddjl1", "jcqk1", "kpqk1", "wply1", "wpdj", "s1", "s2",
                          "s3", "s4", "gz_zt", "zt_mx", "gzb", "search_zt", "sds_set", "jjgz", "jsgz", "qxgl", "jcsz"}));
    EXPECT_TRUE(dm.zh.active());
    EXPECT_EQ(dm.zh.asString("姓名"), app::kDefaultOperator);
    for (size_t i = 0; i < dm.allDataSets().size(); ++i) dm.allDataSets()[i]->removeListener(&recorders[i]);
}

TEST(TDM, TableCreationIsHarmlessWhenTheTableExistsAndMakesItWhenMissing)
{
    test::TestDatabase db;
    TDM dm;
    dm.setProgramDir(db.programDir());
    dm.runSql({"insert into 公司数据 (单位名称) values ('某某公司')"});
    dm.runSql({"insert into 默认工资等级值 (工资等级, 金额) values ('一级', 1200.5)"});
    dm.updateSchema();
    dm.gs_data.open();
    EXPECT_EQ(dm.gs_data.recordCount(), 1);
    EXPECT_EQ(dm.gs_data.asString("单位名称"), "某某公司");

    // An older database without the five tables gets them, typed as the schema describes them.
    for (const char* table : {"公司数据", "代发工资格式", "默认工资项目", "工资等级", "默认工资等级值"})
        dm.runSql({std::string("drop table ") + table});
    dm.create_gongsi_Table();
    dm.create_yinghang_set_Table();
    dm.create_gzxm();
    dm.create_gzdj();
    dm.create_gzdj_xm();
    for (const char* table : {"公司数据", "代发工资格式", "默认工资项目", "工资等级", "默认工资等级值"}) {
        SCOPED_TRACE(table);
        DataSet ds(&dm.DMADO, "check", {std::string("select * from ") + table});
        ds.open();
        const db::TableDef* def = db::findTable(table);
        ASSERT_EQ(ds.fieldCount(), static_cast<int>(def->columns.size()));
        for (int i = 0; i < ds.fieldCount(); ++i) {
            EXPECT_EQ(ds.field(i).name, def->columns[static_cast<size_t>(i)].name);
            EXPECT_EQ(ds.field(i).type, def->columns[static_cast<size_t>(i)].type) << ds.field(i).name;
            EXPECT_EQ(ds.field(i).size, def->columns[static_cast<size_t>(i)].size) << ds.field(i).name;
        }
    }
}

TEST(TDM, GetDateTimeWritesTodayAsIsoText)
{
    TDM dm;
    for (const auto& [day, text] : std::vector<std::pair<QDate, std::string>>{
             {QDate(2009, 3, 5), "2009-03-05"}, {QDate(2008, 1, 9), "2008-01-09"}, {QDate(2010, 12, 31), "2010-12-31"}}) {
        dm.now = [d = day] { return QDateTime(d, QTime(23, 59)); };
        dm.getDateTime();
        EXPECT_EQ(dm.TodayText, text);
    }
}

}  // namespace
