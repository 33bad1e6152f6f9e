#include "support/ProgramLayout.h"

#include <QDir>
#include <QFile>

namespace rsgz::test {

ProgramLayout::ProgramLayout(bool withTemplate)
{
    QDir root(QString::fromStdString(tmp_.path()));
    for (const char* sub : {"init", "data", "bak", "set", "baobiao", "照片"}) root.mkpath(QString::fromUtf8(sub));
    if (withTemplate) app::createTemplateDatabase(path("init/vesk.db"));
    dm_ = std::make_unique<app::TDM>();
    app::setDM(dm_.get());
    frame_ = std::make_unique<app::MainFrame>(*dm_);
    frame_->create(dir());
}

ProgramLayout::~ProgramLayout()
{
    frame_.reset();
    dm_.reset();
}

void ProgramLayout::makeLiveDatabase()
{
    QFile::copy(QString::fromStdString(path("init/vesk.db")), QString::fromStdString(path("data/vesk.db")));
}

}  // namespace rsgz::test
