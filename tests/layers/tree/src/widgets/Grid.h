#pragma once
#include "app/Session.h"

namespace rsgz::app { class Session; }

namespace rsgz::ui {

// a comment before the first definition
class Grid {};

}  // namespace rsgz::ui
