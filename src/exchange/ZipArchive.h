#pragma once
#include <QByteArray>
#include <string>

struct zip;

namespace rsgz::exchange {

// A zip file opened for reading its members (the parts of an .xlsx workbook).
class ZipArchive {
public:
    explicit ZipArchive(const std::string& path);  // throws SourceError
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool has(const std::string& member) const;
    // The whole member; throws SourceError when it is missing, damaged or larger than is sane.
    QByteArray read(const std::string& member) const;

private:
    std::string path_;
    zip* zip_ = nullptr;
};

}  // namespace rsgz::exchange
