#include "history/HistoryStore.h"

#include "core/SheetCode.h"
#include "history/FactRows.h"
#include "worksheet/Marking.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <span>

namespace sumvarl::history {

namespace {

// SQLite's primary result codes, as Qt reports them in nativeErrorCode().
constexpr int SqliteReadOnly = 8;
constexpr int SqliteFull = 13;

const char* const Schema[] = {
    "CREATE TABLE child(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
    " grade INTEGER NOT NULL CHECK(grade BETWEEN 1 AND 6), limit_ms INTEGER,"
    " created INTEGER NOT NULL)",
    // A fact is a problem with its open place; the numbers are kept as drawn.
    "CREATE TABLE fact(id INTEGER PRIMARY KEY, a INTEGER NOT NULL, b INTEGER NOT NULL,"
    " c INTEGER NOT NULL, op1 INTEGER NOT NULL, op2 INTEGER NOT NULL, operands INTEGER NOT NULL,"
    " brackets INTEGER NOT NULL, open INTEGER NOT NULL, with_remainder INTEGER NOT NULL,"
    " result INTEGER NOT NULL, remainder INTEGER NOT NULL,"
    " UNIQUE(a, b, c, op1, op2, operands, brackets, open, with_remainder, result, remainder))",
    "CREATE TABLE round(id INTEGER PRIMARY KEY,"
    " child_id INTEGER NOT NULL REFERENCES child(id) ON DELETE CASCADE, kind INTEGER NOT NULL,"
    " started INTEGER NOT NULL, ended INTEGER, problems INTEGER NOT NULL, right_count INTEGER,"
    " score INTEGER, seconds INTEGER, recipe TEXT NOT NULL)",
    "CREATE INDEX round_by_child ON round(child_id, started)",
    "CREATE TABLE answer(id INTEGER PRIMARY KEY,"
    " round_id INTEGER NOT NULL REFERENCES round(id) ON DELETE CASCADE,"
    " child_id INTEGER NOT NULL REFERENCES child(id) ON DELETE CASCADE,"
    " fact_id INTEGER NOT NULL REFERENCES fact(id), at INTEGER NOT NULL, lesson TEXT NOT NULL,"
    " given TEXT NOT NULL, right INTEGER NOT NULL, ms INTEGER)",
    "CREATE INDEX answer_by_fact ON answer(child_id, fact_id, at)",
    "CREATE INDEX answer_by_round ON answer(round_id)",
    "CREATE INDEX answer_by_day ON answer(child_id, at)",
    // Each child's standing on each fact, kept with every answer so that nothing has to be
    // worked out again from the answers when a window opens.
    "CREATE TABLE child_fact(child_id INTEGER NOT NULL REFERENCES child(id) ON DELETE CASCADE,"
    " fact_id INTEGER NOT NULL REFERENCES fact(id), answers INTEGER NOT NULL,"
    " wrong INTEGER NOT NULL, good_days INTEGER NOT NULL, last_good_day INTEGER NOT NULL,"
    " in_book INTEGER NOT NULL, step INTEGER NOT NULL, due INTEGER, last_seen INTEGER NOT NULL,"
    " PRIMARY KEY(child_id, fact_id)) WITHOUT ROWID",
    "CREATE INDEX book_by_due ON child_fact(child_id, in_book, due)",
    // Each day's answers by operation, kept with every answer so that a year's chart reads a few
    // hundred rows instead of every answer.
    "CREATE TABLE day_total(child_id INTEGER NOT NULL REFERENCES child(id) ON DELETE CASCADE,"
    " day INTEGER NOT NULL, op INTEGER NOT NULL, answers INTEGER NOT NULL, right INTEGER NOT NULL,"
    " timed_right INTEGER NOT NULL, timed_ms INTEGER NOT NULL, timed_answers INTEGER NOT NULL,"
    " PRIMARY KEY(child_id, day, op)) WITHOUT ROWID",
    "CREATE TABLE setting(key TEXT PRIMARY KEY, value) WITHOUT ROWID",
};

// Each version's changes from the one before: Upgrades[0] makes version 2 of version 1.
const char* const UpgradeToVersion2[] = {
    // Sheets made for a child (a 错题卷 is made from the history, not from a recipe), kept so
    // that the paper can be marked later by the number its 卷号 carries.
    "CREATE TABLE paper(id INTEGER PRIMARY KEY,"
    " child_id INTEGER NOT NULL REFERENCES child(id) ON DELETE CASCADE, made INTEGER NOT NULL,"
    " recipe TEXT NOT NULL, round_id INTEGER REFERENCES round(id) ON DELETE SET NULL)",
    "CREATE TABLE paper_fact(paper_id INTEGER NOT NULL REFERENCES paper(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, fact_id INTEGER NOT NULL REFERENCES fact(id),"
    " PRIMARY KEY(paper_id, position)) WITHOUT ROWID",
};
const std::span<const char* const> Upgrades[] = {UpgradeToVersion2};
static_assert(std::size(Upgrades) == SchemaVersion - 1);

QString LessonText(const Lesson& l)
{
    return QStringLiteral("carry=%1 borrow=%2 tables=%3-%4 remainder=%5")
        .arg(static_cast<int>(l.carry))
        .arg(static_cast<int>(l.borrow))
        .arg(l.tableFrom)
        .arg(l.tableTo)
        .arg(l.remainder ? 1 : 0);
}

// The fact columns in the order of FactColumns.
const QString FactColumns = QStringLiteral(
    "a, b, c, op1, op2, operands, brackets, open, with_remainder, result, remainder");

// A child's standing on a fact from the columns answers, wrong, good_days, last_good_day,
// in_book, step and due, in that order.
FactState FactStateAt(const QSqlQuery& q)
{
    return {q.value(0).toInt(),
            q.value(1).toInt(),
            q.value(2).toInt(),
            q.value(3).toInt(),
            q.value(4).toInt() != 0,
            q.value(5).toInt(),
            q.value(6).isNull() ? std::nullopt : std::optional<int>(q.value(6).toInt())};
}

QVariantList FactValues(const model::Problem& p)
{
    return {p.operands[0],
            p.operands[1],
            ColumnC(p),
            static_cast<int>(p.operators[0]),
            ColumnOp2(p),
            static_cast<int>(p.operandCount),
            static_cast<int>(p.brackets),
            static_cast<int>(p.open),
            p.withRemainder ? 1 : 0,
            p.result,
            p.remainder};
}

const QString FactMatch = QStringLiteral(
    "a = ? AND b = ? AND c = ? AND op1 = ? AND op2 = ? AND operands = ? AND brackets = ?"
    " AND open = ? AND with_remainder = ? AND result = ? AND remainder = ?");

qint64 MsOf(const QDateTime& t)
{
    return t.toMSecsSinceEpoch();
}

int DayOf(const QDateTime& t)
{
    return static_cast<int>(t.toLocalTime().date().toJulianDay());
}

bool Run(QSqlQuery& q, const QString& sql, const QVariantList& values = {})
{
    if (!q.prepare(sql)) {
        return false;
    }
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    return q.exec();
}

// A UNIQUE constraint (a name already taken), not a missing child or another constraint.
bool IsDuplicate(const QSqlError& e)
{
    constexpr int SqliteConstraint = 19;
    return (e.nativeErrorCode().toInt() & 0xff) == SqliteConstraint &&
           e.databaseText().contains(QLatin1String("UNIQUE"));
}

int NativeCode(const QSqlError& e)
{
    return e.nativeErrorCode().toInt() & 0xff; // extended codes keep the primary in the low byte
}

QString NewConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("sumvarl-history-%1").arg(next++);
}

// Moves the file and its journal files to a free name beside it with why and when in it:
// "history-damaged-2026-12-09-183000.sqlite3".
bool MoveAside(const QString& path, const QDateTime& now, const QString& why, QString& movedTo)
{
    const QFileInfo info(path);
    const QString stem = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString extra = n == 1 ? QString() : QStringLiteral("-%1").arg(n);
        const QString target = info.dir().filePath(stem + QLatin1Char('-') + why +
                                                   QLatin1Char('-') + stamp + extra + suffix);
        if (QFileInfo::exists(target)) {
            continue;
        }
        if (!QFile::rename(path, target)) {
            return false;
        }
        for (const char* journal : {"-wal", "-shm"}) {
            const QString from = path + QLatin1String(journal);
            if (QFileInfo::exists(from)) {
                QFile::rename(from, target + QLatin1String(journal));
            }
        }
        movedTo = target;
        return true;
    }
    return false;
}

// A new empty file readable by the user only, in a folder of the user only; SQLite gives its
// journal files the same permissions.
bool MakeFile(const QString& path, QString& reason)
{
    const QFileInfo info(path);
    QDir dir = info.dir();
    if (!dir.exists()) {
        if (!dir.mkpath(QStringLiteral("."))) {
            reason = QStringLiteral("cannot make the folder %1").arg(dir.path());
            return false;
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (file.error() != QFileDevice::OpenError || !QFileInfo::exists(path)) {
            reason = file.errorString();
            return false;
        }
        return true; // made meanwhile by another process
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

} // namespace

QString DefaultHistoryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/sumvarl/history.sqlite3");
}

Store::Store(QString path, QString connection)
    : path_(std::move(path)), connection_(std::move(connection))
{}

Store::~Store()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool Store::OpenConnection(bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(connection_)
                          ? QSqlDatabase::database(connection_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (db.isOpen()) {
        db.close();
    }
    db.setDatabaseName(path_);
    db.setConnectOptions(readOnly
                             ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                             : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    return db.open();
}

// Every open reads the file's header and schema, which is where a file of other bytes or a
// truncated one fails. The first open of a day also reads every page (a few hundred ms for years
// of history), so that damage inside is found before more is written over it.
bool Store::Check(const QDateTime& now, QString& reason)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    const auto failed = [&] {
        reason = q.lastError().text();
        return false;
    };
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return failed();
    }
    report_.fileVersion = q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) {
        return failed();
    }
    const int today = DayOf(now);
    if (q.exec(QStringLiteral("SELECT value FROM setting WHERE key = 'checked_day'")) && q.next() &&
        q.value(0).toInt() == today) {
        return true;
    }
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
        return failed();
    }
    if (q.value(0).toString() != QLatin1String("ok")) {
        reason = q.value(0).toString();
        return false;
    }
    checkedDay_ = today;
    return true;
}

// The journal, durability and the schema, made or upgraded in one transaction so that two
// programs starting at once cannot both make it.
bool Store::Prepare(QString& reason)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    for (const char* pragma :
         {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
        if (!q.exec(QString::fromLatin1(pragma))) {
            reason = q.lastError().text();
            return false;
        }
    }
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        reason = q.lastError().text();
        return false;
    }
    const auto fail = [&] {
        reason = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return fail();
    }
    const int found = q.value(0).toInt();
    if (found > SchemaVersion) {
        // Upgraded by a newer program since the file was checked: not ours to write.
        q.exec(QStringLiteral("ROLLBACK"));
        reason = QStringLiteral("written by a newer program (version %1)").arg(found);
        return false;
    }
    int version = found;
    const auto run = [&q](std::span<const char* const> statements) {
        for (const char* statement : statements) {
            if (!q.exec(QString::fromLatin1(statement))) {
                return false;
            }
        }
        return true;
    };
    if (version == 0) {
        if (!run(Schema)) {
            return fail();
        }
        version = 1;
    }
    // Each upgrade from the version before, all in this one transaction: a file is upgraded
    // whole or stays as it was.
    for (; version < SchemaVersion; ++version) {
        if (!run(Upgrades[version - 1])) {
            return fail();
        }
    }
    if (found < SchemaVersion &&
        !q.exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion))) {
        return fail();
    }
    if (checkedDay_ != 0 &&
        !Run(q,
             QStringLiteral("INSERT OR REPLACE INTO setting(key, value) VALUES ('checked_day', ?)"),
             {checkedDay_})) {
        return fail();
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        return fail();
    }
    report_.fileVersion = SchemaVersion;
    return true;
}

std::unique_ptr<Store> Store::Open(const QString& path, const QDateTime& now, Access access)
{
    std::unique_ptr<Store> store(new Store(path, NewConnectionName()));
    OpenReport& report = store->report_;
    QString reason;
    const bool existed = QFileInfo::exists(path);
    if (access == Access::ReadOnly) {
        const bool read = existed && store->OpenConnection(true) && store->Check(now, reason);
        report.state = !read                                ? OpenState::Unavailable
                       : report.fileVersion > SchemaVersion ? OpenState::Newer
                                                            : OpenState::ReadOnly;
        report.reason = existed ? reason : QStringLiteral("%1 does not exist").arg(path);
        return store;
    }
    if (!existed && !MakeFile(path, reason)) {
        report = {OpenState::Unavailable, {}, reason, 0};
        return store;
    }
    if (existed) {
        if (!store->OpenConnection(true) || !store->Check(now, reason)) {
            if (reason.isEmpty()) {
                reason = QSqlDatabase::database(store->connection_, false).lastError().text();
            }
            QSqlDatabase::database(store->connection_, false).close();
            QString movedTo;
            if (!MoveAside(path, now, QStringLiteral("damaged"), movedTo) ||
                !MakeFile(path, reason)) {
                report = {OpenState::Unavailable, {}, reason, 0};
                return store;
            }
            report.state = OpenState::MovedAside;
            report.movedTo = movedTo;
            report.reason = reason;
        } else if (report.fileVersion > SchemaVersion) {
            report.state = OpenState::Newer;
            return store; // stays open read-only
        }
    }
    const OpenState arrived =
        report.state == OpenState::MovedAside ? OpenState::MovedAside : OpenState::Ready;
    if (store->OpenConnection(false) && store->Prepare(reason)) {
        report.state = arrived;
        return store;
    }
    // The folder or the file cannot be written: what is there can still be read.
    const bool readable = existed && arrived == OpenState::Ready && store->OpenConnection(true);
    report.state = readable ? OpenState::ReadOnly : OpenState::Unavailable;
    report.reason = reason;
    return store;
}

bool Store::Writable() const
{
    return report_.state == OpenState::Ready || report_.state == OpenState::MovedAside;
}

WriteResult Store::Write(const Work& work)
{
    if (!Writable()) {
        return {WriteState::ReadOnly, report_.reason, 0};
    }
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    const auto failure = [&q] {
        const QSqlError e = q.lastError();
        const int code = NativeCode(e);
        const WriteState state = code == SqliteFull       ? WriteState::DiskFull
                                 : code == SqliteReadOnly ? WriteState::ReadOnly
                                 : IsDuplicate(e)         ? WriteState::Duplicate
                                                          : WriteState::Failed;
        WriteResult result{state, e.text(), 0};
        q.exec(QStringLiteral("ROLLBACK"));
        return result;
    };
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failure();
    }
    qint64 id = 0;
    if (!work(q, id) || !q.exec(QStringLiteral("COMMIT"))) {
        return failure();
    }
    return {WriteState::Done, {}, id};
}

QSqlQuery Store::Read(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (report_.state != OpenState::Unavailable) {
        Run(q, sql, values);
    }
    return q;
}

std::vector<Child> Store::Children() const
{
    std::vector<Child> children;
    QSqlQuery q = Read(QStringLiteral("SELECT id, name, grade, limit_ms FROM child ORDER BY id"));
    while (q.next()) {
        Child c{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt(), std::nullopt};
        if (!q.value(3).isNull()) {
            c.limitMs = q.value(3).toInt();
        }
        children.push_back(std::move(c));
    }
    return children;
}

std::optional<Child> Store::ChildById(qint64 id) const
{
    for (Child& c : Children()) {
        if (c.id == id) {
            return std::move(c);
        }
    }
    return std::nullopt;
}

WriteResult Store::AddChild(const QString& name, int grade, const QDateTime& now)
{
    return Write([&](QSqlQuery& q, qint64& id) {
        if (!Run(q, QStringLiteral("INSERT INTO child(name, grade, created) VALUES (?, ?, ?)"),
                 {name.trimmed(), grade, MsOf(now)})) {
            return false;
        }
        id = q.lastInsertId().toLongLong();
        return true;
    });
}

WriteResult Store::RenameChild(qint64 id, const QString& name)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q, QStringLiteral("UPDATE child SET name = ? WHERE id = ?"),
                   {name.trimmed(), id});
    });
}

WriteResult Store::SetGrade(qint64 id, int grade)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q, QStringLiteral("UPDATE child SET grade = ? WHERE id = ?"), {grade, id});
    });
}

WriteResult Store::SetLimit(qint64 id, std::optional<int> limitMs)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q, QStringLiteral("UPDATE child SET limit_ms = ? WHERE id = ?"),
                   {limitMs ? QVariant(*limitMs) : QVariant(), id});
    });
}

ChildHistorySize Store::SizeOf(qint64 child) const
{
    ChildHistorySize size;
    QSqlQuery q = Read(QStringLiteral("SELECT (SELECT count(*) FROM round WHERE child_id = ?),"
                                      " (SELECT count(*) FROM answer WHERE child_id = ?)"),
                       {child, child});
    if (q.next()) {
        size.rounds = q.value(0).toInt();
        size.answers = q.value(1).toInt();
    }
    return size;
}

WriteResult Store::RemoveChild(qint64 id)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q, QStringLiteral("DELETE FROM child WHERE id = ?"), {id});
    });
}

std::optional<qint64> Store::LastChild() const
{
    QSqlQuery q = Read(QStringLiteral("SELECT child.id FROM setting JOIN child"
                                      " ON child.id = setting.value WHERE key = 'last_child'"));
    if (q.next()) {
        return q.value(0).toLongLong();
    }
    return std::nullopt;
}

WriteResult Store::SetLastChild(qint64 id)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q,
                   QStringLiteral("INSERT OR REPLACE INTO setting(key, value)"
                                  " VALUES ('last_child', ?)"),
                   {id});
    });
}

WriteResult Store::StartRound(qint64 child, RoundKind kind, const SheetSpec& recipe, int problems,
                              const QDateTime& at)
{
    const QString code = QString::fromStdU16String(EncodeSheetCode(recipe));
    return Write([&](QSqlQuery& q, qint64& id) {
        if (!Run(q,
                 QStringLiteral("INSERT INTO round(child_id, kind, started, problems, recipe)"
                                " VALUES (?, ?, ?, ?, ?)"),
                 {child, static_cast<int>(kind), MsOf(at), problems, code})) {
            return false;
        }
        id = q.lastInsertId().toLongLong();
        return true;
    });
}

WriteResult Store::EndRound(qint64 round, const QDateTime& at, int right, int score, int seconds)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q,
                   QStringLiteral("UPDATE round SET ended = ?, right_count = ?, score = ?,"
                                  " seconds = ? WHERE id = ?"),
                   {MsOf(at), right, score, seconds, round});
    });
}

namespace {

// The fact's row, made where it is new.
bool FactId(QSqlQuery& q, const model::Problem& fact, qint64& id)
{
    const QVariantList values = FactValues(fact);
    if (!Run(q,
             QStringLiteral("INSERT OR IGNORE INTO fact(%1) VALUES (?,?,?,?,?,?,?,?,?,?,?)")
                 .arg(FactColumns),
             values) ||
        !Run(q, QStringLiteral("SELECT id FROM fact WHERE ") + FactMatch, values) || !q.next()) {
        return false;
    }
    id = q.value(0).toLongLong();
    return true;
}

// One answer with everything kept beside it: the fact, the child's standing on it and the day's
// totals. Runs inside the caller's transaction.
bool InsertAnswer(QSqlQuery& q, qint64 round, qint64 child, const GivenAnswer& answer)
{
    if (!Run(q, QStringLiteral("SELECT grade, limit_ms FROM child WHERE id = ?"), {child})) {
        return false;
    }
    // A child removed meanwhile fails below, on the answer's reference to it.
    const int limitMs = !q.next()              ? DefaultLimitMs(1)
                        : !q.value(1).isNull() ? q.value(1).toInt()
                                               : DefaultLimitMs(q.value(0).toInt());
    qint64 factId = 0;
    if (!FactId(q, answer.fact, factId)) {
        return false;
    }
    FactState state;
    if (!Run(q,
             QStringLiteral("SELECT answers, wrong, good_days, last_good_day, in_book, step,"
                            " due FROM child_fact WHERE child_id = ? AND fact_id = ?"),
             {child, factId})) {
        return false;
    }
    if (q.next()) {
        state = FactStateAt(q);
    }
    state = Advance(state, {answer.right, answer.ms, DayOf(answer.at), limitMs});
    if (!Run(q,
             QStringLiteral("INSERT OR REPLACE INTO child_fact(child_id, fact_id, answers,"
                            " wrong, good_days, last_good_day, in_book, step, due,"
                            " last_seen) VALUES (?,?,?,?,?,?,?,?,?,?)"),
             {child, factId, state.answers, state.wrong, state.goodDays, state.lastGoodDay,
              state.inBook ? 1 : 0, state.step, state.due ? QVariant(*state.due) : QVariant(),
              MsOf(answer.at)}) ||
        !Run(q,
             QStringLiteral("INSERT INTO day_total VALUES (?, ?, ?, 1, ?, ?, ?, ?)"
                            " ON CONFLICT DO UPDATE SET answers = answers + 1,"
                            " right = right + excluded.right,"
                            " timed_right = timed_right + excluded.timed_right,"
                            " timed_ms = timed_ms + excluded.timed_ms,"
                            " timed_answers = timed_answers + excluded.timed_answers"),
             {child, DayOf(answer.at), static_cast<int>(answer.fact.operators[0]),
              answer.right ? 1 : 0, answer.right && answer.ms ? 1 : 0, answer.ms.value_or(0),
              answer.ms ? 1 : 0}) ||
        !Run(q,
             QStringLiteral("INSERT INTO answer(round_id, child_id, fact_id, at, lesson,"
                            " given, right, ms) VALUES (?,?,?,?,?,?,?,?)"),
             {round, child, factId, MsOf(answer.at), LessonText(answer.lesson),
              answer.given.isNull() ? QStringLiteral("") : answer.given, answer.right ? 1 : 0,
              answer.ms ? QVariant(*answer.ms) : QVariant()})) {
        return false;
    }
    return true;
}

} // namespace

WriteResult Store::RecordAnswer(qint64 round, qint64 child, const GivenAnswer& answer)
{
    return Write([&](QSqlQuery& q, qint64& id) {
        if (!InsertAnswer(q, round, child, answer)) {
            return false;
        }
        id = q.lastInsertId().toLongLong();
        return true;
    });
}

WriteResult Store::KeepPaper(qint64 child, const Sheet& sheet, const QDateTime& at)
{
    const QString code = QString::fromStdU16String(EncodeSheetCode(sheet.recipe));
    return Write([&](QSqlQuery& q, qint64& id) {
        if (!Run(q, QStringLiteral("INSERT INTO paper(child_id, made, recipe) VALUES (?, ?, ?)"),
                 {child, MsOf(at), code})) {
            return false;
        }
        id = q.lastInsertId().toLongLong();
        for (std::size_t i = 0; i < sheet.problems.size(); ++i) {
            qint64 fact = 0;
            if (!FactId(q, sheet.problems[i], fact) ||
                !Run(q,
                     QStringLiteral(
                         "INSERT INTO paper_fact(paper_id, position, fact_id) VALUES (?, ?, ?)"),
                     {id, static_cast<qint64>(i), fact})) {
                return false;
            }
        }
        return true;
    });
}

std::optional<KeptPaper> Store::PaperById(qint64 id) const
{
    QSqlQuery q = Read(
        QStringLiteral("SELECT child_id, made, recipe, round_id FROM paper WHERE id = ?"), {id});
    if (!q.next()) {
        return std::nullopt;
    }
    KeptPaper paper;
    paper.id = id;
    paper.child = q.value(0).toLongLong();
    paper.made = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong());
    const std::optional<SheetSpec> recipe =
        DecodeSheetCode(q.value(2).toString().toStdU16String()).recipe;
    if (!recipe) {
        return std::nullopt;
    }
    paper.sheet.recipe = *recipe;
    if (!q.value(3).isNull()) {
        paper.round = q.value(3).toLongLong();
    }
    q = Read(QStringLiteral("SELECT ") + FactColumnsOfF +
                 QStringLiteral(" FROM paper_fact p JOIN fact f ON f.id = p.fact_id"
                                " WHERE p.paper_id = ? ORDER BY p.position"),
             {id});
    while (q.next()) {
        paper.sheet.problems.push_back(FactAt(q, 0));
    }
    return paper;
}

WriteResult Store::RecordPaper(qint64 child, const Sheet& sheet,
                               const std::vector<GivenAnswer>& answers, const QDateTime& at,
                               std::optional<qint64> paper)
{
    const QString code = QString::fromStdU16String(EncodeSheetCode(sheet.recipe));
    const auto right = static_cast<int>(std::count_if(
        answers.begin(), answers.end(), [](const GivenAnswer& a) { return a.right; }));
    const int count = static_cast<int>(answers.size());
    return Write([&](QSqlQuery& q, qint64& id) {
        if (!Run(q,
                 QStringLiteral("INSERT INTO round(child_id, kind, started, ended, problems,"
                                " right_count, score, recipe) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                 {child, static_cast<int>(RoundKind::Paper), MsOf(at), MsOf(at), count, right,
                  Score(right, count), code})) {
            return false;
        }
        id = q.lastInsertId().toLongLong();
        for (const GivenAnswer& answer : answers) {
            if (!InsertAnswer(q, id, child, answer)) {
                return false;
            }
        }
        // Only a paper not yet marked: two windows marking the same sheet keep one round.
        if (paper && (!Run(q,
                           QStringLiteral("UPDATE paper SET round_id = ? WHERE id = ? AND"
                                          " child_id = ? AND round_id IS NULL"),
                           {id, *paper, child}) ||
                      q.numRowsAffected() != 1)) {
            return false;
        }
        return true;
    });
}

std::vector<BookItem> Store::Book(qint64 child) const
{
    std::vector<BookItem> items;
    QSqlQuery q = Read(
        QStringLiteral("SELECT f.id, cf.wrong, cf.last_seen, cf.due,"
                       " (SELECT group_concat(given, char(10)) FROM (SELECT given FROM answer"
                       "  WHERE child_id = cf.child_id AND fact_id = cf.fact_id AND right = 0"
                       "  ORDER BY at DESC LIMIT 3)), %1"
                       " FROM child_fact cf JOIN fact f ON f.id = cf.fact_id"
                       " WHERE cf.child_id = ? AND cf.in_book = 1 ORDER BY cf.due, cf.last_seen")
            .arg(FactColumnsOfF),
        {child});
    while (q.next()) {
        BookItem item;
        item.factId = q.value(0).toLongLong();
        item.wrong = q.value(1).toInt();
        item.lastSeen = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong());
        if (!q.value(3).isNull()) {
            item.due = QDate::fromJulianDay(q.value(3).toLongLong());
        }
        const QString wrong = q.value(4).toString();
        if (!wrong.isEmpty()) {
            item.lastWrong = wrong.split(QLatin1Char('\n'));
        }
        item.fact = FactAt(q, 5);
        items.push_back(std::move(item));
    }
    return items;
}

WriteResult Store::RemoveFromBook(qint64 child, qint64 fact)
{
    return Write([&](QSqlQuery& q, qint64&) {
        return Run(q,
                   QStringLiteral("UPDATE child_fact SET in_book = 0, step = 0, due = NULL"
                                  " WHERE child_id = ? AND fact_id = ?"),
                   {child, fact});
    });
}

std::optional<FactState> Store::StateOf(qint64 child, const model::Problem& fact) const
{
    QVariantList values{child};
    values.append(FactValues(fact));
    QSqlQuery q = Read(QStringLiteral("SELECT answers, wrong, good_days, last_good_day, in_book,"
                                      " step, due FROM child_fact WHERE child_id = ? AND"
                                      " fact_id = (SELECT id FROM fact WHERE ") +
                           FactMatch + QLatin1Char(')'),
                       values);
    if (!q.next()) {
        return std::nullopt;
    }
    return FactStateAt(q);
}

std::vector<model::Problem> Store::DueFacts(qint64 child, const QDate& day, int limit) const
{
    std::vector<model::Problem> facts;
    QSqlQuery q = Read(QStringLiteral("SELECT %1 FROM child_fact cf JOIN fact f ON f.id ="
                                      " cf.fact_id WHERE cf.child_id = ? AND cf.in_book = 1 AND"
                                      " cf.due <= ? ORDER BY cf.due, cf.last_seen LIMIT ?")
                           .arg(FactColumnsOfF),
                       {child, day.toJulianDay(), limit});
    while (q.next()) {
        facts.push_back(FactAt(q, 0));
    }
    return facts;
}

std::vector<model::Problem> Store::KnownFacts(qint64 child, int limit) const
{
    std::vector<model::Problem> facts;
    QSqlQuery q = Read(QStringLiteral("SELECT %1 FROM child_fact cf JOIN fact f ON f.id ="
                                      " cf.fact_id WHERE cf.child_id = ? AND cf.in_book = 0 AND"
                                      " cf.good_days > 0 ORDER BY cf.last_seen DESC LIMIT ?")
                           .arg(FactColumnsOfF),
                       {child, limit});
    while (q.next()) {
        facts.push_back(FactAt(q, 0));
    }
    return facts;
}

bool Store::HasSeen(qint64 child, const model::Problem& fact) const
{
    return StateOf(child, fact).has_value();
}

std::optional<SheetSpec> Store::LastRecipe(qint64 child) const
{
    QSqlQuery q = Read(QStringLiteral("SELECT recipe FROM round WHERE child_id = ?"
                                      " ORDER BY started DESC, id DESC LIMIT 1"),
                       {child});
    if (!q.next()) {
        return std::nullopt;
    }
    return DecodeSheetCode(q.value(0).toString().toStdU16String()).recipe;
}

WriteResult Store::Backup(const QString& target) const
{
    if (report_.state == OpenState::Unavailable) {
        return {WriteState::Failed, report_.reason, 0};
    }
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!Run(q, QStringLiteral("VACUUM INTO ?"), {part})) {
        const QSqlError e = q.lastError();
        QFile::remove(part);
        return {NativeCode(e) == SqliteFull ? WriteState::DiskFull : WriteState::Failed, e.text(),
                0};
    }
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(target);
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        return {WriteState::Failed, QStringLiteral("cannot rename %1 to %2").arg(part, target), 0};
    }
    return {};
}

RestoreResult Store::RestoreFrom(const QString& backup, const QDateTime& now)
{
    QSqlDatabase::database(connection_, false).close();
    RestoreResult result = Restore(backup, path_, now);
    // Restored or not, the store reads and writes what is now at its path.
    const std::unique_ptr<Store> fresh = Open(path_, now);
    std::swap(connection_, fresh->connection_);
    std::swap(report_, fresh->report_);
    std::swap(checkedDay_, fresh->checkedDay_);
    return result;
}

RestoreResult Restore(const QString& backup, const QString& live, const QDateTime& now)
{
    RestoreResult result;
    {
        // Checked like any file the program opens, and it must hold a history.
        const std::unique_ptr<Store> copy = Store::Open(backup, now, Store::Access::ReadOnly);
        const OpenReport& report = copy->Report();
        if (report.state != OpenState::ReadOnly) {
            result.reason = report.state == OpenState::Newer
                                ? QStringLiteral("written by a newer program (version %1)")
                                      .arg(report.fileVersion)
                            : report.reason.isEmpty() ? QStringLiteral("damaged")
                                                      : report.reason;
            return result;
        }
        QSqlQuery q = copy->Read(QStringLiteral("SELECT count(*) FROM child"));
        if (!q.next()) {
            result.reason = QStringLiteral("no history");
            return result;
        }
    }
    const QString part = live + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(backup, part)) {
        result.reason = QStringLiteral("cannot copy %1 to %2").arg(backup, part);
        return result;
    }
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    if (QFileInfo::exists(live) &&
        !MoveAside(live, now, QStringLiteral("before-restore"), result.keptAside)) {
        QFile::remove(part);
        result.reason = QStringLiteral("cannot move %1 aside").arg(live);
        return result;
    }
    if (!QFile::rename(part, live)) {
        result.reason = QStringLiteral("cannot rename %1 to %2").arg(part, live);
        return result;
    }
    result.restored = true;
    return result;
}

} // namespace sumvarl::history
