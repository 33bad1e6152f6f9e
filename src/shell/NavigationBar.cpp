#include "shell/NavigationBar.h"

#include <QButtonGroup>
#include <QHash>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/NavigationGroups.h"
#include "widgets/GlyphIcon.h"

namespace rsgz::shell {

namespace {

const QColor kGroupColours[] = {QColor(0x2f, 0x6f, 0xae), QColor(0x2e, 0x86, 0x5f), QColor(0x6e, 0x5a, 0x94)};

// One character that names each button on its tile.
QString glyphFor(const QString& text)
{
    static const QHash<QString, QString> glyphs = {
        {QStringLiteral("人员档案管理"), QStringLiteral("档")}, {QStringLiteral("人员培训管理"), QStringLiteral("培")},
        {QStringLiteral("人员职称评定"), QStringLiteral("职")}, {QStringLiteral("人员奖惩管理"), QStringLiteral("奖")},
        {QStringLiteral("人员调动管理"), QStringLiteral("调")}, {QStringLiteral("人员考评管理"), QStringLiteral("评")},
        {QStringLiteral("工作物品发放"), QStringLiteral("物")}, {QStringLiteral("人员信息统计"), QStringLiteral("统")},
        {QStringLiteral("到期提醒"), QStringLiteral("醒")},
        {QStringLiteral("工资帐套管理"), QStringLiteral("帐")}, {QStringLiteral("人员帐套设置"), QStringLiteral("设")},
        {QStringLiteral("工资表管理"), QStringLiteral("表")},   {QStringLiteral("计时工资"), QStringLiteral("时")},
        {QStringLiteral("计件工资"), QStringLiteral("件")},     {QStringLiteral("月末处理"), QStringLiteral("月")},
        {QStringLiteral("操作员设置"), QStringLiteral("员")},   {QStringLiteral("基本资料管理"), QStringLiteral("资")},
        {QStringLiteral("数据备份"), QStringLiteral("备")},     {QStringLiteral("数据恢复"), QStringLiteral("恢")},
        {QStringLiteral("数据初始化"), QStringLiteral("初")},   {QStringLiteral("压缩数据库"), QStringLiteral("压")},
        {QStringLiteral("公司数据"), QStringLiteral("司")},
    };
    return glyphs.value(text, text.left(1));
}

}  // namespace

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("navigationBar"));
    setAttribute(Qt::WA_StyledBackground, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    int index = 0;
    for (const app::NavigationGroup& g : app::navigationGroups()) {
        QStringList buttons;
        for (const app::NavigationButton& b : g.buttons) buttons << QString::fromStdString(b.text);
        addGroup(index++, QString::fromStdString(g.title), buttons);
    }
    showOpenGroup();
}

void NavigationBar::addGroup(int index, const QString& title, const QStringList& buttons)
{
    Group g;
    g.header = new QPushButton(title, this);
    g.header->setObjectName(QStringLiteral("navGroup%1").arg(index));
    g.header->setProperty("navHeader", true);
    g.header->setCursor(Qt::PointingHandCursor);
    connect(g.header, &QPushButton::clicked, this, [this, index] { setOpenGroup(index); });

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("navPage"));
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(2);
    const QColor tile = kGroupColours[index % 3];
    for (const QString& text : buttons) {
        auto* b = new QToolButton(content);
        b->setObjectName(text);
        b->setText(text);
        b->setIcon(widgets::glyphIcon(glyphFor(text), tile));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(b, &QToolButton::clicked, this, [this, text] { emit buttonClicked(text); });
        column->addWidget(b);
        buttons_ << b;
    }
    column->addStretch();

    g.page = new QScrollArea(this);
    g.page->setWidget(content);
    g.page->setWidgetResizable(true);
    g.page->setFrameShape(QFrame::NoFrame);
    g.page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(g.header);
    layout->addWidget(g.page, 1);
    groups_ << g;
}

QString NavigationBar::groupTitle(int index) const { return groups_.value(index).header ? groups_[index].header->text() : QString(); }

QToolButton* NavigationBar::button(const QString& text) const
{
    for (QToolButton* b : buttons_)
        if (b->text() == text) return b;
    return nullptr;
}

void NavigationBar::setOpenGroup(int index)
{
    if (index < 0 || index >= groups_.size() || index == open_) return;
    open_ = index;
    showOpenGroup();
    emit groupChanged(index);
}

void NavigationBar::showOpenGroup()
{
    for (int i = 0; i < groups_.size(); ++i) {
        groups_[i].page->setVisible(i == open_);
        groups_[i].header->setProperty("open", i == open_);
        groups_[i].header->style()->unpolish(groups_[i].header);
        groups_[i].header->style()->polish(groups_[i].header);
    }
}

}  // namespace rsgz::shell
