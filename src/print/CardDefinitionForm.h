#pragma once
#include <string>
#include <vector>

#include "print/CardDefinition.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::print {

// What the definition window of the record card does. A group is chosen (employee data, company
// data, other content); its chosen list is the group's items of the definition, and every change
// of the list is stored into the definition at once. Positions and fonts stay with their slot
// numbers, so an item moved up takes over the position of its new slot.
class CardDefinitionForm {
public:
    enum class Group { None, Employee, Company, Other };
    static constexpr const char* kSelectFirst = "请在右边的列表中选择一个字段！";

    CardDefinitionForm(app::TDM& dm, CardDefinition& def);

    Group group() const { return group_; }
    void chooseGroup(Group g);
    const std::vector<std::string>& fieldList() const { return fields_; }
    const std::vector<std::string>& chosen() const { return chosen_; }
    int selected() const { return selected_; }
    void select(int index);  // -1: none

    // The list operations of the window.
    void add(int fieldIndex);
    void remove();
    void removeAll();
    void moveUp();
    void moveDown();
    void save();
    // The entry box: a non-empty text becomes another item of other content.
    void enterOther(const std::string& text);
    // Every chosen column name appended to other content, after what is there.
    void copyToOther();

    // The font boxes: the group's font (other content: the selected item's font).
    CardDefinition::Font font() const;
    void setFont(const CardDefinition::Font& f);
    void setOtherFontForAll(const CardDefinition::Font& f);

    // The paper box: the name is stored, and its paper size file, when there is one, gives the size.
    void choosePaper(const std::string& name);

    CardDefinition& definition() { return def_; }

private:
    CardDefinition::Group cardGroup() const;
    void store();
    bool full(size_t count);

    app::TDM& dm_;
    CardDefinition& def_;
    Group group_ = Group::None;
    std::vector<std::string> fields_, chosen_;
    int selected_ = -1;
};

}  // namespace rsgz::print
