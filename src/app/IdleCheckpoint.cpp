#include "app/IdleCheckpoint.h"

#include "db/Connection.h"

namespace rsgz::app {

IdleCheckpoint::IdleCheckpoint(db::Connection& conn, int quietMilliseconds) : conn_(conn)
{
    timer_.setSingleShot(true);
    timer_.setInterval(quietMilliseconds);
    timer_.callOnTimeout([this] { conn_.checkpoint(); });
    // Every commit starts the quiet period again: an import of thousands of rows is folded in once,
    // after its last row.
    conn_.setCommitListener([this] { timer_.start(); });
}

IdleCheckpoint::~IdleCheckpoint() { conn_.setCommitListener({}); }

}  // namespace rsgz::app
