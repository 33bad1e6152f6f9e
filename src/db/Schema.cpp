#include "db/Schema.h"

#include <algorithm>
#include <map>
#include <set>

#include "db/LatinCase.h"
#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

using Columns = std::vector<ColumnDef>;

ColumnDef text(const char* name, int n) { return {name, FieldType::Text, n}; }
ColumnDef memo(const char* name) { return {name, FieldType::Memo, 0}; }
ColumnDef date(const char* name) { return {name, FieldType::DateTime, 0}; }
ColumnDef integer(const char* name) { return {name, FieldType::Integer, 0}; }
ColumnDef dbl(const char* name) { return {name, FieldType::Double, 0}; }
ColumnDef money(const char* name) { return {name, FieldType::Currency, 0}; }
ColumnDef yesNo(const char* name) { return {name, FieldType::YesNo, 0}; }
ColumnDef autoInc(const char* name) { return {name, FieldType::AutoInc, 0}; }

void append(Columns& to, const Columns& more) { to.insert(to.end(), more.begin(), more.end()); }

// Columns 1 to 67 of the employee master.
Columns employeePersonalColumns()
{
    return {
        text("员工编号", 16), text("姓名", 40), text("性别", 2), text("职务", 20), text("行政级别", 20),
        text("一级部门", 50), text("二级部门", 50), text("三级部门", 50), text("四级部门", 50),
        text("岗位工种", 30), text("职称", 20), text("手机", 30), text("联系电话", 20), text("政治面貌", 20),
        text("用工形式", 16), text("特长", 80), text("在职状况", 20), date("入党日期"), date("入工会日期"),
        date("入团日期"), text("爱好", 50), date("出生年月"), text("婚姻状况", 16), text("籍贯", 50),
        text("民族", 50), text("身份证号", 50), text("邮政编码", 6), text("家庭住址", 80), text("户口", 50),
        text("户籍所在地", 50), text("养老手册号", 50), text("公积金账号", 30), text("医保帐号", 50),
        dbl("身高"), integer("体重"), text("视力", 30), text("血型", 20), text("身体状况", 10),
        text("EMAIL", 50), text("学历", 20), text("专业", 50), text("外语语种", 20), text("外语水平", 20),
        date("毕业日期"), text("毕业院校", 80), text("电脑水平", 20), text("备注", 50), text("第二学历", 30),
        text("第二专业", 30), date("二专毕业日期"), text("二专毕业院校", 50), date("入职日期"),
        date("离职日期"), date("合同签订"), date("合同到期"), text("合同类别", 40), date("转正日期"),
        date("参加工作"), date("退休日期"), text("员工档案号", 30), text("工资等级", 20), text("来源", 30),
        text("招聘介绍", 30), text("工资帐套名称", 50), text("发卡银行", 50), text("银行卡号", 50),
        memo("个人简历"),
    };
}

// Emergency contacts and family members share one layout; family members add a postcode.
Columns personContactColumns(const std::string& prefix, int n, bool withPostcode)
{
    const std::string s = std::to_string(n);
    Columns c = {
        {prefix + "姓名" + s, FieldType::Text, 20},
        {prefix + "单位" + s, FieldType::Text, 50},
        {prefix + "地址" + s, FieldType::Text, 60},
        {prefix + "电话" + s, FieldType::Text, 30},
    };
    if (withPostcode) c.push_back({prefix + "邮编" + s, FieldType::Text, 6});
    return c;
}

Columns userDefinedColumns()
{
    Columns c;
    for (int i = 1; i <= 10; ++i) c.push_back({"自定义" + std::to_string(i), FieldType::Text, 50});
    for (int i = 1; i <= 10; ++i) c.push_back({"自定义" + std::to_string(i) + "_T", FieldType::Text, 16});
    return c;
}

TableDef employeeTable()
{
    Columns c = employeePersonalColumns();
    append(c, personContactColumns("紧急联系人", 1, false));
    append(c, personContactColumns("紧急联系人", 2, false));
    append(c, personContactColumns("家庭成员", 1, true));
    append(c, personContactColumns("家庭成员", 2, true));
    append(c, userDefinedColumns());
    append(c, {text("数据录入", 10), date("登记日期"), date("修改日期"), text("最后修改", 10),
               text("照片位置", 254), autoInc("编号"), text("工号", 20), text("传真", 20),
               text("工资核算", 2)});
    return {"员工基本情况", c};
}

std::vector<TableDef> employeeSubRecordTables()
{
    return {
        {"个人经历",
         {date("起始日期"), date("结束日期"), text("学校或者工作单位", 50), text("部门", 30), text("职务", 30),
          text("备注", 50), text("员工编号1", 20), autoInc("编号")}},
        {"社会关系",
         {autoInc("编号"), text("姓名", 30), text("与本人关系", 30), text("工作单位", 60), text("部门", 30),
          text("职务", 20), text("联系电话", 20), text("政治面貌", 20), text("备注", 50), text("员工编号1", 20)}},
        {"证照列表",
         {autoInc("编号"), text("证照类型", 30), text("证照名称", 30), text("证照编号", 30), date("取得日期"),
          date("失效日期"), text("发证机构", 30), text("备注", 50), text("员工编号1", 20)}},
        {"调动记录",
         {autoInc("编号"), text("调动类型", 30), date("调动日期"), text("调动前一级部门", 30),
          text("调动前二级部门", 30), text("调动前三级部门", 30), text("调动前四级部门", 30),
          text("调动后一级部门", 30), text("调动后二级部门", 30), text("调动后三级部门", 30),
          text("调动后四级部门", 30), text("调动前职务", 30), text("调动后职务", 30), text("调动前单位", 50),
          text("调动后单位", 50), memo("调动原因"), text("经办人", 20), text("员工编号1", 20), text("姓名", 20),
          text("批准人", 20), text("调动后帐套", 50), text("调动前帐套", 50)}},
        {"职称评定",
         {autoInc("编号"), text("评定职称", 50), date("取得日期"), text("取得方式", 50),
          text("聘用专业技术职务", 50), date("聘用起始日"), date("聘用结束日"), text("聘用单位", 50),
          text("职称英语", 30), date("职称英语取得日期"), text("职称计算机", 30), date("职称计算机取得日期"),
          text("职称备注", 50), text("员工编号1", 20), text("被评定人姓名", 20)}},
        {"奖惩情况",
         {autoInc("编号"), text("奖或惩", 20), text("奖惩内容", 50), text("奖惩原因", 50), text("奖惩级别", 30),
          text("批准部门", 30), text("批准人", 20), date("奖惩日期"), date("撤销日期"), text("撤销原因", 50),
          text("员工编号1", 20), memo("奖惩备注"), text("奖惩人姓名", 20)}},
        {"工资晋升",
         {autoInc("编号"), text("工资等级", 30), date("晋升日期"), money("晋升前工资"), money("晋升后工资"),
          text("备注", 50), text("员工编号1", 20)}},
    };
}

std::vector<TableDef> trainingAndEvaluationTables()
{
    return {
        {"培训课程",
         {text("培训名称", 40), text("培训内容", 50), date("开始日期"), date("结束日期"), text("培训单位", 30),
          money("培训总费用"), text("备注", 50), text("课程编号", 20), autoInc("编号")}},
        {"培训记录",
         {text("受培训人姓名", 40), text("培训结果", 30), money("培训费用"), text("培训备注", 50),
          text("员工编号1", 20), text("课程编号1", 30), autoInc("编号")}},
        {"考评项目表",
         {text("考评项目", 80), text("目标", 50), text("时效", 50), text("考评级别", 30), text("考评组织", 30),
          text("考评人", 30), text("考评结果1", 50), integer("通过人数"), integer("未通过人数"),
          integer("参加人数"), text("考核标准", 50), text("考评范围", 50), text("登记日期", 10),
          memo("考评内容"), text("考评编号", 30), autoInc("ID")}},
        {"考评情况",
         {text("考评结果", 200), text("考评等级", 30), integer("考评分数"), text("考评人1", 20),
          text("考评日期", 10), memo("考评备注"), text("员工编号1", 20), text("被考评人姓名", 20),
          text("考评编号1", 30), autoInc("ID")}},
    };
}

// Work articles, lookup and working tables. The lookup tables and 选择人员 have no key the program
// reads; each gets a trailing 编号 so that rows can still be written back by key.
std::vector<TableDef> articleLookupAndWorkingTables()
{
    return {
        {"物品登记",
         {text("物品名称", 50), date("登记日期"), text("单位", 20), integer("数量"), integer("发出"),
          integer("剩余"), money("单价"), text("备注", 50), autoInc("编号")}},
        {"物品领用",
         {autoInc("编号"), text("物品", 50), date("领用日期"), date("归还日期"), integer("数量"), money("价值"),
          text("领用备注", 50), text("员工编号1", 20), text("领用人姓名", 20), text("签字", 30),
          integer("物品编号")}},
        {"数据字典", {text("字段名称", 50), text("字典内容", 50), autoInc("编号")}},
        {"部门分类",
         {text("一级部门", 50), text("二级部门", 50), text("三级部门", 50), text("四级部门", 50), autoInc("编号")}},
        {"人员统计", {autoInc("编号"), text("统计类别", 80), integer("人数")}},
        {"选择人员", {text("员工编号", 50), text("姓名", 50), autoInc("编号")}},
    };
}

Columns salaryColumns()
{
    Columns c = {text("姓名", 20)};
    for (int i = 1; i <= 39; ++i) {
        const std::string code = (i < 10 ? "gz0" : "gz") + std::to_string(i);
        c.push_back({code, FieldType::Currency, 0});
    }
    append(c, {text("工资等级", 20), text("年", 10), text("月", 2), text("一级部门", 50), text("二级部门", 50),
               text("三级部门", 50), text("四级部门", 50), text("签名", 10), text("员工编号", 30),
               text("结帐状态", 2), date("发放日期"), text("工资帐套", 30), dbl("出勤天数"), text("备注", 30),
               autoInc("编号")});
    return c;
}

std::vector<TableDef> payrollTables()
{
    return {
        {"帐套", {autoInc("编号"), text("帐套编号", 20), text("帐套名称", 50)}},
        {"工资帐套明细",
         {text("工资代码", 10), text("工资项目", 30), text("是否所得税", 2), dbl("初始值"), text("计算公式", 200),
          text("帐套编号1", 20), text("打印", 2), money("个税起征点"), text("个税关联", 30), autoInc("编号")}},
        {"工资表", salaryColumns()},
        {"所得税设置", {autoInc("编号"), dbl("起始额"), dbl("结束额"), dbl("税率"), dbl("速扣")}},
        {"计件工资",
         {date("日期"), text("生产单号", 30), text("姓名", 30), text("员工编号1", 20), text("产品编号", 30),
          text("产品名称", 50), text("工序", 20), money("工序单价"), text("备注", 50), dbl("完成数量"),
          autoInc("编号")}},
        {"计时工资",
         {date("日期"), text("生产单号", 30), text("产品编号", 30), text("产品名称", 50), text("姓名", 30),
          text("员工编号", 20), text("工种", 30), text("计时单位", 10), money("计时单价"), money("加班单价"),
          text("工序", 30), money("奖金"), text("备注", 50), dbl("时间"), dbl("加班时间"), dbl("工序工时"),
          dbl("完成数量"), dbl("达成率"), autoInc("编号")}},
    };
}

// One column line of a Jet creation statement: "name type[ null][,]" with any spacing in between.
ColumnDef columnFromStatementLine(std::string_view line)
{
    const auto gap = line.find(' ');
    ColumnDef c{std::string(line.substr(0, gap)), FieldType::Unknown, 0};
    std::string_view decl = line.substr(line.find_first_not_of(' ', gap));
    if (decl.ends_with(',')) decl.remove_suffix(1);
    if (decl.find("IDENTITY") != std::string_view::npos)
        c.type = FieldType::AutoInc;
    else
        c.type = fieldTypeFromDeclared(decl, &c.size);
    return c;
}

// Lines: "create table <name>", "(", the columns, ")".
TableDef tableFromStatement(const std::vector<std::string>& lines)
{
    TableDef t{lines.front().substr(std::string_view("create table ").size()), {}, true};
    for (size_t i = 2; i + 1 < lines.size(); ++i) t.columns.push_back(columnFromStatementLine(lines[i]));
    return t;
}

std::vector<TableDef> ownStatementTables()
{
    return {
        tableFromStatement(createGzxmLines()),
        tableFromStatement(createGzdjLines()),
        tableFromStatement(createGzdjXmLines()),
        tableFromStatement(createYinghangSetTableLines()),
        tableFromStatement(createGongsiTableLines()),
    };
}

Columns rightsColumns()
{
    static const char* const rights[] = {
        "档案管理", "培训管理", "奖惩管理", "职称管理", "调动管理", "信息统计", "物品发放", "考评管理",
        "个人简历", "社会关系", "证照列表", "工资变更",                                            // personnel
        "帐套管理", "工资表管理", "工资表汇总", "员工帐套设定", "工资表格式调整", "计件工资", "计时工资",
        "结帐处理",                                                                                // payroll
        "权限管理", "数据备份", "系统初始化", "数据恢复",                                          // system
    };
    Columns c;
    for (const char* r : rights) c.push_back(yesNo(r));
    return c;
}

// Operators, sort settings and the three tables only the initialization empties. None of them names a
// key; each gets a trailing 编号 so that rows can be written back. 密码 is wide enough for a hash.
std::vector<TableDef> settingsTables()
{
    Columns operators = {text("姓名", 50), text("密码", 255)};
    append(operators, rightsColumns());
    operators.push_back(autoInc("编号"));
    return {
        {"权限", operators},
        {"排序表",
         {integer("窗口号"), integer("查询宽度"), text("排序字段", 50), text("升降序", 50), autoInc("编号")}},
        {"产品库", {text("产品编号", 30), text("产品名称", 50), text("规格", 50), text("备注", 50), autoInc("编号")}},
        {"工序库", {text("工序", 30), money("工序单价"), dbl("工序工时"), text("备注", 50), autoInc("编号")}},
        {"帐套设置", {text("帐套名称", 50), text("设置项", 50), text("设置值", 100), autoInc("编号")}},
    };
}

}  // namespace

// The tables of the first version, which later versions extend.
std::vector<TableDef> firstVersionTables()
{
    std::vector<TableDef> all;
    all.push_back(employeeTable());
    for (auto* group : {employeeSubRecordTables, trainingAndEvaluationTables, articleLookupAndWorkingTables,
                        payrollTables, ownStatementTables, settingsTables}) {
        auto tables = group();
        std::move(tables.begin(), tables.end(), std::back_inserter(all));
    }
    return all;
}

const std::vector<TableDef>& schemaTables()
{
    static const std::vector<TableDef> tables = schemaTablesAt(currentSchemaVersion());
    return tables;
}

const TableDef* findTable(std::string_view name)
{
    const auto& tables = schemaTables();
    auto it = std::find_if(tables.begin(), tables.end(), [&](const TableDef& t) { return t.name == name; });
    return it == tables.end() ? nullptr : &*it;
}

namespace {
// Folded name -> the schema's spelling, for the names the schema spells with capitals: per table
// (key: the folded table name), and over the whole schema ("" key) where every table agrees.
using Spellings = std::map<std::string, std::map<std::string, std::string>>;

Spellings spellings()
{
    Spellings all;
    std::set<std::string> unlike;
    auto& whole = all[""];
    const auto add = [&](std::map<std::string, std::string>* own, const std::string& n) {
        std::string folded = foldLatin(n);
        if (folded == n) return;
        if (own) own->emplace(folded, n);
        const auto [it, added] = whole.emplace(folded, n);
        if (!added && it->second != n) unlike.insert(folded);
    };
    for (const TableDef& t : schemaTables()) {
        add(nullptr, t.name);
        auto& own = all[foldLatin(t.name)];
        for (const ColumnDef& c : t.columns) add(&own, c.name);
    }
    for (const std::string& n : unlike) whole.erase(n);
    return all;
}
}  // namespace

std::string programSpelling(const std::string& name, const std::string& table)
{
    static const Spellings spelled = spellings();
    // Without the table, or for a table the schema does not know: a name every table spells alike
    // (two tables spell the e-mail column differently, so that one stays as the server gives it).
    auto names = table.empty() ? spelled.end() : spelled.find(foldLatin(table));
    if (names == spelled.end()) names = spelled.find("");
    const auto it = names->second.find(name);
    return it == names->second.end() ? name : it->second;
}

std::string createTableSql(const TableDef& t)
{
    std::string sql = "create table if not exists " + sqlIdent(t.name) + " (";
    for (size_t i = 0; i < t.columns.size(); ++i) {
        const ColumnDef& c = t.columns[i];
        if (i > 0) sql += ", ";
        sql += sqlIdent(c.name) + " " + declaredType(c.type, c.size);
    }
    return sql + ")";
}

std::vector<std::string> schemaIndexSql() { return schemaIndexSql(schemaTables()); }

std::vector<std::string> schemaIndexSql(const std::vector<TableDef>& tables)
{
    // The column's NOCASE collation carries over to the index, so "a01" and "A01" collide as in Jet.
    std::vector<std::string> sql = {"create unique index if not exists " + sqlIdent("员工基本情况_员工编号") + " on "
                                    + sqlIdent("员工基本情况") + " (" + sqlIdent("员工编号") + ")"};
    // Every record about an employee is found by the employee's number; without an index each page
    // of the employee window reads its whole table.
    for (const TableDef& t : tables) {
        for (const char* link : {"员工编号1", "员工编号"}) {
            if (t.name == "员工基本情况") continue;
            const bool has = std::any_of(t.columns.begin(), t.columns.end(),
                                         [link](const ColumnDef& c) { return c.name == link; });
            if (!has) continue;
            sql.push_back("create index if not exists " + sqlIdent(t.name + "_" + link) + " on " + sqlIdent(t.name) + " ("
                          + sqlIdent(link) + ")");
            break;
        }
    }
    return sql;
}

std::vector<std::string> createGongsiTableLines()
{
    return {
        "create table 公司数据",
        "(",
        "单位名称 varchar(150) null,",
        "地址 varchar(160) null,",
        "邮政编码 varchar(10) null,",
        "法人代表 varchar(50) null,",
        "电话 varchar(50) null,",
        "传真 varchar(50) null,",
        "网址 varchar(100) null,",
        "Email varchar(100) null,",
        "开户行  varchar(100) null,",
        "银行账号 varchar(50) null,",
        "税号     varchar(50) null,",
        "联系人   varchar(30) null,",
        "顺序号 int IDENTITY PRIMARY KEY",
        ")",
    };
}

std::vector<std::string> createYinghangSetTableLines()
{
    return {
        "create table 代发工资格式",
        "(",
        "工资帐套     varchar(100) null,",
        "记录数       int,",
        "分隔符       varchar(10),",
        "分隔符其他   varchar(10),",
        "部分序号     varchar(2) null,",
        "内容         varchar(80) null,",
        "其他内容     varchar(50) null,",
        "前加         varchar(50) null,",
        "后加         varchar(50) null,",
        "宽度         varchar(100) null,",
        "固定宽度 int,",
        "宽度加方向  varchar(2) null,",
        "宽度加内容  varchar(50) null,",
        "乘100  bit,",
        "顺序号 int IDENTITY PRIMARY KEY",
        ")",
    };
}

std::vector<std::string> createGzxmLines()
{
    return {
        "create table 默认工资项目",
        "(",
        "工资项目 varchar(50) null,",
        "顺序号 int IDENTITY PRIMARY KEY",
        ")",
    };
}

std::vector<std::string> createGzdjLines()
{
    return {
        "create table 工资等级",
        "(",
        "工资等级 varchar(50) null,",
        "顺序号 int IDENTITY PRIMARY KEY",
        ")",
    };
}

std::vector<std::string> createGzdjXmLines()
{
    return {
        "create table 默认工资等级值",
        "(",
        "工资等级 varchar(50) null,",
        "工资项目 varchar(50) null,",
        "金额 money,",
        "顺序号 int IDENTITY PRIMARY KEY",
        ")",
    };
}

}  // namespace rsgz::db
