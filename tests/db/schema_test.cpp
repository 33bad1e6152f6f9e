#include "db/Schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "db/SchemaUpgrade.h"
#include "support/TempDir.h"

using namespace rsgz::db;

namespace {

const TableDef* inFirstVersion(const std::vector<TableDef>& first, const std::string& name)
{
    auto it = std::find_if(first.begin(), first.end(), [&](const TableDef& t) { return t.name == name; });
    return it == first.end() ? nullptr : &*it;
}

// The expected layout, written from the table descriptions: "column:code" in stored order. Codes:
// T<n> text(n), M memo, D datetime, I integer, F double, C currency, B yes/no, A autoincrement key.
const std::map<std::string, std::string> kExpected = {
    {"员工基本情况",
     "员工编号:T16 姓名:T40 性别:T2 职务:T20 行政级别:T20 一级部门:T50 二级部门:T50 三级部门:T50 四级部门:T50 "
     "岗位工种:T30 职称:T20 手机:T30 联系电话:T20 政治面貌:T20 用工形式:T16 特长:T80 在职状况:T20 入党日期:D "
     "入工会日期:D 入团日期:D 爱好:T50 出生年月:D 婚姻状况:T16 籍贯:T50 民族:T50 身份证号:T50 邮政编码:T6 "
     "家庭住址:T80 户口:T50 户籍所在地:T50 养老手册号:T50 公积金账号:T30 医保帐号:T50 身高:F 体重:I 视力:T30 "
     "血型:T20 身体状况:T10 EMAIL:T50 学历:T20 专业:T50 外语语种:T20 外语水平:T20 毕业日期:D 毕业院校:T80 "
     "电脑水平:T20 备注:T50 第二学历:T30 第二专业:T30 二专毕业日期:D 二专毕业院校:T50 入职日期:D 离职日期:D "
     "合同签订:D 合同到期:D 合同类别:T40 转正日期:D 参加工作:D 退休日期:D 员工档案号:T30 工资等级:T20 来源:T30 "
     "招聘介绍:T30 工资帐套名称:T50 发卡银行:T50 银行卡号:T50 个人简历:M "
     "紧急联系人姓名1:T20 紧急联系人单位1:T50 紧急联系人地址1:T60 紧急联系人电话1:T30 "
     "紧急联系人姓名2:T20 紧急联系人单位2:T50 紧急联系人地址2:T60 紧急联系人电话2:T30 "
     "家庭成员姓名1:T20 家庭成员单位1:T50 家庭成员地址1:T60 家庭成员电话1:T30 家庭成员邮编1:T6 "
     "家庭成员姓名2:T20 家庭成员单位2:T50 家庭成员地址2:T60 家庭成员电话2:T30 家庭成员邮编2:T6 "
     "自定义1:T50 自定义2:T50 自定义3:T50 自定义4:T50 自定义5:T50 自定义6:T50 自定义7:T50 自定义8:T50 "
     "自定义9:T50 自定义10:T50 "
     "自定义1_T:T16 自定义2_T:T16 自定义3_T:T16 自定义4_T:T16 自定义5_T:T16 自定义6_T:T16 自定义7_T:T16 "
     "自定义8_T:T16 自定义9_T:T16 自定义10_T:T16 "
     "数据录入:T10 登记日期:D 修改日期:D 最后修改:T10 照片位置:T254 编号:A 工号:T20 传真:T20 工资核算:T2"},
    {"个人经历", "起始日期:D 结束日期:D 学校或者工作单位:T50 部门:T30 职务:T30 备注:T50 员工编号1:T20 编号:A"},
    {"社会关系",
     "编号:A 姓名:T30 与本人关系:T30 工作单位:T60 部门:T30 职务:T20 联系电话:T20 政治面貌:T20 备注:T50 "
     "员工编号1:T20"},
    {"证照列表",
     "编号:A 证照类型:T30 证照名称:T30 证照编号:T30 取得日期:D 失效日期:D 发证机构:T30 备注:T50 员工编号1:T20"},
    {"调动记录",
     "编号:A 调动类型:T30 调动日期:D 调动前一级部门:T30 调动前二级部门:T30 调动前三级部门:T30 调动前四级部门:T30 "
     "调动后一级部门:T30 调动后二级部门:T30 调动后三级部门:T30 调动后四级部门:T30 调动前职务:T30 调动后职务:T30 "
     "调动前单位:T50 调动后单位:T50 调动原因:M 经办人:T20 员工编号1:T20 姓名:T20 批准人:T20 调动后帐套:T50 "
     "调动前帐套:T50"},
    {"职称评定",
     "编号:A 评定职称:T50 取得日期:D 取得方式:T50 聘用专业技术职务:T50 聘用起始日:D 聘用结束日:D 聘用单位:T50 "
     "职称英语:T30 职称英语取得日期:D 职称计算机:T30 职称计算机取得日期:D 职称备注:T50 员工编号1:T20 "
     "被评定人姓名:T20"},
    {"奖惩情况",
     "编号:A 奖或惩:T20 奖惩内容:T50 奖惩原因:T50 奖惩级别:T30 批准部门:T30 批准人:T20 奖惩日期:D 撤销日期:D "
     "撤销原因:T50 员工编号1:T20 奖惩备注:M 奖惩人姓名:T20"},
    {"工资晋升", "编号:A 工资等级:T30 晋升日期:D 晋升前工资:C 晋升后工资:C 备注:T50 员工编号1:T20"},
    {"培训课程",
     "培训名称:T40 培训内容:T50 开始日期:D 结束日期:D 培训单位:T30 培训总费用:C 备注:T50 课程编号:T20 编号:A"},
    {"培训记录", "受培训人姓名:T40 培训结果:T30 培训费用:C 培训备注:T50 员工编号1:T20 课程编号1:T30 编号:A"},
    {"考评项目表",
     "考评项目:T80 目标:T50 时效:T50 考评级别:T30 考评组织:T30 考评人:T30 考评结果1:T50 通过人数:I 未通过人数:I "
     "参加人数:I 考核标准:T50 考评范围:T50 登记日期:T10 考评内容:M 考评编号:T30 ID:A"},
    {"考评情况",
     "考评结果:T200 考评等级:T30 考评分数:I 考评人1:T20 考评日期:T10 考评备注:M 员工编号1:T20 被考评人姓名:T20 "
     "考评编号1:T30 ID:A"},
    {"物品登记", "物品名称:T50 登记日期:D 单位:T20 数量:I 发出:I 剩余:I 单价:C 备注:T50 编号:A"},
    {"物品领用",
     "编号:A 物品:T50 领用日期:D 归还日期:D 数量:I 价值:C 领用备注:T50 员工编号1:T20 领用人姓名:T20 签字:T30 "
     "物品编号:I"},
    {"数据字典", "字段名称:T50 字典内容:T50 编号:A"},
    {"部门分类", "一级部门:T50 二级部门:T50 三级部门:T50 四级部门:T50 编号:A"},
    {"人员统计", "编号:A 统计类别:T80 人数:I"},
    {"选择人员", "员工编号:T50 姓名:T50 编号:A"},
    {"帐套", "编号:A 帐套编号:T20 帐套名称:T50"},
    {"工资帐套明细",
     "工资代码:T10 工资项目:T30 是否所得税:T2 初始值:F 计算公式:T200 帐套编号1:T20 打印:T2 个税起征点:C "
     "个税关联:T30 编号:A"},
    {"工资表",
     "姓名:T20 gz01:C gz02:C gz03:C gz04:C gz05:C gz06:C gz07:C gz08:C gz09:C gz10:C gz11:C gz12:C gz13:C "
     "gz14:C gz15:C gz16:C gz17:C gz18:C gz19:C gz20:C gz21:C gz22:C gz23:C gz24:C gz25:C gz26:C gz27:C gz28:C "
     "gz29:C gz30:C gz31:C gz32:C gz33:C gz34:C gz35:C gz36:C gz37:C gz38:C gz39:C 工资等级:T20 年:T10 月:T2 "
     "一级部门:T50 二级部门:T50 三级部门:T50 四级部门:T50 签名:T10 员工编号:T30 结帐状态:T2 发放日期:D "
     "工资帐套:T30 出勤天数:F 备注:T30 编号:A"},
    {"所得税设置", "编号:A 起始额:F 结束额:F 税率:F 速扣:F"},
    {"计件工资",
     "日期:D 生产单号:T30 姓名:T30 员工编号1:T20 产品编号:T30 产品名称:T50 工序:T20 工序单价:C 备注:T50 "
     "完成数量:F 编号:A"},
    {"计时工资",
     "日期:D 生产单号:T30 产品编号:T30 产品名称:T50 姓名:T30 员工编号:T20 工种:T30 计时单位:T10 计时单价:C "
     "加班单价:C 工序:T30 奖金:C 备注:T50 时间:F 加班时间:F 工序工时:F 完成数量:F 达成率:F 编号:A"},
    {"默认工资项目", "工资项目:T50 顺序号:A"},
    {"工资等级", "工资等级:T50 顺序号:A"},
    {"默认工资等级值", "工资等级:T50 工资项目:T50 金额:C 顺序号:A"},
    {"代发工资格式",
     "工资帐套:T100 记录数:I 分隔符:T10 分隔符其他:T10 部分序号:T2 内容:T80 其他内容:T50 前加:T50 后加:T50 "
     "宽度:T100 固定宽度:I 宽度加方向:T2 宽度加内容:T50 乘100:B 顺序号:A"},
    {"公司数据",
     "单位名称:T150 地址:T160 邮政编码:T10 法人代表:T50 电话:T50 传真:T50 网址:T100 Email:T100 开户行:T100 "
     "银行账号:T50 税号:T50 联系人:T30 顺序号:A"},
    {"权限",
     "姓名:T50 密码:T255 档案管理:B 培训管理:B 奖惩管理:B 职称管理:B 调动管理:B 信息统计:B 物品发放:B 考评管理:B "
     "个人简历:B 社会关系:B 证照列表:B 工资变更:B 帐套管理:B 工资表管理:B 工资表汇总:B 员工帐套设定:B "
     "工资表格式调整:B 计件工资:B 计时工资:B 结帐处理:B 权限管理:B 数据备份:B 系统初始化:B 数据恢复:B 编号:A"},
    {"排序表", "窗口号:I 查询宽度:I 排序字段:T50 升降序:T50 编号:A"},
    // Free choice, only the trailing key matters.
    {"产品库", ""},
    {"工序库", ""},
    {"帐套设置", ""},
};

const std::set<std::string> kOwnStatementTables = {"默认工资项目", "工资等级", "默认工资等级值", "代发工资格式",
                                                   "公司数据"};

class SchemaDbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(sqlite3_open(dir_.filePath("schema.db").c_str(), &db_), SQLITE_OK);
        for (const TableDef& t : schemaTables()) ASSERT_EQ(exec(createTableSql(t)), SQLITE_OK);
        for (const std::string& sql : schemaIndexSql()) ASSERT_EQ(exec(sql), SQLITE_OK);
    }
    void TearDown() override { sqlite3_close(db_); }

    // Runs one statement; a failure is reported with the engine's message and the statement.
    int exec(const std::string& sql, bool expectOk = true)
    {
        char* err = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
        if (expectOk) EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << "\n  in: " << sql;
        sqlite3_free(err);
        return rc;
    }

    std::vector<std::vector<std::string>> rows(const std::string& sql)
    {
        std::vector<std::vector<std::string>> out;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_) << "\n  in: " << sql;
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                row.emplace_back(text ? text : "");
            }
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }

    // What SQLite reports for a table, in the notation of kExpected.
    std::string reportedLayout(const std::string& table, int* keyColumns)
    {
        std::string out;
        *keyColumns = 0;
        for (const auto& col : rows("pragma table_info(\"" + table + "\")")) {
            // cid, name, type, notnull, dflt_value, pk
            const std::string& decl = col[2];
            std::string code;
            if (col[5] != "0") {
                ++*keyColumns;
                code = decl == "INTEGER" ? "A" : "?pk " + decl;
            } else {
                int size = 0;
                switch (fieldTypeFromDeclared(decl, &size)) {
                case FieldType::Text: code = "T" + std::to_string(size); break;
                case FieldType::Memo: code = "M"; break;
                case FieldType::DateTime: code = "D"; break;
                case FieldType::Integer: code = "I"; break;
                case FieldType::Double: code = "F"; break;
                case FieldType::Currency: code = "C"; break;
                case FieldType::YesNo: code = "B"; break;
                default: code = "?" + decl;
                }
            }
            out += (out.empty() ? "" : " ") + col[1] + ":" + code;
        }
        return out;
    }

    rsgz::test::TempDir dir_;
    sqlite3* db_ = nullptr;
};

std::vector<std::string> split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

// The first place where two lists part, spelled out; gtest would print Chinese as escaped bytes.
std::string firstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const std::string e = i < expected.size() ? expected[i] : "(nothing)";
        const std::string a = i < actual.size() ? actual[i] : "(nothing)";
        if (e != a) return std::to_string(i + 1) + ": expected [" + e + "], got [" + a + "]";
    }
    return "";
}

TEST_F(SchemaDbTest, EveryTableIsCreatedWithItsColumnsInOrder)
{
    std::set<std::string> created;
    for (const auto& r : rows("select name from sqlite_master where type = 'table' and name <> 'sqlite_sequence'"))
        created.insert(r[0]);
    // The layouts above are the first version's; later versions add tables and append columns.
    std::set<std::string> expectedNames;
    for (const auto& [name, layout] : kExpected) expectedNames.insert(name);
    for (const SchemaStep& step : schemaSteps())
        for (const TableDef& t : step.tables) expectedNames.insert(t.name);
    EXPECT_EQ(created, expectedNames);
    EXPECT_EQ(firstVersionTables().size(), kExpected.size());
    const std::vector<TableDef> first = firstVersionTables();

    for (const auto& [name, layout] : kExpected) {
        SCOPED_TRACE(name);
        int keys = 0;
        const std::string reported = reportedLayout(name, &keys);
        auto columns = split(reported, ' ');
        const TableDef* inFirst = inFirstVersion(first, name);
        ASSERT_NE(inFirst, nullptr);
        if (columns.size() > inFirst->columns.size()) columns.resize(inFirst->columns.size());
        if (layout.empty()) {
            EXPECT_EQ(columns.back(), "编号:A");
        } else {
            const std::string diff = firstDifference(split(layout, ' '), columns);
            EXPECT_TRUE(diff.empty()) << "column " << diff;
        }
        EXPECT_EQ(keys, 1) << "exactly one INTEGER PRIMARY KEY";
        const auto sql = rows("select sql from sqlite_master where name = '" + name + "'");
        ASSERT_EQ(sql.size(), 1u);
        EXPECT_NE(sql[0][0].find("AUTOINCREMENT"), std::string::npos) << "keys are never reused";

        const TableDef* def = findTable(name);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->ownStatement, kOwnStatementTables.count(name) == 1);
    }
    EXPECT_EQ(inFirstVersion(first, "员工基本情况")->columns.size(), 114u);
    EXPECT_EQ(findTable("no such table"), nullptr);
}

TEST_F(SchemaDbTest, EmployeeNumberIsUniqueIgnoringLatinCaseAndMoneyIsReal)
{
    const std::string insert = "insert into 员工基本情况 (员工编号, 姓名) values ";
    exec(insert + "('A01', '张三')");
    EXPECT_EQ(exec(insert + "('A01', '李四')", false), SQLITE_CONSTRAINT);
    EXPECT_EQ(exec(insert + "('a01', '王五')", false), SQLITE_CONSTRAINT);
    exec(insert + "('A02', '赵六')");
    EXPECT_EQ(rows("select count(*) from 员工基本情况")[0][0], "2");

    exec("insert into 工资表 (姓名, gz01, gz02) values ('张三', 100, 3)");
    const auto r = rows("select typeof(gz01), gz01 / 3 > 33.3, gz01 / gz02 < 33.4 from 工资表");
    EXPECT_EQ(r[0], (std::vector<std::string>{"real", "1", "1"}));
}

void expectLines(const std::vector<std::string>& lines, const std::string& statement)
{
    ASSERT_FALSE(lines.empty());
    const std::string diff = firstDifference(split(statement, '\n'), lines);
    EXPECT_TRUE(diff.empty()) << lines.front() << ", line " << diff;
}

TEST(SchemaStatementsTest, OwnCreationStatementsAreTheExactTexts)
{
    expectLines(createGzxmLines(),
                "create table 默认工资项目\n(\n工资项目 varchar(50) null,\n顺序号 int IDENTITY PRIMARY KEY\n)");
    expectLines(createGzdjLines(),
                "create table 工资等级\n(\n工资等级 varchar(50) null,\n顺序号 int IDENTITY PRIMARY KEY\n)");
    expectLines(createGzdjXmLines(),
                "create table 默认工资等级值\n(\n工资等级 varchar(50) null,\n工资项目 varchar(50) null,\n"
                "金额 money,\n顺序号 int IDENTITY PRIMARY KEY\n)");
    expectLines(createYinghangSetTableLines(),
                "create table 代发工资格式\n(\n"
                "工资帐套     varchar(100) null,\n"
                "记录数       int,\n"
                "分隔符       varchar(10),\n"
                "分隔符其他   varchar(10),\n"
                "部分序号     varchar(2) null,\n"
                "内容         varchar(80) null,\n"
                "其他内容     varchar(50) null,\n"
                "前加         varchar(50) null,\n"
                "后加         varchar(50) null,\n"
                "宽度         varchar(100) null,\n"
                "固定宽度 int,\n"
                "宽度加方向  varchar(2) null,\n"
                "宽度加内容  varchar(50) null,\n"
                "乘100  bit,\n"
                "顺序号 int IDENTITY PRIMARY KEY\n)");
    expectLines(createGongsiTableLines(),
                "create table 公司数据\n(\n"
                "单位名称 varchar(150) null,\n"
                "地址 varchar(160) null,\n"
                "邮政编码 varchar(10) null,\n"
                "法人代表 varchar(50) null,\n"
                "电话 varchar(50) null,\n"
                "传真 varchar(50) null,\n"
                "网址 varchar(100) null,\n"
                "Email varchar(100) null,\n"
                "开户行  varchar(100) null,\n"
                "银行账号 varchar(50) null,\n"
                "税号     varchar(50) null,\n"
                "联系人   varchar(30) null,\n"
                "顺序号 int IDENTITY PRIMARY KEY\n)");
}

}  // namespace
