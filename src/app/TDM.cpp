#include "app/TDM.h"

#include <stdexcept>

#include "app/DatabaseContents.h"
#include "app/PasswordHash.h"
#include "app/DatabaseUpgrade.h"
#include "app/Interaction.h"
#include "db/Schema.h"
#include "db/SchemaCheck.h"
#include "db/SqlText.h"

namespace rsgz::app {

namespace {
TDM* instance = nullptr;
db::SqlLines all(const char* table) { return {std::string("select * from ") + table}; }
}  // namespace

TDM& DM()
{
    if (!instance) throw std::logic_error("data module not created");
    return *instance;
}

void setDM(TDM* dm) { instance = dm; }

TDM::TDM()
    : rszl(&DMADO, "rszl", all("员工基本情况")),
      grjl(&DMADO, "grjl", all("个人经历")),
      shgx(&DMADO, "shgx", all("社会关系")),
      zzlb(&DMADO, "zzlb", all("证照列表")),
      pxjl(&DMADO, "pxjl", all("培训记录")),
      pxjl1(&DMADO, "pxjl1", all("培训记录")),
      ddjl(&DMADO, "ddjl", all("调动记录")),
      zcpd(&DMADO, "zcpd", all("职称评定")),
      jcqk(&DMADO, "jcqk", all("奖惩情况")),
      gzjs(&DMADO, "gzjs", all("工资晋升")),
      kpqk(&DMADO, "kpqk", all("考评情况")),
      wply(&DMADO, "wply", all("物品领用")),
      ddjl1(&DMADO, "ddjl1", all("调动记录")),
      zcpd1(&DMADO, "zcpd1", all("职称评定")),
      jcqk1(&DMADO, "jcqk1", all("奖惩情况")),
      kpqk1(&DMADO, "kpqk1", all("考评情况")),
      wply1(&DMADO, "wply1", all("物品领用")),
      pxkc(&DMADO, "pxkc", all("培训课程")),
      wpdj(&DMADO, "wpdj", all("物品登记")),
      wplyjl(&DMADO, "wplyjl", all("物品领用")),
      kpxm(&DMADO, "kpxm", all("考评项目表")),
      kpjl(&DMADO, "kpjl", all("考评情况")),
      zidian(&DMADO, "zidian"),
      jcsz(&DMADO, "jcsz", all("数据字典")),
      gz_zt(&DMADO, "gz_zt", all("帐套")),
      zt_mx(&DMADO, "zt_mx", all("工资帐套明细")),
      gzb(&DMADO, "gzb", all("工资表")),
      sds_set(&DMADO, "sds_set", all("所得税设置")),
      jjgz(&DMADO, "jjgz", all("计件工资")),
      jsgz(&DMADO, "jsgz", all("计时工资")),
      gzxmd(&DMADO, "gzxmd", all("默认工资项目")),
      gzdj(&DMADO, "gzdj", all("工资等级")),
      gzdj_gzxm(&DMADO, "gzdj_gzxm", all("默认工资等级值")),
      dfgz_set(&DMADO, "dfgz_set", all("代发工资格式")),
      qxgl(&DMADO, "qxgl", all("权限")),
      zh(&DMADO, "zh"),
      gs_data(&DMADO, "gs_data", all("公司数据")),
      rytongji(&DMADO, "rytongji", all("人员统计")),
      select_renyuan(&DMADO, "select_renyuan", all("选择人员")),
      pxb(&DMADO, "pxb"),
      s1(&DMADO, "s1"),
      s2(&DMADO, "s2"),
      s3(&DMADO, "s3"),
      s4(&DMADO, "s4"),
      s5(&DMADO, "s5"),
      search_zt(&DMADO, "search_zt")
{
    all_ = {&rszl, &grjl, &shgx, &zzlb, &pxjl, &pxjl1, &ddjl, &zcpd, &jcqk, &gzjs, &kpqk, &wply,
            &ddjl1, &zcpd1, &jcqk1, &kpqk1, &wply1, &pxkc, &wpdj, &wplyjl, &kpxm, &kpjl, &zidian, &jcsz,
            &gz_zt, &zt_mx, &gzb, &sds_set, &jjgz, &jsgz, &gzxmd, &gzdj, &gzdj_gzxm, &dfgz_set,
            &qxgl, &zh, &gs_data, &rytongji, &select_renyuan, &pxb, &s1, &s2, &s3, &s4, &s5, &search_zt};
    for (DataSet* ds : {&zidian, &rytongji, &select_renyuan}) ds->setBatchMode(true);
}

TDM::~TDM()
{
    if (instance == this) instance = nullptr;
}

void TDM::setProgramDir(const std::string& dir)
{
    programDir_ = dir;
    if (!programDir_.empty() && programDir_.back() != '/') programDir_ += '/';
    DMADO.setPath(livePath());
}

DataSet* TDM::dataSet(const std::string& name)
{
    for (DataSet* ds : all_)
        if (ds->name() == name) return ds;
    return nullptr;
}

void TDM::getDateTime() { TodayText = now().date().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

void TDM::ShowMessage_jd(const std::string& text) { interaction().showMessage(text); }

void TDM::Show_Tishi_windows2(const std::string& text)
{
    PromptAnswer = 0;
    PromptAnswer = interaction().ask(text) ? 1 : 0;
}

int TDM::runSql(const db::SqlLines& lines) { return DMADO.exec(db::joinSqlLines(lines)); }

void TDM::close_all_data()
{
    for (DataSet* ds : {&rszl, &grjl, &shgx, &zzlb, &pxjl, &ddjl, &zcpd, &jcqk, &gzjs, &kpqk, &wply, &zidian, &pxkc,
                        &pxjl1, &zcpd1, &ddjl1, &jcqk1, &kpqk1, &wply1, &wpdj, &s1, &s2, &s3, &s4, &gz_zt, &zt_mx,
                        &gzb, &search_zt, &sds_set, &jjgz, &jsgz, &qxgl, &jcsz})
        ds->close();
}

void TDM::runCreate(const db::SqlLines& lines)
{
    try {
        runSql(lines);
    } catch (const db::DbError&) {
        // The table is there already: nothing to bring up to date.
    }
}

void TDM::create_gongsi_Table() { runCreate(db::createGongsiTableLines()); }
void TDM::create_yinghang_set_Table() { runCreate(db::createYinghangSetTableLines()); }
void TDM::create_gzxm() { runCreate(db::createGzxmLines()); }
void TDM::create_gzdj() { runCreate(db::createGzdjLines()); }
void TDM::create_gzdj_xm() { runCreate(db::createGzdjXmLines()); }

void TDM::updateSchema()
{
    create_gongsi_Table();
    create_yinghang_set_Table();
    create_gzxm();
    create_gzdj();
    create_gzdj_xm();
    // A file of an earlier version gets the tables and columns of the later ones.
    if (const std::string said = upgradeLiveDatabase(*this); !said.empty()) ShowMessage_jd(said);
    // Databases made before the link indexes existed get them now; a unique index that an old file's
    // duplicate numbers refuse is left out rather than stopping the start.
    for (const std::string& sql : db::schemaIndexSql()) {
        try {
            DMADO.execNative(sql);
        } catch (const db::DbError&) {
        }
    }
}

void createDatabaseContents(db::Connection& conn)
{
    db::Transaction tx(conn);
    db::createSchema(conn);

    // The default operator holds every right.
    const db::TableDef* rights = db::findTable("权限");
    std::string cols = db::sqlIdent("姓名") + "," + db::sqlIdent("密码"), values = "?,?";
    for (const db::ColumnDef& c : rights->columns) {
        if (c.type != db::FieldType::YesNo) continue;
        cols += "," + db::sqlIdent(c.name);
        values += ",true";
    }
    db::Statement st = conn.prepareNative("insert into " + db::sqlIdent("权限") + " (" + cols + ") values (" + values + ")");
    const std::string hash = app::hashPassword(kDefaultPassword);
    st.bind(1, kDefaultOperator).bind(2, hash).run();
    tx.commit();
}

void createTemplateDatabase(const std::string& path)
{
    db::createDatabaseFile(path);
    db::Connection conn(path);
    createDatabaseContents(conn);
    // The template is a single plain file: copied as it is to become the live database.
    conn.useSingleFile();
    conn.close();
}

}  // namespace rsgz::app
