#pragma once

// The words of what a parent reads about a child: a problem as posed, with （ ） at its open
// place; the progress chart's titles and lines; the weekly report's page.

#include "history/Progress.h"
#include "print/PrintResult.h"
#include "print/PrinterModule.h"
#include "print/ProgressChart.h"
#include "print/WeeklyReport.h"

#include <QDate>
#include <QString>

namespace sumvarl {

// "12＋（ ）＝17".
QString PosedText(const model::Problem& problem);

// The chart 进步 shows for the child: the days from first, one line for all answers and one for
// each operation practised in them.
enum class ProgressMeasure : std::int8_t { RightPerMinute, Accuracy };
ChartPicture ProgressPicture(const std::vector<history::DayProgress>& days, const QDate& first,
                             int dayCount, ProgressMeasure measure);

// The week from monday for the child, with the chart of its seven days.
WeeklyReportData WeeklyReportOf(const history::Store& store, qint64 child, const QDate& monday);

// The report of the week holding day (from its Monday) on an A4 page at path.
SaveOutcome SaveWeeklyReportPdf(const history::Store& store, qint64 child, const QDate& day,
                                const QString& path);

// The same page as a job for a printer, read from the store now.
PaintPages WeeklyReportPages(const history::Store& store, qint64 child, const QDate& day);

} // namespace sumvarl
