#include "shell/RemindersView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "personnel/ReminderDesk.h"

namespace rsgz::shell {

namespace {

using personnel::ReminderKind;

const char* kStyle = R"(
#remindersView { background: rgba(255, 255, 255, 232); border: 1px solid #c3ccd6; border-radius: 8px; }
#remindersTitle { font-size: 13pt; font-weight: bold; color: #1f3b5a; }
#remindersToday, #remindersNote { color: #4a637d; }
#remindersView QLabel[reminder="true"] { color: #243447; padding: 2px 0; }
#remindersView QPushButton[count="true"] {
    border: none; color: #1d5fa0; font-weight: bold; text-align: right; padding: 2px 6px; min-width: 64px;
}
#remindersView QPushButton[count="true"]:hover { text-decoration: underline; background: #e4eef8; border-radius: 4px; }
#remindersView QPushButton[count="true"]:disabled { color: #9aa7b4; font-weight: normal; }
#remindersView QPushButton[urgent="true"] { color: #b3261e; }
)";

QSpinBox* windowBox(const char* name, int max, QWidget* parent)
{
    auto* b = new QSpinBox(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setRange(1, max);
    return b;
}

}  // namespace

QString RemindersView::objectNameOf(personnel::ReminderKind kind)
{
    switch (kind) {
    case personnel::ReminderKind::ContractDue: return QStringLiteral("contractDue");
    case personnel::ReminderKind::ContractExpired: return QStringLiteral("contractExpired");
    case personnel::ReminderKind::ProbationDue: return QStringLiteral("probationDue");
    case personnel::ReminderKind::RetirementDue: return QStringLiteral("retirementDue");
    case personnel::ReminderKind::RetirementPast: return QStringLiteral("retirementPast");
    case personnel::ReminderKind::Birthday: return QStringLiteral("birthday");
    case personnel::ReminderKind::RetirementUnset: return QStringLiteral("retirementUnset");
    }
    return {};
}

RemindersView::RemindersView(personnel::ReminderDesk& desk, QWidget* parent) : QFrame(parent), desk_(desk)
{
    setObjectName(QStringLiteral("remindersView"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QString::fromUtf8(kStyle));
    setFixedWidth(430);

    auto* title = new QLabel(QStringLiteral("到期提醒"), this);
    title->setObjectName(QStringLiteral("remindersTitle"));
    today_ = new QLabel(this);
    today_->setObjectName(QStringLiteral("remindersToday"));
    auto* head = new QHBoxLayout;
    head->addWidget(title);
    head->addStretch();
    head->addWidget(today_);

    auto* counts = new QGridLayout;
    counts->setColumnStretch(0, 1);
    int row = 0;
    for (personnel::ReminderKind kind : personnel::reminderKinds()) {
        auto* caption = new QLabel(this);
        caption->setProperty("reminder", true);
        auto* count = new QPushButton(this);
        count->setObjectName(objectNameOf(kind));
        count->setProperty("count", true);
        count->setProperty("urgent", kind == personnel::ReminderKind::ContractExpired || kind == personnel::ReminderKind::RetirementPast);
        count->setFlat(true);
        count->setCursor(Qt::PointingHandCursor);
        count->setAutoDefault(false);
        connect(count, &QPushButton::clicked, this, [this, kind] { desk_.openList(kind); });
        counts->addWidget(caption, row, 0);
        counts->addWidget(count, row++, 1);
        rows_[kind] = {caption, count};
    }

    contract_ = windowBox("contractDays", personnel::ReminderSettings::kMaxDays, this);
    probation_ = windowBox("probationDays", personnel::ReminderSettings::kMaxDays, this);
    retirement_ = windowBox("retirementMonths", personnel::ReminderSettings::kMaxMonths, this);
    auto* save = new QPushButton(QStringLiteral("保存设置"), this);
    save->setObjectName(QStringLiteral("saveSettings"));
    connect(save, &QPushButton::clicked, this, &RemindersView::saveSettings);
    auto* windows = new QGridLayout;
    windows->addWidget(new QLabel(QStringLiteral("合同到期提前"), this), 0, 0);
    windows->addWidget(contract_, 0, 1);
    windows->addWidget(new QLabel(QStringLiteral("天"), this), 0, 2);
    windows->addWidget(new QLabel(QStringLiteral("转正提前"), this), 0, 3);
    windows->addWidget(probation_, 0, 4);
    windows->addWidget(new QLabel(QStringLiteral("天"), this), 0, 5);
    windows->addWidget(new QLabel(QStringLiteral("退休提前"), this), 1, 0);
    windows->addWidget(retirement_, 1, 1);
    windows->addWidget(new QLabel(QStringLiteral("个月"), this), 1, 2);
    windows->addWidget(save, 1, 3, 1, 3);

    auto* refreshButton = new QPushButton(QStringLiteral("刷新"), this);
    refreshButton->setObjectName(QStringLiteral("refreshReminders"));
    connect(refreshButton, &QPushButton::clicked, this, &RemindersView::refresh);
    auto* fill = new QPushButton(QStringLiteral("按出生年月填写退休日期"), this);
    fill->setObjectName(QStringLiteral("fillRetirementDates"));
    fill->setToolTip(QStringLiteral("为人事资料列表中的在职员工按出生年月和法定退休年龄填写退休日期"));
    connect(fill, &QPushButton::clicked, this, [this] {
        desk_.fillRetirementDates();
        showCounts();
    });
    auto* ages = new QPushButton(QStringLiteral("女职工原退休年龄"), this);
    ages->setObjectName(QStringLiteral("womanOldAges"));
    connect(ages, &QPushButton::clicked, this, [] { app::interaction().openWindow(app::WindowId::WomenRetirementAge); });
    auto* actions = new QHBoxLayout;
    actions->addWidget(refreshButton);
    actions->addWidget(fill);
    actions->addWidget(ages);
    actions->addStretch();

    auto* note = new QLabel(QStringLiteral("只统计在职状况为“在职”的员工，点击人数打开这些员工的人事资料。"), this);
    note->setObjectName(QStringLiteral("remindersNote"));
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addLayout(head);
    layout->addLayout(counts);
    layout->addSpacing(6);
    layout->addLayout(windows);
    layout->addLayout(actions);
    layout->addWidget(note);
    showCounts();
}

QPushButton* RemindersView::countButton(personnel::ReminderKind kind) const
{
    const auto it = rows_.find(kind);
    return it == rows_.end() ? nullptr : it->second.second;
}

void RemindersView::refresh()
{
    desk_.refresh();
    showCounts();
}

void RemindersView::showCounts()
{
    const personnel::ReminderSettings& s = desk_.settings();
    contract_->setValue(s.contractDays);
    probation_->setValue(s.probationDays);
    retirement_->setValue(s.retirementMonths);
    today_->setText(desk_.today().isValid() ? QStringLiteral("今天：") + desk_.today().toString(QStringLiteral("yyyy-MM-dd"))
                                            : QString());
    for (auto& [kind, row] : rows_) {
        row.first->setText(QString::fromStdString(desk_.caption(kind)));
        row.second->setText(QStringLiteral("—"));
        row.second->setEnabled(false);
    }
    for (const personnel::ReminderCount& c : desk_.counts()) {
        auto& [caption, count] = rows_[c.kind];
        caption->setText(QString::fromStdString(c.caption));
        count->setText(QStringLiteral("%1 人").arg(c.count));
        count->setEnabled(c.count > 0);
    }
}

void RemindersView::saveSettings()
{
    desk_.saveSettings({contract_->value(), probation_->value(), retirement_->value()});
    showCounts();
}

}  // namespace rsgz::shell
