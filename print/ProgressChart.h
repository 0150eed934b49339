#pragma once

// A chart of values by day, drawn with QPainter into any rectangle: the screen, a printed page or
// a PDF get the same picture. Days without a value are gaps in a line, never zeros. Lines differ
// by their dash as well as their colour, and the legend names them, so a black-and-white page
// reads as well as the screen.

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

class QPainter;
class QRectF;

namespace sumvarl {

struct ChartLine
{
    QString name;
    std::vector<std::optional<double>> values; // one per day from the chart's first
};

struct ChartPicture
{
    QString title;
    QString unit;   // under the title: "每分钟答对（题）"
    QDate first;    // the day of values[0]
    double top = 0; // the value axis runs from 0 to at least this
    std::vector<ChartLine> lines;
};

void DrawChart(QPainter& painter, const QRectF& area, const ChartPicture& chart);

// The smallest "round" number (1, 2 or 5 times a power of ten) at or above value; at least 1.
double RoundedTop(double value);

} // namespace sumvarl
