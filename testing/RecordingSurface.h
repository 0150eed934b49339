#pragma once

#include "worksheet/PrintSurface.h"

#include <string>
#include <vector>

namespace sumvarl::testing {

// A surface with round metrics that records every drawn text. A line is 20 twips per point of
// the font in force; a column (and a character) is either a fixed 100 twips, or 10 twips per
// point, so that a position also shows which size was set when the tab or the text happened.
// The worksheet tests' expected positions and golden digests were taken with the fixed
// columns, the printed layout's with the scaled ones.
class RecordingSurface final : public PrintSurface
{
public:
    enum class Columns {
        Fixed,  // 100 twips whatever the size
        Scaled, // 10 twips per point
    };

    struct Drawn
    {
        std::u16string text;
        double x;
        double y;
        FontSpec font;
    };

    explicit RecordingSurface(Columns columns = Columns::Fixed) : columns_(columns) {}

    static constexpr double FixedColumn = 100;
    static double ScaledColumn(double points) { return 10 * points; }
    static double Line(double points) { return 20 * points; }

    std::vector<Drawn> drawn;
    int clears = 0;
    int pages = 1;

    // All texts drawn at height y, joined in drawing order.
    std::u16string LineAt(double y) const
    {
        std::u16string line;
        for (const Drawn& d : drawn) {
            if (d.y == y) {
                line += d.text;
            }
        }
        return line;
    }

protected:
    double ColumnWidth() const override
    {
        return columns_ == Columns::Fixed ? FixedColumn : ScaledColumn(Font().size);
    }
    double LineHeight() const override { return Line(Font().size); }
    double TextWidth(std::u16string_view text) const override
    {
        return ColumnWidth() * static_cast<double>(text.size());
    }
    void DrawText(double x, double y, std::u16string_view text) override
    {
        drawn.push_back({std::u16string(text), x, y, Font()});
    }
    // A new page starts at the top again; pages counts them.
    double StartPage(double /*y*/) override
    {
        ++pages;
        return 0.0;
    }
    void Clear() override
    {
        ++clears;
        drawn.clear();
    }

private:
    Columns columns_;
};

} // namespace sumvarl::testing
