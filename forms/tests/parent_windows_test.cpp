// What a parent looks at, driven with keys and clicks on a real history file: the fact grid and
// the answers behind a cell, the progress chart with its gaps and its PDF, and the answers
// exported as CSV and read back by Python's csv module.

#include "FormsTestSupport.h"
#include "core/SheetCode.h"
#include "forms/ChildMemory.h"
#include "forms/ChildrenWindow.h"
#include "forms/PaperMarkingWindow.h"
#include "forms/ParentWindows.h"
#include "forms/RoundRecorder.h"
#include "print/PrintedWorksheet.h"
#include "testing/PrintTestSupport.h"
#include "testing/Problems.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>

using sumvarl::Operation;
using sumvarl::SharedHistory;
using sumvarl::test::Control;
using sumvarl::testing::Two;

class ParentWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }
    void init()
    {
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        // Monday and Wednesday of this week; nothing on Tuesday.
        const QDateTime today = hooks_->now;
        child_ = SharedHistory().AddChild(QStringLiteral("小明"), 1, today).id;
        const qint64 round =
            SharedHistory()
                .StartRound(child_, sumvarl::history::RoundKind::Practice,
                            sumvarl::SheetSpec{{sumvarl::PartSpec{}}, 1}, 4, today.addDays(-2))
                .id;
        const auto give = [&](const sumvarl::model::Problem& p, bool right, int daysAgo,
                              const QString& given) {
            QVERIFY(SharedHistory()
                        .RecordAnswer(round, child_,
                                      {p, {}, given, right, 2000, today.addDays(-daysAgo)})
                        .Ok());
        };
        give(Two(3, Operation::Add, 4, 7), false, 2, QStringLiteral("8"));
        give(Two(3, Operation::Add, 4, 7), true, 0, QStringLiteral("7"));
        give(Two(9, Operation::Subtract, 4, 5), true, 2, QStringLiteral("5, \"五\""));
    }
    void cleanup()
    {
        sumvarl::CloseSharedHistory();
        hooks_.reset();
    }

    // A paper 错题卷 brought back by its 卷号: a typo refused, the wrong ones clicked or typed,
    // kept once as a round without times.
    void paperSheetIsMarkedByItsCodeOnce()
    {
        const sumvarl::Sheet sheet{sumvarl::SheetSpec{{sumvarl::PartSpec{}}, 5},
                                   {Two(8, Operation::Add, 5, 13),
                                    Two(9, Operation::Subtract, 4, 5),
                                    Two(6, Operation::Add, 6, 12)}};
        const qint64 number = SharedHistory().KeepPaper(child_, sheet, hooks_->now).id;
        const QString code = QString::fromStdU16String(
            sumvarl::EncodeKeptSheetCode(static_cast<std::uint32_t>(number)));
        sumvarl::PaperMarkingWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* codeBox = Control<QLineEdit>(w, QStringLiteral("SheetCode"));
        QTest::keyClicks(codeBox, code.chopped(1) + (code.endsWith(QLatin1Char('9')) ? "8" : "9"));
        QTest::keyClick(codeBox, Qt::Key_Return);
        QCOMPARE(hooks_->messages.size(), 1U);
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("请核对卷号")));
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("Problem1")) == nullptr);
        QTest::keyClick(codeBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(codeBox, code.toLower());
        QTest::keyClick(codeBox, Qt::Key_Return);
        // The first answer box has the keyboard as soon as the sheet is open.
        QTest::keyClicks(w.focusWidget(), QStringLiteral("13"));
        QTest::keyClick(w.focusWidget(), Qt::Key_Return);
        // The second clicked wrong from the keyboard; Return in its box leaves it so.
        for (const Qt::Key key : {Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Return}) {
            QTest::keyClick(w.focusWidget(), key);
        }
        QVERIFY(Control<QPushButton>(w, QStringLiteral("Problem2"))->isChecked());
        QTest::keyClicks(Control<QLineEdit>(w, QStringLiteral("Answer3")), QStringLiteral("11"));
        QTest::keyClick(Control<QLineEdit>(w, QStringLiteral("Answer3")), Qt::Key_Return);
        QVERIFY(Control<QPushButton>(w, QStringLiteral("Problem3"))->isChecked());
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Record")), Qt::LeftButton);
        QVERIFY(Control<QLabel>(w, QStringLiteral("Result"))
                    ->text()
                    .contains(QStringLiteral("对 1 题，错 2 题")));

        QSqlQuery q = SharedHistory().Read(
            QStringLiteral("SELECT a.given, a.right, a.ms IS NULL FROM answer a JOIN round r"
                           " ON r.id = a.round_id WHERE r.kind = 2 ORDER BY a.id"));
        QStringList rows;
        while (q.next()) {
            rows << QStringLiteral("%1/%2/%3")
                        .arg(q.value(0).toString())
                        .arg(q.value(1).toInt())
                        .arg(q.value(2).toInt());
        }
        QCOMPARE(rows, QStringList({"13/1/1", "/0/1", "11/0/1"}));
        int booked = 0;
        for (const sumvarl::history::BookItem& item : SharedHistory().Book(child_)) {
            booked += item.fact == sheet.problems[1] || item.fact == sheet.problems[2] ? 1 : 0;
        }
        QCOMPARE(booked, 2);

        QTest::keyClick(codeBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(codeBox, code);
        QTest::keyClick(codeBox, Qt::Key_Return);
        QVERIFY(hooks_->messages.back().prompt.contains(QStringLiteral("已经批改并记录过了")));
    }

    void gridCellListsItsAnswersFromTheKeys()
    {
        sumvarl::FactGridWindow w(child_);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* add = Control<QTableWidget>(w, QStringLiteral("Grid0"));
        QCOMPARE(add->item(3, 4)->text(), QStringLiteral("错"));
        QCOMPARE(add->item(4, 3)->text(), QString());
        QCOMPARE(Control<QTableWidget>(w, QStringLiteral("Grid1"))->item(5, 4)->text(),
                 QStringLiteral("练"));
        add->setFocus();
        QTest::mouseClick(add->viewport(), Qt::LeftButton, {},
                          add->visualItemRect(add->item(0, 0)).center());
        for (int k = 0; k < 3; ++k) {
            QTest::keyClick(add, Qt::Key_Down);
        }
        for (int k = 0; k < 4; ++k) {
            QTest::keyClick(add, Qt::Key_Right);
        }
        QTest::keyClick(add, Qt::Key_Return);
        const auto* answers = Control<QListWidget>(w, QStringLiteral("Answers"));
        QCOMPARE(answers->count(), 2);
        QVERIFY(answers->item(0)->text().contains(QStringLiteral("3＋4＝7　答 7 ✓")));
        QVERIFY(answers->item(1)->text().contains(QStringLiteral("答 8 ✗")));
    }

    void chartShowsDaysWithoutPracticeAsGapsAndSavesAPdf()
    {
        SKIP_WITHOUT_READ_BACK();
        sumvarl::ProgressWindow w(child_);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* measure = Control<QComboBox>(w, QStringLiteral("Measure"));
        measure->setFocus();
        QTest::keyClick(measure, Qt::Key_Down); // 正确率
        const sumvarl::ChartPicture& chart = w.picture();
        QCOMPARE(chart.title, QStringLiteral("正确率"));
        QCOMPARE(chart.lines.front().name, QStringLiteral("全部"));
        const std::vector<std::optional<double>>& all = chart.lines.front().values;
        QCOMPARE(all.size(), std::size_t{7});
        QCOMPARE(all[4], std::optional<double>(50.0)); // two days ago: one of two right
        QVERIFY(!all[5].has_value());                  // yesterday: a gap
        QCOMPARE(all[6], std::optional<double>(100.0));

        QTemporaryDir dir;
        QString pdf = dir.filePath(QStringLiteral("进步.pdf"));
        sumvarl::Hooks().saveFileName = [pdf](const QString&, const QString&) { return pdf; };
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("SavePdf")), Qt::LeftButton);
        const QString text = printtest::PdfLines(pdf).join(QLatin1Char(' '));
        QVERIFY2(text.contains(QStringLiteral("正确率")) && text.contains(QStringLiteral("减法")),
                 qPrintable(text));
    }

    void exportedAnswersReadBackWithPythonsCsv()
    {
        SKIP_WITHOUT_READ_BACK();
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("答案.csv"));
        QVERIFY(sumvarl::ExportAnswersCsv(child_, csv).Ok());
        QProcess python;
        python.start(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv,sys\n"
                            "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-sig')))\n"
                            "print(len(rows)); print('|'.join(rows[0])); "
                            "print('|'.join(rows[2][3:7])); print(rows[1][0])"),
             csv});
        QVERIFY(python.waitForFinished(30000));
        const QStringList out = QString::fromUtf8(python.readAllStandardOutput()).split('\n');
        QCOMPARE(out.value(0), QStringLiteral("4"));
        QVERIFY(out.value(1).startsWith(QStringLiteral("时间|轮次|来源|题目|")));
        QCOMPARE(out.value(2), QStringLiteral("9－4＝（ ）|5|5, \"五\"|对"));
        QCOMPARE(out.value(3), hooks_->now.addDays(-2).toLocalTime().toString(
                                   QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }

    // 恢复备份… puts a backup in place of the whole history, the history as it was kept aside; a
    // round begun before stops recording, since its round is not in the restored file.
    void backupIsRestoredAndARoundBegunBeforeStopsRecording()
    {
        QTemporaryDir dir;
        hooks_->backupPath = dir.filePath(QStringLiteral("backup.sqlite3"));
        QVERIFY(SharedHistory().Backup(hooks_->backupPath).Ok());
        QVERIFY(SharedHistory().AddChild(QStringLiteral("小红"), 2, hooks_->now).Ok());
        sumvarl::RoundRecorder recorder(
            SharedHistory(), child_, sumvarl::history::RoundKind::Practice,
            {sumvarl::SheetSpec{{sumvarl::PartSpec{}}, 1},
             {Two(8, Operation::Add, 5, 13), Two(2, Operation::Add, 2, 4)}});
        recorder.leave(0, QStringLiteral("13"), true);
        QVERIFY(recorder.started());

        sumvarl::ChildrenWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(Control<QListWidget>(w, QStringLiteral("List"))->count(), 2);
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("Restore")), Qt::LeftButton);
        QCOMPARE(hooks_->questions.size(), 1U);
        QCOMPARE(Control<QListWidget>(w, QStringLiteral("List"))->count(), 1);
        const QString status = Control<QLabel>(w, QStringLiteral("Status"))->text();
        const QString keptAside = status.section(QStringLiteral("另存为："), 1);
        QVERIFY2(QFileInfo::exists(keptAside), qPrintable(status));

        const auto answers = [] {
            QSqlQuery q = SharedHistory().Read(QStringLiteral("SELECT count(*) FROM answer"));
            return q.next() ? q.value(0).toInt() : -1;
        };
        QCOMPARE(answers(), 3);
        recorder.leave(1, QStringLiteral("4"), true);
        QCOMPARE(answers(), 3);
        QTRY_VERIFY(!hooks_->messages.empty() &&
                    hooks_->messages.back().prompt.contains(QStringLiteral("不再记录")));
    }

    // 打印本周报告 hands the printer the page 本周报告… saves.
    void weeklyReportGoesToThePrinter()
    {
        SKIP_WITHOUT_READ_BACK();
        sumvarl::ChildrenWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::mouseClick(Control<QPushButton>(w, QStringLiteral("PrintReport")), Qt::LeftButton);
        QCOMPARE(hooks_->pages.size(), std::size_t{1});
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        sumvarl::WorksheetPdf printed(pdf);
        QVERIFY(printed.AddPages(hooks_->pages.front(), 1));
        QCOMPARE(printed.Commit(), sumvarl::SaveResult::Saved);
        QVERIFY(printtest::PdfLines(pdf).join(' ').contains(QStringLiteral("小明的一周")));
    }

private:
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    qint64 child_ = 0;
};

QTEST_MAIN(ParentWindowsTest)
#include "parent_windows_test.moc"
