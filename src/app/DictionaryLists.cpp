#include "app/DictionaryLists.h"

#include "app/Interaction.h"
#include "app/TDM.h"

namespace rsgz::app {

namespace {

// Fields whose key is their own column.
std::vector<DictionaryField> own(const std::string& dataSet, std::initializer_list<const char*> columns)
{
    std::vector<DictionaryField> fields;
    for (const char* c : columns) fields.push_back({c, c, dataSet});
    return fields;
}

std::vector<DictionaryField> transferFields(const std::string& dataSet)
{
    return {{"调动类型", "调动类型", dataSet}, {"调动后职务", "职务", dataSet}};
}

std::vector<PickerMembers> makeMembers()
{
    const auto rewards = [](const char* caption, const char* cls, std::vector<std::string> dates) {
        return PickerMembers{caption, cls, "jcqk", own("jcqk", {"奖或惩", "奖惩级别", "奖惩原因", "批准部门"}), std::move(dates)};
    };
    return {
        {"员工信息", "Trszlw", "rszl",
         own("rszl", {"性别", "职务", "行政级别", "岗位工种", "职称", "在职状况", "政治面貌", "用工形式", "籍贯", "民族",
                      "婚姻状况", "血型", "身体状况", "学历", "外语语种", "外语水平", "电脑水平", "第二学历", "第二专业",
                      "专业", "合同类别", "来源"}),
         {"出生年月", "入党日期", "入工会日期", "入团日期", "毕业日期", "二专毕业日期", "入职日期", "离职日期", "合同签订",
          "合同到期", "转正日期", "参加工作", "退休日期"},
         true},
        {"个人简历编辑", "Tunit_grjlw", "grjl", own("grjl", {"部门", "职务"}), {"起始日期", "结束日期"}},
        {"社会关系", "Tunit_shgxw", "shgx", own("shgx", {"与本人关系", "政治面貌", "部门", "职务"}), {}},
        {"证照记录", "Tunit_zzlbw", "zzlb", own("zzlb", {"证照名称", "证照类型"}), {"取得日期", "失效日期"}},
        {"调动记录", "Tunit_ddjlw", "ddjl", transferFields("ddjl"), {"调动日期"}, true},
        rewards("奖惩情况", "Tunit_jcqkw", {}),
        {"工资变更", "Tunit_gzbgw", "gzjs", own("gzjs", {"工资等级"}), {"晋升日期"}},
        {"物品领用", "Tunit_wplyw", "wply", {}, {"领用日期", "归还日期"}},
        {"职称评定管理", "Tzcpdw", "zcpd",
         own("zcpd", {"评定职称", "取得方式", "聘用专业技术职务", "职称英语", "职称计算机", "聘用单位"}),
         {"取得日期", "聘用起始日", "聘用结束日", "职称英语取得日期", "职称计算机取得日期"}},
        {"调动数据管理", "Tddglw", "ddjl1", transferFields("ddjl1"), {"调动日期"}, true},
        rewards("奖惩数据管理", "Tjcglw", {"奖惩日期", "撤销日期"}),
        {"考评情况管理", "Tkpqk_Editw", "kpxm", {{"考评级别", "考评级别", "kpxm"}, {"考评等级", "考评等级", "kpjl"}}, {}},
    };
}

}  // namespace

const std::vector<PickerMembers>& pickerMembers()
{
    static const std::vector<PickerMembers> members = makeMembers();
    return members;
}

const PickerMembers* pickerMembersOf(const std::string& caption)
{
    for (const PickerMembers& m : pickerMembers())
        if (m.caption == caption) return &m;
    return nullptr;
}

db::SqlLines dictionarySql(const std::string& key)
{
    return {"Select * from 数据字典", "where 字段名称 = " + db::sqlQuote(key)};
}

void openDictionary(app::TDM& dm, const std::string& key)
{
    dm.zidian.close();
    dm.zidian.setSql(dictionarySql(key));
    dm.zidian.open();
}

std::vector<std::string> dictionaryList(app::TDM& dm, const std::string& key)
{
    openDictionary(dm, key);
    db::DataSet& q = dm.zidian;
    const int content = q.fieldIndex("字典内容");
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(q.rowCount()));
    for (int row = 0; row < q.rowCount(); ++row) texts.push_back(q.rowValue(row, content).toString());
    q.close();
    return texts;
}

std::vector<std::vector<std::string>> fillDictionaryLists(app::TDM& dm, const std::vector<DictionaryField>& fields)
{
    std::vector<std::vector<std::string>> lists;
    lists.reserve(fields.size());
    for (const DictionaryField& f : fields) lists.push_back(dictionaryList(dm, f.key));
    return lists;
}

void pickDictionary(app::TDM& dm, const std::string& key)
{
    openDictionary(dm, key);
    dm.CurrentDictionaryKey = key;
    app::interaction().openWindow(app::WindowId::Dictionary);
}

}  // namespace rsgz::app
