#pragma once
#include "app/Session.h"

namespace rsgz::db {

class Connection {};

}  // namespace rsgz::db
