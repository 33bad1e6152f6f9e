#include "admin/CompanyForm.h"
#include "app/Module.h"

#include "app/Company.h"
#include "app/Interaction.h"
#include "app/TDM.h"

namespace rsgz::admin {

const std::vector<std::string>& companyFields()
{
    static const std::vector<std::string> fields = {
        "单位名称", "地址", "邮政编码", "法人代表", "电话", "传真", "网址", "Email", "开户行", "银行账号", "税号", "联系人",
    };
    return fields;
}

void enterCompanyWindow(app::TDM& dm, const std::function<void()>& frameSteps)
{
    dm.CurrentModule = app::moduleNumber(app::Module::None);
    if (frameSteps) frameSteps();
}

CompanyForm::CompanyForm(app::TDM& dm) : values(companyFields().size()), dm_(dm)
{
    // Always the stored row: whatever an earlier visit typed and did not save is gone.
    app::runAction([this] {
        app::open_gongsi_data(dm_);
        load();
    });
}

void CompanyForm::load()
{
    const db::DataSet& gs = dm_.gs_data;
    const std::vector<std::string>& fields = companyFields();
    for (size_t i = 0; i < fields.size(); ++i)
        values[i] = gs.currentRow() < 0 ? std::string() : gs.asString(fields[i]);
}

int CompanyForm::maxLength(int field) const
{
    const db::DataSet& gs = dm_.gs_data;
    if (!gs.active() || field < 0 || field >= static_cast<int>(values.size())) return 0;
    const int index = gs.fieldIndex(companyFields()[static_cast<size_t>(field)]);
    return index < 0 ? 0 : gs.field(index).size;
}

int CompanyForm::nextField(int field) const
{
    return field + 1 < static_cast<int>(values.size()) ? field + 1 : field;
}

bool CompanyForm::save()
{
    return app::runAction([this] {
        db::DataSet& gs = dm_.gs_data;
        gs.edit();
        const std::vector<std::string>& fields = companyFields();
        for (size_t i = 0; i < fields.size(); ++i) {
            // Untouched fields keep what they hold, an empty column included.
            if (gs.asString(fields[i]) != values[i]) gs.setValue(fields[i], values[i]);
        }
        gs.post();
        load();
    });
}

void CompanyForm::close()
{
    db::DataSet& gs = dm_.gs_data;
    if (gs.isEditing()) app::runAction([&gs] { gs.cancel(); });
    closed = true;
}

}  // namespace rsgz::admin
