#pragma once
#include <QPushButton>
#include <string>

namespace rsgz::widgets {

// A button that shows a colour as a swatch and lets the user choose another in the colour dialog.
// The colour is kept as the report definitions write it, "#RRGGBB".
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(const QString& objectName, QWidget* parent = nullptr);
    const std::string& color() const { return color_; }
    void setColor(const std::string& color);  // shows it; no signal
    void pick(const std::string& color);      // what choosing in the dialog does: shows it and signals

signals:
    void colorChosen(const std::string& color);

private:
    void openDialog();

    std::string color_ = "#000000";
};

}  // namespace rsgz::widgets
