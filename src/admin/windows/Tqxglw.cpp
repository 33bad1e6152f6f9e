#include "admin/windows/Tqxglw.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Rights.h"
#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::admin {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tqxglw::Tqxglw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tqxglw"));
    setWindowTitle(QStringLiteral("权限管理"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("operatorTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setFixedWidth(160);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int node = tree_->indexOfTopLevelItem(item);
        run([this, node] { form_.clickNode(node); });
    });

    auto* middle = new QHBoxLayout;
    middle->addWidget(tree_);
    middle->addWidget(buildRights(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildButtons());
    layout->addLayout(middle);
    widgets::finishDialog(this);
}

QWidget* Tqxglw::buildButtons()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, const char*> buttons[] = {
        {"addButton", "新增操作员"}, {"deleteButton", "删除操作员"}, {"saveButton", "保存"}, {"returnButton", "返回"}};
    const std::function<void()> actions[] = {[this] { form_.addOperator(); }, [this] { form_.deleteOperator(); },
                                             [this] { form_.save(); }, [this] { form_.close(); }};
    for (size_t i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(buttons[i].second), bar);
        b->setObjectName(QString::fromUtf8(buttons[i].first));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, action = actions[i]] { run(action); });
        row->addWidget(b);
    }
    row->addStretch();
    const std::pair<const char*, const char*> navigator[] = {
        {"firstButton", "|<"}, {"priorButton", "<"}, {"nextButton", ">"}, {"lastButton", ">|"}};
    const std::function<void()> moves[] = {[this] { form_.first(); }, [this] { form_.prior(); },
                                           [this] { form_.next(); }, [this] { form_.last(); }};
    for (size_t i = 0; i < 4; ++i) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromUtf8(navigator[i].first));
        b->setText(QString::fromUtf8(navigator[i].second));
        connect(b, &QToolButton::clicked, this, [this, move = moves[i]] { run(move); });
        row->addWidget(b);
    }
    return bar;
}

QWidget* Tqxglw::buildRights()
{
    auto* panel = new QWidget(this);
    nameEdit_ = new QLineEdit(panel);
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    connect(nameEdit_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.setName(t.toStdString()); });
    passwordEdit_ = new QLineEdit(panel);
    passwordEdit_->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setPlaceholderText(QStringLiteral("输入新密码，留空则不修改"));
    connect(passwordEdit_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.setPassword(t.toStdString()); });

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("操作员"), nameEdit_);
    fields->addRow(QStringLiteral("密码"), passwordEdit_);

    auto* tabs = new QTabWidget(panel);
    tabs->setObjectName(QStringLiteral("rightsTabs"));
    for (const app::RightsGroup& group : app::rightsGroups()) {
        auto* page = new QWidget(tabs);
        auto* grid = new QGridLayout(page);
        int place = 0;
        for (const std::string& right : group.rights) {
            const int index = static_cast<int>(boxes_.size());
            auto* box = new QCheckBox(q(right), page);
            box->setObjectName(q(right));
            // clicked, not toggled: showing a row sets the boxes without writing anything.
            connect(box, &QCheckBox::clicked, this, [this, index](bool on) { run([this, index, on] { form_.setRight(index, on); }); });
            grid->addWidget(box, place % 6, place / 6);
            ++place;
            boxes_.push_back(box);
        }
        grid->setRowStretch(6, 1);
        tabs->addTab(page, q(group.tab));
    }

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(fields);
    column->addWidget(tabs, 1);
    return panel;
}

void Tqxglw::activateOnce()
{
    form_.activate();
    showForm();
}

void Tqxglw::run(const std::function<void()>& step)
{
    step();
    showForm();
    if (form_.closed) accept();
}

void Tqxglw::showTree()
{
    QStringList shown;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) shown << tree_->topLevelItem(i)->text(0);
    QStringList names;
    for (const std::string& n : form_.names) names << q(n);
    if (shown != names) {
        tree_->clear();
        for (const QString& n : names) tree_->addTopLevelItem(new QTreeWidgetItem(QStringList{n}));
    }
    QTreeWidgetItem* selected = form_.selectedNode >= 0 ? tree_->topLevelItem(form_.selectedNode) : nullptr;
    tree_->setCurrentItem(selected);
}

void Tqxglw::showForm()
{
    showTree();
    if (nameEdit_->text() != q(form_.name)) nameEdit_->setText(q(form_.name));
    if (const int width = form_.nameMaxLength(); width > 0) nameEdit_->setMaxLength(width);
    nameEdit_->setReadOnly(!form_.nameEditable());
    passwordEdit_->setText(q(form_.password));
    for (size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->setChecked(form_.checks[i]);
    if (form_.focus == RightsForm::Focus::Name) {
        nameEdit_->setFocus();
        form_.focus = RightsForm::Focus::None;
    }
}

void Tqxglw::reject()
{
    // Escape and the close box leave like 返回.
    if (!form_.closed) form_.close();
    QDialog::reject();
}

void openRightsWindow(app::TDM& dm, QWidget* parent)
{
    if (!mayOpenRightsWindow(dm)) return;
    Tqxglw w(dm, parent);
    w.exec();
}

}  // namespace rsgz::admin
