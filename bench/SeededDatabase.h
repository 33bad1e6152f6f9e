// A database made from the template in a temporary folder and filled once by the benchmark's own
// seed function; the benchmarks open their own connections to it by path.
#pragma once

#include <QTemporaryDir>
#include <string>

#include "app/TDM.h"
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

}  // namespace rsgz::bench
