#pragma once
#include <gtest/gtest.h>

#include <QDateTime>
#include <string>
#include <vector>

#include "app/TDM.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace rsgz::test {

using db::DataSet;

// A fresh database from the template, a data module with its rules bound, a fixed clock, the status
// bar's texts and a scripted user; on the file and on the server (each file instantiates its suites
// with RSGZ_ON_BOTH_ENGINES).
class RecordRulesTest : public OnBothEngines {
protected:
    RecordRulesTest()
    {
        tdm.now = [this] { return clock; };
        tdm.onStatusText = [this](const std::string& text) { status.push_back(text); };
    }

    void exec(const std::string& sql) { tdm.DMADO.exec(sql); }

    int rowsIn(const std::string& table)
    {
        DataSet& count = tdm.s5;
        count.setSql("select count(*) as n from " + table);
        count.open();
        return static_cast<int>(count.asInt("n"));
    }

    DataSet& open(DataSet& ds, const std::string& sql)
    {
        ds.close();
        ds.setSql(sql);
        ds.open();
        return ds;
    }

    // Two employees (张三 E01 current, 李四 E02), an article, an evaluation item, a course, a payroll
    // set and a grade, each list open on its first row.
    void seed()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 职务, 一级部门, 二级部门, 三级部门, 四级部门) values "
             "('E01', '张三', '科员', '总部', '财务部', '会计科', '一组'), "
             "('E02', '李四', '科长', '分厂', '生产部', '装配科', '二组')");
        exec("insert into 物品登记 (物品名称, 数量, 单价) values ('安全帽', 4, 12.5)");
        exec("insert into 考评项目表 (考评编号, 考评人) values ('KP01', '王五')");
        exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', '安全培训')");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员')");
        exec("insert into 工资等级 (工资等级) values ('一级')");
        for (DataSet* ds : {&tdm.rszl, &tdm.wpdj, &tdm.kpxm, &tdm.pxkc, &tdm.gz_zt, &tdm.gzdj}) ds->open();
        ui.clear();
        status.clear();
    }

    ScriptedInteraction ui;
    ProgramLayout program{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& tdm = program.dm();
    QDateTime clock{QDate(2024, 5, 17), QTime(10, 30)};
    std::vector<std::string> status;
};

}  // namespace rsgz::test
