// Comma-separated text as spreadsheets save it: fields in double quotes may hold commas, line
// breaks and doubled quotes. The file is UTF-8 when it reads as UTF-8 (with or without a byte order
// mark), GBK otherwise, which is what Chinese editions of the spreadsheet programs write.
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "db/Gbk.h"
#include "exchange/SourceFile.h"

namespace rsgz::exchange {

namespace {

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8);
    (void)QString(decode(bytes));
    return !decode.hasError();
}

std::string asUtf8(QByteArray bytes, const std::string& path)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    if (isUtf8(bytes)) return bytes.toStdString();
    try {
        return db::fromGbk(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const std::exception&) {
        throw SourceError("文件“" + path + "”既不是 UTF-8 也不是 GBK 编码的文本，不能导入。");
    }
}

// The separator of the heading line: a comma, or a tab or semicolon when the line holds no comma.
char separatorOf(const std::string& text)
{
    const std::string first = text.substr(0, text.find('\n'));
    if (first.find(',') != std::string::npos) return ',';
    if (first.find('\t') != std::string::npos) return '\t';
    if (first.find(';') != std::string::npos) return ';';
    return ',';
}

std::vector<std::vector<std::string>> splitRecords(const std::string& text, char sep, const std::string& path)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false, fieldStarted = false;
    auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        // A blank line is no record.
        if (!(record.size() == 1 && record[0].empty())) records.push_back(std::move(record));
        record.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else quoted = false;
        } else if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == sep) {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) throw SourceError("文件“" + path + "”的最后一个带引号的内容没有结束引号，文件可能不完整。");
    if (fieldStarted || !record.empty()) endRecord();
    return records;
}

class CsvFile : public SourceFile {
public:
    explicit CsvFile(std::string path) : path_(std::move(path)) {}

    std::vector<std::string> tables() override
    {
        return {QFileInfo(QString::fromStdString(path_)).completeBaseName().toStdString()};
    }

    SourceTable read(const std::string&) override
    {
        QFile f(QString::fromStdString(path_));
        if (!f.open(QIODevice::ReadOnly)) throw SourceError("不能打开文件“" + path_ + "”：" + f.errorString().toStdString());
        const std::string text = asUtf8(f.readAll(), path_);
        auto records = splitRecords(text, separatorOf(text), path_);
        SourceTable t;
        if (records.empty()) return t;
        t.columns = std::move(records.front());
        t.rows.reserve(records.size() - 1);
        for (size_t r = 1; r < records.size(); ++r) {
            std::vector<db::Value> row;
            row.reserve(records[r].size());
            // An empty field is an empty cell, as in a sheet.
            for (std::string& s : records[r]) row.push_back(s.empty() ? db::Value() : db::Value(std::move(s)));
            t.rows.push_back(std::move(row));
        }
        tidyTable(t);
        return t;
    }

private:
    std::string path_;
};

}  // namespace

std::unique_ptr<SourceFile> openCsvFile(const std::string& path)
{
    if (!QFileInfo(QString::fromStdString(path)).isReadable()) throw SourceError("不能打开文件“" + path + "”。");
    return std::make_unique<CsvFile>(path);
}

}  // namespace rsgz::exchange
