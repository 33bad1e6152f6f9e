#include <algorithm>
#include <cmath>

#include "SampleFiller.h"

namespace rsgz::sample::detail {


// --- sub-records ------------------------------------------------------------------------------------

// Schooling, the earlier employers between starting work and joining, then the posts held here.
void SampleFiller::writeHistory(const Person& p, int rows)
{
    TableWriter& w = *history_;
    const QDate schoolStart = p.graduated.addYears(-3);
    w.set("起始日期", date(schoolStart));
    w.set("结束日期", date(p.graduated));
    w.set("学校或者工作单位", dice_.pick(SampleWords::schoolsFor(p.education)));
    w.set("职务", "学生");
    w.set("员工编号1", p.number);
    w.write();
    const int between = std::max(rows - 2, 0);
    const bool earlier = p.workStart < p.hired;
    const QDate from = earlier ? p.workStart : p.hired, to = earlier ? p.hired : p.until(today_);
    const int days = std::max(1, static_cast<int>(from.daysTo(to)) / std::max(between, 1));
    for (int i = 0; i < between; ++i) {
        const QDate start = from.addDays(static_cast<qint64>(days) * i);
        w.set("起始日期", date(start));
        w.set("结束日期", date(start.addDays(days - 1)));
        w.set("学校或者工作单位", earlier ? dice_.pick(SampleWords::companies()) : std::string(kCompany));
        w.set("部门", dice_.pick(SampleWords::list("部门")));
        w.set("职务", dice_.pick(Words{"职员", "技术员", "操作工", "主管"}));
        w.set("备注", earlier ? Value("个人原因离职") : Value("内部岗位调整"));
        w.set("员工编号1", p.number);
        w.write();
    }
    w.set("起始日期", date(p.hired));
    w.set("学校或者工作单位", kCompany);
    w.set("部门", p.department.back());
    w.set("职务", p.post);
    w.set("员工编号1", p.number);
    w.write();
}

void SampleFiller::writeRelations(const Person& p, int rows)
{
    static const char* const relations[] = {"父亲", "母亲", "配偶", "儿子", "女儿", "哥哥", "姐姐",
                                            "弟弟", "妹妹", "祖父", "祖母", "岳父", "岳母"};
    TableWriter& w = *relations_;
    for (int i = 0; i < rows && i < static_cast<int>(std::size(relations)); ++i) {
        const std::string relation = relations[i];
        const bool male = relation == "父亲" || relation == "儿子" || relation == "哥哥" || relation == "弟弟"
                          || relation == "祖父" || relation == "岳父" || (relation == "配偶" && p.sex == "女");
        const bool family = relation == "父亲" || relation == "祖父" || relation == "儿子" || relation == "女儿";
        w.set("姓名", family ? p.surname + givenName(male) : personName(male));
        w.set("与本人关系", relation);
        w.set("工作单位", dice_.pick(SampleWords::companies()));
        w.set("部门", dice_.pick(SampleWords::list("部门")));
        w.set("职务", dice_.pick(Words{"职员", "退休", "教师", "医生", "个体", "学生"}));
        w.set("联系电话", mobile());
        w.set("政治面貌", dice_.pick(SampleWords::list("政治面貌")));
        w.set("员工编号1", p.number);
        w.write();
    }
}

// The diploma, then work certificates (renewed ones come again with a later date).
void SampleFiller::writeCertificates(const Person& p, int rows)
{
    TableWriter& w = *certificates_;
    w.set("证照类型", "学历证书");
    w.set("证照名称", "毕业证书");
    w.set("证照编号", dice_.digits(18));
    w.set("取得日期", date(p.graduated));
    w.set("发证机构", dice_.pick(SampleWords::schoolsFor(p.education)));
    w.set("员工编号1", p.number);
    w.write();
    for (int i = 1; i < rows; ++i) {
        const std::string name = dice_.pick(Words{"会计专业技术资格证书", "电工特种作业操作证", "焊工特种作业操作证",
                                                  "叉车司机证", "机动车驾驶证", "人力资源管理师证书"});
        const QDate got = dice_.dateBetween(p.workStart, today_);
        w.set("证照类型", name.find("操作证") != std::string::npos ? "特种作业操作证"
                        : name == "机动车驾驶证" ? "机动车驾驶证" : "职业资格证书");
        w.set("证照名称", name);
        w.set("证照编号", "T" + dice_.digits(11));
        w.set("取得日期", date(got));
        w.set("失效日期", date(got.addYears(6)));
        w.set("发证机构", dice_.pick(Words{"南京市人力资源和社会保障局", "江苏省应急管理厅", "南京市公安局交通管理局"}));
        w.set("备注", dice_.chance(0.3) ? Value("需按期复审") : Value());
        w.set("员工编号1", p.number);
        w.write();
    }
}

void SampleFiller::writeTransfer(const Person& p)
{
    static const char* const before[] = {"调动前一级部门", "调动前二级部门", "调动前三级部门", "调动前四级部门"};
    static const char* const after[] = {"调动后一级部门", "调动后二级部门", "调动后三级部门", "调动后四级部门"};
    TableWriter& w = *transfers_;
    const Words& from = dice_.pick(SampleWords::departmentPaths());
    for (size_t i = 0; i < from.size(); ++i) w.set(before[i], from[i]);
    for (size_t i = 0; i < p.department.size(); ++i) w.set(after[i], p.department[i]);
    w.set("调动类型", dice_.pick(Words{"内部调动", "晋升", "借调", "内部调动"}));
    w.set("调动日期", date(dice_.dateBetween(p.hired, p.until(today_))));
    w.set("调动前职务", dice_.pick(SampleWords::postsOf(from[0])));
    w.set("调动后职务", p.post);
    w.set("调动前单位", kCompany);
    w.set("调动后单位", kCompany);
    w.set("调动原因", "工作需要，经部门协商并报公司批准。");
    w.set("经办人", dice_.pick(Words{"王芳", "李静"}));
    w.set("员工编号1", p.number);
    w.set("姓名", p.name);
    w.set("批准人", "陈建国");
    w.set("调动前帐套", "管理人员工资");
    w.set("调动后帐套", p.payrollSet);
    w.write();
}

void SampleFiller::writeTitle(const Person& p)
{
    TableWriter& w = *titles_;
    const std::string title = dice_.pick(SampleWords::list("评定职称"));
    const QDate got = dice_.dateBetween(p.workStart, today_);
    w.set("评定职称", title);
    w.set("取得日期", date(got));
    w.set("取得方式", dice_.pick(SampleWords::list("取得方式")));
    w.set("聘用专业技术职务", title);
    w.set("聘用起始日", date(got.addMonths(1)));
    w.set("聘用结束日", date(got.addMonths(1).addYears(3)));
    w.set("聘用单位", kCompany);
    w.set("职称英语", dice_.pick(SampleWords::list("职称英语")));
    w.set("职称英语取得日期", date(got.addMonths(-6)));
    w.set("职称计算机", dice_.pick(SampleWords::list("职称计算机")));
    w.set("职称计算机取得日期", date(got.addMonths(-8)));
    w.set("职称备注", dice_.chance(0.2) ? Value("破格晋升") : Value());
    w.set("员工编号1", p.number);
    w.set("被评定人姓名", p.name);
    w.write();
}

void SampleFiller::writeRewards(const Person& p)
{
    TableWriter& w = *rewards_;
    const bool reward = dice_.chance(0.8);
    const QDate day = dice_.dateBetween(p.hired, p.until(today_));
    w.set("奖或惩", reward ? "奖励" : "惩罚");
    w.set("奖惩内容", reward ? dice_.pick(Words{"年度先进工作者", "优秀员工", "技术能手", "通报表扬", "奖金二千元"})
                             : dice_.pick(Words{"警告", "通报批评", "记过", "扣发当月绩效"}));
    w.set("奖惩原因", reward ? dice_.pick(Words{"工作业绩突出", "技术革新", "安全生产无事故", "合理化建议被采纳"})
                             : dice_.pick(Words{"违反劳动纪律", "违反安全操作规程", "旷工", "产品质量事故"}));
    w.set("奖惩级别", dice_.pick(SampleWords::list("奖惩级别")));
    w.set("批准部门", dice_.pick(SampleWords::list("批准部门")));
    w.set("批准人", "陈建国");
    w.set("奖惩日期", date(day));
    if (!reward && dice_.chance(0.3)) {
        w.set("撤销日期", date(std::min(today_, day.addYears(1))));
        w.set("撤销原因", "期满表现良好");
    }
    w.set("员工编号1", p.number);
    w.set("奖惩备注", reward ? "在全公司通报。" : "本人已签字确认。");
    w.set("奖惩人姓名", p.name);
    w.write();
}

void SampleFiller::writeSalaryChanges(const Person& p)
{
    TableWriter& w = *salaryChanges_;
    const int64_t before = dice_.between(30, 90) * 1000000LL;
    w.set("工资等级", p.grade);
    w.set("晋升日期", date(dice_.dateBetween(p.hired, p.until(today_))));
    w.set("晋升前工资", Value(Money::fromUnits(before)));
    w.set("晋升后工资", Value(Money::fromUnits(before + dice_.between(2, 15) * 1000000LL)));
    w.set("备注", "年度调薪");
    w.set("员工编号1", p.number);
    w.write();
}

void SampleFiller::writeTraining(const Person& p, int rows)
{
    if (courseNumbers_.empty()) return;
    TableWriter& w = *training_;
    for (int i = rows; i > 0; --i) {
        w.set("受培训人姓名", p.name);
        w.set("培训结果", dice_.pick(Words{"合格", "良好", "优秀", "不合格"}));
        w.set("培训费用", Value(Money::fromUnits(dice_.between(0, 20) * 100000LL)));
        w.set("培训备注", dice_.chance(0.2) ? Value("补考通过") : Value());
        w.set("员工编号1", p.number);
        w.set("课程编号1", dice_.pick(courseNumbers_));
        w.write();
    }
}

void SampleFiller::writeEvaluations(const Person& p)
{
    if (evaluationNumbers_.empty()) return;
    TableWriter& w = *evaluations_;
    const size_t item = static_cast<size_t>(dice_.between(0, static_cast<int>(evaluationNumbers_.size()) - 1));
    const int score = std::clamp(static_cast<int>(dice_.normal(80, 9)), 40, 100);
    w.set("考评结果", score >= 60 ? "通过考评，继续保持。" : "未通过，三个月后复评。");
    w.set("考评等级", score >= 90 ? "优秀" : score >= 80 ? "良好" : score >= 60 ? "合格" : "不合格");
    w.set("考评分数", Value(score));
    w.set("考评人1", evaluators_[item].empty() ? "王芳" : evaluators_[item]);
    w.set("考评日期", dice_.dateBetween(std::max(p.hired, today_.addYears(-3)), today_).toString(QStringLiteral("yyyy-MM-dd")).toStdString());
    w.set("考评备注", "按考核标准评定。");
    w.set("员工编号1", p.number);
    w.set("被考评人姓名", p.name);
    w.set("考评编号1", evaluationNumbers_[item]);
    w.write();
}

void SampleFiller::writeIssues(const Person& p)
{
    if (articles_.empty()) return;
    TableWriter& w = *issues_;
    const Article& a = dice_.pick(articles_);
    const int quantity = dice_.between(1, 2);
    const QDate day = dice_.dateBetween(p.hired, p.until(today_));
    w.set("物品", a.name);
    w.set("领用日期", date(day));
    if (dice_.chance(0.3)) w.set("归还日期", date(dice_.dateBetween(day, today_)));
    w.set("数量", Value(quantity));
    w.set("价值", Value(a.price * static_cast<double>(quantity)));
    w.set("领用备注", dice_.chance(0.2) ? Value("以旧换新") : Value());
    w.set("员工编号1", p.number);
    w.set("领用人姓名", p.name);
    w.set("签字", p.name);
    w.set("物品编号", Value(a.key));
    w.write();
}

// About ten records of each kind for every employee: the employee window's speed is measured on
// lists of that length.
void SampleFiller::writeSubRecords(const Person& p)
{
    const auto aboutTen = [this] { return dice_.between(8, 12); };
    const auto repeat = [&](void (SampleFiller::*write)(const Person&)) {
        for (int i = aboutTen(); i > 0; --i) (this->*write)(p);
    };
    writeHistory(p, aboutTen());
    writeRelations(p, aboutTen());
    writeCertificates(p, aboutTen());
    repeat(&SampleFiller::writeTransfer);
    repeat(&SampleFiller::writeTitle);
    repeat(&SampleFiller::writeRewards);
    repeat(&SampleFiller::writeSalaryChanges);
    writeTraining(p, aboutTen());
    repeat(&SampleFiller::writeEvaluations);
    repeat(&SampleFiller::writeIssues);
}

}  // namespace rsgz::sample::detail
