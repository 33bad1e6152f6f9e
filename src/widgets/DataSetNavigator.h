#pragma once
class QHBoxLayout;
class QWidget;

namespace rsgz::db {
class DataSet;
}

namespace rsgz::widgets {

// The navigator of the small record windows: the label 前后浏览 and first/prior/next/last buttons
// over one dataset. Returns the row's layout so a window can add its own controls after it.
QHBoxLayout* makeDataSetNavigator(QWidget* parent, db::DataSet& ds);

}  // namespace rsgz::widgets
