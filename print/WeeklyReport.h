#pragma once

// The weekly report: one A4 page for one child, its words and numbers worked out by the caller.

#include "print/ProgressChart.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class QPainter;
class QRectF;

namespace sumvarl {

struct WeekFigures
{
    int answers = 0;
    std::optional<double> accuracy; // percent
    std::optional<double> rightPerMinute;
};

struct WeeklyReportData
{
    QString title;       // "小明的一周（2026年11月30日—12月6日）"
    QStringList summary; // the lines under it: rounds and minutes
    QString thisWeek;    // the column heads of the comparison
    QString weekBefore;
    WeekFigures week;
    WeekFigures before;
    ChartPicture chart;
    QString fluentHeading;
    QStringList fluent; // facts that became fluent this week
    QString weakestHeading;
    QStringList weakest; // the ten weakest facts
};

void PaintWeeklyReport(QPainter& painter, const QRectF& page, const WeeklyReportData& report);

} // namespace sumvarl
