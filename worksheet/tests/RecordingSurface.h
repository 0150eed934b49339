#pragma once

#include "worksheet/PrintSurface.h"

#include <string>
#include <vector>

namespace sumvarl::testing {

// A surface with simple fixed metrics that records every drawn text: one column is 100 twips,
// a text is 100 twips per character, a line is 20 twips per point of the font in force.
class RecordingSurface final : public PrintSurface
{
public:
    struct Drawn
    {
        std::u16string text;
        double x;
        double y;
        FontSpec font;
    };

    static constexpr double Column = 100;

    std::vector<Drawn> drawn;
    int clears = 0;

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
    double ColumnWidth() const override { return Column; }
    double LineHeight() const override { return Font().size * 20; }
    double TextWidth(std::u16string_view text) const override
    {
        return Column * static_cast<double>(text.size());
    }
    void DrawText(double x, double y, std::u16string_view text) override
    {
        drawn.push_back({std::u16string(text), x, y, Font()});
    }
    void Clear() override
    {
        ++clears;
        drawn.clear();
    }
};

} // namespace sumvarl::testing
