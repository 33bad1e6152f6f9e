#include "print/CardPrinting.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/EmployeePhoto.h"

namespace rsgz::print {

namespace {
std::string lastDamage;

std::map<std::string, std::string> rowValues(const db::DataSet& ds)
{
    std::map<std::string, std::string> row;
    if (!ds.active() || ds.currentRow() < 0) return row;
    for (int i = 0; i < ds.fieldCount(); ++i) row[ds.field(i).name] = ds.asString(ds.field(i).name);
    return row;
}
}  // namespace

CardDefinition& currentCard()
{
    static CardDefinition def;
    return def;
}

void readCardDefinition(app::TDM& dm)
{
    const std::string damage = CardFile(dm.programDir()).read(currentCard());
    if (!damage.empty() && damage != lastDamage) dm.ShowMessage_jd(damage);
    lastDamage = damage;
}

bool saveCardDefinition(app::TDM& dm)
{
    const bool saved = app::runAction([&dm] { CardFile(dm.programDir()).save(currentCard()); });
    if (saved) lastDamage.clear();
    return saved;
}

CardPrinting::CardPrinting(app::TDM& dm) : dm_(dm) {}

std::string CardPrinting::positionText() const
{
    const db::DataSet& ds = dm_.rszl;
    if (!ds.active()) return "0/0";
    return std::to_string(std::max(ds.recNo(), 0)) + "/" + std::to_string(ds.recordCount());
}

void CardPrinting::move(Move m)
{
    db::DataSet& ds = dm_.rszl;
    if (!ds.active() || ds.isEmpty()) return;
    app::runAction([&] {
        switch (m) {
        case Move::First: ds.first(); break;
        case Move::Prior: ds.prior(); break;
        case Move::Next: ds.next(); break;
        case Move::Last: ds.last(); break;
        }
    });
}

int CardPrinting::rowCount() const { return dm_.rszl.active() ? dm_.rszl.recordCount() : 0; }

void CardPrinting::showRow(int row)
{
    app::runAction([&] { dm_.rszl.moveToRow(row); });
}

CardValues CardPrinting::values() const
{
    CardValues v;
    v.employee = rowValues(dm_.rszl);
    v.company = rowValues(dm_.gs_data);
    const auto resume = v.employee.find("个人简历");
    if (resume != v.employee.end()) v.resume = resume->second;
    return v;
}

std::string CardPrinting::photoPath() const { return app::photoToShow(dm_); }

}  // namespace rsgz::print
