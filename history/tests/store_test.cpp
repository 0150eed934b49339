#include "history/HistoryStore.h"
#include "testing/Problems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace sumvarl::history {
namespace {

using testing::Two;

const QDateTime Monday(QDate(2026, 12, 7), QTime(18, 0));

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

GivenAnswer Answer(const model::Problem& p, bool right, int ms, const QDateTime& at,
                   const QString& given = QStringLiteral("0"))
{
    return {p, Lesson{}, given, right, ms, at};
}

// A store with one child and one round, ready for answers.
struct Practising
{
    explicit Practising(const QString& path)
        : store(Store::Open(path, Monday)),
          child(store->AddChild(QStringLiteral("小明"), 2, Monday).id),
          round(
              store->StartRound(child, RoundKind::Practice, SheetSpec{{PartSpec{}}, 7}, 20, Monday)
                  .id)
    {}
    std::unique_ptr<Store> store;
    qint64 child;
    qint64 round;
};

class HistoryStore : public ::testing::Test
{
protected:
    QTemporaryDir dir_;
    QString path_ = dir_.filePath(QStringLiteral("data/history.sqlite3"));
};

TEST_F(HistoryStore, KeepsChildrenAnswersAndTheBookAcrossReopening)
{
    {
        Practising p(path_);
        ASSERT_EQ(p.store->Report().state, OpenState::Ready);
#ifndef Q_OS_WIN
        // Windows keeps who may read a file in its folder's access list (the user's AppData is
        // the user's alone), not in mode bits, and Qt does not read that list by default.
        EXPECT_EQ(QFile::permissions(path_) & (QFile::ReadGroup | QFile::ReadOther), 0);
#endif
        for (int n = 2; n <= 11; ++n) {
            ASSERT_TRUE(p.store->AddChild(QStringLiteral("孩子%1").arg(n), 1 + n % 6, Monday).Ok());
        }
        EXPECT_EQ(p.store->AddChild(QStringLiteral("小明"), 3, Monday).state,
                  WriteState::Duplicate);
        const model::Problem eight = Two(8, Operation::Add, 5, 13);
        ASSERT_TRUE(p.store
                        ->RecordAnswer(p.round, p.child,
                                       Answer(eight, false, 2500, Monday, QStringLiteral("12")))
                        .Ok());
        ASSERT_TRUE(p.store
                        ->RecordAnswer(p.round, p.child,
                                       Answer(Two(9, Operation::Add, 1, 10), true, 900, Monday))
                        .Ok());
        ASSERT_TRUE(p.store->EndRound(p.round, Monday.addSecs(60), 1, 50, 60).Ok());
        ASSERT_TRUE(p.store->SetLastChild(p.child).Ok());
    }
    const auto store = Store::Open(path_, Monday.addDays(1));
    EXPECT_EQ(store->Children().size(), 11U);
    const qint64 child = *store->LastChild();
    EXPECT_EQ(store->ChildById(child)->name, QStringLiteral("小明"));
    const std::vector<BookItem> book = store->Book(child);
    ASSERT_EQ(book.size(), 1U);
    EXPECT_EQ(book[0].fact, Two(8, Operation::Add, 5, 13));
    EXPECT_EQ(book[0].lastWrong, QStringList{QStringLiteral("12")});
    EXPECT_EQ(book[0].due, Monday.date().addDays(1));
    EXPECT_EQ(store->DueFacts(child, Monday.date().addDays(1), 20).size(), 1U);
    EXPECT_EQ(store->KnownFacts(child, 20), std::vector{Two(9, Operation::Add, 1, 10)});
    EXPECT_EQ(store->LastRecipe(child)->seed, 7U);
    EXPECT_EQ(store->SizeOf(child).answers, 2);

    // Removing an item leaves the answers; removing the child takes everything of theirs.
    auto writable = Store::Open(path_, Monday.addDays(1));
    ASSERT_TRUE(writable->RemoveFromBook(child, book[0].factId).Ok());
    EXPECT_TRUE(writable->Book(child).empty());
    ASSERT_TRUE(writable->RemoveChild(child).Ok());
    EXPECT_EQ(writable->SizeOf(child).answers, 0);
    EXPECT_FALSE(writable->LastChild());
}

// Two chains of three steps that differ only in their last step stay two facts, read back whole.
TEST_F(HistoryStore, KeepsChainsOfThreeStepsWhole)
{
    using enum Operation;
    const model::Problem times =
        testing::Four(36, Subtract, 4, Add, 5, Multiply, 2, Brackets::FirstThreeLastTwo, 54);
    const model::Problem divided =
        testing::Four(36, Subtract, 4, Add, 5, Divide, 9, Brackets::FirstThreeLastTwo, 3);
    {
        Practising p(path_);
        for (const model::Problem& fact : {times, divided}) {
            ASSERT_TRUE(
                p.store->RecordAnswer(p.round, p.child, Answer(fact, false, 900, Monday)).Ok());
        }
    }
    const auto store = Store::Open(path_, Monday);
    std::vector<model::Problem> facts;
    for (const BookItem& item : store->Book(store->Children().at(0).id)) {
        facts.push_back(item.fact);
    }
    EXPECT_EQ(facts.size(), 2U);
    EXPECT_NE(std::find(facts.begin(), facts.end(), times), facts.end());
    EXPECT_NE(std::find(facts.begin(), facts.end(), divided), facts.end());
}

TEST_F(HistoryStore, MovesADamagedFileAsideAndStartsANewOne)
{
    std::mt19937 bytes(5);
    QByteArray noise(qsizetype{64} * 1024, '\0');
    for (char& c : noise) {
        c = static_cast<char>(bytes());
    }
    QByteArray truncated;
    {
        Practising p(path_);
        for (int n = 0; n < 400; ++n) {
            p.store->RecordAnswer(p.round, p.child,
                                  Answer(Two(n, Operation::Add, 1, n + 1), true, 900, Monday));
        }
    }
    Store::Open(path_, Monday); // checked in full today: later opens today read the header only
    {
        // Every page back in the file, then half of it cut away.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "checkpoint");
        db.setDatabaseName(path_);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("checkpoint");
    truncated = Bytes(path_).left(Bytes(path_).size() / 2);

    for (const QByteArray& damaged : {noise, truncated}) {
        QFile::remove(path_ + QStringLiteral("-wal"));
        QFile::remove(path_ + QStringLiteral("-shm"));
        WriteBytes(path_, damaged);
        const auto store = Store::Open(path_, Monday);
        ASSERT_EQ(store->Report().state, OpenState::MovedAside)
            << store->Report().reason.toStdString();
        EXPECT_TRUE(store->Report().movedTo.contains(QStringLiteral("2026-12-07")));
        EXPECT_EQ(Bytes(store->Report().movedTo), damaged);
        EXPECT_TRUE(store->AddChild(QStringLiteral("小红"), 1, Monday).Ok());
    }
}

TEST_F(HistoryStore, ANewerFileIsReadButNeverWritten)
{
    {
        Practising p(path_);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "newer");
        db.setDatabaseName(path_);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=9"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
    const QByteArray before = Bytes(path_);
    {
        const auto store = Store::Open(path_, Monday);
        EXPECT_EQ(store->Report().state, OpenState::Newer);
        EXPECT_EQ(store->Report().fileVersion, 9);
        ASSERT_EQ(store->Children().size(), 1U);
        EXPECT_EQ(store->AddChild(QStringLiteral("小红"), 1, Monday).state, WriteState::ReadOnly);
    }
    EXPECT_EQ(Bytes(path_), before);
}

// Runs statements on the file outside any store, as another program would.
void RunOnFile(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "outside");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString& statement : statements) {
            ASSERT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
        }
    }
    QSqlDatabase::removeDatabase("outside");
}

TEST_F(HistoryStore, AFirstVersionFileIsUpgradedKeepingItsAnswers)
{
    {
        Practising p(path_);
        ASSERT_TRUE(p.store
                        ->RecordAnswer(p.round, p.child,
                                       Answer(Two(8, Operation::Add, 5, 13), true, 2000, Monday,
                                              QStringLiteral("13")))
                        .Ok());
    }
    // What the first version made: no paper tables, version 1.
    RunOnFile(path_, {QStringLiteral("DROP TABLE paper_fact"), QStringLiteral("DROP TABLE paper"),
                      QStringLiteral("PRAGMA user_version=1")});
    const auto store = Store::Open(path_, Monday);
    EXPECT_EQ(store->Report().state, OpenState::Ready);
    EXPECT_EQ(store->Report().fileVersion, SchemaVersion);
    QSqlQuery q = store->Read(QStringLiteral("SELECT (SELECT count(*) FROM answer),"
                                             " (SELECT count(*) FROM paper), user_version"
                                             " FROM pragma_user_version"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    EXPECT_EQ(q.value(1).toInt(), 0);
    EXPECT_EQ(q.value(2).toInt(), SchemaVersion);
}

TEST_F(HistoryStore, APaperSheetIsKeptAndMarkedOnce)
{
    Practising p(path_);
    Sheet sheet{SheetSpec{{PartSpec{}}, 3},
                {Two(8, Operation::Add, 5, 13), Two(9, Operation::Subtract, 4, 5)}};
    sheet.problems[1].open = OpenPlace::Operand1;
    const WriteResult kept = p.store->KeepPaper(p.child, sheet, Monday);
    ASSERT_TRUE(kept.Ok());
    const std::optional<KeptPaper> paper = p.store->PaperById(kept.id);
    ASSERT_TRUE(paper.has_value());
    EXPECT_EQ(paper->child, p.child);
    EXPECT_TRUE(paper->sheet == sheet);
    EXPECT_FALSE(paper->round.has_value());
    EXPECT_FALSE(p.store->PaperById(kept.id + 1).has_value());

    const QDateTime later = Monday.addDays(1);
    const std::vector<GivenAnswer> answers{
        {sheet.problems[0], Lesson{}, QStringLiteral("13"), true, std::nullopt, later},
        {sheet.problems[1], Lesson{}, QStringLiteral("6"), false, std::nullopt, later}};
    const WriteResult marked = p.store->RecordPaper(p.child, sheet, answers, later, kept.id);
    ASSERT_TRUE(marked.Ok()) << marked.reason.toStdString();
    EXPECT_EQ(p.store->PaperById(kept.id)->round, marked.id);
    ASSERT_EQ(p.store->Book(p.child).size(), 1U);
    EXPECT_TRUE(p.store->Book(p.child)[0].fact == sheet.problems[1]);
    // Marked again (another window): refused whole, nothing counted twice.
    EXPECT_FALSE(p.store->RecordPaper(p.child, sheet, answers, later, kept.id).Ok());
    QSqlQuery q = p.store->Read(QStringLiteral("SELECT count(*), sum(ms IS NULL), (SELECT count(*) "
                                               "FROM round WHERE kind = 2) FROM answer"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2);
    EXPECT_EQ(q.value(1).toInt(), 2);
    EXPECT_EQ(q.value(2).toInt(), 1);
}

// The writer of the two tests below, run as its own process: records answers one by one and
// says each id once it is committed.
TEST(HistoryWriter, RecordsUntilStopped)
{
    // As text, not bytes: Windows gives a variable's bytes in its 8-bit code page, where 甲 and 乙
    // may both be "?".
    const QString path = qEnvironmentVariable("SUMVARL_WRITER_DB");
    if (path.isEmpty()) {
        GTEST_SKIP() << "run by the tests below";
    }
    const auto store = Store::Open(path, Monday);
    const QString name = qEnvironmentVariable("SUMVARL_WRITER_CHILD");
    qint64 child = store->AddChild(name, 1, Monday).id;
    const qint64 round =
        store->StartRound(child, RoundKind::Practice, SheetSpec{{PartSpec{}}, 1}, 50, Monday).id;
    const int count = qEnvironmentVariableIntValue("SUMVARL_WRITER_COUNT");
    for (int n = 0; n < count; ++n) {
        const WriteResult r = store->RecordAnswer(
            round, child, Answer(Two(n, Operation::Add, 2, n + 2), n % 3 != 0, 800, Monday));
        ASSERT_TRUE(r.Ok()) << r.reason.toStdString();
        std::printf("%lld\n", static_cast<long long>(r.id));
        std::fflush(stdout);
    }
}

// This test binary's own file, to start it again as a writer (no QCoreApplication to ask).
QString ThisProgram()
{
#ifdef Q_OS_WIN
    std::wstring name(32768, L'\0');
    name.resize(::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size())));
    return QString::fromStdWString(name);
#else
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
#endif
}

QProcess* StartWriter(const QString& path, const QString& child, int count)
{
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SUMVARL_WRITER_DB"), path);
    env.insert(QStringLiteral("SUMVARL_WRITER_CHILD"), child);
    env.insert(QStringLiteral("SUMVARL_WRITER_COUNT"), QString::number(count));
    p->setProcessEnvironment(env);
    p->start(ThisProgram(), {QStringLiteral("--gtest_filter=HistoryWriter.*")});
    return p;
}

// Reads the writer's output until it has said at least count ids; how many it has said, without
// the test runner's own lines.
int WaitForCommitted(QProcess& writer, QByteArray& output, int count)
{
    // A Windows program's text output ends its lines with CR LF.
    static const QRegularExpression id(QStringLiteral("^\\d+\r?$"),
                                       QRegularExpression::MultilineOption);
    output += writer.readAllStandardOutput();
    int said = static_cast<int>(QString::fromLatin1(output).count(id));
    while (said < count && writer.waitForReadyRead(10000)) {
        output += writer.readAllStandardOutput();
        said = static_cast<int>(QString::fromLatin1(output).count(id));
    }
    return said;
}

int Answers(const QString& path, QString& integrity)
{
    const auto store = Store::Open(path, Monday);
    integrity =
        store->Report().state == OpenState::Ready ? QStringLiteral("ok") : store->Report().reason;
    int total = 0;
    for (const Child& c : store->Children()) {
        total += store->SizeOf(c.id).answers;
    }
    return total;
}

TEST_F(HistoryStore, TwoProcessesAtOnceKeepBothRounds)
{
    Store::Open(path_, Monday); // made once, so both find it
    std::unique_ptr<QProcess> a(StartWriter(path_, QStringLiteral("甲"), 150));
    std::unique_ptr<QProcess> b(StartWriter(path_, QStringLiteral("乙"), 150));
    for (QProcess* p : {a.get(), b.get()}) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardOutput().toStdString();
    }
    QString integrity;
    EXPECT_EQ(Answers(path_, integrity), 300);
    EXPECT_EQ(integrity, QStringLiteral("ok"));
}

TEST_F(HistoryStore, KilledWhileRecordingLosesNoCommittedAnswer)
{
    Store::Open(path_, Monday);
    std::unique_ptr<QProcess> writer(StartWriter(path_, QStringLiteral("甲"), 100000));
    QByteArray output;
    WaitForCommitted(*writer, output, 200);
    writer->kill(); // SIGKILL, or TerminateProcess on Windows: no chance to tidy up either way
    writer->waitForFinished();
    const int said = WaitForCommitted(*writer, output, 0);
    QString integrity;
    const int kept = Answers(path_, integrity);
    EXPECT_EQ(integrity, QStringLiteral("ok"));
    // Every answer reported as committed is there; at most the one under way is not.
    EXPECT_GE(kept, said);
    EXPECT_LE(kept, said + 1);
}

TEST_F(HistoryStore, ABackupTakenWhileRecordingIsWholeAndRestoresWithTheOldKeptAside)
{
    const QString backup = dir_.filePath(QStringLiteral("backup.sqlite3"));
    {
        const auto store = Store::Open(path_, Monday);
        std::unique_ptr<QProcess> writer(StartWriter(path_, QStringLiteral("甲"), 400));
        QByteArray output;
        ASSERT_GE(WaitForCommitted(*writer, output, 20), 20);
        const WriteResult made = store->Backup(backup);
        ASSERT_TRUE(made.Ok()) << made.reason.toStdString();
        ASSERT_TRUE(writer->waitForFinished(60000));
    }
    QString integrity;
    const int inBackup = Answers(backup, integrity);
    EXPECT_EQ(integrity, QStringLiteral("ok"));
    EXPECT_GT(inBackup, 0);
#ifndef Q_OS_WIN
    EXPECT_EQ(QFile::permissions(backup) & (QFile::ReadGroup | QFile::ReadOther), 0);
#endif

    // A damaged backup is refused and nothing is changed.
    const QString damaged = dir_.filePath(QStringLiteral("damaged.sqlite3"));
    WriteBytes(damaged, Bytes(backup).left(Bytes(backup).size() / 2));
    const QByteArray live = Bytes(path_);
    EXPECT_FALSE(Restore(damaged, path_, Monday).restored);
    EXPECT_EQ(Bytes(path_), live);

    const RestoreResult restored = Restore(backup, path_, Monday.addDays(1));
    ASSERT_TRUE(restored.restored) << restored.reason.toStdString();
    EXPECT_EQ(Answers(path_, integrity), inBackup);
    EXPECT_EQ(Answers(restored.keptAside, integrity), 400);
}

// A small file system of its own in a folder, where the system lets the test make one (root on
// Linux; Windows has no mount, so these tests are skipped there).
class Tmpfs
{
public:
    Tmpfs(const QString& folder, [[maybe_unused]] const char* options) : folder_(folder)
    {
        QDir().mkpath(folder);
#ifndef Q_OS_WIN
        const QString command =
            QStringLiteral("mount -t tmpfs -o %1 tmpfs '%2' 2>/dev/null").arg(options, folder);
        mounted_ = ::geteuid() == 0 && std::system(command.toLocal8Bit().constData()) == 0;
#endif
    }
    ~Tmpfs()
    {
        if (mounted_) {
            std::system(QStringLiteral("umount -l '%1'").arg(folder_).toLocal8Bit().constData());
        }
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;
    bool Mounted() const
    {
        return mounted_;
    }
    void ReadOnly()
    {
        std::system(
            QStringLiteral("mount -o remount,ro '%1'").arg(folder_).toLocal8Bit().constData());
    }

private:
    QString folder_;
    bool mounted_ = false;
};

TEST_F(HistoryStore, AFullDiskRefusesTheAnswerAndKeepsTheHistory)
{
    const QString folder = dir_.filePath(QStringLiteral("small"));
    Tmpfs disk(folder, "size=16m");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "needs root on Linux to mount a small file system";
    }
    Practising p(folder + QStringLiteral("/history.sqlite3"));
    for (int n = 0; n < 20; ++n) {
        ASSERT_TRUE(p.store
                        ->RecordAnswer(p.round, p.child,
                                       Answer(Two(n, Operation::Add, 1, n + 1), true, 900, Monday))
                        .Ok());
    }
    // The rest of the disk taken by another file.
    QFile filler(folder + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    WriteResult refused;
    for (int n = 20; n < 200 && refused.Ok(); ++n) {
        refused = p.store->RecordAnswer(
            p.round, p.child, Answer(Two(n, Operation::Add, 2, n + 2), true, 900, Monday));
    }
    EXPECT_EQ(refused.state, WriteState::DiskFull) << refused.reason.toStdString();
    const int before = p.store->SizeOf(p.child).answers;
    EXPECT_GE(before, 20);
    // Room again: the round goes on.
    filler.remove();
    EXPECT_TRUE(p.store
                    ->RecordAnswer(p.round, p.child,
                                   Answer(Two(1, Operation::Subtract, 1, 0), true, 900, Monday))
                    .Ok());
    EXPECT_EQ(p.store->SizeOf(p.child).answers, before + 1);
}

TEST_F(HistoryStore, AReadOnlyFolderKeepsNothingAndChangesNothing)
{
    const QString folder = dir_.filePath(QStringLiteral("locked"));
    Tmpfs disk(folder, "size=4m");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "needs root on Linux to mount a read-only file system";
    }
    const QString file = folder + QStringLiteral("/history.sqlite3");
    {
        Practising p(file);
        p.store->RecordAnswer(p.round, p.child,
                              Answer(Two(2, Operation::Add, 2, 4), false, 900, Monday));
    }
    const QByteArray before = Bytes(file);
    disk.ReadOnly();
    for (const QString& path : {file, folder + QStringLiteral("/sub/history.sqlite3")}) {
        const auto store = Store::Open(path, Monday.addDays(1));
        EXPECT_TRUE(store->Report().state == OpenState::ReadOnly ||
                    store->Report().state == OpenState::Unavailable);
        EXPECT_FALSE(store->Report().reason.isEmpty());
        EXPECT_EQ(store->AddChild(QStringLiteral("小红"), 1, Monday).state, WriteState::ReadOnly);
    }
    EXPECT_EQ(Bytes(file), before);
}

} // namespace
} // namespace sumvarl::history
