#pragma once
#include <QColor>
#include <QIcon>
#include <QString>

namespace rsgz::widgets {

// The navigation bar's large icons: one character on a rounded tile of the group's colour, drawn
// at run time so they stay sharp at any size and need no image files.
QIcon glyphIcon(const QString& glyph, const QColor& tile);

}  // namespace rsgz::widgets
