#pragma once
#include "widgets/RecordDialog.h"

#include "personnel/ArticleIssue.h"

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The article window 物品登记与发放: registered articles above, the current article's issues below.
// Its behaviour is ArticleIssue's.
class Twpffw : public widgets::RecordDialog {
    Q_OBJECT
public:
    explicit Twpffw(app::TDM& dm, QWidget* parent = nullptr);
    ArticleIssue& articles() { return articles_; }

protected:
    void activateOnce() override;
    bool leave() override;

private:

    ArticleIssue articles_;
    widgets::DataSetGrid* articleGrid_ = nullptr;
};

}  // namespace rsgz::personnel
