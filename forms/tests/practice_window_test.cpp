// The practice window as a child uses it: answers typed with real keys (digits, full-width
// digits from an input method, Backspace, Return, Tab, the arrows), the clock from the first key,
// marking at 交卷, 再练错题 until every problem is right, the size keys, and the marked sheet read
// back from a saved PDF and, under print/tests/test-printer.sh, from the test printer's job.

#include "FormsTestSupport.h"
#include "forms/PracticeWindow.h"
#include "testing/PrintTestSupport.h"
#include "testing/Problems.h"
#include "worksheet/Marking.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using sumvarl::Operation;
using sumvarl::PracticeWindow;
using sumvarl::test::Control;
using sumvarl::testing::Two;

namespace {

struct Case
{
    sumvarl::model::Problem problem;
    QString typed; // keys, Return at "|"; full-width digits go through the input method
    bool fullWidth = false;
    QString shown;   // the problem as the window shows it, the answer in its box
    QString mark;    // beside the box after 交卷
    QString printed; // the marked sheet's item, white space removed
};

// Seven problems, every open place, four right: one of the many answers to "( )×0＝0", one in
// full-width digits, a quotient with its remainder; a wrong one, an empty one, and 0 as a
// divisor.
const QList<Case>& Cases()
{
    static const QList<Case> cases{
        {Two(12, Operation::Add, 5, 17, 0), "17", false, "12＋5＝17", "✓", "12＋5＝17✓"},
        {Two(12, Operation::Subtract, 5, 7, 1), "2", false, "(2)－5＝7", "✗ 12",
         "(2)－5＝7✗（12）"},
        {Two(3, Operation::Multiply, 0, 0, 1), "7", false, "(7)×0＝0", "✓", "(7)×0＝0✓"},
        {Two(36, Operation::Divide, 4, 9, 2), "", false, "36÷()＝9", "✗ 4", "36÷（未答）＝9✗（4）"},
        {Two(7, Operation::Multiply, 8, 56, 0), "５６", true, "7×8＝56", "✓", "7×8＝56✓"},
        {Two(0, Operation::Divide, 5, 0, 2), "0", false, "0÷(0)＝0", "✗ 5", "0÷(0)＝0✗（5）"},
        {Two(17, Operation::Divide, 5, 3, 0, 2, true), "3|2", false, "17÷5＝3……2", "✓",
         "17÷5＝3……2✓"},
    };
    return cases;
}

sumvarl::Sheet SheetOf(const QList<Case>& cases)
{
    std::vector<sumvarl::model::Problem> problems;
    for (const Case& c : cases) {
        problems.push_back(c.problem);
    }
    return sumvarl::testing::SheetOf(problems);
}

QLineEdit* Box(const QWidget& w, int n)
{
    return Control<QLineEdit>(w, QStringLiteral("Answer%1").arg(n));
}

QString Shown(const QWidget& w, int n)
{
    QString shown =
        Control<QLabel>(w, QStringLiteral("Before%1").arg(n))->text() + Box(w, n)->text();
    if (const auto* remainder = w.findChild<QLineEdit*>(QStringLiteral("Remainder%1").arg(n))) {
        shown += QStringLiteral("……") + remainder->text();
    }
    return shown + Control<QLabel>(w, QStringLiteral("After%1").arg(n))->text();
}

int Boxes(const QWidget& w)
{
    int n = 0;
    while (w.findChild<QLineEdit*>(QStringLiteral("Answer%1").arg(n + 1)) != nullptr) {
        ++n;
    }
    return n;
}

void Type(QWidget& box, const Case& c)
{
    if (c.fullWidth) {
        sumvarl::test::TypeWithInputMethod(box, c.typed);
        return;
    }
    box.setFocus(Qt::MouseFocusReason);
    const QStringList parts = c.typed.split(QLatin1Char('|'));
    QTest::keyClicks(&box, parts[0]);
    for (const QString& part : parts.mid(1)) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), part);
    }
}

// The heading's count line and the marked items, as pdftotext reads the printed sheet.
void ExpectMarkedSheet(const QStringList& lines, const QList<Case>& cases, const QString& filledIn)
{
    QCOMPARE(lines.value(0), printtest::TitleLine());
    QCOMPARE(lines.value(1), QStringLiteral("题目数：%1题").arg(cases.size()) + filledIn);
    QString expected;
    for (const Case& c : cases) {
        expected += c.printed;
    }
    QCOMPARE(lines.mid(2).join(QString()), expected);
}

} // namespace

class PracticeWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void init()
    {
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        window_ = new PracticeWindow(SheetOf(Cases()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.data()));
    }

    void cleanup()
    {
        delete window_.data();
        hooks_.reset();
    }

    void showsTheSheetWithABoxAtEachOpenPlace()
    {
        QCOMPARE(window_->windowTitle(), QStringLiteral("练习"));
        QCOMPARE(Boxes(*window_), Cases().size());
        const QStringList empty{"12＋5＝", "()－5＝7", "()×0＝0", "36÷()＝9",
                                "7×8＝",   "0÷()＝0",  "17÷5＝……"};
        for (int n = 1; n <= Boxes(*window_); ++n) {
            QCOMPARE(Shown(*window_, n), empty[n - 1]);
            QVERIFY(Box(*window_, n)->font().pointSize() >= 16);
        }
        // As many to a row as the width holds: the next problem starts a row under the first.
        const auto cell = [this](int n) { return Box(*window_, n)->parentWidget()->geometry(); };
        const int columns = window_->columns();
        QVERIFY(columns >= 2);
        for (int n = 2; n <= columns; ++n) {
            QCOMPARE(cell(n).top(), cell(1).top());
            QVERIFY(cell(n).left() > cell(n - 1).right());
        }
        QCOMPARE(cell(columns + 1).left(), cell(1).left());
        QVERIFY(cell(columns + 1).top() > cell(1).bottom());
        QVERIFY(Box(*window_, 1)->hasFocus());
    }

    void keysTypeAnswersAndMoveBetweenBoxes()
    {
        QLineEdit* first = Box(*window_, 1);
        QTest::keyClicks(first, "1a.+-7 ");
        QCOMPARE(first->text(), QStringLiteral("17"));
        QTest::keyClick(first, Qt::Key_Backspace);
        QCOMPARE(first->text(), QStringLiteral("1"));
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(Box(*window_, 2)->hasFocus());
        sumvarl::test::TypeWithInputMethod(*Box(*window_, 2), QStringLiteral("１２"));
        QCOMPARE(Box(*window_, 2)->text(), QStringLiteral("12"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(Box(*window_, 3)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(Box(*window_, 2)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(Box(*window_, 2 + window_->columns())->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(Box(*window_, 2)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(Box(*window_, 2)->hasFocus());
        // From a quotient to its remainder, from the last box on to 交卷, pressed there.
        Box(*window_, 7)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(Control<QLineEdit>(*window_, QStringLiteral("Remainder7"))->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        auto* handIn = Control<QPushButton>(*window_, QStringLiteral("HandIn"));
        QVERIFY(handIn->hasFocus());
        QTest::keyClick(handIn, Qt::Key_Return);
        QVERIFY(!handIn->isEnabled());
        QVERIFY(Box(*window_, 1)->isReadOnly());
    }

    void aMinusWhereTheSheetHasNegativeNumbers()
    {
        QTest::keyClicks(Box(*window_, 1), "-3");
        QCOMPARE(Box(*window_, 1)->text(), QStringLiteral("3"));
        PracticeWindow negative(sumvarl::testing::SheetOf(
            {Two(-20, Operation::Add, 15, -5, 0), Two(4, Operation::Add, 5, 9, 1)}));
        negative.show();
        QTest::keyClicks(Box(negative, 1), "-5");
        QCOMPARE(Box(negative, 1)->text(), QStringLiteral("-5"));
        sumvarl::test::TypeWithInputMethod(*Box(negative, 2), QStringLiteral("－４"));
        QCOMPARE(Box(negative, 2)->text(), QStringLiteral("-4"));
        QTest::keyClick(Box(negative, 2), Qt::Key_Return);
        Control<QPushButton>(negative, QStringLiteral("HandIn"))->click();
        QCOMPARE(Control<QLabel>(negative, QStringLiteral("Mark1"))->text(), QStringLiteral("✓"));
        QCOMPARE(Control<QLabel>(negative, QStringLiteral("Mark2"))->text(), QStringLiteral("✗ 4"));
    }

    void clockRunsFromTheFirstKeyUntilHandIn()
    {
        auto* clock = Control<QLabel>(*window_, QStringLiteral("Clock"));
        QCOMPARE(clock->text(), QStringLiteral("用时 00:00"));
        hooks_->now = hooks_->now.addSecs(30);
        QTest::keyClick(Box(*window_, 1), Qt::Key_Tab);
        QTest::qWait(300);
        QCOMPARE(clock->text(), QStringLiteral("用时 00:00"));
        QTest::keyClicks(QApplication::focusWidget(), "1");
        hooks_->now = hooks_->now.addMSecs(65'900);
        QTRY_COMPARE(clock->text(), QStringLiteral("用时 01:05"));
        hooks_->now = hooks_->now.addSecs(3600);
        QTRY_COMPARE(clock->text(), QStringLiteral("用时 61:05"));
        Control<QPushButton>(*window_, QStringLiteral("HandIn"))->click();
        hooks_->now = hooks_->now.addSecs(100);
        QTest::qWait(300);
        QCOMPARE(clock->text(), QStringLiteral("用时 61:05"));
        QCOMPARE(window_->firstRound()->seconds, 3665);
    }

    void handInMarksEveryAnswer()
    {
        for (int n = 1; n <= Cases().size(); ++n) {
            Type(*Box(*window_, n), Cases()[n - 1]);
        }
        hooks_->now = hooks_->now.addSecs(42);
        Control<QPushButton>(*window_, QStringLiteral("HandIn"))->click();
        for (int n = 1; n <= Cases().size(); ++n) {
            const Case& c = Cases()[n - 1];
            QCOMPARE(Shown(*window_, n), c.shown);
            auto* mark = Control<QLabel>(*window_, QStringLiteral("Mark%1").arg(n));
            QCOMPARE(mark->text(), c.mark);
            const bool right = c.mark == QStringLiteral("✓");
            QVERIFY(mark->styleSheet().contains(right ? "#1d7a2b" : "#c21f1f"));
            QCOMPARE(Box(*window_, n)->property("mark").toString(),
                     QString(right ? "right" : "wrong"));
        }
        QCOMPARE(Control<QLabel>(*window_, QStringLiteral("Result"))->text(),
                 QStringLiteral("用时 00:42　得分 57　答对 4 题，共 7 题。"));
        QVERIFY(Control<QPushButton>(*window_, QStringLiteral("Retry"))->isEnabled());
        // Closing loses the round and asks nothing.
        QVERIFY(window_->close());
        QVERIFY(hooks_->messages.empty());
    }

    void retryTheWrongOnesUntilAllAreRight()
    {
        for (int n = 1; n <= Cases().size(); ++n) {
            Type(*Box(*window_, n), Cases()[n - 1]);
        }
        hooks_->now = hooks_->now.addSecs(75);
        auto* handIn = Control<QPushButton>(*window_, QStringLiteral("HandIn"));
        auto* retry = Control<QPushButton>(*window_, QStringLiteral("Retry"));
        auto* result = Control<QLabel>(*window_, QStringLiteral("Result"));
        handIn->click();
        // Round two: the three wrong ones, one still wrong; round three: that one, now right.
        const QList<QStringList> rounds{{"12", "3", "5"}, {"4"}};
        const QList<QStringList> shown{{"()－5＝7", "36÷()＝9", "0÷()＝0"}, {"36÷()＝9"}};
        for (int r = 0; r < rounds.size(); ++r) {
            QVERIFY(retry->hasFocus());
            QTest::keyClick(retry, Qt::Key_Return);
            QCOMPARE(Boxes(*window_), rounds[r].size());
            QCOMPARE(Control<QLabel>(*window_, QStringLiteral("Clock"))->text(),
                     QStringLiteral("用时 00:00"));
            for (int n = 1; n <= rounds[r].size(); ++n) {
                QCOMPARE(Shown(*window_, n), shown[r][n - 1]);
                QTest::keyClicks(Box(*window_, n), rounds[r][n - 1]);
                QTest::keyClick(Box(*window_, n), Qt::Key_Return);
            }
            hooks_->now = hooks_->now.addSecs(9);
            QVERIFY(handIn->hasFocus());
            QTest::keyClick(handIn, Qt::Key_Return);
            QVERIFY(result->text().contains(QStringLiteral("第一次：用时 01:15　得分 57")));
        }
        QVERIFY(result->text().startsWith(QStringLiteral("这一轮答对 1 题，共 1 题。")));
        QVERIFY(result->text().endsWith(QStringLiteral("全部做对了！")));
        QVERIFY(!retry->isEnabled());
        QCOMPARE(window_->firstRound()->Score(), 57);
        QCOMPARE(window_->firstRound()->seconds, 75);
    }

    void asksBeforeHandingInGapsOrThrowingARoundAway()
    {
        // An untouched round closes without a word.
        PracticeWindow untouched(SheetOf(Cases()));
        untouched.setAttribute(Qt::WA_DeleteOnClose, false);
        untouched.show();
        QVERIFY(untouched.close());
        QVERIFY(hooks_->questions.empty());

        QTest::keyClicks(Box(*window_, 1), "17");
        QTest::keyClick(Box(*window_, 1), Qt::Key_Return);
        QTest::keyClicks(Box(*window_, 2), "9");
        auto* handIn = Control<QPushButton>(*window_, QStringLiteral("HandIn"));
        hooks_->confirmAnswer = false;
        QTest::mouseClick(handIn, Qt::LeftButton);
        QCOMPARE(hooks_->questions.size(), std::size_t{1});
        QCOMPARE(hooks_->questions[0].prompt, QStringLiteral("还有 5 题没有做，确定交卷吗？"));
        // 继续做题: back at the first empty box, nothing marked.
        QVERIFY(Box(*window_, 3)->hasFocus());
        QVERIFY(handIn->isEnabled());
        QVERIFY(!Box(*window_, 1)->isReadOnly());
        QVERIFY(!window_->close());
        QVERIFY(window_->isVisible());
        QCOMPARE(hooks_->questions.size(), std::size_t{2});
        QCOMPARE(hooks_->questions[1].title, QStringLiteral("练习"));

        hooks_->confirmAnswer = true;
        QTest::mouseClick(handIn, Qt::LeftButton);
        QVERIFY(!handIn->isEnabled());
        QCOMPARE(window_->firstRound()->answers[1], u"9");
        // Handed in: closing asks no more.
        QVERIFY(window_->close());
        QCOMPARE(hooks_->questions.size(), std::size_t{3});
    }

    void ctrlPlusAndMinusResizeTheProblems()
    {
        const int start = window_->fontPoints();
        QVERIFY(start >= 16);
        QTest::keyClick(Box(*window_, 1), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(window_->fontPoints(), start + 2);
        QCOMPARE(Box(*window_, 1)->font().pointSize(), start + 2);
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(Box(*window_, 1), Qt::Key_Minus, Qt::ControlModifier);
        }
        QCOMPARE(window_->fontPoints(), sumvarl::PracticeSmallestPoints);
        QCOMPARE(Control<QLabel>(*window_, QStringLiteral("Before1"))->font().pointSize(),
                 sumvarl::PracticeSmallestPoints);
        QVERIFY(Box(*window_, 1)->text().isEmpty());
    }

    // On a small screen (the offscreen one is 800×600) the window fits with its buttons; remainder
    // divisions reflow as Ctrl+plus enlarges them, and the problem in focus is always wholly in
    // view, never cut at the side.
    void fitsTheScreenAndKeepsTheFocusedProblemInView()
    {
        std::vector<sumvarl::model::Problem> problems;
        for (int q = 1; q <= 9; ++q) {
            for (int d = 6; d <= 9; ++d) {
                problems.push_back(Two(q * d + 5, Operation::Divide, d, q, 0, 5, true));
            }
        }
        PracticeWindow w(sumvarl::testing::SheetOf(problems));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY(screen.contains(w.frameGeometry()));
        auto* handIn = Control<QPushButton>(w, QStringLiteral("HandIn"));
        QVERIFY(screen.contains(QRect(handIn->mapToGlobal(QPoint()), handIn->size())));

        auto* view = Control<QScrollArea>(w, QStringLiteral("Problems"));
        const auto focusedInView = [view] {
            const QWidget* cell = QApplication::focusWidget()->parentWidget();
            return view->viewport()->rect().contains(
                QRect(cell->mapTo(view->viewport(), QPoint()), cell->size()));
        };
        // As a larger screen would have it: the problems take the width.
        const int narrow = w.columns();
        w.resize(1260, w.height());
        QTRY_VERIFY(w.columns() > narrow);
        const int startColumns = w.columns();
        for (int step = 0; step < 4; ++step) {
            for (int k = 0; k < 12; ++k) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTRY_VERIFY(focusedInView());
            }
            QTRY_COMPARE(view->horizontalScrollBar()->maximum(), 0);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus, Qt::ControlModifier);
        }
        QVERIFY(w.columns() < startColumns);
    }

    void savesTheMarkedSheetAsPdf()
    {
        SKIP_WITHOUT_READ_BACK();
        QTemporaryDir folder;
        QString path = folder.filePath(QStringLiteral("marked.pdf"));
        QStringList suggested;
        sumvarl::Hooks().saveFileName = [&suggested, path](const QString&,
                                                           const QString& suggestion) {
            suggested << suggestion;
            return path;
        };
        HandInTheCases();
        Control<QPushButton>(*window_, QStringLiteral("SaveMarkedPdf"))->click();
        QVERIFY(hooks_->messages.empty());
        QCOMPARE(QFileInfo(suggested.value(0)).fileName(), QStringLiteral("成绩-2026-05-06.pdf"));
        ExpectMarkedSheet(printtest::PdfLines(path), Cases(),
                          QStringLiteral("日期：2026年5月6日用时：02:05得分：57"));
        // The wrong answer struck through, nothing else.
        const auto pieces = sumvarl::MarkedItemPieces(*window_->firstRound(), 1);
        QCOMPARE(std::ranges::count_if(pieces, [](const auto& p) { return p.struck; }), 1);
        QVERIFY(std::ranges::find(pieces, sumvarl::MarkedPiece{u"2", true}) != pieces.end());
    }

    // Without a printer the message offers the PDF, which is what a parent then wants.
    void printFailureIsReported()
    {
        SKIP_WITHOUT_READ_BACK();
        HandInTheCases();
        hooks_->printResult = sumvarl::PrintResult::NoDefaultPrinter;
        hooks_->takeOffer = true;
        QTemporaryDir folder;
        QString path = folder.filePath(QStringLiteral("instead.pdf"));
        sumvarl::Hooks().saveFileName = [path](const QString&, const QString&) { return path; };
        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("PrintMarked")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->drawings.size(), std::size_t{1});
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(hooks_->messages[0].title, QStringLiteral("打印成绩"));
        QCOMPARE(hooks_->offers, std::vector<QString>{QStringLiteral("保存为 PDF…")});
        ExpectMarkedSheet(printtest::PdfLines(path), Cases(),
                          QStringLiteral("日期：2026年5月6日用时：02:05得分：57"));
    }

    // Run by test-printer.sh against a queue that keeps each document.
    void printsTheMarkedSheetOnTheTestPrinter()
    {
        if (printtest::TestPrinterOut().isEmpty()) {
            QSKIP("needs the private CUPS server of print/tests/test-printer.sh");
        }
        sumvarl::Hooks().printDrawing = sumvarl::DefaultFormHooks().printDrawing;
        HandInTheCases();
        Control<QPushButton>(*window_, QStringLiteral("PrintMarked"))->click();
        QVERIFY(hooks_->messages.empty());
        const QStringList jobs = printtest::WaitForKeptJobs();
        QCOMPARE(jobs.size(), 1);
        ExpectMarkedSheet(printtest::PdfLines(jobs[0]), Cases(),
                          QStringLiteral("日期：2026年5月6日用时：02:05得分：57"));
    }

private:
    void HandInTheCases()
    {
        for (int n = 1; n <= Cases().size(); ++n) {
            Type(*Box(*window_, n), Cases()[n - 1]);
        }
        hooks_->now = hooks_->now.addSecs(125);
        Control<QPushButton>(*window_, QStringLiteral("HandIn"))->click();
    }

    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    QPointer<PracticeWindow> window_;
};

QTEST_MAIN(PracticeWindowTest)
#include "practice_window_test.moc"
