// The windows of the child's memory with real keys and clicks, read back from the database file:
// the answers a child gives in 练习 with their times, a write that fails, 孩子, the 错题本 (also
// with 10 000 items) and 今日练习 with its 错题卷. Nothing opens the history at start-up.

#include "FormsTestSupport.h"
#include "forms/BookWindow.h"
#include "forms/ChildrenWindow.h"
#include "forms/PracticeWindow.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "testing/Problems.h"
#include "testing/RecordingSurface.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>

using sumvarl::Hooks;
using sumvarl::Operation;
using sumvarl::PracticeWindow;
using sumvarl::SharedHistory;
using sumvarl::test::Control;
using sumvarl::testing::Two;

namespace {

// 12＋5＝( ), ( )－5＝7 and 17÷5＝( )……( ), in a lesson of additions within 20.
sumvarl::Sheet ThreeProblems()
{
    sumvarl::Sheet sheet = sumvarl::testing::SheetOf(
        {Two(12, Operation::Add, 5, 17, 0), Two(12, Operation::Subtract, 5, 7, 1),
         Two(17, Operation::Divide, 5, 3, 0, 2, true)});
    sumvarl::PartSpec& part = sheet.recipe.parts.front();
    part.weightTotal = 25;
    part.cumulativeWeight = {25, 25, 25, 25};
    part.numberRange = 20;
    return sheet;
}

// Rows of a query on the file through a connection of its own, as another program reads it.
QList<QVariantList> Rows(const QString& path, const QString& sql)
{
    QList<QVariantList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("t"));
        db.setDatabaseName(path);
        if (!db.open()) {
            return rows;
        }
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        q.exec(sql);
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i) {
                row << q.value(i);
            }
            rows << row;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("t"));
    return rows;
}

QLineEdit* Box(const QWidget& w, const QString& name)
{
    return Control<QLineEdit>(w, name);
}

} // namespace

class ChildMemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }
    void init() { hooks_ = std::make_unique<sumvarl::test::HookRecorder>(); }
    void cleanup()
    {
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            windows << w;
        }
        for (const QPointer<QWidget>& w : windows) {
            delete w.data();
        }
        hooks_.reset();
    }

    void startUpOpensNoHistory()
    {
        auto* main = new sumvarl::frmMain;
        main->show();
        auto* display = new sumvarl::frmDisplay;
        display->show();
        QCoreApplication::processEvents();
        QVERIFY(!sumvarl::SharedHistoryOpened());
        QVERIFY(!QFileInfo::exists(hooks_->historyPath));
    }

    void keepsEachAnswerWhenTheChildLeavesIt()
    {
        SharedHistory().AddChild(QStringLiteral("小红"), 1, hooks_->now);
        SharedHistory().AddChild(QStringLiteral("小明"), 2, hooks_->now);
        PracticeWindow& w = *new PracticeWindow(ThreeProblems());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(hooks_->messages.empty());

        // The child from the keys: （不记录）, 小红, 小明.
        auto* chooser = Control<QComboBox>(w, QStringLiteral("Child"));
        chooser->setFocus(Qt::TabFocusReason);
        QTest::keyClick(chooser, Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Down);
        QCOMPARE(chooser->currentText(), QStringLiteral("小明"));

        const auto step = [this](int ms) { hooks_->now = hooks_->now.addMSecs(ms); };
        QTest::mouseClick(Box(w, QStringLiteral("Answer1")), Qt::LeftButton);
        step(1000);
        QTest::keyClicks(Box(w, QStringLiteral("Answer1")), QStringLiteral("17"));
        step(1500);
        QTest::keyClick(Box(w, QStringLiteral("Answer1")), Qt::Key_Return);
        QVERIFY(!chooser->isEnabled()); // the round's answers stay with 小明
        QTest::keyClicks(Box(w, QStringLiteral("Answer2")), QStringLiteral("11"));
        step(4000);
        QTest::keyClick(Box(w, QStringLiteral("Answer2")), Qt::Key_Tab);
        // Quotient to remainder is the same problem; then back to the second, left unchanged.
        QTest::keyClicks(Box(w, QStringLiteral("Answer3")), QStringLiteral("3"));
        step(700);
        QTest::keyClick(Box(w, QStringLiteral("Answer3")), Qt::Key_Tab);
        QTest::keyClicks(Box(w, QStringLiteral("Remainder3")), QStringLiteral("2"));
        step(300);
        QTest::keyClick(Box(w, QStringLiteral("Remainder3")), Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(Box(w, QStringLiteral("Answer3")), Qt::Key_Tab, Qt::ShiftModifier);
        step(2000);
        QTest::keyClick(Box(w, QStringLiteral("Answer2")), Qt::Key_Return);
        QTest::keyClick(Box(w, QStringLiteral("Answer3")), Qt::Key_Backspace);
        QTest::keyClicks(Box(w, QStringLiteral("Answer3")), QStringLiteral("4"));
        step(500);
        // 交卷 while the third is in focus: its changed answer is given then.
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("HandIn")), Qt::LeftButton);

        const QString path = hooks_->historyPath;
        const QList<QVariantList> answers =
            Rows(path, QStringLiteral("SELECT c.name, a.given, a.right, a.ms FROM answer a"
                                      " JOIN child c ON c.id = a.child_id ORDER BY a.id"));
        const QList<QVariantList> expected{
            {QStringLiteral("小明"), QStringLiteral("17"), 1, 2500},
            {QStringLiteral("小明"), QStringLiteral("11"), 0, 4000},
            {QStringLiteral("小明"), QStringLiteral("3……2"), 1, 1000},
            {QStringLiteral("小明"), QStringLiteral("4……2"), 0, 500},
        };
        QCOMPARE(answers.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(answers[i][1].toString(), expected[i][1].toString());
            QCOMPARE(answers[i][2].toInt(), expected[i][2].toInt());
            QCOMPARE(answers[i][3].toInt(), expected[i][3].toInt());
            QCOMPARE(answers[i][0].toString(), expected[i][0].toString());
        }
        const QList<QVariantList> round =
            Rows(path, QStringLiteral("SELECT kind, problems, right_count, score, seconds, ended"
                                      " IS NOT NULL FROM round"));
        QCOMPARE(round, (QList<QVariantList>{{0, 3, 1, 33, 9, 1}}));
        QVERIFY(hooks_->messages.empty());

        // The 错题本 shows the two facts, due tomorrow; one is taken out.
        hooks_->now = hooks_->now.addSecs(60);
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Book")), Qt::LeftButton);
        sumvarl::BookWindow* book = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            book = book != nullptr ? book : qobject_cast<sumvarl::BookWindow*>(top);
        }
        QVERIFY(book != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(book));
        const QAbstractItemModel& items =
            *Control<QTableView>(*book, QStringLiteral("Items"))->model();
        QCOMPARE(items.rowCount(), 2);
        QStringList shown;
        for (int row = 0; row < 2; ++row) {
            QStringList cells;
            for (int column = 0; column < items.columnCount(); ++column) {
                cells << items.index(row, column).data().toString();
            }
            shown << cells.join(u'|');
        }
        shown.sort();
        QCOMPARE(shown, (QStringList{QStringLiteral("17÷5＝（ ）|1 次|4……2|2026-05-06 09:30|明天"),
                                     QStringLiteral("（ ）－5＝7|1 次|11|2026-05-06 09:30|明天")}));
        auto* table = Control<QTableView>(*book, QStringLiteral("Items"));
        const QString kept = items.index(0, 0).data().toString();
        const QRect second = table->visualRect(items.index(1, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseClick(Control<QPushButton>(*book, QStringLiteral("RemoveItem")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->questions.size(), std::size_t{1});
        QCOMPARE(items.rowCount(), 1);
        QCOMPARE(items.index(0, 0).data().toString(), kept);
        QCOMPARE(SharedHistory().Book(*SharedHistory().LastChild()).size(), std::size_t{1});
    }

    // Another program removes the child while the round goes on: one message, the round goes on.
    void aWriteThatFailsIsToldOnce()
    {
        const qint64 child = SharedHistory().AddChild(QStringLiteral("小明"), 2, hooks_->now).id;
        SharedHistory().SetLastChild(child);
        PracticeWindow& w = *new PracticeWindow(ThreeProblems());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(Control<QComboBox>(w, QStringLiteral("Child"))->currentText(),
                 QStringLiteral("小明"));
        QTest::keyClicks(Box(w, QStringLiteral("Answer1")), QStringLiteral("17"));
        QTest::keyClick(Box(w, QStringLiteral("Answer1")), Qt::Key_Return);
        Rows(hooks_->historyPath, QStringLiteral("DELETE FROM child"));
        QTest::keyClicks(Box(w, QStringLiteral("Answer2")), QStringLiteral("12"));
        QTest::keyClick(Box(w, QStringLiteral("Answer2")), Qt::Key_Return);
        QTest::keyClicks(Box(w, QStringLiteral("Answer3")), QStringLiteral("3"));
        QTest::keyClick(Box(w, QStringLiteral("Answer3")), Qt::Key_Return);
        QTest::keyClicks(Box(w, QStringLiteral("Remainder3")), QStringLiteral("2"));
        QTest::keyClick(Box(w, QStringLiteral("Remainder3")), Qt::Key_Return);
        QTest::keyClick(Control<QPushButton>(w, QStringLiteral("HandIn")), Qt::Key_Return);
        QTRY_COMPARE(hooks_->messages.size(), std::size_t{1});
        QVERIFY2(hooks_->messages[0].prompt.contains(QStringLiteral("刚才的答案没有记下")),
                 qPrintable(hooks_->messages[0].prompt));
        QCOMPARE(Control<QLabel>(w, QStringLiteral("Mark2"))->text(), QStringLiteral("✓"));
        QTest::qWait(20);
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
    }

    // A file from a newer program is told once at opening and never written.
    void aNewerFileIsReadButNotWritten()
    {
        const qint64 child = SharedHistory().AddChild(QStringLiteral("小明"), 2, hooks_->now).id;
        SharedHistory().SetLastChild(child);
        sumvarl::CloseSharedHistory();
        Rows(hooks_->historyPath, QStringLiteral("PRAGMA user_version=99"));
        const QByteArray before = [&] {
            QFile f(hooks_->historyPath);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        PracticeWindow& w = *new PracticeWindow(ThreeProblems());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("更新版本")));
        QCOMPARE(Control<QComboBox>(w, QStringLiteral("Child"))->currentText(),
                 QStringLiteral("小明"));
        QTest::keyClicks(Box(w, QStringLiteral("Answer1")), QStringLiteral("17"));
        QTest::keyClick(Box(w, QStringLiteral("Answer1")), Qt::Key_Return);
        QTest::keyClick(Control<QPushButton>(w, QStringLiteral("HandIn")), Qt::Key_Return);
        QTest::qWait(20);
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(Control<QLabel>(w, QStringLiteral("Mark1"))->text(), QStringLiteral("✓"));
        sumvarl::CloseSharedHistory();
        QFile f(hooks_->historyPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void childrenAreAddedRenamedAndRemoved()
    {
        sumvarl::ChildrenWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* name = Control<QLineEdit>(w, QStringLiteral("Name"));
        auto* add = Control<QPushButton>(w, QStringLiteral("Add"));
        const auto children = [] {
            QStringList list;
            for (const sumvarl::history::Child& c : SharedHistory().Children()) {
                list << QStringLiteral("%1 %2 %3").arg(c.name).arg(c.grade).arg(c.LimitMs());
            }
            return list;
        };

        sumvarl::test::TypeWithInputMethod(*name, QStringLiteral("  小明 "));
        auto* grade = Control<QComboBox>(w, QStringLiteral("Grade"));
        grade->setFocus(Qt::TabFocusReason);
        QTest::keyClick(grade, Qt::Key_Down);
        auto* limit = Control<QSpinBox>(w, QStringLiteral("Limit"));
        QCOMPARE(limit->text(), QStringLiteral("按年级（6 秒）"));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(children(), QStringList{QStringLiteral("小明 2 6000")});

        // Refused: the same name, an empty one, 31 characters.
        for (const QString& typed :
             {QStringLiteral("小明"), QStringLiteral("   "), QString(31, QChar(u'字'))}) {
            sumvarl::test::TypeWithInputMethod(*name, typed);
            QTest::mouseClick(add, Qt::LeftButton);
        }
        QCOMPARE(hooks_->messages.size(), std::size_t{3});
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("已经有一个叫“小明”")));
        QCOMPARE(children().size(), 1);

        // A second child of 三年级 with its own limit, then renamed; 小明 stays as he was.
        sumvarl::test::TypeWithInputMethod(*name, QStringLiteral("小红"));
        grade->setFocus(Qt::TabFocusReason);
        QTest::keyClick(grade, Qt::Key_Down);
        QCOMPARE(limit->text(), QStringLiteral("按年级（3 秒）"));
        limit->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(limit, Qt::Key_Up);
        }
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(children(),
                 (QStringList{QStringLiteral("小明 2 6000"), QStringLiteral("小红 3 5000")}));
        sumvarl::test::TypeWithInputMethod(*name, QStringLiteral("小兰"));
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Save")), Qt::LeftButton);
        auto* list = Control<QListWidget>(w, QStringLiteral("List"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("小兰"));
        QCOMPARE(children().last(), QStringLiteral("小兰 3 5000"));

        hooks_->confirmAnswer = false;
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Remove")), Qt::LeftButton);
        QCOMPARE(hooks_->questions.back().prompt,
                 QStringLiteral("删除“小兰”会同时删除 0 轮练习、0 个答案，不能恢复。确定删除吗？"));
        QCOMPARE(children().size(), 2);
        hooks_->confirmAnswer = true;
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Remove")), Qt::LeftButton);
        QCOMPARE(children(), QStringList{QStringLiteral("小明 2 6000")});
        QCOMPARE(list->count(), 1);
    }

    void tenThousandItemsShowQuickly()
    {
        const qint64 child = SharedHistory().AddChild(QStringLiteral("小明"), 2, hooks_->now).id;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("f"));
            db.setDatabaseName(hooks_->historyPath);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("BEGIN")));
            for (int i = 0; i < 10000; ++i) {
                const int a = i / 100;
                const int b = i % 100;
                QVERIFY(q.exec(QStringLiteral("INSERT INTO fact VALUES (%1, %2, %3, 0, 0, 0, 2, 0,"
                                              " 0, 0, %4, 0)")
                                   .arg(i + 1)
                                   .arg(a)
                                   .arg(b)
                                   .arg(a + b)));
                QVERIFY(q.exec(QStringLiteral("INSERT INTO child_fact VALUES (%1, %2, 2, 1, 0, 0,"
                                              " 1, 0, %3, 0)")
                                   .arg(child)
                                   .arg(i + 1)
                                   .arg(hooks_->now.date().toJulianDay() + i % 30)));
            }
            QVERIFY(q.exec(QStringLiteral("COMMIT")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("f"));

        QElapsedTimer timer;
        timer.start();
        auto* book = new sumvarl::BookWindow(child);
        book->show();
        QVERIFY(QTest::qWaitForWindowExposed(book));
        QCoreApplication::processEvents();
        const qint64 ms = timer.elapsed();
        qInfo("10 000 items shown in %lld ms", ms);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        const QAbstractItemModel& items =
            *Control<QTableView>(*book, QStringLiteral("Items"))->model();
        QCOMPARE(items.rowCount(), 10000);
        QCOMPARE(items.index(0, sumvarl::BookModel::Due).data().toString(), QStringLiteral("今天"));
        QCOMPARE(Control<QLabel>(*book, QStringLiteral("Summary"))->text(),
                 QStringLiteral("共 10000 道题，今天要复习 334 道。"));
    }

    // 今日练习 from the practice window with no child chosen: it asks, and the due fact comes
    // first; printed, the 错题卷 and its key on a page of its own.
    void todaysRoundBringsBackTheDueFacts()
    {
        const qint64 child = SharedHistory().AddChild(QStringLiteral("小明"), 2, hooks_->now).id;
        sumvarl::history::Store& store = SharedHistory();
        const sumvarl::model::Problem slip = Two(9, Operation::Add, 4, 13, 2);
        const qint64 round = store
                                 .StartRound(child, sumvarl::history::RoundKind::Practice,
                                             ThreeProblems().recipe, 3, hooks_->now)
                                 .id;
        QVERIFY(store
                    .RecordAnswer(round, child,
                                  {slip, {}, QStringLiteral("8"), false, 3000, hooks_->now})
                    .Ok());
        store.SetLastChild(0);
        hooks_->now = hooks_->now.addDays(1);

        PracticeWindow& w = *new PracticeWindow(ThreeProblems());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Today")), Qt::LeftButton);
        QCOMPARE(hooks_->childAsked, (std::vector<QStringList>{{QStringLiteral("小明")}}));
        PracticeWindow* today = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &w && top->windowTitle() == QStringLiteral("今日练习")) {
                today = qobject_cast<PracticeWindow*>(top);
            }
        }
        QVERIFY(today != nullptr);
        QCOMPARE(today->child(), std::optional<qint64>(child));
        QCOMPARE(Control<QLabel>(*today, QStringLiteral("Before1"))->text(),
                 QStringLiteral("9＋("));
        QVERIFY(!Control<QComboBox>(*today, QStringLiteral("Child"))->isEnabled());

        QTest::mouseClick(Control<QPushButton>(*today, QStringLiteral("PrintReview")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->drawings.size(), std::size_t{1});
        sumvarl::testing::RecordingSurface paper;
        hooks_->drawings[0](paper);
        QCOMPARE(paper.pages, 2);
        std::u16string texts;
        for (const auto& d : paper.drawn) {
            texts += d.text + u'|';
        }
        const std::u16string wanted[] = {std::u16string(sumvarl::ReviewTitle), u"姓名：小明",
                                         std::u16string(sumvarl::ReviewKeyTitle), u"(4)"};
        for (const std::u16string& text : wanted) {
            QVERIFY2(texts.find(text) != std::u16string::npos,
                     qPrintable(QString::fromStdU16String(text)));
        }
    }

private:
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
};

QTEST_MAIN(ChildMemoryTest)
#include "child_memory_test.moc"
