#include "SampleWords.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace rsgz::sample {

namespace {

// Level 1 with its level-2 departments; a level-2 entry "A:x|y" has the level-3 children x and y,
// and a level-3 child "x/p+q" has the level-4 children p and q.
const std::vector<std::pair<std::string, Words>>& departmentTree()
{
    static const std::vector<std::pair<std::string, Words>> tree = {
        {"总经理办公室", {"秘书科", "法务科", "企业管理科"}},
        {"人力资源部", {"招聘培训科:招聘组|培训组", "薪酬福利科", "员工关系科"}},
        {"财务部", {"会计科:总账组|成本组", "资金科", "审计科"}},
        {"生产制造部",
         {"一车间:机加工段/甲班+乙班+丙班|装配工段/甲班+乙班", "二车间:冲压工段/甲班+乙班|焊接工段/甲班+乙班",
          "设备动力科:维修组|动力组", "生产计划科"}},
        {"技术研发中心", {"产品设计所:结构室|电气室", "工艺技术所:工艺室|标准化室", "软件开发所"}},
        {"质量管理部", {"检验科:来料检验组|成品检验组", "质量体系科"}},
        {"市场营销部", {"华东销售处:上海办事处|南京办事处|杭州办事处", "华北销售处:北京办事处", "客户服务科"}},
        {"采购供应部", {"采购科", "仓储科:原料库|成品库"}},
        {"行政后勤部", {"行政科", "后勤保障科:食堂|车队", "安全保卫科"}},
    };
    return tree;
}

Words split(const std::string& s, char sep)
{
    Words out;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != sep) continue;
        if (i > start) out.push_back(s.substr(start, i - start));
        start = i + 1;
    }
    return out;
}

std::vector<Words> buildPaths()
{
    std::vector<Words> paths;
    for (const auto& [first, seconds] : departmentTree()) {
        paths.push_back({first});
        for (const std::string& entry : seconds) {
            const Words second = split(entry, ':');
            paths.push_back({first, second[0]});
            if (second.size() < 2) continue;
            for (const std::string& thirdEntry : split(second[1], '|')) {
                const Words third = split(thirdEntry, '/');
                paths.push_back({first, second[0], third[0]});
                if (third.size() < 2) continue;
                for (const std::string& fourth : split(third[1], '+')) paths.push_back({first, second[0], third[0], fourth});
            }
        }
    }
    return paths;
}

Words places()
{
    Words out;
    for (const SampleWords::City& c : SampleWords::cities())
        out.push_back(c.province == c.city ? c.city : c.province + c.city);
    return out;
}

const Words kGraduateMajors = {"计算机科学与技术", "机械设计制造及其自动化", "电气工程及其自动化", "会计学",
                               "财务管理", "工商管理", "市场营销", "人力资源管理", "汉语言文学", "英语", "法学",
                               "材料成型及控制工程", "化学工程与工艺", "土木工程", "物流管理", "软件工程"};
const Words kCollegeMajors = {"机电一体化技术", "数控技术", "会计", "市场营销", "计算机应用技术", "模具设计与制造",
                              "物流管理", "电气自动化技术"};
const Words kSecondaryMajors = {"机械加工技术", "电子技术应用", "会计", "焊接技术应用", "汽车运用与维修"};

Words allMajors()
{
    Words out = kGraduateMajors;
    for (const Words* more : {&kCollegeMajors, &kSecondaryMajors})
        for (const std::string& m : *more)
            if (std::find(out.begin(), out.end(), m) == out.end()) out.push_back(m);
    return out;
}

}  // namespace

const std::vector<std::pair<std::string, Words>>& SampleWords::dictionary()
{
    static const std::vector<std::pair<std::string, Words>> lists = {
        {"性别", {"男", "女"}},
        {"职务", {"总经理", "副总经理", "总工程师", "部门经理", "部门副经理", "科长", "副科长", "主管", "班组长", "职员",
                  "技术员", "工程师", "会计", "出纳", "文员", "操作工", "质检员", "销售代表", "采购员", "保管员",
                  "司机", "厨师", "保安"}},
        {"行政级别", {"正处级", "副处级", "正科级", "副科级", "科员", "办事员", "无"}},
        {"岗位工种", {"管理岗", "专业技术岗", "生产操作岗", "销售岗", "后勤服务岗", "车工", "钳工", "铣工", "焊工",
                      "电工", "装配工", "叉车工"}},
        {"职称", {"高级工程师", "工程师", "助理工程师", "技术员", "高级会计师", "会计师", "助理会计师", "高级经济师",
                  "经济师", "助理经济师", "高级技师", "技师", "无"}},
        {"在职状况", {"在职", "试用期", "离职", "退休", "停薪留职"}},
        {"政治面貌", {"中共党员", "中共预备党员", "共青团员", "民主党派", "群众"}},
        {"用工形式", {"合同制", "劳务派遣", "临时工", "退休返聘", "实习"}},
        {"籍贯", places()},
        {"民族", {"汉族", "回族", "满族", "壮族", "蒙古族", "土家族", "苗族", "维吾尔族", "朝鲜族", "彝族"}},
        {"婚姻状况", {"未婚", "已婚", "离异", "丧偶"}},
        {"血型", {"A型", "B型", "O型", "AB型"}},
        {"身体状况", {"健康", "良好", "一般"}},
        {"学历", {"博士研究生", "硕士研究生", "大学本科", "大学专科", "中专", "高中", "初中"}},
        {"外语语种", {"英语", "日语", "俄语", "德语", "法语"}},
        {"外语水平", {"大学英语四级", "大学英语六级", "英语专业八级", "公共英语三级", "日语能力二级", "熟练", "一般"}},
        {"电脑水平", {"全国计算机等级一级", "全国计算机等级二级", "全国计算机等级三级", "熟练", "一般"}},
        {"第二学历", {"大学本科", "硕士研究生", "第二学士学位"}},
        {"第二专业", {"工商管理", "法学", "会计学", "软件工程", "人力资源管理"}},
        {"专业", allMajors()},
        {"合同类别", {"固定期限劳动合同", "无固定期限劳动合同", "以完成一定工作任务为期限的劳动合同", "劳务派遣协议",
                      "实习协议"}},
        {"来源", {"社会招聘", "校园招聘", "内部推荐", "人才交流中心", "军队转业", "劳务派遣"}},
        {"部门", {"办公室", "人事科", "财务科", "生产科", "技术科", "销售科", "质检科", "后勤科"}},
        {"与本人关系", {"父亲", "母亲", "配偶", "儿子", "女儿", "兄弟", "姐妹"}},
        {"证照类型", {"学历证书", "学位证书", "职业资格证书", "专业技术资格证书", "特种作业操作证", "机动车驾驶证"}},
        {"证照名称", {"毕业证书", "学士学位证书", "会计专业技术资格证书", "电工特种作业操作证", "焊工特种作业操作证",
                      "叉车司机证", "机动车驾驶证", "人力资源管理师证书", "注册安全工程师证书"}},
        {"调动类型", {"内部调动", "晋升", "降职", "借调", "调入", "调出"}},
        {"奖或惩", {"奖励", "惩罚"}},
        {"奖惩级别", {"公司级", "部门级", "区级", "市级", "省级"}},
        {"奖惩原因", {"工作业绩突出", "技术革新", "安全生产无事故", "合理化建议被采纳", "违反劳动纪律",
                      "违反安全操作规程", "旷工", "产品质量事故"}},
        {"批准部门", {"总经理办公室", "人力资源部", "工会", "生产制造部", "安全保卫科"}},
        {"工资等级", salaryGrades()},
        {"评定职称", {"高级工程师", "工程师", "助理工程师", "高级会计师", "会计师", "助理会计师", "高级经济师",
                      "经济师", "助理经济师", "高级技师", "技师"}},
        {"取得方式", {"评审", "考试", "考核认定", "以考代评"}},
        {"聘用专业技术职务", {"高级工程师", "工程师", "助理工程师", "会计师", "助理会计师", "经济师", "技师"}},
        {"职称英语", {"A级", "B级", "C级", "免试"}},
        {"职称计算机", {"合格（4个模块）", "合格（3个模块）", "免试"}},
        {"聘用单位", {"南京宏远机械制造有限公司", "宏远机械（苏州）分公司"}},
        {"考评级别", {"公司级", "部门级", "班组级"}},
        {"考评等级", {"优秀", "良好", "合格", "基本合格", "不合格"}},
    };
    return lists;
}

const Words& SampleWords::list(const std::string& key)
{
    static const std::map<std::string, const Words*> byKey = [] {
        std::map<std::string, const Words*> m;
        for (const auto& [k, words] : dictionary()) m[k] = &words;
        return m;
    }();
    const auto it = byKey.find(key);
    if (it == byKey.end()) throw std::logic_error("sample data: no list " + key);
    return *it->second;
}

const std::vector<SampleWords::Surname>& SampleWords::surnames()
{
    static const std::vector<Surname> names = {
        {"王", "wang"}, {"李", "li"},    {"张", "zhang"}, {"刘", "liu"},  {"陈", "chen"},  {"杨", "yang"},
        {"黄", "huang"}, {"赵", "zhao"}, {"吴", "wu"},    {"周", "zhou"}, {"徐", "xu"},    {"孙", "sun"},
        {"马", "ma"},   {"朱", "zhu"},   {"胡", "hu"},    {"郭", "guo"},  {"何", "he"},    {"高", "gao"},
        {"林", "lin"},  {"罗", "luo"},   {"郑", "zheng"}, {"梁", "liang"}, {"谢", "xie"},  {"宋", "song"},
        {"唐", "tang"}, {"许", "xu"},    {"韩", "han"},   {"冯", "feng"}, {"邓", "deng"},  {"曹", "cao"},
        {"彭", "peng"}, {"曾", "zeng"},  {"肖", "xiao"},  {"田", "tian"}, {"董", "dong"},  {"袁", "yuan"},
        {"潘", "pan"},  {"蒋", "jiang"}, {"蔡", "cai"},   {"余", "yu"},   {"杜", "du"},    {"叶", "ye"},
        {"程", "cheng"}, {"苏", "su"},   {"魏", "wei"},   {"吕", "lv"},   {"丁", "ding"},  {"沈", "shen"},
        {"姚", "yao"},  {"卢", "lu"},    {"钟", "zhong"}, {"陆", "lu"},   {"汪", "wang"},  {"范", "fan"},
        {"金", "jin"},  {"石", "shi"},   {"夏", "xia"},   {"方", "fang"}, {"孟", "meng"},  {"秦", "qin"},
        {"欧阳", "ouyang"}, {"司马", "sima"}, {"诸葛", "zhuge"},
    };
    return names;
}

const std::string& SampleWords::givenChars(bool male)
{
    static const std::string men = "伟强磊军勇杰涛明超刚平辉鹏华飞鑫波斌宇浩凯健俊帆帅旭宁龙林阳晨毅峰建国志东海";
    static const std::string women = "芳娜敏静丽艳娟霞秀燕玲桂丹萍红琳颖雪慧婷倩洁莉晶薇梅琴蓉月佳欣怡悦璐瑶雯";
    return male ? men : women;
}

const std::vector<SampleWords::City>& SampleWords::cities()
{
    static const std::vector<City> all = {
        {"江苏", "南京", "025", "210000", "320106", {"玄武区", "秦淮区", "鼓楼区", "建邺区", "栖霞区", "江宁区"}},
        {"江苏", "苏州", "0512", "215000", "320508", {"姑苏区", "吴中区", "相城区", "虎丘区"}},
        {"江苏", "扬州", "0514", "225000", "321002", {"广陵区", "邗江区", "江都区"}},
        {"浙江", "杭州", "0571", "310000", "330106", {"上城区", "拱墅区", "西湖区", "滨江区"}},
        {"上海", "上海", "021", "200000", "310104", {"黄浦区", "徐汇区", "长宁区", "浦东新区"}},
        {"北京", "北京", "010", "100000", "110105", {"东城区", "西城区", "朝阳区", "海淀区"}},
        {"安徽", "合肥", "0551", "230000", "340104", {"瑶海区", "庐阳区", "蜀山区", "包河区"}},
        {"山东", "济南", "0531", "250000", "370102", {"历下区", "市中区", "槐荫区", "天桥区"}},
        {"河南", "郑州", "0371", "450000", "410105", {"中原区", "二七区", "金水区", "管城回族区"}},
        {"湖北", "武汉", "027", "430000", "420106", {"江岸区", "江汉区", "武昌区", "洪山区"}},
        {"四川", "成都", "028", "610000", "510107", {"锦江区", "青羊区", "金牛区", "武侯区"}},
        {"湖南", "长沙", "0731", "410000", "430103", {"芙蓉区", "天心区", "岳麓区", "开福区"}},
    };
    return all;
}

const Words& SampleWords::roads()
{
    static const Words w = {"中山路", "解放路", "人民路", "建设路", "长江路", "和平路", "新华路", "文化路",
                            "北京东路", "胜利路", "青年路", "友谊路", "龙蟠路", "汉中路"};
    return w;
}

const Words& SampleWords::estates()
{
    static const Words w = {"阳光花园", "锦绣华庭", "金色家园", "翠苑小区", "幸福里", "和平新村", "天润城",
                            "绿地世纪城", "银城东苑", "月牙湖花园"};
    return w;
}

const std::vector<Words>& SampleWords::departmentPaths()
{
    static const std::vector<Words> paths = buildPaths();
    return paths;
}

const Words& SampleWords::postsOf(const std::string& firstLevel)
{
    static const std::map<std::string, Words> posts = {
        {"总经理办公室", {"总经理", "副总经理", "主管", "职员", "文员"}},
        {"人力资源部", {"部门经理", "科长", "主管", "职员"}},
        {"财务部", {"部门经理", "科长", "会计", "出纳"}},
        {"生产制造部", {"部门经理", "科长", "班组长", "操作工", "技术员"}},
        {"技术研发中心", {"总工程师", "部门经理", "工程师", "技术员"}},
        {"质量管理部", {"部门经理", "科长", "质检员", "技术员"}},
        {"市场营销部", {"部门经理", "部门副经理", "销售代表", "职员"}},
        {"采购供应部", {"部门经理", "科长", "采购员", "保管员"}},
        {"行政后勤部", {"部门经理", "科长", "司机", "厨师", "保安", "文员"}},
    };
    return posts.at(firstLevel);
}

const Words& SampleWords::tradesOf(const std::string& firstLevel)
{
    static const Words office = {"管理岗", "专业技术岗"};
    static const Words production = {"生产操作岗", "车工", "钳工", "铣工", "焊工", "电工", "装配工", "叉车工"};
    static const Words sales = {"销售岗", "管理岗"};
    static const Words services = {"后勤服务岗", "管理岗", "电工"};
    if (firstLevel == "生产制造部" || firstLevel == "质量管理部") return production;
    if (firstLevel == "市场营销部") return sales;
    if (firstLevel == "行政后勤部" || firstLevel == "采购供应部") return services;
    return office;
}

const Words& SampleWords::schoolsFor(const std::string& education)
{
    static const Words graduate = {"南京大学", "东南大学", "浙江大学", "上海交通大学", "同济大学", "武汉大学",
                                   "华中科技大学", "南京理工大学"};
    static const Words undergraduate = {"南京航空航天大学", "河海大学", "苏州大学", "南京财经大学", "江苏大学",
                                        "合肥工业大学", "山东大学", "四川大学", "湖南大学", "南京工程学院"};
    static const Words college = {"南京工业职业技术学院", "江苏经贸职业技术学院", "南京信息职业技术学院",
                                  "金陵科技学院", "常州机电职业技术学院"};
    static const Words secondary = {"南京高等职业技术学校", "南京市莫愁中等专业学校", "苏州高级工业学校"};
    static const Words high = {"南京市第一中学", "南京市第十三中学", "江苏省溧水高级中学", "苏州市第三中学",
                               "合肥市第八中学"};
    static const Words junior = {"南京市第二十九中学", "溧水区东屏中学", "扬州市梅岭中学"};
    if (education == "博士研究生" || education == "硕士研究生") return graduate;
    if (education == "大学本科" || education == "第二学士学位") return undergraduate;
    if (education == "大学专科") return college;
    if (education == "中专") return secondary;
    if (education == "高中") return high;
    return junior;
}

const Words& SampleWords::majorsFor(const std::string& education)
{
    static const Words none;
    if (education == "大学专科") return kCollegeMajors;
    if (education == "中专") return kSecondaryMajors;
    if (education == "高中" || education == "初中") return none;
    return kGraduateMajors;
}

const std::vector<SampleWords::Bank>& SampleWords::banks()
{
    static const std::vector<Bank> all = {
        {"中国工商银行", "622202"}, {"中国农业银行", "622848"}, {"中国银行", "621661"},
        {"中国建设银行", "621700"}, {"交通银行", "622262"},     {"招商银行", "621483"},
    };
    return all;
}

const Words& SampleWords::payrollSets()
{
    static const Words w = {"管理人员工资", "生产人员工资", "销售人员工资", "临时人员工资"};
    return w;
}

const Words& SampleWords::salaryGrades()
{
    static const Words w = {"一级", "二级", "三级", "四级", "五级", "六级", "七级", "八级", "九级", "十级"};
    return w;
}

const Words& SampleWords::salaryItems()
{
    static const Words w = {"基本工资", "岗位工资", "薪级工资", "绩效工资", "工龄工资", "交通补贴", "通讯补贴",
                            "午餐补贴", "加班工资", "养老保险", "医疗保险", "失业保险", "住房公积金", "个人所得税",
                            "实发工资"};
    return w;
}

const Words& SampleWords::companies()
{
    static const Words w = {"南京长江机械厂", "苏州新区电子有限公司", "江苏华信物流有限公司", "南京金陵建筑工程公司",
                            "杭州天成纺织有限公司", "上海宏达贸易有限公司", "合肥江淮汽车配件厂", "南京市第一医院",
                            "南京市鼓楼区教育局", "扬州市邗江区人民政府", "个体经营", "南京市玄武区实验小学"};
    return w;
}

const Words& SampleWords::hobbies()
{
    static const Words w = {"读书", "旅游", "音乐", "篮球", "羽毛球", "乒乓球", "钓鱼", "书法", "摄影", "跑步",
                            "游泳", "象棋"};
    return w;
}

const Words& SampleWords::skills()
{
    static const Words w = {"公文写作", "英语口语", "数控编程", "CAD制图", "驾驶", "财务分析", "设备维修",
                            "演讲主持", "办公软件", "焊接", "PLC编程"};
    return w;
}

const Words& SampleWords::remarks()
{
    static const Words w = {"已签订保密协议", "在职攻读硕士学位", "外派华东销售处", "工伤复岗", "退伍军人",
                            "优秀共产党员", "技术骨干", "新员工，试用期三个月"};
    return w;
}

}  // namespace rsgz::sample
