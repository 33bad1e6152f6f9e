#pragma once
#include <QWidget>
#include <memory>

#include "app/Navigation.h"

class QPushButton;
class QTableView;
class QTreeWidget;

namespace rsgz::payroll {
class PayrollSetsPage;
}

namespace rsgz::shell {

// The panel of 工资帐套管理: the query tree, the payroll sets and the items of the set last clicked,
// with their buttons. Behaviour: PayrollSetsPage.
class PayrollSetsPanel : public QWidget {
    Q_OBJECT
public:
    PayrollSetsPanel(app::Navigation& nav, app::TDM& dm, QWidget* parent = nullptr);
    ~PayrollSetsPanel() override;

    QTreeWidget* queryTree() const { return tree_; }
    QTableView* setGrid() const { return sets_; }
    QTableView* itemGrid() const { return items_; }
    payroll::PayrollSetsPage& page() { return *page_; }

    // Choosing the module: both lists afresh, buttons by the operator's rights.
    void opened();

private:
    QWidget* captioned(const QString& caption, QTableView* grid, const std::vector<QPushButton*>& buttons);
    QPushButton* button(const char* text, void (payroll::PayrollSetsPage::*action)());

    std::unique_ptr<payroll::PayrollSetsPage> page_;
    QTreeWidget* tree_ = nullptr;
    QTableView* sets_ = nullptr;
    QTableView* items_ = nullptr;
    QPushButton* addItem_ = nullptr;
    QPushButton* deleteItem_ = nullptr;
};

}  // namespace rsgz::shell
