#pragma once
#include "personnel/DetailLists.h"
#include "app/RecordEditor.h"

namespace rsgz::personnel {

// What the article window 物品登记与发放 does: the registered articles (wpdj) and the issues of the
// current article (wplyjl). The window Twpffw only binds controls to it.
class ArticleIssue {
public:
    explicit ArticleIssue(app::TDM& dm);

    bool mayChange() const;  // the right 物品发放

    void activate();          // the articles and the issues of the first one
    void articleMoved() { lists_.openDetails(); }  // after a navigator move
    void articleGridClicked() { lists_.gridClicked(); }

    void addArticle() { lists_.addMaster(); }
    void saveArticle() { lists_.saveMaster(); }
    // The article's rules refuse one that has been issued, then ask.
    void removeArticle() { lists_.removeMaster(); }

    // 选择人员发放物品: the picker, then one issue of the current article per chosen employee, all or none.
    void issueToChosen();
    void saveIssue() { lists_.saveDetail(); }
    void removeIssue() { lists_.removeDetail(); }
    void removeAllIssues() { removeAll(lists_.detail()); }

    // 返回主窗口 and the close box: a pending article settled; false: stay open.
    bool close() { return lists_.close(); }

    // 发放数据编辑, the editor of one issue opened by a double-click in the issue grid.
    static const app::EditorSpec& issueEditorSpec();

private:
    app::TDM& dm_;
    MasterDetail lists_;
};

}  // namespace rsgz::personnel
