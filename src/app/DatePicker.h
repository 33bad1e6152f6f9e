#pragma once
// The date picker 取得当前日期, without its window, and the date-field behaviour of the record
// windows that use it.
#include <QDate>
#include <string>

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::app {

// The picker's result lives in the data module (PickedDateText, DatePicked) so that the window that
// asked can read it after the modal window is gone. The chosen date is written as yyyy-mm-dd,
// whatever the desktop's date format: a two-digit year or a day-month order would be read back as
// another date.
class DatePicker {
public:
    // Clears the last choice: PickedDateText empty, DatePicked false.
    explicit DatePicker(app::TDM& dm);

    QDate today() const;  // the calendar opens on today (the data module's clock)
    bool closed = false;

    void choose(const QDate& date);  // 确定, or a double-click on the calendar
    void cancel();                   // 取消, Escape or the close box

private:
    app::TDM& dm_;
};

// A date field's picker: shows 取得当前日期; when a date was chosen the dataset goes into edit mode
// (or starts a row on an empty list) and the field takes the date. True when a date was stored;
// otherwise the record is left as it was.
bool pickDate(app::TDM& dm, db::DataSet& ds, const std::string& field);

}  // namespace rsgz::app
