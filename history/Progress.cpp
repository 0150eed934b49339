#include "history/Progress.h"

#include "history/FactRows.h"

#include <algorithm>
#include <unordered_map>

namespace sumvarl::history {

namespace {

// Which of two states a cell shows: the one that needs more work.
int Weakness(CellState s)
{
    switch (s) {
    case CellState::Unseen:
        return 0;
    case CellState::Fluent:
        return 1;
    case CellState::Practising:
        return 2;
    case CellState::InBook:
        return 3;
    }
    return 0;
}

qint64 StartOf(const QDate& day)
{
    return day.startOfDay().toMSecsSinceEpoch();
}

void Add(DayTotals& to, const DayTotals& from)
{
    to.answers += from.answers;
    to.right += from.right;
    to.timedRight += from.timedRight;
    to.timedMs += from.timedMs;
    to.timedAnswers += from.timedAnswers;
}

std::size_t OperationIndex(int stored)
{
    return static_cast<std::size_t>(std::clamp(stored, 0, 3));
}

} // namespace

std::optional<double> DayTotals::RightPerMinute() const
{
    if (timedMs <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(timedRight) * 60000.0 / static_cast<double>(timedMs);
}

std::optional<std::pair<int, int>> CellOf(const model::Problem& f)
{
    if (f.operandCount != 2 || (f.withRemainder && f.remainder != 0)) {
        return std::nullopt;
    }
    const int a = f.operands[0];
    const int b = f.operands[1];
    const int r = f.result;
    const auto digit = [](int n) { return n >= 0 && n <= 9; };
    switch (f.operators[0]) {
    case Operation::Add:
    case Operation::Multiply:
        if (digit(a) && digit(b)) {
            return std::pair{a, b};
        }
        break;
    case Operation::Subtract:
        if (digit(r) && digit(b) && a == r + b) {
            return std::pair{r, b};
        }
        break;
    case Operation::Divide:
        if (digit(r) && b >= 1 && b <= 9 && a == r * b) {
            return std::pair{r, b};
        }
        break;
    }
    return std::nullopt;
}

FactGrids GridsOf(const Store& store, qint64 child)
{
    FactGrids grids;
    QSqlQuery q =
        store.Read(QStringLiteral("SELECT cf.in_book, cf.good_days, %1 FROM child_fact cf"
                                  " JOIN fact f ON f.id = cf.fact_id WHERE cf.child_id = ?")
                       .arg(FactColumnsOfF),
                   {child});
    while (q.next()) {
        const model::Problem fact = FactAt(q, 2);
        const CellState state = q.value(0).toInt() != 0            ? CellState::InBook
                                : q.value(1).toInt() >= FluentDays ? CellState::Fluent
                                                                   : CellState::Practising;
        const std::size_t op = OperationIndex(static_cast<int>(fact.operators[0]));
        if (const auto cell = CellOf(fact)) {
            CellState& shown = grids.grids[op].cells[static_cast<std::size_t>(cell->first)]
                                                    [static_cast<std::size_t>(cell->second)];
            if (Weakness(state) > Weakness(shown)) {
                shown = state;
            }
            continue;
        }
        OutsideCount& outside = grids.outside[op];
        ++outside.seen;
        outside.fluent += state == CellState::Fluent ? 1 : 0;
        outside.inBook += state == CellState::InBook ? 1 : 0;
    }
    return grids;
}

std::vector<DayProgress> ProgressByDay(const Store& store, qint64 child, const QDate& first,
                                       const QDate& last)
{
    std::vector<DayProgress> days;
    QSqlQuery q = store.Read(QStringLiteral("SELECT day, op, answers, right, timed_right, timed_ms,"
                                            " timed_answers FROM day_total WHERE child_id = ? AND"
                                            " day BETWEEN ? AND ? ORDER BY day"),
                             {child, first.toJulianDay(), last.toJulianDay()});
    while (q.next()) {
        const QDate day = QDate::fromJulianDay(q.value(0).toLongLong());
        if (days.empty() || days.back().day != day) {
            days.push_back({day, {}, {}});
        }
        const DayTotals totals{q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt(),
                               q.value(5).toLongLong(), q.value(6).toInt()};
        Add(days.back().byOperation[OperationIndex(q.value(1).toInt())], totals);
        Add(days.back().all, totals);
    }
    return days;
}

WeekSummary WeekOf(const Store& store, qint64 child, const QDate& monday)
{
    WeekSummary week;
    week.monday = monday;
    const QDate sunday = monday.addDays(6);
    for (const DayProgress& day : ProgressByDay(store, child, monday.addDays(-7), sunday)) {
        Add(day.day < monday ? week.weekBefore : week.week, day.all);
    }
    QSqlQuery q = store.Read(QStringLiteral("SELECT count(*), total(seconds) FROM round WHERE"
                                            " child_id = ? AND started >= ? AND started < ?"
                                            " AND ended IS NOT NULL"),
                             {child, StartOf(monday), StartOf(sunday.addDays(1))});
    if (q.next()) {
        week.rounds = q.value(0).toInt();
        week.seconds = static_cast<int>(q.value(1).toDouble());
    }
    // A fact became fluent on the day of its third good day.
    q = store.Read(QStringLiteral("SELECT %1 FROM child_fact cf JOIN fact f ON f.id = cf.fact_id"
                                  " WHERE cf.child_id = ? AND cf.in_book = 0 AND cf.good_days = ?"
                                  " AND cf.last_good_day BETWEEN ? AND ? ORDER BY cf.last_good_day")
                       .arg(FactColumnsOfF),
                   {child, FluentDays, monday.toJulianDay(), sunday.toJulianDay()});
    while (q.next()) {
        week.becameFluent.push_back(FactAt(q, 0));
    }
    q = store.Read(
        QStringLiteral("SELECT %1 FROM child_fact cf JOIN fact f ON f.id = cf.fact_id"
                       " WHERE cf.child_id = ? AND cf.wrong > 0 ORDER BY cf.in_book DESC,"
                       " 1.0 * cf.wrong / cf.answers DESC, cf.wrong DESC LIMIT 10")
            .arg(FactColumnsOfF),
        {child});
    while (q.next()) {
        week.weakest.push_back(FactAt(q, 0));
    }
    return week;
}

std::vector<KeptAnswer> AnswersOfCell(const Store& store, qint64 child, Operation operation,
                                      int row, int column, int limit)
{
    std::vector<KeptAnswer> answers;
    QSqlQuery q = store.Read(
        QStringLiteral("SELECT a.at, a.round_id, a.given, a.right, a.ms, %1 FROM answer a"
                       " JOIN fact f ON f.id = a.fact_id WHERE a.child_id = ? AND f.op1 = ? AND"
                       " f.operands = 2 ORDER BY a.at DESC, a.id DESC")
            .arg(FactColumnsOfF),
        {child, static_cast<int>(operation)});
    while (q.next() && static_cast<int>(answers.size()) < limit) {
        const model::Problem fact = FactAt(q, 5);
        if (CellOf(fact) != std::pair{row, column}) {
            continue;
        }
        KeptAnswer kept;
        kept.at = QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong());
        kept.round = q.value(1).toLongLong();
        kept.given = q.value(2).toString();
        kept.right = q.value(3).toInt() != 0;
        kept.ms = q.value(4).isNull() ? std::nullopt : std::optional<int>(q.value(4).toInt());
        kept.fact = fact;
        answers.push_back(std::move(kept));
    }
    return answers;
}

void ForEachAnswer(const Store& store, qint64 child,
                   const std::function<void(const KeptAnswer&)>& use)
{
    // The facts and rounds once each, so that the answers' rows stay narrow: a year of answers
    // is read in a second or two rather than several.
    std::unordered_map<qint64, model::Problem> facts;
    QSqlQuery q = store.Read(QStringLiteral("SELECT f.id, %1 FROM fact f WHERE f.id IN (SELECT"
                                            " fact_id FROM child_fact WHERE child_id = ?)")
                                 .arg(FactColumnsOfF),
                             {child});
    while (q.next()) {
        facts.emplace(q.value(0).toLongLong(), FactAt(q, 1));
    }
    std::unordered_map<qint64, RoundKind> kinds;
    q = store.Read(QStringLiteral("SELECT id, kind FROM round WHERE child_id = ?"), {child});
    while (q.next()) {
        kinds.emplace(q.value(0).toLongLong(), static_cast<RoundKind>(q.value(1).toInt()));
    }
    q = store.Read(
        QStringLiteral("SELECT at, round_id, fact_id, given, right, ms, lesson FROM answer"
                       " WHERE child_id = ? ORDER BY at, id"),
        {child});
    KeptAnswer kept;
    while (q.next()) {
        // In UTC: a local time would read the zone's file for every row, most of a year's time.
        kept.at = QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong(), Qt::UTC);
        kept.round = q.value(1).toLongLong();
        kept.kind = kinds[kept.round];
        kept.fact = facts[q.value(2).toLongLong()];
        kept.given = q.value(3).toString();
        kept.right = q.value(4).toInt() != 0;
        const QVariant ms = q.value(5);
        kept.ms = ms.isNull() ? std::nullopt : std::optional<int>(ms.toInt());
        kept.lesson = q.value(6).toString();
        use(kept);
    }
}

} // namespace sumvarl::history
