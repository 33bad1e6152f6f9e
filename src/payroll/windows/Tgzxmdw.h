#pragma once
#include "widgets/ActivatedDialog.h"

#include "payroll/GradeValuesForm.h"

namespace rsgz::widgets {
class DataSetModel;
}

namespace rsgz::payroll {

// The window 工资项目及初始值设置: item names, grades and each grade's default amounts side by
// side. Behaviour: GradeValuesForm.
class Tgzxmdw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Tgzxmdw(app::TDM& dm, QWidget* parent = nullptr);

protected:
    void activateOnce() override;

private:
    QWidget* column(const QString& caption, db::DataSet& ds, const QStringList& fields, const char* name);
    GradeValuesForm form_;
    app::TDM& dm_;
};

// The bracket window 所得税设置. Behaviour: TaxBracketForm.
class Tsdsw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Tsdsw(app::TDM& dm, QWidget* parent = nullptr);

protected:
    void activateOnce() override;

private:
    TaxBracketForm form_;
};

}  // namespace rsgz::payroll
