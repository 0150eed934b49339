#pragma once

// Window geometry is kept in twips, 1440 to the inch, and turned into pixels with the widget's
// logical DPI: at 96 DPI 15 twips make a pixel, so a button 2055 x 615 twips is 137 x 41 px.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace sumvarl {

inline constexpr double TwipsPerInch = 1440.0;

inline int TwipsToPixelsX(const QWidget& widget, double twips)
{
    return qRound(twips * widget.logicalDpiX() / TwipsPerInch);
}

inline int TwipsToPixelsY(const QWidget& widget, double twips)
{
    return qRound(twips * widget.logicalDpiY() / TwipsPerInch);
}

// Each of the four numbers is converted on its own, so a size keeps its rounded width even
// where left + width would round differently.
inline QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height)
{
    return {TwipsToPixelsX(widget, left), TwipsToPixelsY(widget, top),
            TwipsToPixelsX(widget, width), TwipsToPixelsY(widget, height)};
}

inline QSize TwipsSize(const QWidget& widget, int width, int height)
{
    return {TwipsToPixelsX(widget, width), TwipsToPixelsY(widget, height)};
}

// Places a control inside its parent (a frame's children are placed relative to the frame).
inline void PlaceTwips(QWidget& widget, int left, int top, int width, int height)
{
    widget.setGeometry(TwipsRect(widget, left, top, width, height));
}

} // namespace sumvarl
