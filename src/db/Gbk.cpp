#include "db/Gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace rsgz::db {

namespace {

constexpr size_t kConverted = std::string_view::npos;

// Runs glibc iconv over the whole input. Returns kConverted, or the offset of the first input byte
// that could not be converted. No //TRANSLIT or //IGNORE: a character is converted exactly or not at all.
size_t convert(const char* to, const char* from, std::string_view in, std::string& out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("系统不支持编码转换 ") + from + " → " + to);
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, &iconv_close);

    // Twice the input fits nearly every text (a Latin letter GB18030 writes in four bytes does not);
    // the buffer grows on E2BIG.
    out.assign(in.size() * 2 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) continue;
        if (errno != E2BIG) return static_cast<size_t>(src - in.data());
        const size_t used = static_cast<size_t>(dst - out.data());
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return kConverted;
}

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the bytes there are not one.
size_t utf8SequenceAt(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 0;
    if (lead < 0x80) length = 1;
    else if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (length == 0 || pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 0;
    return length;
}

std::runtime_error fileError(const char* action, const std::string& path, const QString& reason)
{
    return std::runtime_error("无法" + std::string(action) + "文件“" + path + "”：" + reason.toStdString());
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        size_t length = end - start;
        if (length > 0 && text[end - 1] == '\r') --length;
        lines.push_back(text.substr(start, length));
        start = end + 1;
    }
    return lines;
}

std::string decode(const char* encoding, std::string_view bytes)
{
    std::string out;
    const size_t failedAt = convert("UTF-8", encoding, bytes, out);
    if (failedAt == kConverted) return out;
    char detail[64];
    std::snprintf(detail, sizeof detail, "（第%zu个字节：0x%02X）", failedAt + 1,
                  static_cast<unsigned>(static_cast<unsigned char>(bytes[failedAt])));
    throw EncodingError(std::string("文件内容不是有效的") + encoding + "编码" + detail);
}

}  // namespace

std::string toGbk(std::string_view utf8)
{
    std::string out;
    const size_t failedAt = convert("GBK", "UTF-8", utf8, out);
    if (failedAt == kConverted) return out;
    const size_t length = utf8SequenceAt(utf8, failedAt);
    if (length == 0) throw EncodingError("文本不是有效的UTF-8编码，无法用GBK编码保存");
    throw EncodingError("字符“" + std::string(utf8.substr(failedAt, length)) + "”无法用GBK编码保存");
}

std::string fromGbk(std::string_view gbk) { return decode("GBK", gbk); }

std::string toGb18030(std::string_view utf8)
{
    std::string out;
    if (convert("GB18030", "UTF-8", utf8, out) == kConverted) return out;
    throw EncodingError("文本不是有效的UTF-8编码，无法保存");
}

std::string fromGb18030(std::string_view bytes) { return decode("GB18030", bytes); }

std::string cutGb18030(std::string_view bytes, size_t capacity)
{
    size_t end = 0;
    while (end < bytes.size()) {
        // One byte below 0x80; a lead byte followed by a digit starts four; else two.
        size_t width = 1;
        if (static_cast<uint8_t>(bytes[end]) >= 0x81)
            width = end + 1 < bytes.size() && bytes[end + 1] >= '0' && bytes[end + 1] <= '9' ? 4 : 2;
        if (end + width > capacity) break;
        end += width;
    }
    return std::string(bytes.substr(0, end));
}

std::vector<std::string> readSettingsLines(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw fileError("读取", path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw fileError("读取", path, file.errorString());
    return splitLines(fromGb18030(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

void writeSettingsLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += toGb18030(line);
        bytes += "\r\n";
    }
    // QSaveFile writes beside the target and renames on commit; if anything fails it removes its
    // temporary file, so the old file stays as it was.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) throw fileError("写入", path, file.errorString());
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.commit())
        throw fileError("写入", path, file.errorString());
}

}  // namespace rsgz::db
