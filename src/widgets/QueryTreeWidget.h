#pragma once
class QTreeWidget;
class QTreeWidgetItem;

namespace rsgz::query {
class QueryTree;
}

namespace rsgz::widgets {

// Shows a query tree in a tree widget: every item carries its node's position (nodeOf), roots
// start collapsed. Editable trees let the user rename a node in place (F2 or a second click).
void fillQueryTree(QTreeWidget* widget, const query::QueryTree& tree, bool editable);
int nodeOf(const QTreeWidgetItem* item);

}  // namespace rsgz::widgets
