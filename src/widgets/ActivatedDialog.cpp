#include "widgets/ActivatedDialog.h"

namespace rsgz::widgets {

void ActivatedDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_) return;
    activated_ = true;
    activateOnce();
}

}  // namespace rsgz::widgets
