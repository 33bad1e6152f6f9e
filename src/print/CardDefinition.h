#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rsgz::print {

// The record card: one free-form page per employee. Its definition is one fixed-size binary record
// (baobiao/rszlbb.dat), kept here as those very bytes, so that a file read and written again is
// the same file to the byte, reserved fields and the bytes after each text included. The accessors
// read and write the fields in place; texts are GB18030 in the file (GBK in older files, the same
// bytes) and UTF-8 here.
//
// Layout units are tenths of a millimetre; item positions are screen pixels of the card window
// (3.78 per millimetre) from the paper's top-left corner.
class CardDefinition {
public:
    static constexpr int kSize = 83932;
    static constexpr int kSlots = 640;
    static constexpr int kMaxItems = 100;
    static constexpr int kMaxLines = 200;
    // Slots: employee item i at i, all employee items in font 1; the photograph at 260; company
    // item i at 300 + i, all in font 301; other content item i at 500 + i in its own font.
    static constexpr int kEmployeeFont = 1;
    static constexpr int kPhotoSlot = 260;
    static constexpr int kCompanyBase = 300;
    static constexpr int kCompanyFont = 301;
    static constexpr int kOtherBase = 500;
    // The résumé box is never narrower or lower than this on the screen (pixels), whatever the
    // record holds: an old record's 0 would break the résumé after every character.
    static constexpr int kResumeMinWidth = 200;
    static constexpr int kResumeMinHeight = 100;

    enum class Group { Employee, Company, Other };
    struct Point {
        int x = 0, y = 0;
        bool operator==(const Point&) const = default;
    };
    struct Font {
        std::string name;
        int size = 0;
    };
    struct Line {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        bool operator==(const Line&) const = default;
    };

    // All zero, then the defaults.
    CardDefinition();

    // Sets the defaults of a new definition; every other field keeps what it holds.
    void applyDefaults();
    // The card used until the office saves its own: A4 with a title, the company, the employee's
    // particulars beside their captions in a ruled table, the photograph and the résumé below.
    static CardDefinition standardCard();

    // The record as stored. fromBytes checks every count and every text length against the
    // record's limits and that each text is GB18030; it throws std::runtime_error naming the first
    // fault, and leaves this definition as it was.
    const std::string& bytes() const { return bytes_; }
    void fromBytes(const std::string& bytes);

    Point position(int slot) const;
    void setPosition(int slot, Point p);
    Font font(int slot) const;
    void setFont(int slot, const Font& f);  // throws EncodingError for text that is not UTF-8

    // The texts of a group, in order: column names (cut to 30 bytes) or other content (250 bytes).
    std::vector<std::string> items(Group g) const;
    void setItems(Group g, const std::vector<std::string>& texts);  // at most 100 are kept
    static int positionSlot(Group g, int item);  // item from 1
    static int fontSlot(Group g, int item);

    std::vector<Line> lines(bool horizontal) const;
    void setLineCount(bool horizontal, int count);  // 0..200
    void setLine(bool horizontal, int number, const Line& l);  // number from 1

    // The résumé box (screen pixels) and whether the résumé prints.
    Point resumePosition() const { return {get(10240), get(10244)}; }
    void setResumePosition(Point p) { set(10240, p.x), set(10244, p.y); }
    int resumeHeight() const { return get(10248); }
    int resumeWidth() const { return get(10252); }
    void setResumeSize(int width, int height) { set(10252, width), set(10248, height); }
    bool printResume() const { return byte(83849) == 1; }
    void setPrintResume(bool on) { setByte(83849, on ? 1 : 0); }

    // Paper, margins and offsets (layout units).
    int paperWidth() const { return get(83852); }
    int paperHeight() const { return get(83856); }
    void setPaperSize(int width, int height) { set(83852, width), set(83856, height); }
    int lineSpacing() const { return get(83864); }
    void setLineSpacing(int v) { set(83864, v); }
    Point offset() const { return {get(83868), get(83872)}; }
    void setOffset(Point p) { set(83868, p.x), set(83872, p.y); }
    int leftMargin() const { return get(83876); }
    int rightMargin() const { return get(83880); }
    int topMargin() const { return get(83884); }
    int bottomMargin() const { return get(83888); }
    void setMargins(int left, int right, int top, int bottom);
    int tableTop() const { return get(83928); }
    void setTableTop(int v) { set(83928, v); }
    std::string paperName() const { return text(83892, 30); }
    void setPaperName(const std::string& name) { setText(83892, 30, name); }

    // The line tables laid out evenly: horizontal lines one line spacing apart below the table
    // top, vertical lines dividing the width between the margins, as tall as the horizontal ones.
    void initialiseHorizontalLines();
    void initialiseVerticalLines();

private:
    int32_t get(int offset) const;
    void set(int offset, int32_t v);
    uint8_t byte(int offset) const { return static_cast<uint8_t>(bytes_[offset]); }
    void setByte(int offset, uint8_t v) { bytes_[offset] = static_cast<char>(v); }
    std::string text(int offset, int capacity) const;
    void setText(int offset, int capacity, const std::string& utf8);

    std::string bytes_;
};

// The definition file of a program directory and its paper size files (set/<name>.p).
class CardFile {
public:
    explicit CardFile(std::string programDir) : dir_(std::move(programDir)) {}
    std::string path() const { return dir_ + "baobiao/rszlbb.dat"; }

    // Reads the file into def. A missing file gives the standard card silently; a damaged one (not
    // one whole record, a count or a length out of range, text that is not GB18030) gives it too and
    // returns why, in words for the user. Empty when the file was read.
    std::string read(CardDefinition& def) const;
    // Replaces the file as a whole (temporary file renamed). Throws std::runtime_error.
    void save(const CardDefinition& def) const;

    // The paper size file set/<name>.p: width and height in layout units; false when it is missing
    // or does not hold two numbers.
    bool paperSize(const std::string& name, int& width, int& height) const;

private:
    std::string dir_;
};

}  // namespace rsgz::print
