#pragma once

// A text surface in the old line-printer style: a current font, a current print position in
// twips, and print statements made of text and Tab items. The rules of the statements live
// here once; a device (screen pixmap, printer, test recorder) supplies only its metrics and
// the drawing.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace sumvarl {

struct Tab
{
    int column; // 1-based; below 1 means column 1
};

using PrintItem = std::variant<std::u16string_view, Tab>;

enum class Ending {
    Open, // the next statement continues the line
    Line, // back to x = 0 and down one line height of the font in force
};

struct FontSpec
{
    std::u16string name;
    double size = 12.0; // points
    bool bold = false;
    bool underline = false;
    bool strikeOut = false; // a marked sheet's wrong answer

    bool operator==(const FontSpec&) const = default;
};

class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    void SetFontName(std::u16string_view name);
    void SetFontSize(double points);
    void SetFontBold(bool on);
    void SetFontUnderline(bool on);
    void SetFontStrikeOut(bool on);
    const FontSpec& Font() const { return font_; }

    double CurrentX() const { return x_; }
    void SetCurrentX(double twips) { x_ = twips; }
    double CurrentY() const { return y_; }

    // Where a Tab to column puts the print position, and how wide text would print, in twips in
    // the current font; for statements that must end before a given column.
    double ColumnStart(int column) const;
    double MeasureText(std::u16string_view text) const { return TextWidth(text); }

    // Erase everything and go back to the top left corner.
    void Cls();

    void Print(std::initializer_list<PrintItem> items, Ending ending);
    void EndLine() { Print({}, Ending::Line); }
    // What follows starts at the top left of a new page; on a surface without pages it goes on
    // below.
    void NewPage();
    // A line of small print at the foot of this page and every page after it, such as a sheet's
    // 卷号; a surface without pages has no foot and ignores it.
    void SetPageFooter(std::u16string_view text) { FooterChanged(text); }

protected:
    // Metrics of the current font on this device, in twips.
    virtual double ColumnWidth() const = 0;
    virtual double LineHeight() const = 0;
    virtual double TextWidth(std::u16string_view text) const = 0;

    // Draw text with its top left corner at (x, y) twips in the current font.
    virtual void DrawText(double x, double y, std::u16string_view text) = 0;
    virtual void Clear() = 0;
    virtual void FontChanged() {}
    // Called before text is drawn on the current line; a paged device may move to a new page
    // here and return the new top of the line.
    virtual double PlaceLine(double y) { return y; }
    // Starts a new page where the device has pages and returns the new top.
    virtual double StartPage(double y) { return y; }
    virtual void FooterChanged(std::u16string_view /*text*/) {}

private:
    void PrintTab(int column);
    void PrintText(std::u16string_view text);
    void NewLine();

    FontSpec font_;
    double x_ = 0.0;
    double y_ = 0.0;
};

} // namespace sumvarl
