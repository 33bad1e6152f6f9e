#include "exchange/SourceFile.h"
#include "exchange/ReaderProcess.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>
#include <charconv>
#include <cmath>

namespace rsgz::exchange {

namespace {

enum class Format { Access, Xls, Xlsx, Csv, Other };

Format formatOf(const std::string& path)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == "mdb" || suffix == "accdb") return Format::Access;
    if (suffix == "xls") return Format::Xls;
    if (suffix == "xlsx") return Format::Xlsx;
    if (suffix == "csv" || suffix == "txt") return Format::Csv;
    return Format::Other;
}

// What every format has in common: a file that is there, can be read and holds something.
void checkReadable(const std::string& path, Format format)
{
    if (format == Format::Other)
        throw SourceError("不能导入这种文件：" + path + "\n可以导入的文件：.mdb、.accdb、.xls、.xlsx、.csv");
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists() || !info.isFile()) throw SourceError("找不到文件“" + path + "”。");
    if (!info.isReadable()) throw SourceError("不能打开文件“" + path + "”：没有读取的权限。");
    if (info.size() == 0) throw SourceError("文件是空的：" + path);
}

}  // namespace

std::unique_ptr<SourceFile> openSourceFile(const std::string& path)
{
    const Format format = formatOf(path);
    checkReadable(path, format);
    // libmdb and freexl are not safe with a damaged file: they run in a process of their own.
    if (format == Format::Access || format == Format::Xls) return openContainedFile(path);
    return openSourceFileHere(path);
}

std::unique_ptr<SourceFile> openSourceFileHere(const std::string& path)
{
    const Format format = formatOf(path);
    checkReadable(path, format);
    switch (format) {
    case Format::Access: return openAccessFile(path);
    case Format::Xls: return openXlsFile(path);
    case Format::Xlsx: return openXlsxFile(path);
    default: return openCsvFile(path);
    }
}

namespace {

std::string plainNumber(double d)
{
    if (!std::isfinite(d)) return {};
    if (d == 0) return "0";  // also -0
    // Fixed notation, the fewest digits that read back as the same number: no exponent, no ".0".
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

}  // namespace

std::string cellText(const db::Value& v)
{
    switch (v.kind()) {
    case db::Value::Kind::Null: return {};
    case db::Value::Kind::Double: return plainNumber(v.toDouble());
    case db::Value::Kind::Money: return v.toMoney().toSqlLiteral();  // exact, without a trailing ".0"
    default: return v.toString();
    }
}

std::string serialDateText(double serial)
{
    // Day 60 is the leap day 1900-02-29 that spreadsheets count but that never was; the days before
    // it are one off. Before day 1 there is no date.
    if (!std::isfinite(serial) || serial < 1 || serial > 2958466) return {};
    double days = std::floor(serial);
    // Times are kept to the second, as the program stores them.
    int64_t secs = std::llround((serial - days) * 86400.0);
    if (secs >= 86400) {
        days += 1;
        secs = 0;
    }
    if (days < 61) days += 1;
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(secs));
    return db::dateText(date, time);
}

void tidyTable(SourceTable& t)
{
    for (size_t i = 0; i < t.columns.size(); ++i) {
        std::string& name = t.columns[i];
        const auto a = name.find_first_not_of(" \t\r\n");
        name = a == std::string::npos ? std::string() : name.substr(a, name.find_last_not_of(" \t\r\n") - a + 1);
        if (name.empty()) name = "列" + std::to_string(i + 1);
    }
    for (auto& row : t.rows) row.resize(t.columns.size());
    for (size_t i = t.lines.size(); i < t.rows.size(); ++i) t.lines.push_back(static_cast<int>(i) + 2);
}

}  // namespace rsgz::exchange
