#pragma once
#include <QTimer>

namespace rsgz::db {
class Connection;
}

namespace rsgz::app {

// Other programs may copy data/vesk.db while the program runs. Once writes have settled (a second
// without a commit) the write-ahead log is folded into the file, so such a copy is the whole
// database. Needs the application's event loop; detaches from the connection when it goes.
class IdleCheckpoint {
public:
    explicit IdleCheckpoint(db::Connection& conn, int quietMilliseconds = 1000);
    ~IdleCheckpoint();
    IdleCheckpoint(const IdleCheckpoint&) = delete;
    IdleCheckpoint& operator=(const IdleCheckpoint&) = delete;

private:
    db::Connection& conn_;
    QTimer timer_;
};

}  // namespace rsgz::app
