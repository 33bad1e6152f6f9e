#include "personnel/EmployeeStore.h"

#include <QDate>
#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/EmployeePhoto.h"
#include "app/IdNumber.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/SqlText.h"

namespace rsgz::personnel {

using app::TDM;
using app::employeePhotoPath;
using app::hasPathSeparator;

namespace {

constexpr const char* kEmployeeTable = "员工基本情况";

int countRows(db::Connection& conn, const std::string& table, const std::string& column, const std::string& value)
{
    db::Statement st =
        conn.prepareNative("select count(*) from " + db::sqlIdent(table) + " where " + db::sqlIdent(column) + " = ?");
    st.bind(1, value);
    st.step();
    return static_cast<int>(st.integer(0));
}

std::string text(const db::Value& v) { return v.toString(); }

// The stored number of the row being edited (the edit buffer holds the typed one).
std::string storedNumber(TDM& dm)
{
    db::DataSet& ds = dm.rszl;
    return text(ds.rowValue(ds.currentRow(), ds.fieldIndex("员工编号")));
}

[[noreturn]] void refuse(TDM& dm, const std::string& message)
{
    dm.ShowMessage_jd(message);
    db::abortSilently();
}

void moveLinks(TDM& dm, const std::string& from, const std::string& to)
{
    for (const auto& [table, column] : employeeLinks(dm)) {
        db::Statement st = dm.DMADO.prepareNative("update " + db::sqlIdent(table) + " set " + db::sqlIdent(column)
                                                  + " = ? where " + db::sqlIdent(column) + " = ?");
        st.bind(1, to).bind(2, from).run();
    }
}

// A save the database refused, carried out of the transaction before the clerk is told.
struct PostRefused {
    db::DbError error;
};

// Posts inside a transaction the caller holds.
void postEmployee(TDM& dm)
{
    try {
        dm.rszl.post();
    } catch (const db::DbError& e) {
        throw PostRefused{e};
    }
}

// The stored form of a date field of the edit buffer or of the stored row (yyyy-mm-dd; empty when none).
std::string dateOf(const db::Value& v)
{
    const QDate d = v.toDate();
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")).toStdString() : std::string();
}

// A number that is no resident identity number, or one that disagrees with 性别 or 出生年月, is often a
// typing slip; the user is told what disagrees and decides. Only asked when one of the three fields
// is new or changed, so an old record is not questioned on every save.
void confirmIdNumber(TDM& dm, bool inserting)
{
    db::DataSet& ds = dm.rszl;
    const std::string number = ds.asString("身份证号"), sex = ds.asString("性别");
    const std::string birth = dateOf(ds.value("出生年月"));
    if (!inserting) {
        const int row = ds.currentRow();
        const bool same = text(ds.rowValue(row, ds.fieldIndex("身份证号"))) == number
                          && text(ds.rowValue(row, ds.fieldIndex("性别"))) == sex
                          && dateOf(ds.rowValue(row, ds.fieldIndex("出生年月"))) == birth;
        if (same) return;
    }
    const std::string today = dm.now().date().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    const std::vector<std::string> faults = app::idNumberDisagreements(number, sex, birth, today);
    if (faults.empty()) return;
    std::string question = "请核对身份证号" + number + "：\n";
    for (const std::string& f : faults) question += f + "\n";
    question += "是否仍然保存？";
    if (!app::interaction().ask(question)) db::abortSilently();
}

}  // namespace

std::vector<std::pair<std::string, std::string>> employeeLinks(TDM& dm)
{
    std::vector<std::pair<std::string, std::string>> links;
    for (const std::string& table : dm.DMADO.tableNames()) {
        if (table == kEmployeeTable) continue;
        const std::vector<std::string> cols = dm.DMADO.columnNames(table);
        for (const char* link : {"员工编号1", "员工编号"}) {
            if (std::find(cols.begin(), cols.end(), link) == cols.end()) continue;
            links.emplace_back(table, link);
            break;
        }
    }
    return links;
}

bool employeeExists(TDM& dm, const std::string& number)
{
    return countRows(dm.DMADO, kEmployeeTable, "员工编号", number) > 0;
}

bool numberHasRecords(TDM& dm, const std::string& number)
{
    for (const auto& [table, column] : employeeLinks(dm))
        if (countRows(dm.DMADO, table, column, number) > 0) return true;
    return false;
}

void checkEmployeeNumber(TDM& dm, const std::string& typed)
{
    const bool used = employeeExists(dm, typed) || numberHasRecords(dm, typed);
    dm.ShowMessage_jd(used ? "此编号已被使用！" : "此编号可以使用！");
}

namespace {
// The employee's row, the records of a changed number and the photo, in one transaction.
void writeEmployee(TDM& dm, const std::string& before, const std::string& number, bool renumbered)
{
    db::Transaction tx(dm.DMADO);
    if (renumbered && !before.empty()) moveLinks(dm, before, number);
    postEmployee(dm);
    const std::string oldPhoto = employeePhotoPath(dm, before), newPhoto = employeePhotoPath(dm, number);
    const bool movePhoto = renumbered && !before.empty() && !number.empty() && !hasPathSeparator(number)
                           && QFile::exists(QString::fromStdString(oldPhoto))
                           && !QFile::exists(QString::fromStdString(newPhoto));
    if (movePhoto) QFile::rename(QString::fromStdString(oldPhoto), QString::fromStdString(newPhoto));
    try {
        tx.commit();
    } catch (...) {
        if (movePhoto) QFile::rename(QString::fromStdString(newPhoto), QString::fromStdString(oldPhoto));
        throw;
    }
}
}  // namespace

void saveEmployee(TDM& dm)
{
    db::DataSet& ds = dm.rszl;
    if (!ds.active() || !ds.isEditing()) return;
    const std::string number = ds.asString("员工编号");
    const bool inserting = ds.state() == db::DataSet::State::Insert;
    const std::string before = inserting ? std::string() : storedNumber(dm);
    const bool renumbered = !inserting && before != number;
    // A deleted employee's records stay where they are; a new owner of the number would take them.
    if ((inserting || renumbered) && !number.empty() && !employeeExists(dm, number) && numberHasRecords(dm, number))
        refuse(dm, "此员工编号仍有已删除员工的记录，不能使用！");

    confirmIdNumber(dm, inserting);

    // Told only once the transaction is undone: a server would otherwise hold the row's locks for
    // as long as the message stays on the screen.
    try {
        writeEmployee(dm, before, number, renumbered);
    } catch (const PostRefused& refused) {
        if (refused.error.kind() == db::DbError::Kind::Duplicate) refuse(dm, "员工编号重复，数据保存失败！");
        app::interaction().showError(refused.error.what());
        db::abortSilently();
    }
}

void choosePhoto(TDM& dm)
{
    db::DataSet& ds = dm.rszl;
    if (!ds.active() || ds.currentRow() < 0) return;
    const std::string number = ds.asString("员工编号");
    // Without a number every unnumbered employee would share 照片/.jpg; a separator would leave the folder.
    if (number.empty()) refuse(dm, "请先输入员工编号，再选择照片！");
    if (hasPathSeparator(number)) refuse(dm, "员工编号中含有路径符号，不能保存照片！");
    const std::string chosen = app::interaction().openFileName("请选择一个jpg图片文件", "图片文件(*.jpg)");
    if (chosen.empty()) return;

    const QString target = QString::fromStdString(employeePhotoPath(dm, number));
    const QFileInfo source(QString::fromStdString(chosen)), dest(target);
    QDir().mkpath(dest.absolutePath());
    // The chosen file may already be the photo itself: copying it over itself would empty it.
    if (!dest.exists() || source.canonicalFilePath() != dest.canonicalFilePath()) {
        QFile in(source.absoluteFilePath());
        if (!in.open(QIODevice::ReadOnly)) refuse(dm, "照片文件无法读取：" + chosen);
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0 || !out.commit())
            refuse(dm, "照片无法保存到照片文件夹！");
    }
    ds.edit();
    ds.setValue("照片位置", chosen);
    saveEmployee(dm);
}

}  // namespace rsgz::personnel
