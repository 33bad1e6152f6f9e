#include "exchange/ZipArchive.h"

#include <zip.h>

#include "exchange/SourceFile.h"

namespace rsgz::exchange {

namespace {
// A sheet of a million rows stays far below this; a member that claims more is damaged or a trap.
constexpr zip_uint64_t kMaxMemberSize = 512ull * 1024 * 1024;
}  // namespace

ZipArchive::ZipArchive(const std::string& path) : path_(path)
{
    int error = 0;
    zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!zip_) throw SourceError("不能读取 Excel 文件“" + path + "”：文件已损坏，或不是 .xlsx 格式的工作簿。");
}

ZipArchive::~ZipArchive()
{
    if (zip_) zip_discard(zip_);
}

bool ZipArchive::has(const std::string& member) const { return zip_name_locate(zip_, member.c_str(), 0) >= 0; }

QByteArray ZipArchive::read(const std::string& member) const
{
    const std::string damaged = "Excel 文件“" + path_ + "”已损坏（" + member + "）。";
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip_, member.c_str(), 0, &st) != 0) throw SourceError(damaged);
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxMemberSize) throw SourceError(damaged);
    zip_file_t* f = zip_fopen(zip_, member.c_str(), 0);
    if (!f) throw SourceError(damaged);
    QByteArray bytes(static_cast<qsizetype>(st.size), '\0');
    const zip_int64_t got = st.size ? zip_fread(f, bytes.data(), st.size) : 0;
    zip_fclose(f);
    if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) throw SourceError(damaged);
    return bytes;
}

}  // namespace rsgz::exchange
