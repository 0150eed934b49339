// The child's memory at its largest: 3 children × 5 years × 200 answers a day (about 1.1 M
// answers). Made once into a file that later runs reuse ($SUMVARL_BENCH_HISTORY, by default in
// the temporary folder), then timed: opening a child's data, making 今日练习, recording one
// answer with synchronous=FULL, and the full page check.

#include "bench/BenchMain.h"
#include "core/RandomSource.h"
#include "forms/ChildMemory.h"
#include "forms/FormHooks.h"
#include "forms/ParentWindows.h"
#include "history/HistoryStore.h"
#include "history/Progress.h"
#include "history/TodaysRound.h"
#include "print/PainterSurface.h"
#include "print/ProgressChart.h"
#include "wording/ParentReports.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <random>

namespace {

using namespace sumvarl;

constexpr int Children = 3;
constexpr int Days = 5 * 365;
constexpr int AnswersADay = 200;
constexpr int RoundSize = 20;
const QDateTime Today(QDate(2026, 12, 9), QTime(18, 0));

QString BenchPath()
{
    const QString set = qEnvironmentVariable("SUMVARL_BENCH_HISTORY");
    return set.isEmpty() ? QDir::temp().filePath(QStringLiteral("sumvarl-bench-history.sqlite3"))
                         : set;
}

// Additions and subtractions within 20 and the times tables: the facts of the first years.
std::vector<model::Problem> Facts()
{
    std::vector<model::Problem> facts;
    for (int a = 0; a <= 9; ++a) {
        for (int b = 0; b <= 9; ++b) {
            const auto two = [&](int x, Operation op, int y, int r) {
                model::Problem p;
                p.operands = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0};
                p.operators = {op, Operation::Add};
                p.result = static_cast<std::int16_t>(r);
                facts.push_back(p);
            };
            two(a, Operation::Add, b, a + b);
            two(a + b, Operation::Subtract, b, a);
            two(a, Operation::Multiply, b, a * b);
            if (b > 0) {
                two(a * b, Operation::Divide, b, a);
            }
        }
    }
    return facts;
}

bool Exec(QSqlQuery& q, const QString& sql, const QVariantList& values = {})
{
    q.prepare(sql);
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    if (!q.exec()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

// Straight into the tables in one transaction, each child's standing worked out with the same
// rules the store applies answer by answer.
void MakeHistory(const QString& path)
{
    QFile::remove(path);
    history::Store::Open(path, Today); // the schema
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "make");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        Exec(q, QStringLiteral("PRAGMA synchronous=OFF"));
        Exec(q, QStringLiteral("BEGIN"));
        const std::vector<model::Problem> facts = Facts();
        for (std::size_t f = 0; f < facts.size(); ++f) {
            const model::Problem& p = facts[f];
            Exec(q,
                 QStringLiteral("INSERT INTO fact(id, a, b, c, op1, op2, operands, brackets, open,"
                                " with_remainder, result, remainder) VALUES (?,?,?,0,?,0,2,0,0,0,"
                                "?,0)"),
                 {qint64(f + 1), p.operands[0], p.operands[1], int(p.operators[0]), p.result});
        }
        std::mt19937 random(1);
        qint64 round = 0;
        for (int c = 1; c <= Children; ++c) {
            Exec(q, QStringLiteral("INSERT INTO child(id, name, grade, created) VALUES (?,?,2,0)"),
                 {c, QStringLiteral("孩子%1").arg(c)});
            std::map<std::size_t, history::FactState> states;
            std::map<std::size_t, qint64> lastSeen;
            for (int d = Days; d > 0; --d) {
                const QDateTime day = Today.addDays(-d);
                for (int r = 0; r < AnswersADay / RoundSize; ++r) {
                    const qint64 start = day.addSecs(qint64{300} * r).toMSecsSinceEpoch();
                    Exec(q,
                         QStringLiteral("INSERT INTO round(id, child_id, kind, started, ended,"
                                        " problems, right_count, score, seconds, recipe) VALUES"
                                        " (?,?,0,?,?,20,18,90,120,'')"),
                         {++round, c, start, start + 120000});
                    for (int a = 0; a < RoundSize; ++a) {
                        const std::size_t f = random() % facts.size();
                        const bool right = random() % 10 != 0;
                        const int ms = 400 + static_cast<int>(random() % 7000);
                        const qint64 at = start + qint64{6000} * a;
                        Exec(q,
                             QStringLiteral("INSERT INTO answer(round_id, child_id, fact_id, at,"
                                            " lesson, given, right, ms) VALUES"
                                            " (?,?,?,?,'',?,?,?)"),
                             {round, c, qint64(f + 1), at,
                              right ? QStringLiteral("1") : QStringLiteral("2"), right ? 1 : 0,
                              ms});
                        states[f] = history::Advance(
                            states[f],
                            {right, ms, static_cast<int>(day.date().toJulianDay()), 6000});
                        lastSeen[f] = at;
                    }
                }
            }
            for (const auto& [f, s] : states) {
                Exec(q, QStringLiteral("INSERT INTO child_fact VALUES (?,?,?,?,?,?,?,?,?,?)"),
                     {c, qint64(f + 1), s.answers, s.wrong, s.goodDays, s.lastGoodDay,
                      s.inBook ? 1 : 0, s.step, s.due ? QVariant(*s.due) : QVariant(),
                      lastSeen[f]});
            }
        }
        Exec(q,
             QStringLiteral("INSERT INTO day_total SELECT a.child_id, CAST(julianday(a.at / 1000,"
                            " 'unixepoch', 'localtime') + 0.5 AS INTEGER), f.op1, count(*),"
                            " sum(a.right), sum(a.right), total(a.ms), count(*) FROM answer a"
                            " JOIN fact f ON f.id = a.fact_id GROUP BY 1, 2, 3"));
        Exec(q, QStringLiteral("COMMIT"));
        Exec(q, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("make");
}

const QString& History()
{
    static const QString path = [] {
        QString p = BenchPath();
        if (!QFile::exists(p)) {
            std::fprintf(stderr, "making %s (once)…\n", qPrintable(p));
            MakeHistory(p);
        }
        return p;
    }();
    return path;
}

// What the practice window does when it opens: the file, its children and the chosen child's
// 错题本.
void BM_OpenChildData(benchmark::State& state)
{
    const QString& path = History();
    std::size_t items = 0;
    for (auto _ : state) {
        const auto store = history::Store::Open(path, Today);
        const std::vector<history::Child> children = store->Children();
        items = store->Book(children.front().id).size();
    }
    state.counters["book items"] = static_cast<double>(items);
}
BENCHMARK(BM_OpenChildData)->Unit(benchmark::kMillisecond);

void BM_TodaysRound(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    ClockRandom random(7);
    PartSpec lesson;
    lesson.weightTotal = 2;
    lesson.cumulativeWeight = {1, 2, 2, 2};
    lesson.numberRange = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(history::MakeTodaysSheet(*store, 1, lesson, Today.date(), random));
    }
}
BENCHMARK(BM_TodaysRound)->Unit(benchmark::kMillisecond);

void BM_RecordAnswer(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    const qint64 round =
        store->StartRound(1, history::RoundKind::Practice, SheetSpec{{PartSpec{}}, 1}, 20, Today)
            .id;
    const std::vector<model::Problem> facts = Facts();
    std::size_t n = 0;
    for (auto _ : state) {
        const history::WriteResult r = store->RecordAnswer(
            round, 1, {facts[n++ % facts.size()], {}, QStringLiteral("1"), true, 1500, Today});
        if (!r.Ok()) {
            state.SkipWithError(qPrintable(r.reason));
        }
    }
}
BENCHMARK(BM_RecordAnswer)->Unit(benchmark::kMillisecond);

// What the parent's windows read: one child's fact grids, a year of days, every answer.
void BM_FactGrids(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    for (auto _ : state) {
        benchmark::DoNotOptimize(history::GridsOf(*store, 1));
    }
}
BENCHMARK(BM_FactGrids)->Unit(benchmark::kMillisecond);

void BM_YearByDay(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    std::size_t days = 0;
    for (auto _ : state) {
        days = history::ProgressByDay(*store, 1, Today.date().addDays(-364), Today.date()).size();
    }
    state.counters["days"] = static_cast<double>(days);
}
BENCHMARK(BM_YearByDay)->Unit(benchmark::kMillisecond);

void BM_EveryAnswerOfAChild(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        history::ForEachAnswer(*store, 1, [&](const history::KeptAnswer&) { ++rows; });
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_EveryAnswerOfAChild)->Unit(benchmark::kMillisecond);

void BM_FullCheck(benchmark::State& state)
{
    const QString& path = History();
    for (auto _ : state) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA quick_check"));
        q.next();
        benchmark::DoNotOptimize(q.value(0));
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("check");
    }
}
BENCHMARK(BM_FullCheck)->Unit(benchmark::kMillisecond);

// 进步's chart of a year as the window shows it: the days read, the picture made and drawn.
void BM_YearChartDrawn(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    QImage image(900, 500, QImage::Format_RGB32);
    const QDate last = Today.date();
    const QDate first = last.addDays(-364);
    for (auto _ : state) {
        const ChartPicture picture = ProgressPicture(history::ProgressByDay(*store, 1, first, last),
                                                     first, 365, ProgressMeasure::RightPerMinute);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawChart(painter, QRectF(image.rect()), picture);
    }
}
BENCHMARK(BM_YearChartDrawn)->Unit(benchmark::kMillisecond);

// What a parent takes away: the week's report as a PDF, and one child's every answer as CSV,
// both as the windows make them.
void BM_WeeklyReportPdf(benchmark::State& state)
{
    const auto store = history::Store::Open(History(), Today);
    const QString path = QDir::temp().filePath(QStringLiteral("sumvarl-bench-report.pdf"));
    for (auto _ : state) {
        if (!SaveWeeklyReportPdf(*store, 1, Today.date(), path).Ok()) {
            state.SkipWithError("the report was not saved");
        }
    }
    QFile::remove(path);
}
BENCHMARK(BM_WeeklyReportPdf)->Unit(benchmark::kMillisecond);

void BM_ExportAnswersCsv(benchmark::State& state)
{
    Hooks().historyPath = [] { return History(); };
    const QString path = QDir::temp().filePath(QStringLiteral("sumvarl-bench-answers.csv"));
    for (auto _ : state) {
        if (!ExportAnswersCsv(1, path).Ok()) {
            state.SkipWithError("the answers were not exported");
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    QFile::remove(path);
    CloseSharedHistory();
}
BENCHMARK(BM_ExportAnswersCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The report's fonts need the application object for the whole run.
int main(int argc, char** argv)
{
    return sumvarl::bench::RunWithApplication<QApplication>(argc, argv);
}
