// The worksheet window: its design state, the timer's arming, builds that never overlap, the
// kept picture, scrolling, and how Start, recalculate and give up meet.

#include "FormsTestSupport.h"
#include "core/Math.h"
#include "forms/SheetPicture.h"
#include "forms/Twips.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "wording/Messages.h"
#include "worksheet/WorksheetBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using sumvarl::frmDisplay;
using sumvarl::frmMain;
using sumvarl::SheetPicture;
using sumvarl::test::Control;
using sumvarl::testing::AllOperations;
using sumvarl::testing::UseSettings;

namespace {

std::vector<std::u16string> Keys(int count)
{
    std::vector<std::u16string> keys;
    for (int i = 1; i <= count; ++i) {
        keys.push_back(Math::WorksheetTable.ProblemKey[static_cast<std::size_t>(i)]);
    }
    return keys;
}

// Counts builds from the inside: each build hands its hooks over once at its start and
// switches the timer off once at its end.
struct BuildWatch
{
    int started = 0;
    int ended = 0;
    int overlaps = 0;
    std::function<void(int build)> onFirstProblem;

    void Install()
    {
        sumvarl::Hooks().adjustBuild = [this](sumvarl::BuildHooks& hooks) {
            if (started != ended) {
                ++overlaps;
            }
            const int build = ++started;
            auto generate = hooks.drawProblem;
            hooks.drawProblem = [this, build, generate,
                                 first = true](const sumvarl::PartSpec& part,
                                               sumvarl::RandomSource& random) mutable {
                if (first && onFirstProblem) {
                    first = false;
                    onFirstProblem(build);
                }
                return generate(part, random);
            };
            auto timerOff = hooks.timerOff;
            hooks.timerOff = [this, timerOff] {
                ++ended;
                timerOff();
            };
        };
    }
};

// Range 10 and 10 problems instead of the initial 100 and 100.
void SmallSheetSettings(frmMain& window)
{
    sumvarl::test::TypeInto(*Control<QComboBox>(window, QStringLiteral("Combo1")),
                            QStringLiteral("10"));
    sumvarl::test::TypeInto(*Control<QComboBox>(window, QStringLiteral("Combo2")),
                            QStringLiteral("10"));
}

// The largest sum on the sheet (only additions are ticked in these tests).
int LargestResult(int count)
{
    int largest = -1;
    for (int i = 1; i <= count; ++i) {
        const QString result =
            QString::fromStdU16String(Math::WorksheetTable.ResultText[static_cast<std::size_t>(i)]);
        largest = std::max(largest, result.toInt());
    }
    return largest;
}

bool RowsFilled(int count)
{
    for (int i = 1; i <= count; ++i) {
        if (Math::WorksheetTable.ProblemKey[static_cast<std::size_t>(i)].empty()) {
            return false;
        }
    }
    return Math::WorksheetTable.ProblemKey[static_cast<std::size_t>(count) + 1].empty();
}

} // namespace

Q_DECLARE_METATYPE(sumvarl::PrintResult)

class FrmDisplayTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void init()
    {
        UseSettings(AllOperations(100, 20));
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        watch_ = BuildWatch{};
        watch_.Install();
    }

    void cleanup()
    {
        delete display_.data();
        main_.reset();
        hooks_.reset();
    }

    void designState()
    {
        display_ = new frmDisplay();
        QCOMPARE(display_->windowTitle(), QStringLiteral("题目"));
        QVERIFY(display_->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(Control<QPushButton>(*display_, QStringLiteral("Command1"))->text(),
                 QStringLiteral("打印"));
        QCOMPARE(Control<QPushButton>(*display_, QStringLiteral("Command3"))->text(),
                 QStringLiteral("重算"));
        QCOMPARE(Control<QPushButton>(*display_, QStringLiteral("Command2"))->text(),
                 QStringLiteral("放弃"));

        auto* scroll = Control<QScrollBar>(*display_, QStringLiteral("VScroll1"));
        QCOMPARE(scroll->minimum(), 0);
        QCOMPARE(scroll->maximum(), 6408);
        QCOMPARE(scroll->singleStep(), 10);
        QCOMPARE(scroll->pageStep(), 100);
        QCOMPARE(scroll->value(), 0);
        QVERIFY(!scroll->hasTracking());
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        // The scroll bar lies in front of the sheet.
        QVERIFY(scroll->parentWidget()->children().indexOf(scroll) >
                scroll->parentWidget()->children().indexOf(sheet));
        // The installed family each face stands for is named directly.
        QCOMPARE(sheet->font().family(), QFont::substitute(QStringLiteral("宋体")));
        QCOMPARE(sheet->font().pointSizeF(), 12.0);
        QVERIFY(!sheet->font().bold());
        QCOMPARE(display_->font().family(), QFont::substitute(QStringLiteral("System")));
        QVERIFY(display_->font().bold());

        QCOMPARE(display_->Picture1Top(), 0);
        QCOMPARE(sheet->y(), 0);
        QCOMPARE(display_->Timer1Interval(), 100);
        QVERIFY(Control<QTimer>(*display_, QStringLiteral("Timer1"))->isActive());
        QVERIFY(sumvarl::test::AllWhite(sheet->Sheet().toImage()));
        QCOMPARE(sheet->Sheet().deviceIndependentSize().toSize(), sheet->contentsRect().size());
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Command1") << "Command1" << QRect(80, 544, 145, 33);
        QTest::newRow("Command3") << "Command3" << QRect(280, 544, 145, 33);
        QTest::newRow("Command2") << "Command2" << QRect(496, 544, 145, 33);
        QTest::newRow("Picture2") << "Picture2" << QRect(8, 16, 705, 513);
        // Inside Picture2's border.
        QTest::newRow("VScroll1") << "VScroll1" << QRect(688, 0, 17, 513);
        QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 697, 854);
    }

    void geometry()
    {
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        display_ = new frmDisplay();
        if (display_->logicalDpiX() != 96 || display_->logicalDpiY() != 96) {
            QSKIP("the pixel rectangles are those of 96 DPI");
        }
        QCOMPARE(display_->size(), QSize(723, 585));
        auto* widget = Control<QWidget>(*display_, control);
        auto* viewport = Control<QFrame>(*display_, QStringLiteral("Picture2"));
        QRect placed = widget->geometry();
        if (widget->parentWidget() != display_) {
            placed.moveTopLeft(widget->mapTo(viewport, QPoint(0, 0)) -
                               viewport->contentsRect().topLeft());
        }
        QCOMPARE(placed, pixels);
    }

    void focusOrder()
    {
        display_ = new frmDisplay();
        const QStringList expected{"Command1", "Command2", "Picture2",
                                   "Picture1", "VScroll1", "Command3"};
        QStringList order;
        auto* widget = Control<QWidget>(*display_, QStringLiteral("Command1"));
        while (order.size() < expected.size()) {
            if (widget->focusPolicy() & Qt::TabFocus) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, expected);
        QCOMPARE(display_->focusWidget(), Control<QWidget>(*display_, QStringLiteral("Command1")));
    }

    // Tab from 放弃 through the viewport, the sheet and the scroll bar: each shows the focus, so
    // a keyboard user never seems to lose it.
    void focusIsVisibleOnTheSheetAndItsFrame()
    {
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->show();
        QVERIFY(QTest::qWaitForWindowActive(display_.data()));
        QTRY_COMPARE(built.count(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const auto* viewport = Control<QWidget>(*display_, QStringLiteral("Picture2"));
        const QRect area(viewport->mapTo(display_.data(), QPoint()), viewport->size());
        QImage before = display_->grab(area).toImage();
        for (const char* name : {"Picture2", "Picture1", "VScroll1"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
            const QImage after = display_->grab(area).toImage();
            QVERIFY2(after != before, name);
            before = after;
        }
    }

    void loadingGivesOneBuildAbout100msLater()
    {
        QElapsedTimer clock;
        clock.start();
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->show();
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        QTest::qWait(40);
        QCOMPARE(built.count(), 0);
        QVERIFY(sumvarl::test::AllWhite(sheet->Sheet().toImage()));

        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        QVERIFY2(clock.elapsed() >= 90, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(display_->Timer1Interval(), 0);
        QVERIFY(!Control<QTimer>(*display_, QStringLiteral("Timer1"))->isActive());
        QVERIFY(!sumvarl::test::AllWhite(sheet->Sheet().toImage()));
        for (const std::u16string& key : Keys(100)) {
            QVERIFY(!key.empty());
        }

        QTest::qWait(400);
        QCOMPARE(built.count(), 1);
        QCOMPARE(watch_.started, 1);
        QCOMPARE(watch_.ended, 1);
    }

    void twoRecalculateClicksGiveOneBuild()
    {
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        auto* recalculate = Control<QPushButton>(*display_, QStringLiteral("Command3"));

        QTest::mouseClick(recalculate, Qt::LeftButton);
        QCOMPARE(display_->Timer1Interval(), 200);
        QTest::qWait(100);
        QCOMPARE(built.count(), 1);
        QElapsedTimer sinceSecond;
        QTest::mouseClick(recalculate, Qt::LeftButton);
        sinceSecond.start();
        // The second click restarts the wait.
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 2, 3000);
        QVERIFY2(sinceSecond.elapsed() >= 180, qPrintable(QString::number(sinceSecond.elapsed())));
        QTest::qWait(500);
        QCOMPARE(built.count(), 2);
        QCOMPARE(display_->Timer1Interval(), 0);
        QCOMPARE(watch_.overlaps, 0);
    }

    void recalculateQueuedDuringABuildGivesOneMoreBuild()
    {
        display_ = new frmDisplay();
        auto* recalculate = Control<QPushButton>(*display_, QStringLiteral("Command3"));
        watch_.onFirstProblem = [recalculate](int build) {
            if (build == 1) {
                // Delivered when the event loop runs again, that is after the build.
                QMetaObject::invokeMethod(recalculate, &QPushButton::click, Qt::QueuedConnection);
            }
        };
        QList<int> intervalsAtEnd;
        connect(display_.data(), &frmDisplay::worksheetBuilt, this,
                [&] { intervalsAtEnd << display_->Timer1Interval(); });
        QTRY_COMPARE_WITH_TIMEOUT(intervalsAtEnd.size(), 2, 3000);
        // Each build ended idle; the click armed the second one afterwards.
        QCOMPARE(intervalsAtEnd, QList<int>({0, 0}));
        QTest::qWait(600);
        QCOMPARE(intervalsAtEnd.size(), 2);
        QCOMPARE(watch_.started, 2);
        QCOMPARE(watch_.overlaps, 0);
        QCOMPARE(display_->Timer1Interval(), 0);
    }

    void ticksWhileTheMessageBoxIsOpenStartNoBuild()
    {
        // Only 0＋0＝0 exists with range 1: the second problem cannot be found.
        UseSettings(sumvarl::testing::MakeSettings({25, 25, 25, 25}, 0, 0, 2, 1));

        display_ = new frmDisplay();
        display_->show();
        auto* timer = Control<QTimer>(*display_, QStringLiteral("Timer1"));
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        int ticksWhileOpen = 0;
        bool sheetShownWhileOpen = false;
        hooks_->onMessage = [&] {
            // A tick delivered straight to the handler, then the timer armed anew so that
            // real ticks come due while the message is open.
            display_->Timer1_Timer();
            QSignalSpy ticks(timer, &QTimer::timeout);
            display_->SetTimer1Interval(100);
            QTest::qWait(450);
            ticksWhileOpen = static_cast<int>(ticks.count());
            // The problems placed so far show behind the message.
            sheetShownWhileOpen = !sumvarl::test::AllWhite(sheet->grab().toImage());
        };
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 5000);

        QVERIFY2(ticksWhileOpen >= 2, qPrintable(QString::number(ticksWhileOpen)));
        QVERIFY(sheetShownWhileOpen);
        QCOMPARE(hooks_->messages.size(), 1u);
        QCOMPARE(hooks_->messages[0].prompt,
                 QString::fromStdU16String(std::u16string(sumvarl::TooFewProblemsPrompt)));
        QCOMPARE(hooks_->messages[0].title,
                 QString::fromStdU16String(std::u16string(sumvarl::TooFewProblemsTitle)));
        QCOMPARE(watch_.started, 1);
        QCOMPARE(watch_.overlaps, 0);
        // The build's last step switches the timer off once the message is closed.
        QCOMPARE(display_->Timer1Interval(), 0);
        QCOMPARE(Math::WorksheetTable.ProblemKey[1], std::u16string(u"0＋0＝0"));
        QVERIFY(Math::WorksheetTable.ProblemKey[2].empty());
        QTest::qWait(300);
        QCOMPARE(built.count(), 1);
    }

    void scrolling()
    {
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        auto* scroll = Control<QScrollBar>(*display_, QStringLiteral("VScroll1"));
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));

        scroll->setValue(scroll->maximum());
        QCOMPARE(display_->Picture1Top(), -6408);
        QCOMPARE(sheet->y(), sumvarl::TwipsToPixelsY(*sheet, -6408));
        QCOMPARE(sheet->x(), 0);
        scroll->setValue(0);
        QCOMPARE(display_->Picture1Top(), 0);
        QCOMPARE(sheet->y(), 0);

        scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(display_->Picture1Top(), -10);
        scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(display_->Picture1Top(), -110);
        QTest::keyClick(scroll, Qt::Key_Down);
        QCOMPARE(display_->Picture1Top(), -120);

        // While the thumb is dragged the sheet stays; it moves when the drag ends.
        scroll->setSliderDown(true);
        scroll->setSliderPosition(3000);
        QCOMPARE(display_->Picture1Top(), -120);
        scroll->setSliderDown(false);
        QCOMPARE(display_->Picture1Top(), -3000);

        QTest::qWait(300);
        QCOMPARE(built.count(), 1);
    }

    // A wheel notch over the sheet or its scroll bar moves about three lines of the sheet's
    // 12-point text (some 200 to 400 twips each), not the scroll bar's small change.
    void wheelScrollsThreeLinesANotch()
    {
        display_ = new frmDisplay();
        display_->show();
        QVERIFY(QTest::qWaitForWindowExposed(display_.data()));
        auto* scroll = Control<QScrollBar>(*display_, QStringLiteral("VScroll1"));
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        sumvarl::test::TurnWheel(*sheet, -1);
        const int notch = -display_->Picture1Top();
        QVERIFY2(notch >= 3 * 200 && notch <= 3 * 400, qPrintable(QString::number(notch)));
        sumvarl::test::TurnWheel(*scroll, -2);
        QCOMPARE(display_->Picture1Top(), -3 * notch);
        sumvarl::test::TurnWheel(*sheet, 1);
        QCOMPARE(display_->Picture1Top(), -2 * notch);
        sumvarl::test::TurnWheel(*scroll, -100);
        QCOMPARE(display_->Picture1Top(), -6408);
        QCOMPARE(scroll->singleStep(), 10);
        QCOMPARE(scroll->pageStep(), 100);
    }

    // Return and keypad Enter press the focused button: 打印 has the focus when the window
    // opens, 重算 is one Shift+Tab away.
    void returnAndEnterPressTheFocusedButton()
    {
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->show();
        QVERIFY(QTest::qWaitForWindowActive(display_.data()));
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        QWidget* print = QApplication::focusWidget();
        QCOMPARE(print->objectName(), QStringLiteral("Command1"));
        QTest::keyClick(print, Qt::Key_Return);
        QCOMPARE(hooks_->prints, 1);

        QTest::keyClick(print, Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget* recalculate = QApplication::focusWidget();
        QCOMPARE(recalculate->objectName(), QStringLiteral("Command3"));
        QTest::keyClick(recalculate, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(display_->Timer1Interval(), 200);
    }

    // Exposing and scrolling copy the kept picture; they never build again.
    void keptPicture()
    {
        display_ = new frmDisplay();
        display_->show();
        QVERIFY(QTest::qWaitForWindowExposed(display_.data()));
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        auto* scroll = Control<QScrollBar>(*display_, QStringLiteral("VScroll1"));
        const QImage drawn = sheet->Sheet().toImage().convertToFormat(QImage::Format_RGB32);

        auto shown = [sheet] {
            return sheet->grab(sheet->contentsRect())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(shown(), drawn);
        scroll->setValue(4000);
        display_->hide();
        display_->show();
        QVERIFY(QTest::qWaitForWindowExposed(display_.data()));
        scroll->setValue(0);
        QCOMPARE(shown(), drawn);
        QCOMPARE(sheet->Sheet().toImage().convertToFormat(QImage::Format_RGB32), drawn);
        QCOMPARE(built.count(), 1);
        QCOMPARE(watch_.started, 1);
    }

    // 200 problems run past the sheet's bottom edge: that text is cut off, the sheet stays.
    void textBelowTheSheetIsCutOff()
    {
        UseSettings(AllOperations(200, 20));
        display_ = new frmDisplay();
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        const QSize before = sheet->size();
        const QSize pixmapBefore = sheet->Sheet().size();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        QCOMPARE(sheet->size(), before);
        QCOMPARE(sheet->Sheet().size(), pixmapBefore);
        QCOMPARE(Control<QScrollBar>(*display_, QStringLiteral("VScroll1"))->maximum(), 6408);
        QVERIFY(!Math::WorksheetTable.ProblemKey[200].empty());
        // Drawn to the very bottom row of pixels.
        const QImage image = sheet->Sheet().toImage();
        QVERIFY(!sumvarl::test::AllWhite(image.copy(0, image.height() - 40, image.width(), 40)));
    }

    void recalculateKeepsTheScrollPosition()
    {
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        const std::vector<std::u16string> first = Keys(100);
        auto* scroll = Control<QScrollBar>(*display_, QStringLiteral("VScroll1"));
        auto* sheet = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
        scroll->setValue(3000);
        const int y = sheet->y();

        QTest::mouseClick(Control<QPushButton>(*display_, QStringLiteral("Command3")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 2, 3000);
        QCOMPARE(scroll->value(), 3000);
        QCOMPARE(display_->Picture1Top(), -3000);
        QCOMPARE(sheet->y(), y);
        QVERIFY(Keys(100) != first);
    }

    void giveUpThenStartReopensAtTheTop()
    {
        main_ = std::make_unique<frmMain>();
        main_->show();
        auto* start = Control<QPushButton>(*main_, QStringLiteral("Command1"));
        QTest::mouseClick(start, Qt::LeftButton);
        QPointer<frmDisplay> first = main_->Display();
        QVERIFY(first);
        QSignalSpy built(first.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        Control<QScrollBar>(*first, QStringLiteral("VScroll1"))->setValue(2000);

        QTest::mouseClick(Control<QPushButton>(*first, QStringLiteral("Command2")), Qt::LeftButton);
        QVERIFY(!first->isVisible());
        QTRY_VERIFY(first.isNull());
        QVERIFY(main_->Display() == nullptr);
        QVERIFY(main_->isVisible());
        // Giving up leaves the settings alone.
        QCOMPARE(Math::ProblemCount, std::int16_t{100});

        QVERIFY(LargestResult(100) >= 10);
        SmallSheetSettings(*main_);
        QTest::mouseClick(start, Qt::LeftButton);
        frmDisplay* second = main_->Display();
        QVERIFY(second != nullptr);
        QCOMPARE(Control<QScrollBar>(*second, QStringLiteral("VScroll1"))->value(), 0);
        QCOMPARE(second->Picture1Top(), 0);
        QCOMPARE(second->Timer1Interval(), 100);
        auto* sheet = Control<SheetPicture>(*second, QStringLiteral("Picture1"));
        QVERIFY(sumvarl::test::AllWhite(sheet->Sheet().toImage()));

        QSignalSpy builtAgain(second, &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(builtAgain.count(), 1, 3000);
        QVERIFY(RowsFilled(10));
        QVERIFY(LargestResult(10) < 10);
        QVERIFY(!sumvarl::test::AllWhite(sheet->Sheet().toImage()));
    }

    void startWhileOpenOnlyRaisesIt()
    {
        main_ = std::make_unique<frmMain>();
        main_->show();
        auto* start = Control<QPushButton>(*main_, QStringLiteral("Command1"));
        QTest::mouseClick(start, Qt::LeftButton);
        frmDisplay* display = main_->Display();
        QSignalSpy built(display, &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        const std::vector<std::u16string> keys = Keys(100);
        auto* scroll = Control<QScrollBar>(*display, QStringLiteral("VScroll1"));
        scroll->setValue(1500);

        QVERIFY(LargestResult(100) >= 10);
        SmallSheetSettings(*main_);
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(main_->Display(), display);
        QCOMPARE(Math::ProblemCount, std::int16_t{10});
        QCOMPARE(display->Timer1Interval(), 0);
        QTest::qWait(500);
        QCOMPARE(built.count(), 1);
        QVERIFY(Keys(100) == keys);
        QCOMPARE(scroll->value(), 1500);

        // The new settings reach the sheet with the next recalculation.
        QTest::mouseClick(Control<QPushButton>(*display, QStringLiteral("Command3")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 2, 3000);
        QVERIFY(RowsFilled(10));
        QVERIFY(LargestResult(10) < 10);
    }

    void print_data()
    {
        QTest::addColumn<sumvarl::PrintResult>("result");
        QTest::newRow("printed") << sumvarl::PrintResult::Printed;
        QTest::newRow("no default printer") << sumvarl::PrintResult::NoDefaultPrinter;
        QTest::newRow("cannot open") << sumvarl::PrintResult::CannotOpen;
        QTest::newRow("job failed") << sumvarl::PrintResult::JobFailed;
    }

    void print()
    {
        QFETCH(sumvarl::PrintResult, result);
        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        const std::vector<std::u16string> keys = Keys(100);
        hooks_->printResult = result;

        QTest::mouseClick(Control<QPushButton>(*display_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->prints, 1);
        if (result == sumvarl::PrintResult::Printed) {
            QCOMPARE(hooks_->messages.size(), 0u);
        } else {
            QCOMPARE(hooks_->messages.size(), 1u);
            QCOMPARE(hooks_->messages[0].prompt, sumvarl::PrintFailureMessage(result));
            QVERIFY(!hooks_->messages[0].prompt.isEmpty());
            QCOMPARE(hooks_->messages[0].title, QStringLiteral("打印"));
        }
        // Printing neither rebuilds nor closes the window.
        QVERIFY(Keys(100) == keys);
        QCOMPARE(built.count(), 1);
        QVERIFY(display_);
    }

    // The first build of 100 problems after Start, as the user waits for it.
    void startToDrawnSheetTime()
    {
        main_ = std::make_unique<frmMain>();
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(Control<QPushButton>(*main_, QStringLiteral("Command1")), Qt::LeftButton);
        QSignalSpy built(main_->Display(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        const qint64 ms = clock.elapsed();
        qInfo("Start to a drawn 100-problem sheet: %lld ms (100 ms of it the timer's wait)", ms);
        QVERIFY(ms >= 90);
        QVERIFY(ms < 2000);
    }

private:
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    BuildWatch watch_;
    QPointer<frmDisplay> display_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(FrmDisplayTest)
#include "frm_display_test.moc"
