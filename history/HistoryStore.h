#pragma once

// The child's memory: one SQLite file through Qt SQL holding the children, their rounds and every
// answer, with each child's standing on each fact kept up to date as answers come in. Every answer
// is its own transaction, committed before the call returns (WAL, synchronous=FULL), so a crash
// loses at most the answer being typed.
//
// The file is checked before anything is written: a damaged one is moved aside and a new one
// made; one from a newer program is read but never written; where the folder cannot be written
// the store is read-only or empty, and every write says so instead of failing quietly.

#include "core/LessonRules.h"
#include "core/Problem.h"
#include "core/Sheet.h"
#include "core/SheetSpec.h"
#include "history/Fluency.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sumvarl::history {

inline constexpr int SchemaVersion = 2;

// Where the program keeps the database: the user's data folder for "sumvarl".
QString DefaultHistoryPath();

enum class OpenState : std::int8_t {
    Ready,      // read and written
    Newer,      // written by a newer program: read only, never changed
    ReadOnly,   // the file or its folder cannot be written: read only
    MovedAside, // was damaged, moved to movedTo; a new one is in use
    Unavailable // nothing could be opened or made: no history at all
};

struct OpenReport
{
    OpenState state = OpenState::Unavailable;
    QString movedTo;     // the damaged file's new name
    QString reason;      // the system's or SQLite's words, for the record
    int fileVersion = 0; // the schema version found in the file
};

enum class WriteState : std::int8_t { Done, DiskFull, ReadOnly, Duplicate, Failed };

struct WriteResult
{
    WriteState state = WriteState::Done;
    QString reason;
    qint64 id = 0; // the new row's id, where a row was made

    bool Ok() const { return state == WriteState::Done; }
};

struct Child
{
    qint64 id = 0;
    QString name;
    int grade = 1;
    std::optional<int> limitMs; // the parent's own; the grade's default otherwise

    int LimitMs() const { return limitMs.value_or(DefaultLimitMs(grade)); }
};

// What removing a child throws away.
struct ChildHistorySize
{
    int rounds = 0;
    int answers = 0;
};

// Stored in the file: append only.
enum class RoundKind : std::int8_t { Practice = 0, Today = 1, Paper = 2 };

struct GivenAnswer
{
    model::Problem fact; // the problem with its open place
    Lesson lesson;       // the lesson that made it
    QString given;       // as typed: "17", "3……2"
    bool right = false;
    std::optional<int> ms; // from the problem getting the focus to leaving it
    QDateTime at;
};

struct BookItem
{
    qint64 factId = 0;
    model::Problem fact;
    int wrong = 0;
    QStringList lastWrong; // newest first, at most three
    QDateTime lastSeen;
    std::optional<QDate> due;
};

// A sheet printed or saved for a child, kept so that it can be marked later by its 卷号.
struct KeptPaper
{
    qint64 id = 0;
    qint64 child = 0;
    Sheet sheet;
    QDateTime made;
    std::optional<qint64> round; // the round it was marked in
};

// Puts the backup in place of the database at live (which no store may hold open), the database
// kept aside first beside it. The backup is checked first: a damaged file, one that is no
// history or one of a newer program is refused and nothing is changed.
struct RestoreResult
{
    bool restored = false;
    QString keptAside; // where the database that was replaced now is; empty where there was none
    QString reason;
};
RestoreResult Restore(const QString& backup, const QString& live, const QDateTime& now);

class Store
{
public:
    // Opens the file at path, making it and its folder where missing. Only to read: never made,
    // upgraded, moved or written (state ReadOnly, or Newer, Unavailable).
    enum class Access : std::int8_t { ReadWrite, ReadOnly };
    static std::unique_ptr<Store> Open(const QString& path, const QDateTime& now,
                                       Access access = Access::ReadWrite);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const OpenReport& Report() const { return report_; }
    const QString& Path() const { return path_; }
    bool Writable() const;

    std::vector<Child> Children() const;
    std::optional<Child> ChildById(qint64 id) const;
    WriteResult AddChild(const QString& name, int grade, const QDateTime& now);
    WriteResult RenameChild(qint64 id, const QString& name);
    WriteResult SetGrade(qint64 id, int grade);
    WriteResult SetLimit(qint64 id, std::optional<int> limitMs);
    ChildHistorySize SizeOf(qint64 child) const;
    WriteResult RemoveChild(qint64 id);
    // Who practised last on this machine; none when the child is gone.
    std::optional<qint64> LastChild() const;
    WriteResult SetLastChild(qint64 id);

    // A round is started with its first answer, so that a round opened and closed leaves nothing.
    WriteResult StartRound(qint64 child, RoundKind kind, const SheetSpec& recipe, int problems,
                           const QDateTime& at);
    WriteResult RecordAnswer(qint64 round, qint64 child, const GivenAnswer& answer);
    WriteResult EndRound(qint64 round, const QDateTime& at, int right, int score, int seconds);

    // A sheet made for child, kept with its problems; the new row's id is its number.
    WriteResult KeepPaper(qint64 child, const Sheet& sheet, const QDateTime& at);
    std::optional<KeptPaper> PaperById(qint64 id) const;
    // A sheet done on paper and marked: one round of kind Paper holding every answer, written
    // whole or not at all; the kept paper, where there is one, noted as marked by it. The new
    // round's id.
    WriteResult RecordPaper(qint64 child, const Sheet& sheet,
                            const std::vector<GivenAnswer>& answers, const QDateTime& at,
                            std::optional<qint64> paper = std::nullopt);

    // The 错题本, the items due first.
    std::vector<BookItem> Book(qint64 child) const;
    WriteResult RemoveFromBook(qint64 child, qint64 fact);
    std::optional<FactState> StateOf(qint64 child, const model::Problem& fact) const;

    // For 今日练习: items due by the day, oldest due first; facts answered right and not in the
    // book, the latest first; whether the child has met a fact; the recipe of the child's last
    // round.
    std::vector<model::Problem> DueFacts(qint64 child, const QDate& day, int limit) const;
    std::vector<model::Problem> KnownFacts(qint64 child, int limit) const;
    bool HasSeen(qint64 child, const model::Problem& fact) const;
    std::optional<SheetSpec> LastRecipe(qint64 child) const;

    // A copy of the whole database as it stands, consistent even while a round is being recorded
    // by this or another program; written beside target first, then renamed onto it.
    WriteResult Backup(const QString& target) const;

    // Restore (below) onto this store's own file, then this store opened afresh on what is there
    // now, so that whoever holds it keeps holding it.
    RestoreResult RestoreFrom(const QString& backup, const QDateTime& now);

    // A read of the file for the other readers of this folder; an empty result where the store
    // has no file.
    QSqlQuery Read(const QString& sql, const QVariantList& values = {}) const;

private:
    Store(QString path, QString connection);
    bool OpenConnection(bool readOnly);
    bool Check(const QDateTime& now, QString& reason);
    bool Prepare(QString& reason);
    // Runs work in one transaction and commits it. work runs its statements on the query it is
    // given and returns false at the first that fails, whose error is then reported.
    using Work = std::function<bool(QSqlQuery& query, qint64& id)>;
    WriteResult Write(const Work& work);

    QString path_;
    QString connection_;
    OpenReport report_;
    int checkedDay_ = 0; // the day every page was read, to be noted in the file
};

} // namespace sumvarl::history
