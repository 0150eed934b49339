#include "print/PainterSurface.h"

#include "wording/Text.h"

#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace sumvarl {

namespace {

constexpr double TwipsPerInch = 1440.0;

QFont MakeFont(const FontSpec& wanted, const QPaintDevice* device)
{
    // The installed family the face stands for, named directly (see InstallFontSubstitutions).
    QFont font(QFont::substitute(ToQString(wanted.name)));
    // A zero or negative size would make Qt warn and fall back to its default size; the smallest
    // positive size keeps the statement visible as "tiny" instead of silently 12 points.
    font.setPointSizeF(wanted.size > 0.0 ? wanted.size : 0.1);
    font.setBold(wanted.bold);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    // Glyphs placed at their design widths: hinting that rounds widths to device pixels would
    // move text by fractions of a point from one font engine to the next (Linux reads
    // fontconfig's slight hinting, Qt's own FreeType engine on Windows hints fully).
    font.setHintingPreference(QFont::PreferVerticalHinting);
    // Resolve against the device so that sizes and metrics are the device's own (a 1200 dpi
    // printer measures text differently from a 96 dpi screen).
    return {font, device};
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter, QPagedPaintDevice* pages, QColor background)
    : painter_(painter), pages_(pages), background_(background),
      qfont_(MakeFont(Font(), painter.device())), metrics_(qfont_, painter.device()),
      dpiX_(painter.device()->logicalDpiX()), dpiY_(painter.device()->logicalDpiY())
{
    FontChanged();
}

double PainterSurface::TwipsToPixelsX(double twips) const
{
    return twips * dpiX_ / TwipsPerInch;
}

double PainterSurface::TwipsToPixelsY(double twips) const
{
    return twips * dpiY_ / TwipsPerInch;
}

double PainterSurface::PageHeightTwips() const
{
    return painter_.device()->height() * TwipsPerInch / dpiY_;
}

double PainterSurface::ColumnWidth() const
{
    return columnTwips_;
}

double PainterSurface::LineHeight() const
{
    return lineTwips_;
}

double PainterSurface::TextWidth(std::u16string_view text) const
{
    return metrics_.horizontalAdvance(ToQString(text)) * TwipsPerInch / dpiX_;
}

void PainterSurface::DrawText(double x, double y, std::u16string_view text)
{
    painter_.drawText(QPointF(TwipsToPixelsX(x), TwipsToPixelsY(y) + ascentPixels_),
                      ToQString(text));
}

void PainterSurface::Clear()
{
    const QPaintDevice* device = painter_.device();
    painter_.save();
    painter_.resetTransform();
    painter_.fillRect(QRect(0, 0, device->width(), device->height()), background_);
    painter_.restore();
}

void PainterSurface::FontChanged()
{
    const QPaintDevice* device = painter_.device();
    qfont_ = MakeFont(Font(), device);
    metrics_ = QFontMetricsF(qfont_, device);
    columnTwips_ = metrics_.averageCharWidth() * TwipsPerInch / dpiX_;
    // height() (ascent + descent) rather than lineSpacing(): a line advances by the font's cell
    // height, as the old line printers did, and some CJK fonts report a negative leading that
    // would pull the lines together.
    lineTwips_ = metrics_.height() * TwipsPerInch / dpiY_;
    ascentPixels_ = metrics_.ascent();
    painter_.setFont(qfont_);
}

double PainterSurface::PlaceLine(double y)
{
    // A line already at the top of a page stays there even if it is taller than the page:
    // another page would not make it fit, it would only add blank sheets.
    if (y + lineTwips_ <= BodyHeightTwips()) {
        return y;
    }
    return StartPage(y);
}

double PainterSurface::StartPage(double y)
{
    if (pages_ == nullptr || y <= 0.0) {
        return y;
    }
    if (!pages_->newPage()) {
        pageFailed_ = true;
        return y;
    }
    ++pagesStarted_;
    DrawFooter();
    return 0.0;
}

void PainterSurface::FooterChanged(std::u16string_view text)
{
    footer_ = ToQString(text);
    DrawFooter();
}

double PainterSurface::BodyHeightTwips() const
{
    constexpr double FooterRoomTwips = 360.0; // a quarter inch
    return PageHeightTwips() - (pages_ != nullptr && !footer_.isEmpty() ? FooterRoomTwips : 0.0);
}

// Small, at the right of the page's foot, in the document's face.
void PainterSurface::DrawFooter()
{
    if (pages_ == nullptr || footer_.isEmpty()) {
        return;
    }
    constexpr double FooterPoints = 9.0;
    FontSpec small = Font();
    small.size = FooterPoints;
    small.bold = small.underline = small.strikeOut = false;
    const QPaintDevice* device = painter_.device();
    const QFont font = MakeFont(small, device);
    const QFontMetricsF metrics(font, device);
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(device->width() - metrics.horizontalAdvance(footer_),
                              device->height() - metrics.descent()),
                      footer_);
    painter_.restore();
}

void InstallFontSubstitutions()
{
    struct Substitution
    {
        const char16_t* face;
        QStringList installedAlternatives;
    };
    const Substitution substitutions[] = {
        {u"宋体", {"AR PL UMing CN", "AR PL SungtiL GB", "SimSun", "NSimSun"}},
        {u"隶书", {"AR PL UKai CN", "LiSu", "STLiti"}},
        {u"System", {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "Microsoft YaHei", "SimHei"}},
    };
    const QStringList installed = QFontDatabase::families();
    for (const Substitution& s : substitutions) {
        const QString face = ToQString(s.face);
        // Where the face itself exists (SimSun on Windows) the real font wins.
        if (installed.contains(face, Qt::CaseInsensitive)) {
            continue;
        }
        // Only the first installed alternative: a face asked for by a name Qt does not know
        // costs a fontconfig fallback search, and further alternatives each another one.
        for (const QString& alternative : s.installedAlternatives) {
            if (installed.contains(alternative, Qt::CaseInsensitive)) {
                QFont::insertSubstitution(face, alternative);
                break;
            }
        }
    }
}

} // namespace sumvarl
