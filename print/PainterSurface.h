#pragma once

// The text surface over a QPainter: the screen sheet's kept pixmap, a printer or a PDF file.
// Metrics come from the painter's own device, so printer text is measured on the printer.

#include "worksheet/PrintSurface.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>

class QPainter;
class QPagedPaintDevice;

namespace sumvarl {

class PainterSurface final : public PrintSurface
{
public:
    // pages: set for a paged device (printer, PDF); a line that does not fit below the
    // printable area moves to the top of a new page. background: what Cls fills with.
    explicit PainterSurface(QPainter& painter, QPagedPaintDevice* pages = nullptr,
                            QColor background = Qt::white);

    // Twips to the device's pixels, horizontally and vertically.
    double TwipsToPixelsX(double twips) const;
    double TwipsToPixelsY(double twips) const;

    int PagesStarted() const { return pagesStarted_; }
    // True once the device refused a new page: the job cannot be complete.
    bool PageFailed() const { return pageFailed_; }
    // The printable height of the device in twips (what a paged device must fit a line into).
    double PageHeightTwips() const;

protected:
    double ColumnWidth() const override;
    double LineHeight() const override;
    double TextWidth(std::u16string_view text) const override;
    void DrawText(double x, double y, std::u16string_view text) override;
    void Clear() override;
    void FontChanged() override;
    double PlaceLine(double y) override;
    double StartPage(double y) override;
    void FooterChanged(std::u16string_view text) override;

private:
    // The height lines may fill: the page less the footer's room.
    double BodyHeightTwips() const;
    void DrawFooter();

    QPainter& painter_;
    QPagedPaintDevice* pages_;
    QColor background_;
    QFont qfont_;
    QFontMetricsF metrics_;
    double dpiX_;
    double dpiY_;
    double columnTwips_ = 0.0;
    double lineTwips_ = 0.0;
    double ascentPixels_ = 0.0;
    QString footer_;
    int pagesStarted_ = 1;
    bool pageFailed_ = false;
};

// Maps the face names the worksheets and windows ask for ("宋体", "隶书", "System") to
// installed fonts with CJK coverage. Call once, before any window is made; fonts are then made
// with QFont::substitute(face), the installed family itself.
void InstallFontSubstitutions();

} // namespace sumvarl
