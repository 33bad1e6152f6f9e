#include "app/BrowseButtons.h"

namespace rsgz::app {

BrowseState browseState(const db::DataSet* ds)
{
    if (!ds || !ds->active() || ds->rowCount() == 0) return {};
    const int row = ds->currentRow();
    const int lastRow = ds->rowCount() - 1;
    if (row < 0) return {true, false, false, true};
    return {row > 0, row > 0, row < lastRow, row < lastRow};
}

BrowseButtons::BrowseButtons(std::function<void(const BrowseState&)> onChange) : onChange_(std::move(onChange)) {}

BrowseButtons::~BrowseButtons()
{
    if (ds_) ds_->removeListener(this);
}

void BrowseButtons::follow(db::DataSet* ds)
{
    if (ds_) ds_->removeListener(this);
    ds_ = ds;
    if (ds_) ds_->addListener(this);
    state_ = browseState(ds_);
    if (onChange_) onChange_(state_);
}

void BrowseButtons::update()
{
    const BrowseState now = browseState(ds_);
    if (now == state_) return;
    state_ = now;
    if (onChange_) onChange_(state_);
}

}  // namespace rsgz::app
