#include "widgets/RecordDialog.h"

#include "app/Interaction.h"

namespace rsgz::widgets {

void RecordDialog::run(const std::function<void()>& step)
{
    app::runAction(step);
    showAfterStep();
}

void RecordDialog::reject()
{
    bool done = false;
    app::runAction([this, &done] { done = leave(); });
    if (done) QDialog::reject();
}

}  // namespace rsgz::widgets
