#include "personnel/windows/Tpersonrecw.h"

namespace rsgz::personnel {

Tpersonrecw::Tpersonrecw(app::TDM& dm, const PersonRecordSetup& setup, QWidget* parent)
    : widgets::RecordWindow(dm, setup.editor, std::make_unique<PersonRecordEditor>(dm, setup), parent)
{
}

}  // namespace rsgz::personnel
