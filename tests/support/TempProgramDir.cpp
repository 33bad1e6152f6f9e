#include "support/TempProgramDir.h"

#include <QDir>

#include "app/TDM.h"

namespace rsgz::test {

TempProgramDir::TempProgramDir()
{
    QDir root(QString::fromStdString(dir_.path()));
    for (const char* sub : {"data", "set", "bak", "init", "baobiao"}) root.mkpath(QString::fromUtf8(sub));
    app::createTemplateDatabase(livePath());
}

}  // namespace rsgz::test
