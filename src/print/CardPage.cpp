#include "print/CardPage.h"

#include <algorithm>
#include <cmath>

namespace rsgz::print {

namespace {

constexpr double kScreenPerMm = 3.78;

// [x]: to the nearest integer, halves to even.
int round(double v) { return static_cast<int>(std::nearbyint(v)); }

struct Transform {
    CardScale s;
    CardDefinition::Point offset;
    int layoutX(int v) const { return round((v + offset.x) / 10.0 * s.sx); }
    int layoutY(int v) const { return round((v + offset.y) / 10.0 * s.sy); }
    // Item positions are screen pixels; the small shift lines text up with the ruling as printed.
    int itemX(int p) const { return round((p / kScreenPerMm + offset.x / 10.0 - 0.6) * s.sx); }
    int itemY(int p) const { return round((p / kScreenPerMm + offset.y / 10.0 - 0.4) * s.sy); }
};

std::string valueOf(const std::map<std::string, std::string>& row, const std::string& column)
{
    const auto it = row.find(column);
    return it == row.end() ? std::string() : it->second;
}

}  // namespace

CardDefinition::Font cardFont(const CardDefinition& def, int slot)
{
    CardDefinition::Font f = def.font(slot);
    if (f.name.empty()) f.name = "宋体";
    if (f.size <= 0) f.size = 9;
    return f;
}

CardPage layoutCard(const CardDefinition& def, const CardValues& values, CardScale scale, CardMode mode)
{
    using Group = CardDefinition::Group;
    const Transform t{scale, def.offset()};
    CardPage page;
    const int left = t.layoutX(def.leftMargin()), right = t.layoutX(def.paperWidth() - def.rightMargin());
    const int top = t.layoutY(def.tableTop()), bottom = t.layoutY(def.paperHeight() - def.bottomMargin());
    page.frame = {left, top, right - left, bottom - top};
    page.framePen = round(0.6 * scale.sx);
    page.linePen = round(0.2 * scale.sx);
    for (bool horizontal : {true, false})
        for (const CardDefinition::Line& l : def.lines(horizontal))
            page.lines.push_back({t.layoutX(l.x1), t.layoutY(l.y1), t.layoutX(l.x2), t.layoutY(l.y2)});
    if (mode == CardMode::Placement) return page;

    auto place = [&](Group g, int item, std::string text, bool bold) {
        const CardDefinition::Point p = def.position(CardDefinition::positionSlot(g, item));
        page.texts.push_back({t.itemX(p.x), t.itemY(p.y), std::move(text), cardFont(def, CardDefinition::fontSlot(g, item)), bold});
    };
    if (mode == CardMode::Card) {
        const CardDefinition::Point p = def.position(CardDefinition::kPhotoSlot);
        page.photo = true;
        page.photoBox = {t.itemX(p.x), t.itemY(p.y), round(109 / kScreenPerMm * scale.sx), round(131 / kScreenPerMm * scale.sy)};
    }
    const std::vector<std::string> other = def.items(Group::Other);
    for (size_t i = 0; i < other.size(); ++i) place(Group::Other, static_cast<int>(i) + 1, other[i], false);
    if (mode == CardMode::Blank) return page;

    const std::vector<std::string> employee = def.items(Group::Employee);
    for (size_t i = 0; i < employee.size(); ++i)
        place(Group::Employee, static_cast<int>(i) + 1, valueOf(values.employee, employee[i]), true);
    const std::vector<std::string> company = def.items(Group::Company);
    for (size_t i = 0; i < company.size(); ++i)
        place(Group::Company, static_cast<int>(i) + 1, valueOf(values.company, company[i]), true);
    if (def.printResume()) {
        const CardDefinition::Point p = def.resumePosition();
        page.resume = true;
        page.resumeText = {t.itemX(p.x), t.itemY(p.y), values.resume, cardFont(def, CardDefinition::kEmployeeFont), true};
        const int width = std::max(def.resumeWidth(), CardDefinition::kResumeMinWidth);
        page.resumeWrapWidth = round(width / kScreenPerMm * scale.sx);
        page.resumeLineStep = 6 * scale.sy;
    }
    return page;
}

}  // namespace rsgz::print
