#pragma once
#include <QPixmap>
#include <QScrollArea>

class QLabel;

namespace rsgz::shell {

// The work area's desktop picture: a picture stretched over the whole area on a scrollable surface.
// Until the operator chooses one it shows the program's own picture, drawn to the area's size.
class DesktopArea : public QScrollArea {
    Q_OBJECT
public:
    explicit DesktopArea(QWidget* parent = nullptr);

    // Shows the picture in the file; false (and the area keeps what it shows) when it cannot be read.
    bool loadPicture(const QString& path);
    bool showsBuiltInPicture() const { return picture_.isNull(); }
    // A panel shown over the picture, at its top right (the reminders of due dates).
    void setOverlay(QWidget* w);

    static QPixmap builtInPicture(const QSize& size);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void render();

    QLabel* surface_;
    QPixmap picture_;  // the chosen picture; null for the built-in one
};

}  // namespace rsgz::shell
