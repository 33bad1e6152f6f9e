#pragma once
#include <functional>

#include "db/DataSet.h"

namespace rsgz::app {

// Which of the four browse buttons (first, previous, next, last row) can move a list.
struct BrowseState {
    bool first = false, prior = false, next = false, last = false;
    bool operator==(const BrowseState&) const = default;
};

// First and previous are off on the first row, next and last on the last; all four are off on a
// closed or empty list.
BrowseState browseState(const db::DataSet* ds);

// Keeps the browse buttons of one list in step: follows the list and reports the state whenever
// it changes (open, close, moves, rows added or removed). Every window with browse buttons uses it.
class BrowseButtons : private db::DataSetListener {
public:
    explicit BrowseButtons(std::function<void(const BrowseState&)> onChange);
    ~BrowseButtons() override;
    BrowseButtons(const BrowseButtons&) = delete;
    BrowseButtons& operator=(const BrowseButtons&) = delete;

    // The list to follow; nullptr turns every button off. Reports the state at once.
    void follow(db::DataSet* ds);
    const BrowseState& state() const { return state_; }

private:
    void dataSetReset(db::DataSet&) override { update(); }
    void rowInserted(db::DataSet&, int) override { update(); }
    void rowRemoved(db::DataSet&, int) override { update(); }
    void currentChanged(db::DataSet&) override { update(); }
    void update();

    std::function<void(const BrowseState&)> onChange_;
    db::DataSet* ds_ = nullptr;
    BrowseState state_;
};

}  // namespace rsgz::app
