#pragma once

namespace rsgz::db { class Connection; struct Row; }

namespace rsgz::query {
int count();
}
