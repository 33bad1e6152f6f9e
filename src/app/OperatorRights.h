#pragma once
#include <string>
#include <string_view>

namespace rsgz::app {

class TDM;

// Whether the logged-in operator (the row login left in zh) holds the right. zh is read as it was
// at login, so a right changed in the rights window counts from the next login on. False when
// nobody is logged in or there is no column of that name.
bool hasRight(const TDM& dm, std::string_view right);

// The notice an operation refused for want of a right shows.
std::string refusalText(std::string_view right);

// Refuses the operation when the operator lacks the right: the notice, then a silent abort.
// Every operation that writes data calls this (or works through a dataset whose rules do) before
// it asks anything or changes anything.
void requireRight(TDM& dm, std::string_view right);

// The right that guards the rows of a shared dataset, empty for the lists that hold no data of
// their own (the logged-in operator's row, sort settings, scratch look-ups, statistics results).
std::string_view rightOfDataSet(std::string_view dataSet);

}  // namespace rsgz::app
