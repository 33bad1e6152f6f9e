#pragma once
#include "app/BrowseButtons.h"
#include "app/PendingRow.h"
#include "app/RecordEditor.h"
#include "app/RecordWindowTable.h"

namespace rsgz::personnel {

// What the transfer window 调动数据管理 does. It edits the transfer module's own list (ddjl1), so the
// module shows every change at once. A new row asks for the person through the list's insert rule;
// the window Tddglw is this class's behaviour under its table.
class TransferManagement : public app::RecordBehaviour {
public:
    explicit TransferManagement(app::TDM& dm);

    static const std::vector<app::EditorField>& fields();
    db::DataSet& dataSet() const override;
    bool mayChange() const;  // the right 调动管理

    // Opens the module's list when nothing has (it is normally open, on the double-clicked row).
    void activate() override;
    void add() override;
    void save() override;
    void remove() override;
    bool close() override;  // 返回 and the close box: a pending row settled; false: stay open
    // The picker buttons: personButton, handlerButton and approverButton.
    void act(const std::string& button) override;

    // 选择被调动人: the person and the before-state, the payroll set included, from the picked employee.
    void pickPerson();
    void pickHandler();   // 选择经办人 -> 经办人
    void pickApprover();  // 选择批准人 -> 批准人

    app::BrowseState browse;

private:
    bool pick(const char* caption);

    app::TDM& dm_;
    app::BrowseButtons buttons_;
    app::PendingRow pending_;
};

}  // namespace rsgz::personnel
