// A database made from the template in a temporary folder and filled once by the benchmark's own
// seed function; the benchmarks open their own connections to it by path. The same on the server:
// a temporary database there filled by the same seed function.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/TDM.h"
#include "ServerDatabase.h"
#include "db/Connection.h"

namespace rsgz::bench {

struct SeededDatabase {
    QTemporaryDir dir;
    std::string path;
    SeededDatabase(const char* fileName, void (*seed)(db::Connection&))
    {
        path = dir.filePath(QString::fromUtf8(fileName)).toStdString();
        app::createTemplateDatabase(path);
        db::Connection conn(path);
        seed(conn);
    }
};

struct SeededServerDatabase {
    ServerDatabase db;
    explicit SeededServerDatabase(void (*seed)(db::Connection&))
    {
        db::Connection conn(db.target());
        seed(conn);
    }
};

// A connection to the file's database or to the server's, by the benchmark's engine argument.
inline std::unique_ptr<db::Connection> connectTo(Engine engine, const SeededDatabase& file,
                                                 const SeededServerDatabase* server)
{
    if (engine == Engine::Server) return std::make_unique<db::Connection>(server->db.target());
    return std::make_unique<db::Connection>(file.path);
}

}  // namespace rsgz::bench
