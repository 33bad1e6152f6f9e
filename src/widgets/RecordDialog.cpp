#include "widgets/RecordDialog.h"

#include "app/Interaction.h"

namespace rsgz::ui {

void RecordDialog::run(const std::function<void()>& step)
{
    app::runAction(step);
    showAfterStep();
}

void RecordDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_) return;
    activated_ = true;
    activateOnce();
}

void RecordDialog::reject()
{
    bool done = false;
    app::runAction([this, &done] { done = leave(); });
    if (done) QDialog::reject();
}

}  // namespace rsgz::ui
