#pragma once
#include <map>
#include <string>
#include <vector>

#include "print/CardDefinition.h"

namespace rsgz::print {

// What one record card shows, in device pixels, computed from the definition before anything is
// drawn, so the screen, the printer and a PDF draw the same thing.
struct CardPage {
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
    };
    struct Text {
        int x = 0, y = 0;  // top-left corner of the text
        std::string text;
        CardDefinition::Font font;
        bool bold = false;
    };
    Rect frame;
    int framePen = 0;
    std::vector<CardDefinition::Line> lines;  // horizontal ones first
    int linePen = 0;
    bool photo = false;
    Rect photoBox;
    std::vector<Text> texts;
    // The résumé: its text broken at the résumé box's width (resumeWrapWidth, device pixels), line n
    // drawn resumeLineStep × (n − 1) below the first.
    bool resume = false;
    Text resumeText;
    int resumeWrapWidth = 0;
    double resumeLineStep = 0;
};

// Device pixels per layout unit: 3.78 per millimetre on the screen; on a printer its resolution
// as the table pages take it (pixels per inch ÷ 180 × 7.1).
struct CardScale {
    double sx = 3.78, sy = 3.78;
    static CardScale screen() { return {}; }
    static CardScale printer(int dpiX, int dpiY) { return {dpiX / 180.0 * 7.1, dpiY / 180.0 * 7.1}; }
};

// The values one card prints: the employee's and the company's columns by name, and the résumé.
// A column the definition names but the row does not hold prints nothing.
struct CardValues {
    std::map<std::string, std::string> employee, company;
    std::string resume;
};

enum class CardMode {
    Card,       // everything
    Blank,      // a blank form: frame, lines and the other content only
    Placement,  // frame and lines; the items are movable labels of the window
};

CardPage layoutCard(const CardDefinition& def, const CardValues& values, CardScale scale, CardMode mode);

// The font an item is drawn in: a slot never given a font is 宋体 9, as the definition window shows it.
CardDefinition::Font cardFont(const CardDefinition& def, int slot);

}  // namespace rsgz::print
