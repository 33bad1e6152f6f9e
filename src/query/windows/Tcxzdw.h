#pragma once
#include <QDialog>

#include "query/QueryDefinition.h"

class QListWidget;

namespace rsgz::query {

// 查询字段定义窗口: the columns of a module's query tree, in level order. Only wires the controls;
// what they do is QueryDefinition's.
class Tcxzdw : public QDialog {
    Q_OBJECT
public:
    Tcxzdw(query::TreeQueries& trees, int module, QWidget* parent = nullptr);
    const query::QueryDefinition& definition() const { return def_; }

private:
    void addSelected();
    void showChosen(int selected);
    void run(int (query::QueryDefinition::*step)(int));

    query::QueryDefinition def_;
    QListWidget* chosen_ = nullptr;
    QListWidget* candidates_ = nullptr;
};

}  // namespace rsgz::query
