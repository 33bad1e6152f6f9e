#pragma once
#include <QDialog>
#include <functional>

#include "personnel/ArticleIssue.h"

namespace rsgz::ui {
class DataSetGrid;
}

namespace rsgz::personnel {

// The article window 物品登记与发放: registered articles above, the current article's issues below.
// Its behaviour is ArticleIssue's.
class Twpffw : public QDialog {
    Q_OBJECT
public:
    explicit Twpffw(app::TDM& dm, QWidget* parent = nullptr);
    ArticleIssue& articles() { return articles_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void run(const std::function<void()>& step);

    ArticleIssue articles_;
    ui::DataSetGrid* articleGrid_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::personnel
