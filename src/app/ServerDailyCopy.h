#pragma once
#include <QDateTime>

#include <string>

namespace rsgz::app {

class TDM;

// The close-time copy of a database on a server: one archive a day into the bak folder, taken by
// the first clerk who closes the program that day. The server keeps who took it, so the clerks
// closing later that day (at their own computers, each with a bak folder of their own) leave it.
// Returns the note for the status bar when the copy was left to another clerk, else empty. A copy
// that fails is not reported (the program ends either way) and is not recorded, so that the next
// clerk to close tries again.
std::string takeServerDailyCopy(TDM& dm, const std::string& file, const QDateTime& now);

}  // namespace rsgz::app
