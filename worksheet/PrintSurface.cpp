#include "worksheet/PrintSurface.h"

namespace sumvarl {

void PrintSurface::SetFontName(std::u16string_view name)
{
    font_.name = name;
    FontChanged();
}

void PrintSurface::SetFontSize(double points)
{
    font_.size = points;
    FontChanged();
}

void PrintSurface::SetFontBold(bool on)
{
    font_.bold = on;
    FontChanged();
}

void PrintSurface::SetFontUnderline(bool on)
{
    font_.underline = on;
    FontChanged();
}

void PrintSurface::SetFontStrikeOut(bool on)
{
    font_.strikeOut = on;
    FontChanged();
}

void PrintSurface::Cls()
{
    Clear();
    x_ = 0.0;
    y_ = 0.0;
}

void PrintSurface::Print(std::initializer_list<PrintItem> items, Ending ending)
{
    for (const PrintItem& item : items) {
        if (const Tab* tab = std::get_if<Tab>(&item)) {
            PrintTab(tab->column);
        } else {
            PrintText(std::get<std::u16string_view>(item));
        }
    }
    if (ending == Ending::Line) {
        NewLine();
    }
}

double PrintSurface::ColumnStart(int column) const
{
    return (column < 1 ? 0 : column - 1) * ColumnWidth();
}

void PrintSurface::PrintTab(int column)
{
    const double start = ColumnStart(column);
    if (x_ > start) {
        NewLine();
    }
    x_ = start;
}

void PrintSurface::PrintText(std::u16string_view text)
{
    if (text.empty()) {
        return;
    }
    y_ = PlaceLine(y_);
    DrawText(x_, y_, text);
    x_ += TextWidth(text);
}

void PrintSurface::NewPage()
{
    x_ = 0.0;
    y_ = StartPage(y_);
}

void PrintSurface::NewLine()
{
    x_ = 0.0;
    y_ += LineHeight();
}

} // namespace sumvarl
