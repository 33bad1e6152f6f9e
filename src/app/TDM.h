#pragma once
#include <QDateTime>
#include <functional>
#include <map>
#include <string>

#include "app/LiveDatabase.h"
#include "db/Connection.h"
#include "db/DataSet.h"

namespace rsgz::app {

using db::DataSet;

// The data module: the one connection, every shared dataset under its name, and the plain members
// the windows and rules share. Created first, without a connection; it opens nothing itself.
class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // The directory of the working folders (with its trailing separator): the program directory,
    // or the user's data folder of an installed program. The live database is data/vesk.db in it.
    void setProgramDir(const std::string& dir);
    const std::string& programDir() const { return programDir_; }
    std::string livePath() const { return programDir_ + "data/vesk.db"; }
    // The template is init/vesk.db beside the working folders unless the installation ships it
    // elsewhere; it is only ever read.
    void setTemplatePath(const std::string& path) { templatePath_ = path; }
    std::string templatePath() const { return templatePath_.empty() ? programDir_ + "init/vesk.db" : templatePath_; }

    db::Connection DMADO;
    // The full structural check of the live file, started after the login; whatever replaces the
    // live file stops it first.
    LiveFileCheck fileCheck;

    // Employee and sub-records.
    DataSet rszl, grjl, shgx, zzlb, pxjl, pxjl1, ddjl, zcpd, jcqk, gzjs, kpqk, wply;
    // Module lists of the main window.
    DataSet ddjl1, zcpd1, jcqk1, kpqk1, wply1;
    // Training, articles, evaluations, dictionaries.
    DataSet pxkc, wpdj, wplyjl, kpxm, kpjl, zidian, jcsz;
    // Payroll.
    DataSet gz_zt, zt_mx, gzb, sds_set, jjgz, jsgz, gzxmd, gzdj, gzdj_gzxm, dfgz_set;
    // Operators, company, working tables, scratch.
    DataSet qxgl, zh, gs_data, rytongji, select_renyuan, pxb;
    DataSet s1, s2, s3, s4, s5, search_zt;

    // Every shared dataset by its name (for the rules table and for tests).
    DataSet* dataSet(const std::string& name);
    const std::vector<DataSet*>& allDataSets() const { return all_; }

    // --- plain members -------------------------------------------------------------------------
    int CurrentModule = 0;
    std::string TodayText;
    int PromptAnswer = 0;
    std::string ConfirmPassword;
    struct EditorOpen {
        bool grjl = false, shgx = false, zzlb = false, pxjl = false, ddjl = false;
        bool zcpd = false, jcqk = false, gzjs = false, kpqk = false, wply = false;
        bool ztmx = false;  // the salary item window
        bool wplyjl = false;  // the issue editor of the article window
    } editorOpen;
    int PickResult = 0;
    bool ArticlePicked = false;
    bool CoursePicked = false;
    std::string CurrentDictionaryKey;
    std::string PickedDateText;
    bool DatePicked = false;
    bool CourseChanged = false;  // pxkc moved to another row since the attendees were last read
    bool SetMoved = false;       // gz_zt moved to another row since the items were last read
    bool ItemChanged = false;    // kpxm or wpdj moved to another row since their detail list was read
    // Set by the training management window while it exists: new training records then get neither
    // the course picker and editor nor the check before posting, because that window fills them itself.
    bool TrainingRulesOff = false;
    std::string ImportAccessPrefix, ImportAccessSuffix, ImportExcelPrefix, ImportExcelSuffix;

    // Status text of the current module list (the status bar's fourth panel listens).
    std::function<void(const std::string&)> onStatusText;
    void showStatus(const std::string& text) { if (onStatusText) onStatusText(text); }

    // The clock every "today" and every age is taken from; tests set it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // --- operations ------------------------------------------------------------------------------
    void getDateTime();  // TodayText := today as yyyy-mm-dd
    void ShowMessage_jd(const std::string& text);
    void Show_Tishi_windows2(const std::string& text);  // answer in PromptAnswer
    // Statements that return no rows. Lines are joined with CR LF.
    int runSql(const db::SqlLines& lines);
    void close_all_data();

    // The five tables the program creates itself; each swallows the error of an existing table.
    void create_gongsi_Table();
    void create_yinghang_set_Table();
    void create_gzxm();
    void create_gzdj();
    void create_gzdj_xm();
    // Brings a database up to date: the five operations above.
    void updateSchema();

private:
    void runCreate(const db::SqlLines& lines);
    std::string programDir_;
    std::string templatePath_;
    std::vector<DataSet*> all_;
};

// The data module of the running program.
TDM& DM();
void setDM(TDM* dm);

// Creates every table, the unique index and the default operator in an empty database file.
void createTemplateDatabase(const std::string& path);

// The default operator of a new database; the login window shows the pair as its hint.
inline constexpr const char* kDefaultOperator = "admin";
inline constexpr const char* kDefaultPassword = "admin";

}  // namespace rsgz::app
