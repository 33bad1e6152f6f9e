#pragma once
#include <QApplication>
#include <QString>
#include <QWidget>

namespace rsgz::test {

// With RSGZ_SCREENSHOT_DIR set, a widget test saves the window it shows there as a picture.
inline void screenshot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + QString::fromUtf8(name));
}

}  // namespace rsgz::test
