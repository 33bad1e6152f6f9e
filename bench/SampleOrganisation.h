#pragma once
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "SampleData.h"
#include "app/TDM.h"
#include "db/Connection.h"

namespace rsgz::bench {

// A program directory holding a live database with the sample organisation of the given size,
// made once per benchmark program.
struct SampleOrganisation {
    QTemporaryDir dir;
    std::string programDir;
    explicit SampleOrganisation(int employees)
    {
        programDir = dir.path().toStdString() + "/";
        QDir root(dir.path());
        for (const char* sub : {"init", "data", "bak", "set", "baobiao"}) root.mkpath(QString::fromUtf8(sub));
        app::createTemplateDatabase(programDir + "init/vesk.db");
        std::filesystem::copy_file(programDir + "init/vesk.db", programDir + "data/vesk.db");
        db::Connection conn(programDir + "data/vesk.db");
        sample::fillSampleData(conn, employees, 7);
    }
};

// The one organisation of a benchmark program, made on first use.
inline const SampleOrganisation& sampleOrganisation(int employees)
{
    static const SampleOrganisation o(employees);
    return o;
}

}  // namespace rsgz::bench
