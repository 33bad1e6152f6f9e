#pragma once
// A program directory holding a live database with the sample organisation, made once per
// benchmark program.
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "SampleData.h"
#include "app/TDM.h"

namespace rsgz::bench {

struct Organisation {
    QTemporaryDir dir;
    std::string programDir;
    explicit Organisation(int employees)
    {
        programDir = dir.path().toStdString() + "/";
        QDir root(dir.path());
        for (const char* sub : {"init", "data", "bak", "set", "baobiao", "照片"}) root.mkpath(QString::fromUtf8(sub));
        app::createTemplateDatabase(programDir + "init/vesk.db");
        std::filesystem::copy_file(programDir + "init/vesk.db", programDir + "data/vesk.db");
        db::Connection conn(programDir + "data/vesk.db");
        sample::fillSampleData(conn, employees, 7);
    }
};

}  // namespace rsgz::bench
