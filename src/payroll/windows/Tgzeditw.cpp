#include "payroll/windows/Tgzeditw.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DbError.h"
#include "payroll/SalaryColumns.h"
#include "payroll/SalaryView.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {
constexpr int kPairsPerColumn = 16;

QString shownText(const db::DataSet& ds, const std::string& field)
{
    if (!ds.active() || ds.isEmpty() || ds.fieldIndex(field) < 0) return {};
    const db::Value v = ds.value(field);
    if (v.isNull()) return {};
    if (!normalSalaryCode(field).empty()) return QString::fromStdString(v.toMoney().toString(2));
    return QString::fromStdString(v.toString());
}
}  // namespace

Tgzeditw::Tgzeditw(app::TDM& dm, SalaryView& view, QWidget* parent) : QDialog(parent), dm_(dm), card_(dm, view)
{
    setObjectName(QStringLiteral("Tgzeditw"));
    setWindowTitle(QStringLiteral("工资卡片编辑"));
    auto* bar = widgets::makeButtonRow(this, {
        {"first", "第一条", [this] { move(&db::DataSet::first); }},
        {"prior", "前一条", [this] { move(&db::DataSet::prior); }},
        {"next", "后一条", [this] { move(&db::DataSet::next); }},
        {"last", "最后一条", [this] { move(&db::DataSet::last); }},
        {"save", "保存", [this] { if (postPending()) { card_.save(); showRow(); } }},
        {"recalc", "重新计算", [this] { card_.recalculate(); showRow(); }},
        {"print", "打印", [] { app::interaction().openWindow(app::WindowId::PrintSalaryTable); }},
        {"delete", "删除", [this] { card_.remove(); showRow(); }},
        {"close", "返回", [this] { if (postPending()) accept(); }},
    });
    save_ = findChild<QPushButton*>(QStringLiteral("save"));
    remove_ = findChild<QPushButton*>(QStringLiteral("delete"));
    auto* scroll = new QScrollArea(this);
    auto* area = new QWidget(scroll);
    buildBoxes(area);
    scroll->setWidget(area);
    scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll);
    layout->addWidget(buildCumulative());
    resize(900, 620);
    showRow();
    widgets::finishDialog(this);
}

void Tgzeditw::buildBoxes(QWidget* area)
{
    auto* grid = new QGridLayout(area);
    fields_ = card_.fields();
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int col = static_cast<int>(i) / kPairsPerColumn * 2, row = static_cast<int>(i) % kPairsPerColumn;
        grid->addWidget(new QLabel(QString::fromStdString(card_.captionOf(fields_[i])), area), row, col);
        auto* box = new QLineEdit(area);
        box->setObjectName(QString::fromStdString(fields_[i]));
        grid->addWidget(box, row, col + 1);
        boxes_.push_back(box);
        connect(box, &QLineEdit::textEdited, this, [this, i] { commitBox(i); });
        // Enter goes on to the next box, from the last back to the first.
        connect(box, &QLineEdit::returnPressed, this, [this, i] { boxes_[(i + 1) % boxes_.size()]->setFocus(); });
    }
}

// The year-to-date figures of the row, for a set that withholds cumulatively: four pairs a line.
QGroupBox* Tgzeditw::buildCumulative()
{
    cumulative_ = new QGroupBox(QStringLiteral("累计预扣"), this);
    cumulative_->setObjectName(QStringLiteral("cumulative"));
    auto* grid = new QGridLayout(cumulative_);
    constexpr int kLines = 10, kPerLine = 4;
    for (int i = 0; i < kLines; ++i) {
        auto* caption = new QLabel(cumulative_);
        auto* value = new QLabel(cumulative_);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(caption, i / kPerLine, i % kPerLine * 2);
        grid->addWidget(value, i / kPerLine, i % kPerLine * 2 + 1);
        cumulativeLines_.emplace_back(caption, value);
    }
    openMonths_ = new QLabel(cumulative_);
    openMonths_->setObjectName(QStringLiteral("openMonths"));
    openMonths_->setWordWrap(true);
    openMonths_->setStyleSheet(QStringLiteral("color: #b00000;"));
    grid->addWidget(openMonths_, kLines / kPerLine + 1, 0, 1, kPerLine * 2);
    return cumulative_;
}

void Tgzeditw::showCumulative()
{
    const auto lines = card_.cumulativeLines();
    cumulative_->setVisible(!lines.empty());
    for (size_t i = 0; i < cumulativeLines_.size(); ++i) {
        auto [caption, value] = cumulativeLines_[i];
        const bool used = i < lines.size();
        caption->setText(used ? QString::fromStdString(lines[i].first) : QString());
        value->setText(used ? QString::fromStdString(lines[i].second) : QString());
        value->setObjectName(used ? QString::fromStdString(lines[i].first) : QString());
        value->setWordWrap(true);
        caption->setVisible(used);
        value->setVisible(used);
    }
    const QString note = QString::fromStdString(card_.openMonthsNote());
    openMonths_->setText(note);
    openMonths_->setVisible(!note.isEmpty());
}

void Tgzeditw::showRow()
{
    const db::DataSet& ds = dm_.gzb;
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const bool editable = card_.editable(fields_[i]);
        boxes_[i]->setText(shownText(ds, fields_[i]));
        boxes_[i]->setReadOnly(!editable);
        boxes_[i]->setBackgroundRole(editable ? QPalette::Base : QPalette::Button);
        boxes_[i]->setAutoFillBackground(!editable);
        boxes_[i]->setStyleSheet(editable ? QString() : QStringLiteral("QLineEdit { background: palette(button); }"));
    }
    showCumulative();
    save_->setEnabled(card_.canSave());
    remove_->setEnabled(card_.canDelete());
    dm_.showStatus(ds.active() ? ds.statusText() : std::string());
}

void Tgzeditw::commitBox(size_t index)
{
    db::DataSet& ds = dm_.gzb;
    if (!card_.editable(fields_[index])) return;
    try {
        if (!ds.isEditing()) ds.edit();
        const QString text = boxes_[index]->text().trimmed();
        ds.setValue(fields_[index], text.isEmpty() ? db::Value() : db::Value(text));
    } catch (const db::DataSetError&) {
        // A half-typed number is taken when it reads as one; until then the box keeps the typing.
    }
}

bool Tgzeditw::postPending()
{
    if (!dm_.gzb.isEditing()) return true;
    try {
        dm_.gzb.post();
        return true;
    } catch (const db::Abort&) {
        return false;
    } catch (const std::exception& e) {
        app::interaction().showError(e.what());
        return false;
    }
}

void Tgzeditw::move(void (db::DataSet::*step)())
{
    if (!dm_.gzb.active() || !postPending()) return;
    (dm_.gzb.*step)();
    showRow();
}

}  // namespace rsgz::payroll
