#include "personnel/windows/Twpffw.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/DataSetGrid.h"
#include "widgets/ListGroup.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Twpffw::Twpffw(app::TDM& dm, QWidget* parent) : widgets::RecordDialog(parent), articles_(dm)
{
    setObjectName(QStringLiteral("Twpffw"));
    setWindowTitle(QStringLiteral("物品登记与发放"));
    const bool may = articles_.mayChange();
    auto step = [this](void (ArticleIssue::*f)()) { return [this, f] { run([this, f] { (articles_.*f)(); }); }; };

    widgets::ListGroup articles = widgets::makeListGroup(
        this, dm.wpdj,
        {QStringLiteral("物品登记记录"), QStringLiteral("articles"),
         {"序号", "登记日期", "物品名称", "单位", "数量", "单价", "金额", "发出", "剩余", "备注", "编号"}, may,
         [this] { articles_.articleMoved(); }},
        {{"addArticle", "增加", [this] {
              run([this] { articles_.addArticle(); });
              articleGrid_->editCurrent(QStringLiteral("登记日期"));
          }},
         {"saveArticle", "保存", step(&ArticleIssue::saveArticle)},
         {"deleteArticle", "删除", step(&ArticleIssue::removeArticle)},
         {"returnButton", "返回主窗口", [this] { reject(); }}});
    articleGrid_ = articles.grid;
    widgets::showWithYuanSign(articleGrid_, {"单价", "金额"});
    connect(articleGrid_, &QAbstractItemView::clicked, this, [this] { run([this] { articles_.articleGridClicked(); }); });

    widgets::ListGroup issues = widgets::makeListGroup(
        this, dm.wplyjl,
        {QStringLiteral("物品发放记录"), QStringLiteral("issues"),
         {"序号", "领用日期", "领用人姓名", "物品", "数量", "归还日期", "价值", "领用备注", "物品编号", "编号"}, may, {}},
        {{"issueToChosen", "选择人员发放物品", step(&ArticleIssue::issueToChosen)},
         {"saveIssue", "保存", step(&ArticleIssue::saveIssue)},
         {"deleteIssue", "删除", step(&ArticleIssue::removeIssue)},
         {"deleteAllIssues", "删除下表全部记录", step(&ArticleIssue::removeAllIssues)}});
    widgets::showWithYuanSign(issues.grid, {"价值"});
    connect(issues.grid, &QAbstractItemView::doubleClicked, this, [this] {
        app::interaction().openWindow(app::WindowId::IssueEditor);
    });
    // The issue grid is edited through 发放数据编辑; its double-click opens that window.
    issues.grid->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    if (!may) issues.grid->setEditTriggers(QAbstractItemView::NoEditTriggers);

    widgets::enableButtons(this, {"addArticle", "saveArticle", "deleteArticle", "issueToChosen", "saveIssue", "deleteIssue",
                             "deleteAllIssues"},
                      may);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(articles.box, 1);
    layout->addWidget(issues.box, 1);
    widgets::finishListDialog(this, 960, 640);
}

void Twpffw::activateOnce()
{
    run([this] { articles_.activate(); });
}

bool Twpffw::leave() { return articles_.close(); }

}  // namespace rsgz::personnel
