#include "SampleData.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <tuple>

#include "SampleFiller.h"
#include "SampleWords.h"
#include "TableWriter.h"
#include "db/Money.h"
#include "payroll/TaxLaw.h"

namespace rsgz::sample::detail {

// --- lookups --------------------------------------------------------------------------------------

int64_t SampleFiller::count(const std::string& table)
{
    db::Statement st = conn_.prepareNative("select count(*) from \"" + table + "\"");
    st.step();
    return st.integer(0);
}

// Lookup rows are made only where the table is still empty: a second run reuses them.
void SampleFiller::fillLookups()
{
    if (count("数据字典") == 0) fillDictionary();
    if (count("部门分类") == 0) fillDepartments();
    if (count("帐套") == 0) fillPayroll();
    if (count("公司数据") == 0) fillCompany();
    if (count("培训课程") == 0) fillCourses();
    if (count("考评项目表") == 0) fillEvaluationItems();
    if (count("物品登记") == 0) fillArticles();
    readBack();
}

void SampleFiller::fillDictionary()
{
    TableWriter w(conn_, "数据字典");
    for (const auto& [key, words] : SampleWords::dictionary()) {
        for (const std::string& word : words) {
            w.set("字段名称", key);
            w.set("字典内容", word);
            w.write();
        }
    }
}

void SampleFiller::fillDepartments()
{
    TableWriter w(conn_, "部门分类");
    static const char* const levels[] = {"一级部门", "二级部门", "三级部门", "四级部门"};
    for (const Words& path : SampleWords::departmentPaths()) {
        for (size_t i = 0; i < path.size(); ++i) w.set(levels[i], path[i]);
        w.write();
    }
}

void SampleFiller::fillPayroll()
{
    TableWriter sets(conn_, "帐套");
    int n = 0;
    for (const std::string& name : SampleWords::payrollSets()) {
        sets.set("帐套编号", padded(++n, 2));
        sets.set("帐套名称", name);
        sets.write();
        // A sample made today withholds as a set made in the program does.
        payroll::tax::setTaxMethod(conn_, name, payroll::tax::TaxMethod::Cumulative);
    }
    TableWriter grades(conn_, "工资等级");
    for (const std::string& g : SampleWords::salaryGrades()) {
        grades.set("工资等级", g);
        grades.write();
    }
    TableWriter items(conn_, "默认工资项目");
    for (const std::string& item : SampleWords::salaryItems()) {
        items.set("工资项目", item);
        items.write();
    }
}

void SampleFiller::fillCompany()
{
    TableWriter w(conn_, "公司数据");
    const std::pair<const char*, std::string> values[] = {
        {"单位名称", kCompany}, {"地址", "南京市江宁区秣陵街道天元中路168号"}, {"邮政编码", "211100"},
        {"法人代表", "陈建国"}, {"电话", "025-84561234"}, {"传真", kCompanyFax}, {"网址", "www.hongyuan-jx.cn"},
        {"Email", "hr@hongyuan-jx.cn"}, {"开户行", "中国工商银行南京江宁支行"}, {"银行账号", "4301012909100088866"},
        {"税号", "91320115MA1XY2K63Q"}, {"联系人", "王芳"},
    };
    for (const auto& [column, value] : values) w.set(column, value);
    w.write();
}

void SampleFiller::fillCourses()
{
    static const std::pair<const char*, const char*> courses[] = {
        {"新员工入职培训", "企业文化、规章制度与安全常识"}, {"安全生产培训", "安全操作规程与事故应急处置"},
        {"质量管理体系培训", "质量管理体系标准与内审"},     {"数控机床操作", "数控编程与机床操作实训"},
        {"焊接技能提升", "焊接工艺与质量控制"},             {"财务软件应用", "财务软件操作与报表编制"},
        {"商务礼仪", "接待礼仪与商务沟通"},                 {"中层管理能力", "团队建设、目标管理与绩效辅导"},
        {"消防知识培训", "消防器材使用与疏散演练"},         {"精益生产", "现场改善与浪费消除"},
        {"劳动合同法解读", "劳动合同订立、变更与解除"},     {"销售技巧", "客户开发与谈判技巧"},
    };
    static const char* const providers[] = {"公司人力资源部", "南京市职业培训中心", "江苏省质量协会", "外聘讲师"};
    TableWriter w(conn_, "培训课程");
    int n = 0;
    for (const auto& [name, content] : courses) {
        const QDate start = dice_.dateBetween(today_.addYears(-5), today_.addDays(-30));
        w.set("培训名称", name);
        w.set("培训内容", content);
        w.set("开始日期", date(start));
        w.set("结束日期", date(start.addDays(dice_.between(0, 4))));
        w.set("培训单位", providers[dice_.between(0, 3)]);
        w.set("培训总费用", Value(Money::fromUnits(dice_.between(20, 300) * 1000000LL)));
        w.set("备注", dice_.chance(0.3) ? Value("含教材费") : Value());
        w.set("课程编号", "KC" + padded(++n, 3));
        w.write();
    }
}

void SampleFiller::fillEvaluationItems()
{
    static const char* const items[] = {"年度绩效考核", "试用期转正考核", "安全知识考试", "岗位技能考核",
                                        "中层干部述职评议", "质量意识测评"};
    TableWriter w(conn_, "考评项目表");
    int n = 0;
    for (const char* item : items) {
        const QDate day = dice_.dateBetween(today_.addYears(-3), today_.addDays(-10));
        w.set("考评项目", item);
        w.set("目标", "检验工作业绩与岗位能力");
        w.set("时效", "一年");
        w.set("考评级别", dice_.pick(SampleWords::list("考评级别")));
        w.set("考评组织", "人力资源部");
        w.set("考评人", dice_.pick(Words{"王芳", "李建华", "陈建国", "周敏"}));
        w.set("考评结果1", "已完成");
        w.set("考核标准", "百分制，六十分合格");
        w.set("考评范围", "全体员工");
        w.set("登记日期", day.toString(QStringLiteral("yyyy-MM-dd")).toStdString());
        w.set("考评内容", std::string(item) + "：笔试与日常表现各占一半。");
        w.set("考评编号", "KP" + std::to_string(day.year()) + "-" + padded(++n, 2));
        w.write();
    }
}

void SampleFiller::fillArticles()
{
    static const std::tuple<const char*, const char*, int> articles[] = {
        {"笔记本电脑", "台", 650000}, {"工作服", "套", 1800},   {"劳保鞋", "双", 1200},  {"安全帽", "顶", 350},
        {"对讲机", "部", 45000},      {"办公椅", "把", 38000},  {"计算器", "个", 6500},  {"U盘", "个", 4900},
        {"手电筒", "把", 3500},       {"防护眼镜", "副", 1500}, {"工具箱", "套", 26000}, {"雨衣", "件", 2500},
    };
    TableWriter w(conn_, "物品登记");
    for (const auto& [name, unit, price] : articles) {
        const int stock = dice_.between(20, 500);
        w.set("物品名称", name);
        w.set("登记日期", date(dice_.dateBetween(today_.addYears(-4), today_.addYears(-1))));
        w.set("单位", unit);
        w.set("数量", Value(stock));
        w.set("发出", Value(0));
        w.set("剩余", Value(stock));
        w.set("单价", Value(Money::fromUnits(price * 100LL)));
        w.set("备注", dice_.chance(0.3) ? Value("年度采购") : Value());
        w.write();
    }
}

void SampleFiller::readBack()
{
    auto column = [&](const std::string& sql, Words& into) {
        db::Statement st = conn_.prepareNative(sql);
        while (st.step()) into.push_back(st.textOrEmpty(0));
    };
    column("select 课程编号 from 培训课程 where 课程编号 is not null", courseNumbers_);
    column("select 考评编号 from 考评项目表 where 考评编号 is not null", evaluationNumbers_);
    column("select 考评人 from 考评项目表 where 考评编号 is not null", evaluators_);
    db::Statement st = conn_.prepareNative("select 编号, 物品名称, 单价 from 物品登记");
    while (st.step()) {
        articles_.push_back({st.integer(0), st.textOrEmpty(1), st.money(2)});
    }
}

// What was issued and evaluated, counted into the registers.
void SampleFiller::settleCounts()
{
    conn_.execNative(
        "update 物品登记 set 发出 = (select ifnull(sum(数量), 0) from 物品领用 where 物品编号 = 物品登记.编号);"
        "update 物品登记 set 剩余 = max(数量 - 发出, 0), 数量 = max(数量, 发出);"
        "update 考评项目表 set 参加人数 = (select count(*) from 考评情况 where 考评编号1 = 考评项目表.考评编号),"
        " 通过人数 = (select count(*) from 考评情况 where 考评编号1 = 考评项目表.考评编号 and 考评分数 >= 60);"
        "update 考评项目表 set 未通过人数 = 参加人数 - 通过人数;");
}

// --- one employee ---------------------------------------------------------------------------------

std::string SampleFiller::givenName(bool male)
{
    const std::string& chars = SampleWords::givenChars(male);
    const int n = static_cast<int>(chars.size() / 3);
    std::string name = utf8Char(chars, static_cast<size_t>(dice_.between(0, n - 1)));
    if (dice_.chance(0.7)) name += utf8Char(chars, static_cast<size_t>(dice_.between(0, n - 1)));
    return name;
}

std::string SampleFiller::personName(bool male, std::string* pinyin, std::string* surname)
{
    const auto& surnames = SampleWords::surnames();
    // The compound surnames at the end of the list are rare.
    const size_t common = surnames.size() - 3;
    const auto& s = dice_.chance(0.01) ? surnames[common + static_cast<size_t>(dice_.between(0, 2))]
                                       : surnames[static_cast<size_t>(dice_.between(0, static_cast<int>(common) - 1))];
    if (pinyin) *pinyin = s.pinyin;
    if (surname) *surname = s.hanzi;
    return s.hanzi + givenName(male);
}

Person SampleFiller::makePerson(int64_t serial)
{
    Person p;
    p.number = "YG" + padded(serial, 6);
    p.sex = dice_.chance(0.56) ? "男" : "女";
    p.name = personName(p.sex == "男", &p.surnamePinyin, &p.surname);
    p.birth = dice_.dateBetween(today_.addYears(-59), today_.addYears(-19));
    // Out of a hundred people of a machinery maker.
    static const std::pair<const char*, int> education[] = {{"博士研究生", 1}, {"硕士研究生", 5}, {"大学本科", 24},
                                                             {"大学专科", 26}, {"中专", 17}, {"高中", 18}, {"初中", 9}};
    for (int roll = dice_.between(1, 100), i = 0; p.education.empty(); roll -= education[i++].second)
        if (roll <= education[i].second) p.education = education[i].first;
    const int schoolYears = p.education == "博士研究生" ? 28 : p.education == "硕士研究生" ? 25
                          : p.education == "大学本科" ? 22 : p.education == "大学专科" ? 21
                          : p.education == "初中" ? 16 : 18;
    p.graduated = QDate(p.birth.year() + schoolYears, 7, dice_.between(1, 10));
    if (p.graduated > today_) p.graduated = today_.addDays(-dice_.between(1, 200));
    p.workStart = std::min(today_, p.graduated.addDays(dice_.between(10, 400)));
    p.hired = dice_.chance(0.4) ? p.workStart : dice_.dateBetween(p.workStart, today_);
    p.department = dice_.pick(SampleWords::departmentPaths());
    p.post = dice_.pick(SampleWords::postsOf(p.department[0]));
    const int age = p.birth.daysTo(today_) / 365;
    p.politics = dice_.chance(0.22) ? "中共党员" : age < 28 && dice_.chance(0.6) ? "共青团员"
               : dice_.chance(0.03) ? "民主党派" : "群众";
    const QDate retires = p.birth.addYears(p.sex == "男" ? 60 : 55);
    p.status = retires <= today_ ? "退休" : dice_.chance(0.06) ? "离职" : dice_.chance(0.01) ? "停薪留职"
             : p.hired.addMonths(3) > today_ ? "试用期" : "在职";
    if (p.status == "退休") p.left = retires;
    if (p.status == "离职") p.left = dice_.dateBetween(p.hired, today_);
    p.payrollSet = p.department[0] == "生产制造部" ? "生产人员工资"
                 : p.department[0] == "市场营销部" ? "销售人员工资" : "管理人员工资";
    p.grade = SampleWords::salaryGrades()[static_cast<size_t>(std::clamp(age / 6 - 2 + dice_.between(0, 3), 0, 9))];
    p.home = dice_.chance(0.75) ? &SampleWords::cities()[0] : &dice_.pick(SampleWords::cities());
    p.native = dice_.chance(0.5) ? p.home : &dice_.pick(SampleWords::cities());
    return p;
}

std::string SampleFiller::mobile()
{
    static const Words prefixes = {"130", "131", "132", "133", "135", "136", "137", "138", "139", "150", "151", "152",
                                   "155", "156", "158", "159", "176", "177", "180", "181", "186", "187", "188", "189"};
    return dice_.pick(prefixes) + padded(dice_.between(0, 99999999), 8);
}

std::string SampleFiller::landline(const SampleWords::City& c)
{
    const int length = c.areaCode.size() == 3 ? 8 : 7;
    return c.areaCode + "-" + std::to_string(dice_.between(2, 8)) + padded(dice_.between(0, 9999999), length - 1);
}

std::string SampleFiller::address(const SampleWords::City& c)
{
    std::string a = c.province == c.city ? c.city + "市" : c.province + "省" + c.city + "市";
    a += dice_.pick(c.districts) + dice_.pick(SampleWords::roads()) + std::to_string(dice_.between(1, 399)) + "号";
    if (dice_.chance(0.8)) {
        a += dice_.pick(SampleWords::estates()) + std::to_string(dice_.between(1, 30)) + "栋"
           + std::to_string(dice_.between(1, 4)) + "单元" + std::to_string(dice_.between(1, 28) * 100 + dice_.between(1, 4)) + "室";
    }
    return a;
}

void SampleFiller::setIdentity(TableWriter& w, const Person& p)
{
    const int order = dice_.between(0, 49) * 2 + (p.sex == "男" ? 1 : 0);
    const std::string body = p.home->idPrefix + p.birth.toString(QStringLiteral("yyyyMMdd")).toStdString()
                           + padded(dice_.between(0, 9), 1) + padded(order, 2);
    w.set("员工编号", p.number);
    w.set("姓名", p.name);
    w.set("性别", p.sex);
    w.set("出生年月", date(p.birth));
    w.set("身份证号", body + idCheck(body));
    w.set("民族", dice_.chance(0.92) ? "汉族" : dice_.pick(SampleWords::list("民族")));
    const int age = p.birth.daysTo(today_) / 365;
    w.set("婚姻状况", age < 25 ? (dice_.chance(0.85) ? "未婚" : "已婚")
                    : dice_.chance(0.85) ? "已婚" : dice_.pick(SampleWords::list("婚姻状况")));
    w.set("政治面貌", p.politics);
    const bool member = p.politics == "中共党员";
    if (member) w.set("入党日期", date(dice_.dateBetween(p.birth.addYears(19), std::min(today_, p.birth.addYears(40)))));
    if (member || p.politics == "共青团员" || dice_.chance(0.5))
        w.set("入团日期", date(dice_.dateBetween(p.birth.addYears(14), p.birth.addYears(18))));
    if (dice_.chance(0.7)) w.set("入工会日期", date(std::min(p.until(today_), p.hired.addDays(dice_.between(30, 400)))));
}

void SampleFiller::setPlaces(TableWriter& w, const Person& p)
{
    const SampleWords::City& native = *p.native;
    w.set("籍贯", native.province == native.city ? native.city : native.province + native.city);
    w.set("邮政编码", p.home->postcode);
    w.set("家庭住址", address(*p.home));
    w.set("户口", dice_.chance(0.7) ? "城镇" : "农村");
    w.set("户籍所在地", (p.home->province == p.home->city ? p.home->city : p.home->province + p.home->city) + "市"
                          + dice_.pick(p.home->districts));
    w.set("手机", mobile());
    if (dice_.chance(0.6)) w.set("联系电话", landline(*p.home));
    w.set("养老手册号", p.home->idPrefix.substr(0, 4) + dice_.digits(10));
    w.set("公积金账号", dice_.digits(12));
    w.set("医保帐号", p.home->idPrefix.substr(0, 4) + dice_.digits(8));
    w.set("EMAIL", p.surnamePinyin + padded(std::stoll(p.number.substr(2)), 5) + "@hongyuan-jx.cn");
}

void SampleFiller::setEducation(TableWriter& w, const Person& p)
{
    w.set("学历", p.education);
    const Words& majors = SampleWords::majorsFor(p.education);
    if (!majors.empty()) w.set("专业", dice_.pick(majors));
    w.set("毕业日期", date(p.graduated));
    w.set("毕业院校", dice_.pick(SampleWords::schoolsFor(p.education)));
    const bool schooled = p.education != "初中";
    if (schooled) {
        const bool english = dice_.chance(0.85);
        w.set("外语语种", english ? "英语" : dice_.pick(SampleWords::list("外语语种")));
        w.set("外语水平", english ? dice_.pick(Words{"大学英语四级", "大学英语六级", "公共英语三级", "一般"})
                                  : dice_.pick(Words{"熟练", "一般"}));
    }
    w.set("电脑水平", dice_.pick(SampleWords::list("电脑水平")));
    const bool second = (p.education == "大学专科" || p.education == "大学本科") && dice_.chance(0.15)
                      && p.graduated.addYears(3) < today_;
    if (!second) return;
    const std::string level = p.education == "大学专科" ? "大学本科" : dice_.pick(Words{"硕士研究生", "第二学士学位"});
    w.set("第二学历", level);
    w.set("第二专业", dice_.pick(SampleWords::list("第二专业")));
    w.set("二专毕业日期", date(dice_.dateBetween(p.graduated.addYears(2), today_)));
    w.set("二专毕业院校", dice_.pick(SampleWords::schoolsFor(level)));
}

void SampleFiller::setEmployment(TableWriter& w, const Person& p, int64_t serial)
{
    static const char* const levels[] = {"一级部门", "二级部门", "三级部门", "四级部门"};
    for (size_t i = 0; i < p.department.size(); ++i) w.set(levels[i], p.department[i]);
    w.set("职务", p.post);
    const bool leader = p.post.find("经理") != std::string::npos || p.post == "总工程师";
    w.set("行政级别", leader ? dice_.pick(Words{"正处级", "副处级", "正科级"})
                    : p.post == "科长" ? "正科级" : dice_.pick(Words{"科员", "办事员", "无", "无"}));
    w.set("岗位工种", leader || p.post == "科长" ? "管理岗" : dice_.pick(SampleWords::tradesOf(p.department[0])));
    const bool graduate = p.education.find("研究生") != std::string::npos || p.education == "大学本科";
    w.set("职称", graduate ? dice_.pick(Words{"高级工程师", "工程师", "助理工程师", "会计师", "经济师", "无"})
                           : dice_.pick(Words{"助理工程师", "技术员", "技师", "高级技师", "无", "无"}));
    w.set("用工形式", p.status == "退休" ? "退休返聘" : dice_.chance(0.85) ? "合同制"
                    : dice_.pick(Words{"劳务派遣", "临时工", "实习"}));
    w.set("在职状况", p.status);
    w.set("入职日期", date(p.hired));
    w.set("参加工作", date(p.workStart));
    const QDate confirmed = p.hired.addMonths(dice_.chance(0.7) ? 3 : 6);
    if (confirmed <= p.until(today_)) w.set("转正日期", date(confirmed));
    if (p.status == "离职") w.set("离职日期", date(p.left));
    w.set("退休日期", date(p.birth.addYears(p.sex == "男" ? 60 : 55)));
    const int terms = std::max(0, static_cast<int>(p.hired.daysTo(p.until(today_)) / (365 * 3)));
    const QDate signedOn = p.hired.addYears(3 * terms);
    const bool open = terms >= 2 && dice_.chance(0.6);
    w.set("合同签订", date(signedOn));
    if (!open) w.set("合同到期", date(signedOn.addYears(3).addDays(-1)));
    w.set("合同类别", open ? "无固定期限劳动合同" : dice_.chance(0.95) ? "固定期限劳动合同" : "劳务派遣协议");
    w.set("员工档案号", "DA" + std::to_string(p.hired.year()) + "-" + padded(serial, 6));
    w.set("工资等级", p.grade);
    w.set("来源", dice_.pick(SampleWords::list("来源")));
    w.set("招聘介绍", dice_.pick(Words{"招聘网站", "人才市场", "校园招聘会", "报纸广告", "猎头推荐",
                                      "员工推荐（" + personName(dice_.chance(0.5)) + "）"}));
    w.set("工资帐套名称", p.payrollSet);
    const SampleWords::Bank& bank = dice_.pick(SampleWords::banks());
    const std::string card = bank.prefix + dice_.digits(12);
    w.set("发卡银行", bank.name);
    w.set("银行卡号", card + luhnCheck(card));
    w.set("工资核算", p.status == "离职" || p.status == "退休" ? "否" : dice_.chance(0.97) ? "是" : "否");
}

void SampleFiller::setBody(TableWriter& w, const Person& p)
{
    const bool male = p.sex == "男";
    const double height = std::round(std::clamp(dice_.normal(male ? 171 : 160, 6), 145.0, 195.0) * 10) / 10;
    w.set("身高", Value(height));
    w.set("体重", Value(static_cast<int>(std::clamp(dice_.normal((height - 100) * 0.9, 8), 40.0, 120.0))));
    auto eye = [&] {
        const int v = dice_.between(40, 52);
        return std::to_string(v / 10) + "." + std::to_string(v % 10);
    };
    w.set("视力", "左" + eye() + " 右" + eye());
    w.set("血型", dice_.pick(SampleWords::list("血型")));
    w.set("身体状况", dice_.chance(0.8) ? "健康" : dice_.pick(SampleWords::list("身体状况")));
    w.set("爱好", dice_.pick(SampleWords::hobbies()) + "、" + dice_.pick(SampleWords::hobbies()));
    w.set("特长", dice_.pick(SampleWords::skills()));
}

void SampleFiller::setContacts(TableWriter& w, const Person& p)
{
    for (int i = 1; i <= 2; ++i) {
        const std::string n = std::to_string(i);
        const SampleWords::City& city = i == 1 ? *p.home : *p.native;
        if (i == 1 || dice_.chance(0.6)) {
            w.set("紧急联系人姓名" + n, personName(dice_.chance(0.5)));
            w.set("紧急联系人单位" + n, dice_.pick(SampleWords::companies()));
            w.set("紧急联系人地址" + n, address(city));
            w.set("紧急联系人电话" + n, mobile());
        }
        if (i == 1 || dice_.chance(0.5)) {
            w.set("家庭成员姓名" + n, personName(dice_.chance(0.5)));
            w.set("家庭成员单位" + n, dice_.pick(SampleWords::companies()));
            w.set("家庭成员地址" + n, address(city));
            w.set("家庭成员电话" + n, dice_.chance(0.5) ? mobile() : landline(city));
            w.set("家庭成员邮编" + n, city.postcode);
        }
    }
}

// The ten user-defined columns, as this organisation uses them, with their companion texts.
void SampleFiller::setOwnFields(TableWriter& w, const Person& p, int64_t serial)
{
    const std::string plate = "苏A" + std::string(1, static_cast<char>('A' + dice_.between(0, 25))) + padded(dice_.between(0, 9999), 4);
    const std::pair<std::string, std::string> own[] = {
        {dice_.chance(0.4) ? plate : "", "车辆登记"},
        {dice_.pick(Words{"S", "M", "L", "XL", "XXL"}), "工装尺码"},
        {std::to_string(p.sex == "男" ? dice_.between(39, 45) : dice_.between(35, 40)), "劳保鞋码"},
        {std::string(1, static_cast<char>('A' + dice_.between(0, 3))) + "区-" + padded(serial % 400, 3), "更衣柜"},
        {padded(dice_.between(0, 99999999), 8), "门禁卡号"},
        {dice_.chance(0.3) ? std::to_string(dice_.between(1, 6)) + "号楼" + std::to_string(dice_.between(1, 5) * 100 + dice_.between(1, 20)) : "不住宿", "宿舍"},
        {dice_.pick(Words{"1号线（迈皋桥）", "2号线（油坊桥）", "3号线（林场）", "自行上下班"}), "班车线路"},
        {dice_.pick(Words{"C1", "C2", "B2", "A2", "无"}), "驾照类型"},
        {dice_.chance(0.2) ? dice_.pick(Words{"电工证", "焊工证", "叉车证", "登高证"}) : "", "特种作业证"},
        {date(dice_.dateBetween(today_.addYears(-1), today_)).toString(), "年度体检"},
    };
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        w.set("自定义" + n, text(own[i].first));
        w.set("自定义" + n + "_T", own[i].second);
    }
    const QDate registered = std::max(p.hired, today_.addYears(-15));
    w.set("数据录入", dice_.pick(Words{"admin", "王芳", "李静"}));
    w.set("登记日期", date(registered));
    w.set("修改日期", date(dice_.dateBetween(registered, today_)));
    w.set("最后修改", dice_.pick(Words{"admin", "王芳", "李静", "陈晓东"}));
    if (dice_.chance(0.7)) w.set("照片位置", "D:\\人事档案\\照片\\" + p.number + ".jpg");
    w.set("工号", padded(p.hired.year() % 100, 2) + padded(serial, 6));
    if (p.department[0] != "生产制造部") w.set("传真", kCompanyFax);
    if (dice_.chance(0.15)) w.set("备注", dice_.pick(SampleWords::remarks()));
}

std::string SampleFiller::resume(const Person& p)
{
    auto ym = [](const QDate& d) { return d.toString(QStringLiteral("yyyy.MM")).toStdString(); };
    std::string r = ym(p.graduated.addYears(p.education == "大学专科" ? -3 : -4)) + "-" + ym(p.graduated) + "  "
                  + dice_.pick(SampleWords::schoolsFor(p.education)) + "  学习\r\n";
    if (p.workStart < p.hired)
        r += ym(p.workStart) + "-" + ym(p.hired) + "  " + dice_.pick(SampleWords::companies()) + "  工作\r\n";
    r += ym(p.hired) + "-至今  " + kCompany + p.department[0] + "  " + p.post;
    return r;
}

void SampleFiller::writeEmployee(const Person& p, int64_t serial)
{
    TableWriter& w = *employees_;
    setIdentity(w, p);
    setPlaces(w, p);
    setEducation(w, p);
    setEmployment(w, p, serial);
    setBody(w, p);
    setContacts(w, p);
    setOwnFields(w, p, serial);
    w.set("个人简历", resume(p));
    w.write();
}

void SampleFiller::run(int employees)
{
    db::Transaction tx(conn_);
    fillLookups();
    auto writer = [&](const char* table) { return std::make_unique<TableWriter>(conn_, table); };
    employees_ = writer("员工基本情况");
    history_ = writer("个人经历");
    relations_ = writer("社会关系");
    certificates_ = writer("证照列表");
    transfers_ = writer("调动记录");
    titles_ = writer("职称评定");
    rewards_ = writer("奖惩情况");
    salaryChanges_ = writer("工资晋升");
    training_ = writer("培训记录");
    evaluations_ = writer("考评情况");
    issues_ = writer("物品领用");
    db::Statement last = conn_.prepareNative("select ifnull(max(编号), 0) from 员工基本情况");
    last.step();
    const int64_t base = last.integer(0);
    for (int i = 1; i <= employees; ++i) {
        const Person p = makePerson(base + i);
        writeEmployee(p, base + i);
        writeSubRecords(p);
    }
    settleCounts();
    tx.commit();
}

}  // namespace rsgz::sample::detail

namespace rsgz::sample {

void fillSampleData(db::Connection& conn, int employees, unsigned seed)
{
    detail::SampleFiller(conn, seed).run(employees);
}

}  // namespace rsgz::sample
