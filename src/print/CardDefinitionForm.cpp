#include "print/CardDefinitionForm.h"

#include "app/TDM.h"
#include "db/Schema.h"
#include "print/CardPrinting.h"

namespace rsgz::print {

namespace {
// The columns of a list, or of its table while the list is closed.
std::vector<std::string> columnsOf(const db::DataSet& ds, const char* table)
{
    if (ds.active()) return ds.fieldNames();
    std::vector<std::string> names;
    if (const db::TableDef* t = db::findTable(table))
        for (const db::ColumnDef& c : t->columns) names.push_back(c.name);
    return names;
}
}  // namespace

CardDefinitionForm::CardDefinitionForm(app::TDM& dm, CardDefinition& def) : dm_(dm), def_(def) {}

CardDefinition::Group CardDefinitionForm::cardGroup() const
{
    switch (group_) {
    case Group::Employee: return CardDefinition::Group::Employee;
    case Group::Company: return CardDefinition::Group::Company;
    default: return CardDefinition::Group::Other;
    }
}

void CardDefinitionForm::chooseGroup(Group g)
{
    group_ = g;
    selected_ = -1;
    fields_.clear();
    chosen_.clear();
    if (g == Group::None) return;
    if (g == Group::Employee) fields_ = columnsOf(dm_.rszl, "员工基本情况");
    if (g == Group::Company) fields_ = columnsOf(dm_.gs_data, "公司数据");
    chosen_ = def_.items(cardGroup());
}

void CardDefinitionForm::select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(chosen_.size()) ? index : -1;
}

void CardDefinitionForm::store()
{
    if (group_ != Group::None) def_.setItems(cardGroup(), chosen_);
}

bool CardDefinitionForm::full(size_t count)
{
    if (count <= static_cast<size_t>(CardDefinition::kMaxItems)) return false;
    dm_.ShowMessage_jd("每一类最多只能选择100项！");
    return true;
}

void CardDefinitionForm::add(int fieldIndex)
{
    if (group_ == Group::None || fieldIndex < 0 || fieldIndex >= static_cast<int>(fields_.size())) return;
    if (full(chosen_.size() + 1)) return;
    chosen_.push_back(fields_[static_cast<size_t>(fieldIndex)]);
    store();
}

void CardDefinitionForm::remove()
{
    if (selected_ < 0) return dm_.ShowMessage_jd(kSelectFirst);
    chosen_.erase(chosen_.begin() + selected_);
    select(std::min(selected_, static_cast<int>(chosen_.size()) - 1));
    store();
}

void CardDefinitionForm::removeAll()
{
    chosen_.clear();
    selected_ = -1;
    store();
}

void CardDefinitionForm::moveUp()
{
    if (selected_ <= 0) return dm_.ShowMessage_jd("无法移动！");
    std::swap(chosen_[static_cast<size_t>(selected_)], chosen_[static_cast<size_t>(selected_ - 1)]);
    --selected_;
    store();
}

void CardDefinitionForm::moveDown()
{
    if (selected_ < 0) return dm_.ShowMessage_jd(kSelectFirst);
    if (selected_ + 1 >= static_cast<int>(chosen_.size())) return;
    std::swap(chosen_[static_cast<size_t>(selected_)], chosen_[static_cast<size_t>(selected_ + 1)]);
    ++selected_;
    store();
}

void CardDefinitionForm::save()
{
    store();
    saveCardDefinition(dm_);
}

void CardDefinitionForm::enterOther(const std::string& text)
{
    if (group_ != Group::Other || text.empty() || full(chosen_.size() + 1)) return;
    chosen_.push_back(text);
    store();
}

void CardDefinitionForm::copyToOther()
{
    if ((group_ != Group::Employee && group_ != Group::Company) || chosen_.empty()) return;
    std::vector<std::string> other = def_.items(CardDefinition::Group::Other);
    if (full(other.size() + chosen_.size())) return;
    other.insert(other.end(), chosen_.begin(), chosen_.end());
    def_.setItems(CardDefinition::Group::Other, other);
}

CardDefinition::Font CardDefinitionForm::font() const
{
    switch (group_) {
    case Group::Employee: return cardFont(def_, CardDefinition::kEmployeeFont);
    case Group::Company: return cardFont(def_, CardDefinition::kCompanyFont);
    case Group::Other:
        if (selected_ >= 0) return cardFont(def_, CardDefinition::fontSlot(CardDefinition::Group::Other, selected_ + 1));
        break;
    case Group::None: break;
    }
    return {"宋体", 9};
}

void CardDefinitionForm::setFont(const CardDefinition::Font& f)
{
    if (group_ == Group::Employee) def_.setFont(CardDefinition::kEmployeeFont, f);
    if (group_ == Group::Company) def_.setFont(CardDefinition::kCompanyFont, f);
    if (group_ == Group::Other && selected_ >= 0)
        def_.setFont(CardDefinition::fontSlot(CardDefinition::Group::Other, selected_ + 1), f);
}

void CardDefinitionForm::setOtherFontForAll(const CardDefinition::Font& f)
{
    if (group_ != Group::Other) return;
    const int n = static_cast<int>(def_.items(CardDefinition::Group::Other).size());
    for (int i = 1; i <= n; ++i) def_.setFont(CardDefinition::fontSlot(CardDefinition::Group::Other, i), f);
}

void CardDefinitionForm::choosePaper(const std::string& name)
{
    def_.setPaperName(name);
    int width = 0, height = 0;
    if (CardFile(dm_.programDir()).paperSize(name, width, height)) def_.setPaperSize(width, height);
}

}  // namespace rsgz::print
