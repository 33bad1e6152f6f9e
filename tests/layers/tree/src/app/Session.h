#pragma once
#include "db/Connection.h"

namespace rsgz::db {
class Statement;
enum class Kind : int;

}  // namespace rsgz::db

namespace rsgz::app {

class Session {};

}  // namespace rsgz::app
