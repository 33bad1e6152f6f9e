#pragma once
#include <QDialog>

#include "admin/Migration.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace rsgz::admin {

// The window 数据库迁移: the direction, the database file, the server's settings and, after a
// run, every table with its row counts and checksums on both sides. Its behaviour is Migration's;
// this class only binds the controls.
class Tsjqyw : public QDialog {
    Q_OBJECT
public:
    explicit Tsjqyw(app::TDM& dm, QWidget* parent = nullptr);
    Migration& migration() { return migration_; }

private:
    QWidget* buildDirection();
    QWidget* buildFile();
    QWidget* buildServer();
    QWidget* buildButtons();
    void takeBoxes();
    void showDirection();
    void chooseFile();
    void start();
    void showChecks();

    Migration migration_;
    QRadioButton* toServer_;
    QRadioButton* toFile_;
    QLabel* fileLabel_;
    QLineEdit* fileBox_;
    QLineEdit* hostBox_;
    QSpinBox* portBox_;
    QLineEdit* databaseBox_;
    QLineEdit* userBox_;
    QLineEdit* passwordBox_;
    QTableWidget* grid_;
    QLabel* summary_;
};

void openMigrationWindow(app::TDM& dm, QWidget* parent);

}  // namespace rsgz::admin
