#include "app/DatePicker.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DataSet.h"

namespace rsgz::app {

DatePicker::DatePicker(app::TDM& dm) : dm_(dm)
{
    dm_.PickedDateText.clear();
    dm_.DatePicked = false;
}

QDate DatePicker::today() const { return dm_.now().date(); }

void DatePicker::choose(const QDate& date)
{
    if (!date.isValid()) return;
    dm_.PickedDateText = date.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    dm_.DatePicked = true;
    closed = true;
}

void DatePicker::cancel()
{
    dm_.DatePicked = false;
    closed = true;
}

bool pickDate(app::TDM& dm, db::DataSet& ds, const std::string& field)
{
    // A choice left over from an earlier picker must never reach this field.
    dm.DatePicked = false;
    dm.PickedDateText.clear();
    app::interaction().openWindow(app::WindowId::TodayDate);
    if (!dm.DatePicked) return false;
    ds.edit();
    ds.setValue(field, db::Value(dm.PickedDateText));
    return true;
}

}  // namespace rsgz::app
