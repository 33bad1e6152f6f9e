#pragma once
#include <QDialog>
#include <vector>

#include "query/CombinedQuery.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace rsgz::query {
class ModuleQueries;
}

namespace rsgz::query {

// The combined query windows (员工资料综合查询, 培训记录查询 …): a check box and a value box per
// offered column; 查询 narrows the page's list and the window stays open. Only wires the controls;
// CombinedQuery does the work.
class Tzhcxw : public QDialog {
    Q_OBJECT
public:
    Tzhcxw(app::TDM& dm, query::ModuleQueries& queries, int module, QWidget* parent = nullptr);

    const query::CombinedQuery& query() const { return query_; }
    // The text of each value box, in the boxes' order.
    std::vector<std::string> texts() const;

private:
    struct Row {
        QCheckBox* check = nullptr;
        QLineEdit* line = nullptr;   // a plain value box
        QComboBox* combo = nullptr;  // a drop-down value box
    };
    QWidget* buildBoxes();
    void valueEdited(size_t box);
    void runQuery();
    void clearAll();
    QString text(size_t box) const;

    query::CombinedQuery query_;
    std::vector<Row> rows_;
};

}  // namespace rsgz::query
