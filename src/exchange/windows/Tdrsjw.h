#pragma once
#include <QDialog>
#include <memory>
#include <vector>

#include "exchange/ImportSession.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTableView;
class QGridLayout;
class QWidget;

namespace rsgz::exchange {

class SourceTableModel;

// The import windows 导入ACCESS数据文件 and 导入Excel数据文件. Behaviour: ImportSession.
class Tdrsjw : public QDialog {
    Q_OBJECT
public:
    Tdrsjw(app::TDM& dm, std::unique_ptr<SourceFile> file, ImportSession::Kind kind, QWidget* parent = nullptr);
    ~Tdrsjw() override;
    ImportSession& session() { return session_; }

    void chooseTable(int row);  // as a click in the list of tables
    void importRows();          // 导入数据

private:
    QWidget* makeItemsBox();
    QWidget* makeTablesBox();
    QWidget* makePreviewBox();
    QWidget* makeMappingBox();
    void rebuildMapping();
    void showProgress(const std::string& text);

    ImportSession session_;
    QListWidget* tables_ = nullptr;
    QTableView* preview_ = nullptr;
    SourceTableModel* model_ = nullptr;
    QLabel* count_ = nullptr;
    QWidget* mapping_ = nullptr;
    QGridLayout* mappingGrid_ = nullptr;
    std::vector<QLineEdit*> boxes_;
    QLabel* progress_ = nullptr;
};

}  // namespace rsgz::exchange
