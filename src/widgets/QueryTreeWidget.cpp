#include "widgets/QueryTreeWidget.h"

#include <QTreeWidget>

#include "query/QueryTree.h"

namespace rsgz::widgets {

namespace {
constexpr int kNodeRole = Qt::UserRole + 1;
}

void fillQueryTree(QTreeWidget* widget, const query::QueryTree& tree, bool editable)
{
    QSignalBlocker block(widget);
    widget->setUpdatesEnabled(false);
    widget->clear();
    // Items are made detached and handed over at once: far quicker for large trees than adding
    // each to a shown tree.
    std::vector<QTreeWidgetItem*> items(static_cast<size_t>(tree.size()), nullptr);
    QList<QTreeWidgetItem*> roots;
    for (int i = 0; i < tree.size(); ++i) {
        const query::QueryTree::Node& n = tree.node(i);
        auto* item = n.parent < 0 ? new QTreeWidgetItem() : new QTreeWidgetItem(items[static_cast<size_t>(n.parent)]);
        item->setText(0, QString::fromStdString(n.text));
        item->setData(0, kNodeRole, i);
        if (editable) item->setFlags(item->flags() | Qt::ItemIsEditable);
        items[static_cast<size_t>(i)] = item;
        if (n.parent < 0) roots.append(item);
    }
    widget->addTopLevelItems(roots);
    widget->setUpdatesEnabled(true);
}

int nodeOf(const QTreeWidgetItem* item)
{
    if (!item) return -1;
    const QVariant v = item->data(0, kNodeRole);
    return v.isValid() ? v.toInt() : -1;
}

}  // namespace rsgz::widgets
