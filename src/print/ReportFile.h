#pragma once
#include <string>

#include "print/ReportDefinition.h"

namespace rsgz::print {

// Report definitions are kept whole in a text file: UTF-8 JSON with a format name and a version,
// so a later version can read what this one wrote. Every property of the definition is written.

struct ReportFileResult {
    bool ok = false;
    std::string error;  // a Chinese sentence saying what is wrong with the file
    ReportDefinition definition;
};

// Reads a definition. A missing, unreadable or damaged file gives ok == false and a message;
// a property the file does not name keeps the value of a new definition.
ReportFileResult loadReportDefinition(const std::string& path);
// Writes a definition through a temporary file renamed over the old one: a failed write leaves
// the old file as it was. Returns an empty string on success, otherwise the reason.
std::string saveReportDefinition(const ReportDefinition& def, const std::string& path);

// The text form alone (what the file holds), for callers that keep a definition elsewhere.
std::string reportDefinitionToText(const ReportDefinition& def);
ReportFileResult reportDefinitionFromText(const std::string& text);

}  // namespace rsgz::print
