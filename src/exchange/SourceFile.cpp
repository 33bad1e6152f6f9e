#include "exchange/SourceFile.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>
#include <charconv>
#include <cmath>

namespace rsgz::exchange {

std::unique_ptr<SourceFile> openSourceFile(const std::string& path)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == "mdb" || suffix == "accdb") return openAccessFile(path);
    if (suffix == "xls") return openXlsFile(path);
    if (suffix == "xlsx") return openXlsxFile(path);
    if (suffix == "csv" || suffix == "txt") return openCsvFile(path);
    throw SourceError("不能导入这种文件：" + path + "\n可以导入的文件：.mdb、.accdb、.xls、.xlsx、.csv");
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
