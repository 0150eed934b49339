#include "print/ProgressChart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>
#include <array>
#include <cmath>

namespace sumvarl {

namespace {

struct LineLook
{
    QColor colour;
    Qt::PenStyle dash;
};

// Five steps divide every rounded top (1, 2 or 5 times a power of ten) into round numbers.
constexpr int Ticks = 5;

const std::array<LineLook, 5> Looks{{
    {QColor(0x1f, 0x4e, 0xa8), Qt::SolidLine},
    {QColor(0xc2, 0x3b, 0x22), Qt::DashLine},
    {QColor(0x2e, 0x8b, 0x3a), Qt::DotLine},
    {QColor(0x8a, 0x4f, 0xb0), Qt::DashDotLine},
    {QColor(0x55, 0x55, 0x55), Qt::DashDotDotLine},
}};

QString TickText(double v)
{
    return std::abs(v - std::round(v)) < 1e-9
               ? QString::number(static_cast<long long>(std::round(v)))
               : QString::number(v, 'f', 1);
}

} // namespace

double RoundedTop(double value)
{
    if (!(value > 1)) {
        return 1;
    }
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value - 1e-9) {
            return step * power;
        }
    }
    return 10 * power;
}

void DrawChart(QPainter& painter, const QRectF& area, const ChartPicture& chart)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    const double pen = std::max(1.0, line / 12);

    // Title and unit above, the legend below, the value labels to the left.
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
                     chart.title);
    painter.drawText(QRectF(area.left(), area.top() + line, area.width(), line), Qt::AlignLeft,
                     chart.unit);
    double labelWidth = 0;
    for (int k = 0; k <= Ticks; ++k) {
        labelWidth =
            std::max(labelWidth, metrics.horizontalAdvance(TickText(chart.top * k / Ticks)));
    }
    labelWidth += line / 2;
    const QRectF plot(area.left() + labelWidth, area.top() + 2.5 * line,
                      area.width() - labelWidth - line / 2, area.height() - 5.5 * line);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    const double top = std::max(chart.top, 1e-9);
    const auto y = [&](double v) {
        return plot.bottom() - plot.height() * std::clamp(v / top, 0.0, 1.0);
    };

    painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), pen / 2));
    for (int k = 0; k <= Ticks; ++k) {
        const double v = top * k / Ticks;
        painter.drawLine(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y(v) - line / 2, labelWidth - line / 4, line),
                         Qt::AlignRight | Qt::AlignVCenter, TickText(v));
        painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), pen / 2));
    }
    painter.setPen(QPen(Qt::black, pen));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    std::size_t days = 0;
    for (const ChartLine& l : chart.lines) {
        days = std::max(days, l.values.size());
    }
    const double step = days > 1 ? plot.width() / static_cast<double>(days - 1) : 0;
    const auto x = [&](std::size_t day) {
        return days > 1 ? plot.left() + step * static_cast<double>(day) : plot.center().x();
    };
    // The first, middle and last days under the axis.
    if (days > 0 && chart.first.isValid()) {
        for (const std::size_t d : {std::size_t{0}, (days - 1) / 2, days - 1}) {
            const QString text =
                chart.first.addDays(static_cast<qint64>(d)).toString(QStringLiteral("M月d日"));
            const double w = metrics.horizontalAdvance(text);
            const double left = std::clamp(x(d) - w / 2, area.left(), area.right() - w);
            painter.drawText(QRectF(left, plot.bottom() + line / 4, w + 1, line), Qt::AlignLeft,
                             text);
        }
    }

    // Each line in runs of days with values; a day alone is a dot.
    for (std::size_t n = 0; n < chart.lines.size(); ++n) {
        const LineLook& look = Looks[n % Looks.size()];
        const std::vector<std::optional<double>>& values = chart.lines[n].values;
        QPen linePen(look.colour, pen * 1.5, look.dash);
        for (std::size_t d = 0; d < values.size(); ++d) {
            if (!values[d]) {
                continue;
            }
            const QPointF here(x(d), y(*values[d]));
            if (d + 1 < values.size() && values[d + 1]) {
                painter.setPen(linePen);
                painter.drawLine(here, QPointF(x(d + 1), y(*values[d + 1])));
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(look.colour);
            painter.drawEllipse(here, pen * 1.6, pen * 1.6);
        }
        painter.setBrush(Qt::NoBrush);
        // The legend: a sample of the line, then its name.
        const double legendY = area.bottom() - line * (0.5 + 0.0);
        const double slot =
            area.width() / static_cast<double>(std::max<std::size_t>(1, chart.lines.size()));
        const double left = area.left() + slot * static_cast<double>(n);
        painter.setPen(linePen);
        painter.drawLine(QPointF(left, legendY), QPointF(left + 2 * line, legendY));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left + 2.3 * line, legendY - line / 2, slot - 2.3 * line, line),
                         Qt::AlignLeft | Qt::AlignVCenter, chart.lines[n].name);
    }
    painter.restore();
}

} // namespace sumvarl
