// Rules of the dictionary lists and of the operator list.
#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"

namespace rsgz::app::rules {
using namespace rsgz::db;

namespace {

void bindDictionaryKeyPreset(TDM& dm, DataSet& ds)
{
    ds.rules().afterInsert = [&dm](DataSet& d) { d.setValue("字段名称", dm.CurrentDictionaryKey); };
}

// A new operator holds every right but the two that guard the certificate and salary-change pages.
void bindOperators(TDM& dm)
{
    DataSet& ds = dm.qxgl;
    ds.rules().afterInsert = [](DataSet& d) {
        for (int i = 0; i < d.fieldCount(); ++i) {
            const Field& f = d.field(i);
            if (f.type != FieldType::YesNo || f.calculated) continue;
            d.setValue(i, f.name != "证照列表" && f.name != "工资变更");
        }
    };
    bindDeleteQuestion(dm, ds, "删除当前权限管理记录吗?");
}

}  // namespace

void bindLookupRules(TDM& dm)
{
    bindDictionaryKeyPreset(dm, dm.zidian);
    bindDeleteQuestion(dm, dm.zidian, "删除当前字典数据吗?");
    bindDictionaryKeyPreset(dm, dm.jcsz);
    bindDeleteQuestion(dm, dm.jcsz, "删除当前设置数据吗?");
    bindOperators(dm);
}

}  // namespace rsgz::app::rules
