#pragma once
#include <string>

#include "print/CardDefinition.h"
#include "print/CardPage.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::print {

// The record-card definition the program works with: read from baobiao/rszlbb.dat whenever the main
// window becomes active (unsaved changes are then dropped), written by 保存 and 刷新表格.
CardDefinition& currentCard();
// Reads the file into currentCard(). A damaged file is reported once (not at every activation)
// and the defaults are used until the file is saved again.
void readCardDefinition(app::TDM& dm);
// Writes currentCard() to the file; a failure reaches the standard error box. False then.
bool saveCardDefinition(app::TDM& dm);

// What the card window does: the employee list rszl (its current row is the card shown), the
// company row of gs_data, moving through the list and the print offset.
class CardPrinting {
public:
    enum class Move { First, Prior, Next, Last };
    explicit CardPrinting(app::TDM& dm);

    CardDefinition& definition() { return currentCard(); }
    // "current/count" of the employee list, as the position box shows it.
    std::string positionText() const;
    void move(Move m);
    // Rows of the list; moving to one makes it the card shown (print all goes through them).
    int rowCount() const;
    void showRow(int row);

    CardValues values() const;
    // The employee's photograph file, empty when there is none.
    std::string photoPath() const;
    void setOffset(CardDefinition::Point offset) { definition().setOffset(offset); }
    bool save() { return saveCardDefinition(dm_); }

private:
    app::TDM& dm_;
};

}  // namespace rsgz::print
