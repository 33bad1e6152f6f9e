#include "payroll/BankFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>

#include <algorithm>
#include <stdexcept>

#include "db/DataSet.h"
#include "payroll/BankRecord.h"

namespace rsgz::payroll {

namespace {

constexpr size_t kListedProblems = 10;

std::string twoDigits(std::string s) { return s.size() == 1 ? "0" + s : s; }

// Whether the folder of path has less room than a file of the given size needs. The file layer
// reports a full disk by whatever words the system lends it, often none at all.
bool lacksRoomFor(const std::string& path, size_t size)
{
    const QStorageInfo disk(QFileInfo(QString::fromStdString(path)).absolutePath());
    return disk.isValid() && disk.bytesAvailable() >= 0 && static_cast<quint64>(disk.bytesAvailable()) < size + 4096;
}

}  // namespace

std::string employeeOf(const db::DataSet& rows, int row)
{
    const int name = rows.fieldIndex("姓名"), number = rows.fieldIndex("员工编号");
    std::string out = "员工“" + (name >= 0 ? rows.rowValue(row, name).toString() : std::string()) + "”";
    if (number >= 0) out += "（编号 " + rows.rowValue(row, number).toString() + "）";
    return out;
}

BankBatch buildBankBatch(const BankRecordBuilder& builder, const db::DataSet& rows)
{
    BankBatch b;
    const int year = rows.fieldIndex("年"), month = rows.fieldIndex("月");
    b.rows = rows.rowCount();
    for (int row = 0; row < b.rows; ++row) {
        const BankRecord r = builder.build(row);
        b.rounded += r.rounded;
        if (r.hasAmount) {
            b.hasAmount = true;
            b.total = b.total + r.amount;
        }
        for (const std::string& p : r.problems) {
            if (b.problems.size() < kListedProblems) b.problems.push_back(employeeOf(rows, row) + "：" + p);
            else ++b.moreProblems;
        }
        if (b.unencodable.empty() && !r.unencodable.empty()) b.unencodable = employeeOf(rows, row) + "：" + r.unencodable;
        if (b.unencodable.empty()) {
            b.bytes += r.gbk;
            b.bytes += "\r\n";
        }
        if (year >= 0 && month >= 0) {
            const std::string m = rows.rowValue(row, year).toString() + "年" + twoDigits(rows.rowValue(row, month).toString()) + "月";
            if (std::find(b.months.begin(), b.months.end(), m) == b.months.end()) b.months.push_back(m);
        }
    }
    if (!b.unencodable.empty()) b.bytes.clear();
    std::sort(b.months.begin(), b.months.end());
    return b;
}

std::string BankBatch::summary() const
{
    std::string s = std::to_string(rows) + " 条记录";
    if (hasAmount) s += "，金额合计 " + total.toString(2) + " 元";
    if (rounded > 0) s += "；其中 " + std::to_string(rounded) + " 个金额不是整分，已四舍五入到分";
    return s;
}

std::string BankBatch::problemText() const
{
    std::string s;
    for (const std::string& p : problems) s += (s.empty() ? "" : "\n") + p;
    if (moreProblems > 0) s += "\n……另有 " + std::to_string(moreProblems) + " 处";
    return s;
}

void writeBankFile(const std::string& path, const std::string& bytes)
{
    // QSaveFile writes beside the target and renames on commit; on any failure the temporary file
    // goes and an existing file stays as it was.
    errno = 0;
    QSaveFile file(QString::fromStdString(path));
    auto fail = [&] {
        const int error = errno;
        if (error == ENOSPC || error == EDQUOT || lacksRoomFor(path, bytes.size()))
            return std::runtime_error("磁盘空间不足，无法写入代发文件“" + path + "”。");
        return std::runtime_error("无法写入代发文件“" + path + "”：" + file.errorString().toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) throw fail();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) throw fail();
    if (!file.commit()) throw fail();
}

std::string defaultBankFilePath() { return QDir::home().filePath(QStringLiteral("df.txt")).toStdString(); }

}  // namespace rsgz::payroll
