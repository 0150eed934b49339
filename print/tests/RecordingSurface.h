#pragma once

// A surface with round metrics that keeps every drawn text. A column is 10 twips per point and
// a line 20 twips per point of the font in force, so a position also shows which size was set
// when the tab or the line end happened.

#include "worksheet/PrintSurface.h"

#include <string>
#include <vector>

namespace printtest {

class RecordingSurface final : public sumvarl::PrintSurface
{
public:
    struct Drawn
    {
        std::u16string text;
        double x;
        double y;
        sumvarl::FontSpec font;
    };

    std::vector<Drawn> drawn;
    int clears = 0;

    static double Column(double points) { return 10 * points; }
    static double Line(double points) { return 20 * points; }

protected:
    double ColumnWidth() const override { return Column(Font().size); }
    double LineHeight() const override { return Line(Font().size); }
    double TextWidth(std::u16string_view text) const override
    {
        return Column(Font().size) * static_cast<double>(text.size());
    }
    void DrawText(double x, double y, std::u16string_view text) override
    {
        drawn.push_back({std::u16string(text), x, y, Font()});
    }
    void Clear() override { ++clears; }
};

} // namespace printtest
