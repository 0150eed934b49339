#pragma once

// What a parent reads from a child's history: the state of each basic fact in a grid per
// operation, answers and speed per day, a week against the week before, and every answer in turn
// for export. Read-only queries over a Store.

#include "core/Problem.h"
#include "history/HistoryStore.h"

#include <QDate>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace sumvarl::history {

enum class CellState : std::int8_t { Unseen, Practising, Fluent, InBook };

// Rows and columns 0..9. Addition a＋b at (a, b) and subtraction (a＋b)－b at (a, b), so that the
// two grids of a number bond lie alike; multiplication a×b at (a, b) and division (a×b)÷b at
// (a, b). A fact met with several open places takes its weakest state.
struct FactGrid
{
    std::array<std::array<CellState, 10>, 10> cells{};
};

// The facts outside the grids (larger numbers, remainders, chains), counted by operation.
struct OutsideCount
{
    int seen = 0;
    int fluent = 0;
    int inBook = 0;
};

struct FactGrids
{
    std::array<FactGrid, 4> grids;       // indexed by Operation
    std::array<OutsideCount, 4> outside; // by the first operation
};

FactGrids GridsOf(const Store& store, qint64 child);

// Where a one-step fact of two numbers sits in its grid; empty where it has no cell.
std::optional<std::pair<int, int>> CellOf(const model::Problem& fact);

// The answers of one day, all of them or of one operation.
struct DayTotals
{
    int answers = 0;
    int right = 0;
    int timedRight = 0; // right answers with a time (not from paper)
    qint64 timedMs = 0; // the time of all answers with a time
    int timedAnswers = 0;

    double Accuracy() const { return answers == 0 ? 0.0 : static_cast<double>(right) / answers; }
    // Right answers per minute of answering; empty without timed answers.
    std::optional<double> RightPerMinute() const;
};

struct DayProgress
{
    QDate day;
    std::array<DayTotals, 4> byOperation; // by the first operation
    DayTotals all;
};

// The days from first to last (inclusive) on which the child answered anything, in order; days
// without practice are not in the list, so a chart shows them as gaps.
std::vector<DayProgress> ProgressByDay(const Store& store, qint64 child, const QDate& first,
                                       const QDate& last);

// One week (Monday first) against the one before.
struct WeekSummary
{
    QDate monday;
    int rounds = 0;
    int seconds = 0; // practised, by the rounds' own clocks
    DayTotals week;
    DayTotals weekBefore;
    std::vector<model::Problem> becameFluent;
    std::vector<model::Problem> weakest; // at most ten, the weakest first
};

WeekSummary WeekOf(const Store& store, qint64 child, const QDate& monday);

// One answer as kept, for export.
struct KeptAnswer
{
    QDateTime at; // in UTC
    qint64 round = 0;
    RoundKind kind = RoundKind::Practice;
    model::Problem fact;
    QString given;
    bool right = false;
    std::optional<int> ms;
    QString lesson;
};

// The answers to the facts of one cell of a grid (every open place), the newest first, at most
// limit.
std::vector<KeptAnswer> AnswersOfCell(const Store& store, qint64 child, Operation operation,
                                      int row, int column, int limit = 200);

// Every answer of the child, the oldest first, one at a time.
void ForEachAnswer(const Store& store, qint64 child,
                   const std::function<void(const KeptAnswer&)>& use);

} // namespace sumvarl::history
