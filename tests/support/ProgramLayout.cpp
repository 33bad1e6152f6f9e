#include "support/ProgramLayout.h"

#include <QDir>
#include <QFile>

#include "db/SqlText.h"
#include "support/RecordRules.h"

namespace rsgz::test {

ProgramLayout::ProgramLayout(Options options)
{
    QDir root(QString::fromStdString(tmp_.path()));
    for (const char* sub : {"init", "data", "bak", "set", "baobiao", "照片"}) root.mkpath(QString::fromUtf8(sub));
    if (options.withTemplate) app::createTemplateDatabase(path("init/vesk.db"));
    if (options.engine == Engine::Server) server_ = std::make_unique<TemporaryDatabase>(Engine::Server);
    if (options.liveDatabase) makeLiveDatabase();
    dm_ = std::make_unique<app::TDM>();
    app::setDM(dm_.get());
    if (options.recordRules) test::bindRecordRules(*dm_);
    frame_ = std::make_unique<app::MainFrame>(*dm_);
    frame_->create(dir());
    if (server_) dm_->DMADO.setServer(*server_->serverTarget());
    // The program binds its rules before anyone logs in, but nothing writes before the login: a
    // layout with rules and a live database starts as the default operator, who holds every right.
    if (options.recordRules && options.liveDatabase) logIn(app::kDefaultOperator);
}

ProgramLayout::~ProgramLayout()
{
    frame_.reset();
    app::setDM(nullptr);
    dm_.reset();
    server_.reset();
}

void ProgramLayout::makeLiveDatabase()
{
    if (server_) {
        server_->createContents();
        return;
    }
    QFile::copy(QString::fromStdString(path("init/vesk.db")), QString::fromStdString(path("data/vesk.db")));
}

void ProgramLayout::logIn(const std::string& name)
{
    dm_->zh.close();
    dm_->zh.setSql({"Select * from 权限", "where 姓名 =" + db::sqlQuote(name)});
    dm_->zh.open();
}

int ProgramLayout::count(const std::string& fromWhere)
{
    db::DataSet& q = dm_->s5;
    q.close();
    q.setSql("select count(*) as n from " + fromWhere);
    q.open();
    const int n = static_cast<int>(q.asInt("n"));
    q.close();
    return n;
}

}  // namespace rsgz::test
