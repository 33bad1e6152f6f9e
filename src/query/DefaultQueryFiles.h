#pragma once
#include <string>
#include <vector>

namespace rsgz::query {

// The column files the installation brings below set/: the columns the personnel and transfer
// query windows offer, the drop-down columns of every combined query window, the statistics
// items and the levels of the salary tree. The pages write the other windows' offered columns themselves when their lists open.
struct DefaultQueryFile {
    std::string name;  // below set/
    std::vector<std::string> lines;
};
const std::vector<DefaultQueryFile>& defaultQueryFiles();

// Writes each default file that does not exist yet into setDir (with its trailing separator); what
// an operator changed stays. Throws when a file cannot be written.
void writeMissingQueryFiles(const std::string& setDir);

}  // namespace rsgz::query
