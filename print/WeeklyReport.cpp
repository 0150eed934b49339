#include "print/WeeklyReport.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

namespace sumvarl {

namespace {

QString Figure(const std::optional<double>& value, const char* format)
{
    return value ? QString::asprintf(format, *value) : QStringLiteral("—");
}

// Lines of text from top, in columns of the given width where they do not fit one; returns the
// height used.
double DrawList(QPainter& painter, const QRectF& area, const QStringList& lines, int columns)
{
    const double line = QFontMetricsF(painter.font()).height() * 1.3;
    const int rows = (static_cast<int>(lines.size()) + columns - 1) / columns;
    const double width = area.width() / columns;
    for (int n = 0; n < lines.size(); ++n) {
        const int column = n / std::max(rows, 1); // whole columns, filled top to bottom
        const double x = area.left() + width * column;
        const double y = area.top() + line * (n % std::max(rows, 1));
        painter.drawText(QRectF(x, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, lines[n]);
    }
    return line * rows;
}

} // namespace

void PaintWeeklyReport(QPainter& painter, const QRectF& page, const WeeklyReportData& r)
{
    painter.save();
    QFont font = painter.font();
    // Sizes from the page, so that the screen and paper get the same layout.
    const double unit = page.width() / 60;
    font.setPixelSize(static_cast<int>(unit * 1.6));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    double y = page.top();
    const double titleLine = QFontMetricsF(font).height() * 1.5;
    painter.drawText(QRectF(page.left(), y, page.width(), titleLine), Qt::AlignLeft, r.title);
    y += titleLine;
    font.setBold(false);
    font.setPixelSize(static_cast<int>(unit));
    painter.setFont(font);
    y += DrawList(painter, QRectF(page.left(), y, page.width(), page.height()), r.summary, 1);

    // This week against the one before.
    const QStringList heads{QString(), r.thisWeek, r.weekBefore};
    const QStringList rows[] = {
        {QStringLiteral("答题数"), QString::number(r.week.answers),
         QString::number(r.before.answers)},
        {QStringLiteral("正确率"), Figure(r.week.accuracy, "%.0f％"),
         Figure(r.before.accuracy, "%.0f％")},
        {QStringLiteral("每分钟答对"), Figure(r.week.rightPerMinute, "%.1f"),
         Figure(r.before.rightPerMinute, "%.1f")},
    };
    const double cell = QFontMetricsF(font).height() * 1.4;
    const double column = page.width() / 4;
    y += cell / 2;
    for (int c = 0; c < 3; ++c) {
        painter.drawText(QRectF(page.left() + column * c, y, column, cell), Qt::AlignLeft,
                         heads[c]);
    }
    painter.drawLine(QPointF(page.left(), y + cell), QPointF(page.left() + column * 3, y + cell));
    y += cell * 1.1;
    for (const QStringList& row : rows) {
        for (int c = 0; c < 3; ++c) {
            painter.drawText(QRectF(page.left() + column * c, y, column, cell), Qt::AlignLeft,
                             row[c]);
        }
        y += cell;
    }
    y += cell / 2;
    const double chartHeight = page.height() * 0.3;
    DrawChart(painter, QRectF(page.left(), y, page.width(), chartHeight), r.chart);
    y += chartHeight + cell;

    for (const auto& [heading, lines] :
         {std::pair{r.fluentHeading, r.fluent}, std::pair{r.weakestHeading, r.weakest}}) {
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRectF(page.left(), y, page.width(), cell), Qt::AlignLeft, heading);
        font.setBold(false);
        painter.setFont(font);
        y += cell;
        y += DrawList(painter, QRectF(page.left(), y, page.width(), page.bottom() - y), lines, 3);
        y += cell / 2;
    }
    painter.restore();
}

} // namespace sumvarl
