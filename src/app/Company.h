#pragma once

namespace rsgz::app {
class TDM;
}

namespace rsgz::app {

// Re-reads the company particulars; the current row is the first (the only one the program uses).
void open_gongsi_data(app::TDM& dm);

}  // namespace rsgz::app
