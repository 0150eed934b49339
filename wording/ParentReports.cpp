#include "wording/ParentReports.h"

#include "print/PrintedWorksheet.h"
#include "wording/Text.h"
#include "worksheet/TableRow.h"

#include <algorithm>

namespace sumvarl {

namespace {

const QString Blank = QStringLiteral("（ ）");

WeekFigures FiguresOf(const history::DayTotals& t)
{
    WeekFigures f;
    f.answers = t.answers;
    if (t.answers > 0) {
        f.accuracy = 100.0 * t.Accuracy();
    }
    f.rightPerMinute = t.RightPerMinute();
    return f;
}

QString DayText(const QDate& day)
{
    return day.toString(QStringLiteral("M月d日"));
}

} // namespace

QString PosedText(const model::Problem& problem)
{
    const TableRow row = RowOf(problem);
    const QString a = row.blankKind == 1 ? Blank : ToQString(row.operand1);
    const QString b = row.blankKind == 2 ? Blank : ToQString(row.operand2);
    const QString r = row.blankKind == 0 ? Blank : ToQString(row.result);
    return a + ToQString(row.op) + b + QStringLiteral("＝") + r;
}

ChartPicture ProgressPicture(const std::vector<history::DayProgress>& days, const QDate& first,
                             int dayCount, ProgressMeasure measure)
{
    ChartPicture chart;
    chart.first = first;
    const bool speed = measure == ProgressMeasure::RightPerMinute;
    chart.title = speed ? QStringLiteral("每分钟答对几题") : QStringLiteral("正确率");
    chart.unit = speed ? QStringLiteral("题／分钟（纸上的题不计）") : QStringLiteral("％");
    const auto value = [speed](const history::DayTotals& t) -> std::optional<double> {
        if (t.answers == 0) {
            return std::nullopt;
        }
        return speed ? t.RightPerMinute() : std::optional(100.0 * t.Accuracy());
    };
    const auto series = [&](const QString& name, const auto& pick) {
        ChartLine line{name,
                       std::vector<std::optional<double>>(static_cast<std::size_t>(dayCount))};
        bool any = false;
        for (const history::DayProgress& d : days) {
            const qint64 at = first.daysTo(d.day);
            if (at >= 0 && at < dayCount) {
                line.values[static_cast<std::size_t>(at)] = value(pick(d));
                any = any || line.values[static_cast<std::size_t>(at)].has_value();
            }
        }
        if (any) {
            chart.lines.push_back(std::move(line));
        }
    };
    series(QStringLiteral("全部"), [](const history::DayProgress& d) { return d.all; });
    const std::array<QString, 4> names{QStringLiteral("加法"), QStringLiteral("减法"),
                                       QStringLiteral("乘法"), QStringLiteral("除法")};
    for (std::size_t op = 0; op < 4; ++op) {
        series(names[op], [op](const history::DayProgress& d) { return d.byOperation[op]; });
    }
    double top = speed ? 1 : 100;
    for (const ChartLine& l : chart.lines) {
        for (const std::optional<double>& v : l.values) {
            top = std::max(top, v.value_or(0));
        }
    }
    chart.top = speed ? RoundedTop(top) : 100;
    return chart;
}

WeeklyReportData WeeklyReportOf(const history::Store& store, qint64 child, const QDate& monday)
{
    const history::WeekSummary week = history::WeekOf(store, child, monday);
    const std::optional<history::Child> who = store.ChildById(child);
    const QDate sunday = monday.addDays(6);
    WeeklyReportData r;
    r.title = QStringLiteral("%1的一周（%2年%3—%4）")
                  .arg(who ? who->name : QString())
                  .arg(monday.year())
                  .arg(DayText(monday), DayText(sunday));
    r.summary << QStringLiteral("练习 %1 轮，共 %2 分钟。")
                     .arg(week.rounds)
                     .arg((week.seconds + 30) / 60);
    r.thisWeek = QStringLiteral("这一周");
    r.weekBefore = QStringLiteral("上一周");
    r.week = FiguresOf(week.week);
    r.before = FiguresOf(week.weekBefore);
    r.chart = ProgressPicture(history::ProgressByDay(store, child, monday, sunday), monday, 7,
                              ProgressMeasure::RightPerMinute);
    r.fluentHeading = QStringLiteral("这一周新熟练的题（%1 道）").arg(week.becameFluent.size());
    // A page holds three columns of eight; the heading gives the whole count.
    constexpr qsizetype Shown = 24;
    for (const model::Problem& p : week.becameFluent) {
        if (r.fluent.size() == Shown - 1 && std::ssize(week.becameFluent) > Shown) {
            r.fluent << QStringLiteral("……");
            break;
        }
        r.fluent << PosedText(p);
    }
    if (r.fluent.isEmpty()) {
        r.fluent << QStringLiteral("（没有）");
    }
    r.weakestHeading = QStringLiteral("最弱的 %1 道题").arg(week.weakest.size());
    for (const model::Problem& p : week.weakest) {
        r.weakest << PosedText(p);
    }
    if (r.weakest.isEmpty()) {
        r.weakest << QStringLiteral("（没有）");
    }
    return r;
}

SaveOutcome SaveWeeklyReportPdf(const history::Store& store, qint64 child, const QDate& day,
                                const QString& path)
{
    const WeeklyReportData report = WeeklyReportOf(store, child, day.addDays(1 - day.dayOfWeek()));
    return SavePaintingPdf(path, [&report](QPainter& painter, const QRectF& page) {
        PaintWeeklyReport(painter, page, report);
    });
}

PaintPages WeeklyReportPages(const history::Store& store, qint64 child, const QDate& day)
{
    return PaintingPages(
        [report = WeeklyReportOf(store, child, day.addDays(1 - day.dayOfWeek()))](
            QPainter& painter, const QRectF& page) { PaintWeeklyReport(painter, page, report); });
}

} // namespace sumvarl
