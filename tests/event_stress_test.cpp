// Event stress on both windows: recalculate and Start clicks piling up while a build runs,
// Start again and again while the worksheet window is open, give up / Start cycles, the
// windows closed in every order (also from inside a build and while the builder's message is
// up), and long runs of 200-problem builds. Throughout: never two builds at once, never a
// build step on a destroyed window, every build a whole sheet, and no window left behind.

#include "core/Math.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "forms/tests/FormsTestSupport.h"
#include "worksheet/WorksheetBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <set>

using sumvarl::frmDisplay;
using sumvarl::frmMain;
using sumvarl::test::Control;
using sumvarl::test::TypeInto;

namespace {

constexpr int Stuck = 99;

// Tells which worksheet window's timer is ticking: an application event filter sees the tick
// before the window's handler runs, so a build knows the window it runs on.
class TickSpy final : public QObject
{
public:
    QPointer<frmDisplay> ticking;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && watched->objectName() == QStringLiteral("Timer1")) {
            if (auto* display = qobject_cast<frmDisplay*>(watched->parent())) {
                ticking = display;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// What a build leaves: rows 1..placed hold different problems, each key the whole equation;
// after an early stop (the message was shown) the rows after the last one placed are empty
// up to row 150.
QString SheetFault(int count, bool stopped)
{
    const auto& t = Math::WorksheetTable;
    const auto empty = [&t](std::size_t i) {
        return t.ProblemKey[i].empty() && t.Operand1Text[i].empty() && t.OperatorText[i].empty() &&
               t.Operand2Text[i].empty() && t.ResultText[i].empty() && t.BlankKind[i] == 0;
    };
    count = std::clamp(count, 0, Math::MaxProblemCount);
    int placed = count;
    if (stopped) {
        placed = 0;
        while (placed < count && !empty(static_cast<std::size_t>(placed) + 1)) {
            ++placed;
        }
        if (placed == count) {
            return QStringLiteral("stopped with all %1 rows filled").arg(count);
        }
        for (int i = placed + 1; i <= std::min(count, sumvarl::RowsResetPerBuild); ++i) {
            if (!empty(static_cast<std::size_t>(i))) {
                return QStringLiteral("row %1 filled after the stop at row %2")
                    .arg(i)
                    .arg(placed + 1);
            }
        }
    }
    std::set<std::u16string> keys;
    for (int i = 1; i <= placed; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::u16string whole = t.Operand1Text[row] + t.OperatorText[row] +
                                     t.Operand2Text[row] + std::u16string(Math::EqualsSign) +
                                     t.ResultText[row];
        if (t.ProblemKey[row].empty() || t.ProblemKey[row] != whole) {
            return QStringLiteral("row %1 of %2 is not a whole problem").arg(i).arg(count);
        }
        if (!keys.insert(t.ProblemKey[row]).second) {
            return QStringLiteral("row %1 repeats an earlier problem").arg(i);
        }
    }
    return {};
}

// Counts builds from the inside, through the hooks each build is given at its start: how many
// run at once, whether any step comes after the build's window was destroyed, and whether each
// build leaves a whole sheet.
struct BuildWatch
{
    int started = 0;
    int ended = 0;
    int depth = 0;
    int maxDepth = 0;
    int unknownWindow = 0;
    int onDestroyedWindow = 0;
    int stops = 0;
    QStringList sheetFaults;
    // Called at the first generator call of each build, inside the build.
    std::function<void(frmDisplay& window, int build)> onFirstProblem;
    // Called when a build has ended, after its timer was switched off.
    std::function<void(int build)> onEnd;

    void Install(TickSpy& spy)
    {
        sumvarl::Hooks().adjustBuild = [this, &spy](sumvarl::BuildHooks& hooks) {
            const QPointer<frmDisplay> window = spy.ticking;
            spy.ticking = nullptr;
            if (!window) {
                ++unknownWindow;
            }
            maxDepth = std::max(maxDepth, ++depth);
            const int build = ++started;
            const int count = Math::ProblemCount;
            auto stopped = std::make_shared<bool>(false);

            hooks.drawProblem = [this, window, build, first = true,
                                 generate = hooks.drawProblem](const sumvarl::PartSpec& part,
                                                               sumvarl::RandomSource& r) mutable {
                if (!window) {
                    ++onDestroyedWindow;
                }
                if (first) {
                    first = false;
                    if (onFirstProblem && window) {
                        onFirstProblem(*window, build);
                    }
                }
                return generate(part, r);
            };
            hooks.messageBox = [this, window, build, stopped, show = hooks.messageBox](
                                   std::u16string_view p, std::u16string_view t) {
                *stopped = true;
                ++stops;
                if (!window) {
                    ++onDestroyedWindow;
                    return;
                }
                show(p, t);
                if (!window) {
                    // The rest of the build draws on the window's sheet: name the fault before
                    // the freed memory is touched.
                    ++onDestroyedWindow;
                    qCritical("build %d goes on after its window was destroyed in the message",
                              build);
                }
            };
            hooks.timerOff = [this, window, build, count, stopped, off = hooks.timerOff] {
                const QString fault = SheetFault(count, *stopped);
                if (!fault.isEmpty()) {
                    sheetFaults << QStringLiteral("build %1: %2").arg(build).arg(fault);
                }
                --depth;
                ++ended;
                if (!window) {
                    // The window's own step would touch freed memory; count it instead.
                    ++onDestroyedWindow;
                } else {
                    off();
                }
                if (onEnd) {
                    onEnd(build);
                }
            };
        };
    }
};

// A modal message's own event loop, closed after 250 ms as the user's OK would close it;
// `meanwhile` runs inside that loop, as a click made while the message is up would.
void ModalMessage(const std::function<void()>& meanwhile)
{
    QEventLoop loop;
    QTimer::singleShot(50, &loop, meanwhile);
    QTimer::singleShot(250, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the application's loop as the program does; a loop that does not end in time gives
// Stuck.
int RunProgram(int limitMs = 8000)
{
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(Stuck); });
    limit.start(limitMs);
    return QApplication::exec();
}

int WorksheetWindowsAlive()
{
    int alive = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmDisplay*>(w) != nullptr) {
            ++alive;
        }
    }
    return alive;
}

QPushButton* Button(const QWidget& window, const char* name)
{
    return Control<QPushButton>(window, QString::fromLatin1(name));
}

// A click as the window system would deliver it later: press and release posted to the button.
void PostClick(QPushButton* button)
{
    const QPointF at = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(button,
                                new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button,
                                new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void QueueClick(QPushButton* button)
{
    QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
}

enum class Closing {
    SettingsFirst,
    SettingsFirstWhileArmed,
    WorksheetFirst,
    ExitWhileArmed,
    ExitWhenIdle,
    ExitInsideABuild,
    WorksheetCloseBoxInMessage,
    WorksheetCloseBoxInModalMessage,
    SettingsClosedInModalMessage,
    BothClosedInModalMessage,
    ExitInModalMessage,
};

} // namespace

Q_DECLARE_METATYPE(Closing)

class EventStressTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        sumvarl::test::SetUpTestApplication();
        qApp->installEventFilter(&spy_);
    }

    void init()
    {
        Math::ResetState();
        QApplication::setQuitOnLastWindowClosed(false);
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        watch_ = std::make_unique<BuildWatch>();
        watch_->Install(spy_);
        main_ = std::make_unique<frmMain>();
        main_->show();
    }

    void cleanup()
    {
        main_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(WorksheetWindowsAlive(), 0);
        sumvarl::Hooks().adjustBuild = nullptr;
        watch_.reset();
        hooks_.reset();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // Each build takes its window's clicks after it ends: whatever piled up during a build,
    // recalculate arms exactly one further build, Start only raises the window, and a tick
    // delivered inside a build starts nothing.
    void clicksPiledUpDuringBuilds()
    {
        TickAllOperations();
        Start();
        QPointer<frmDisplay> display = main_->Display();
        QVERIFY(display);
        QPushButton* recalculate = Button(*display, "Command3");
        QPushButton* start = Button(*main_, "Command1");
        QSignalSpy recalculateClicks(recalculate, &QPushButton::clicked);
        QSignalSpy startClicks(start, &QPushButton::clicked);
        constexpr int PilingBuilds = 5;
        watch_->onFirstProblem = [&](frmDisplay& window, int build) {
            if (build > PilingBuilds) {
                return;
            }
            for (int i = 0; i < 30; ++i) {
                QueueClick(recalculate);
                PostClick(recalculate);
            }
            for (int i = 0; i < 10; ++i) {
                QueueClick(start);
            }
            for (int i = 0; i < 5; ++i) {
                window.Timer1_Timer();
            }
        };

        QTRY_COMPARE_WITH_TIMEOUT(watch_->ended, PilingBuilds + 1, 15000);
        QTest::qWait(600);
        QCOMPARE(recalculateClicks.count(), PilingBuilds * 60);
        QCOMPARE(startClicks.count(), PilingBuilds * 10);
        QCOMPARE(watch_->started, PilingBuilds + 1);
        QCOMPARE(watch_->ended, PilingBuilds + 1);
        QCOMPARE(watch_->maxDepth, 1);
        QCOMPARE(watch_->unknownWindow, 0);
        QCOMPARE(watch_->onDestroyedWindow, 0);
        QCOMPARE(watch_->sheetFaults, QStringList());
        QCOMPARE(main_->Display(), display.data());
        QCOMPARE(display->Timer1Interval(), 0);
        QCOMPARE(WorksheetWindowsAlive(), 1);
    }

    // While the worksheet window is open, Start only replaces the settings and brings it to
    // the front, whether the window is still waiting for its first build or idle.
    void startAgainAndAgainWhileOpen()
    {
        Start();
        QPointer<frmDisplay> display = main_->Display();
        QSignalSpy built(display.data(), &frmDisplay::worksheetBuilt);
        auto* count = Control<QComboBox>(*main_, QStringLiteral("Combo2"));
        auto* range = Control<QComboBox>(*main_, QStringLiteral("Combo1"));
        // Still armed: the first build reads the settings of the last of these.
        for (int i = 0; i < 20; ++i) {
            TypeInto(*count, QString::number(10 + i));
            Start();
            QCOMPARE(main_->Display(), display.data());
        }
        QCOMPARE(Math::ProblemCount, std::int16_t{29});
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        QCOMPARE(SheetFault(29, false), QString());
        QVERIFY(Math::WorksheetTable.ProblemKey[30].empty());

        const Math::WorksheetColumns sheet = Math::WorksheetTable;
        for (int i = 0; i < 150; ++i) {
            TypeInto(*count, QString::number(1 + i % 60));
            TypeInto(*range, QString::number(10 + i % 3 * 45));
            Start();
            QCOMPARE(main_->Display(), display.data());
            QVERIFY(display->isVisible());
            if (i % 10 == 0) {
                QTest::qWait(1);
            }
        }
        QTest::qWait(400);
        QCOMPARE(built.count(), 1);
        QVERIFY(Math::WorksheetTable.ProblemKey == sheet.ProblemKey);
        QCOMPARE(Math::ProblemCount, std::int16_t{1 + 149 % 60});
        QCOMPARE(Math::NumberRange, std::int16_t{10 + 149 % 3 * 45});
        QCOMPARE(display->Timer1Interval(), 0);

        // The settings of the last Start reach the sheet with the next recalculation.
        QTest::mouseClick(Button(*display, "Command3"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 2, 3000);
        QCOMPARE(SheetFault(30, false), QString());
        QCOMPARE(watch_->maxDepth, 1);
        QCOMPARE(watch_->sheetFaults, QStringList());
        QCOMPARE(WorksheetWindowsAlive(), 1);
    }

    // Give up at every moment of a window's life, then Start again: each Start opens a new
    // window, each given-up window goes, and no build runs on a window that is gone.
    void giveUpStartCycles()
    {
        constexpr int Cycles = 50;
        QPointer<frmDisplay> previous;
        int buildsExpected = 0;
        for (int cycle = 0; cycle < Cycles; ++cycle) {
            Start();
            QPointer<frmDisplay> display = main_->Display();
            QVERIFY(display);
            QVERIFY(display->isVisible());
            QVERIFY(previous.isNull());
            QPushButton* giveUp = Button(*display, "Command2");
            const int endedBefore = watch_->ended;
            switch (cycle % 4) {
            case 0: // before the first build
                QTest::mouseClick(giveUp, Qt::LeftButton);
                break;
            case 1: // from inside the build
                watch_->onFirstProblem = [giveUp](frmDisplay&, int) {
                    QTest::mouseClick(giveUp, Qt::LeftButton);
                };
                ++buildsExpected;
                break;
            case 2: // clicked during the build, handled after it
                watch_->onFirstProblem = [giveUp](frmDisplay&, int) { QueueClick(giveUp); };
                ++buildsExpected;
                break;
            default: // when the sheet is drawn
                QTRY_COMPARE_WITH_TIMEOUT(watch_->ended, endedBefore + 1, 3000);
                QTest::mouseClick(giveUp, Qt::LeftButton);
                ++buildsExpected;
                break;
            }
            QTRY_VERIFY_WITH_TIMEOUT(display.isNull(), 3000);
            watch_->onFirstProblem = nullptr;
            QVERIFY(main_->Display() == nullptr);
            QVERIFY(main_->isVisible());
            previous = display;
        }
        QTest::qWait(300);
        QCOMPARE(watch_->started, buildsExpected);
        QCOMPARE(watch_->ended, buildsExpected);
        QCOMPARE(watch_->maxDepth, 1);
        QCOMPARE(watch_->unknownWindow, 0);
        QCOMPARE(watch_->onDestroyedWindow, 0);
        QCOMPARE(watch_->sheetFaults, QStringList());
        QCOMPARE(WorksheetWindowsAlive(), 0);
    }

    // Give up, then Start before the event loop has come round: the given-up window is no
    // longer loaded, so Start must open a new one rather than raise the one that is going.
    void startRightAfterGiveUpOpensANewWindow()
    {
        Start();
        QPointer<frmDisplay> first = main_->Display();
        QSignalSpy built(first.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);

        QTest::mouseClick(Button(*first, "Command2"), Qt::LeftButton);
        Start();
        QPointer<frmDisplay> second = main_->Display();
        QVERIFY(second);
        QVERIFY2(second->isVisible(), "Start right after give up showed no worksheet window");
        QVERIFY(second != first);
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 3000);
        QVERIFY(second);
        QCOMPARE(main_->Display(), second.data());
        QSignalSpy builtAgain(second.data(), &frmDisplay::worksheetBuilt);
        QTRY_COMPARE_WITH_TIMEOUT(builtAgain.count(), 1, 3000);
        QCOMPARE(WorksheetWindowsAlive(), 1);
        QCOMPARE(watch_->maxDepth, 1);
        QCOMPARE(watch_->onDestroyedWindow, 0);
    }

    // 200 problems of all four operations, rebuilt again and again by recalculate (some
    // presses doubled or tripled): every build fills all 200 rows with different problems.
    void twoHundredProblemsRecalculatedManyTimes()
    {
        TickAllOperations();
        TypeInto(*Control<QComboBox>(*main_, QStringLiteral("Combo2")), QStringLiteral("200"));
        Start();
        QPointer<frmDisplay> display = main_->Display();
        QVERIFY(display);
        QPushButton* recalculate = Button(*display, "Command3");
        constexpr int Builds = 12;
        watch_->onEnd = [&](int build) {
            if (build < Builds) {
                for (int i = 0; i <= build % 3; ++i) {
                    QueueClick(recalculate);
                }
            }
        };
        QTRY_COMPARE_WITH_TIMEOUT(watch_->ended, Builds, 30000);
        QTest::qWait(500);
        QCOMPARE(watch_->started, Builds);
        QCOMPARE(watch_->maxDepth, 1);
        QCOMPARE(watch_->stops, 0);
        QCOMPARE(hooks_->messages.size(), 0u);
        QCOMPARE(watch_->sheetFaults, QStringList());
        QCOMPARE(SheetFault(200, false), QString());
        std::set<std::u16string> operators(Math::WorksheetTable.OperatorText.begin() + 1,
                                           Math::WorksheetTable.OperatorText.end());
        QCOMPARE(operators.size(), 4u);
        QCOMPARE(display->Timer1Interval(), 0);
    }

    void closingOrders_data()
    {
        QTest::addColumn<Closing>("closing");
        QTest::addColumn<int>("builds");
        QTest::addColumn<bool>("exits");
        QTest::newRow("settings window first") << Closing::SettingsFirst << 1 << false;
        QTest::newRow("settings window first, build still armed")
            << Closing::SettingsFirstWhileArmed << 1 << false;
        QTest::newRow("worksheet window first") << Closing::WorksheetFirst << 1 << false;
        QTest::newRow("exit with both open, build armed") << Closing::ExitWhileArmed << 0 << true;
        QTest::newRow("exit with both open, idle") << Closing::ExitWhenIdle << 1 << true;
        QTest::newRow("exit from inside a build") << Closing::ExitInsideABuild << 1 << true;
        QTest::newRow("worksheet close box in the message")
            << Closing::WorksheetCloseBoxInMessage << 1 << false;
        QTest::newRow("exit in the modal message") << Closing::ExitInModalMessage << 1 << true;
        QTest::newRow("settings window closed in the modal message")
            << Closing::SettingsClosedInModalMessage << 1 << false;
        // Last: a window deleted under its own build crashes the binary and the rows after it.
        QTest::newRow("worksheet close box in the modal message")
            << Closing::WorksheetCloseBoxInModalMessage << 1 << false;
        QTest::newRow("both closed in the modal message")
            << Closing::BothClosedInModalMessage << 1 << false;
    }

    // The program ends in every order of closing, and nothing runs on a window that is gone.
    void closingOrders()
    {
        QFETCH(Closing, closing);
        QFETCH(int, builds);
        QFETCH(bool, exits);
        QApplication::setQuitOnLastWindowClosed(true);
        int exitCalls = 0;
        // The program's own Exit: hide every window and leave the event loop.
        sumvarl::Hooks().exitProgram = [&exitCalls] {
            ++exitCalls;
            sumvarl::DefaultFormHooks().exitProgram();
        };
        const bool exhausting = closing >= Closing::WorksheetCloseBoxInMessage;
        if (exhausting) {
            // Only addition within 10: fewer than 50 different problems exist.
            TypeInto(*Control<QComboBox>(*main_, QStringLiteral("Combo1")), QStringLiteral("10"));
            TypeInto(*Control<QComboBox>(*main_, QStringLiteral("Combo2")), QStringLiteral("50"));
        }
        Start();
        QPointer<frmDisplay> display = main_->Display();
        QVERIFY(display);
        frmMain* settings = main_.get();
        const auto later = [](int ms, const std::function<void()>& step) {
            QTimer::singleShot(ms, qApp, step);
        };
        const auto giveUp = [display] {
            if (display) {
                QTest::mouseClick(Button(*display, "Command2"), Qt::LeftButton);
            }
        };
        const auto exitButton = [settings] {
            QTest::mouseClick(Button(*settings, "Command2"), Qt::LeftButton);
        };
        // Closes the settings window once the worksheet window is gone.
        const auto closeSettingsAfterTheWorksheet = [settings, display] {
            auto* poll = new QTimer(settings);
            QObject::connect(poll, &QTimer::timeout, settings, [settings, display] {
                if (display.isNull()) {
                    settings->close();
                }
            });
            poll->start(20);
        };

        switch (closing) {
        case Closing::SettingsFirst:
            watch_->onEnd = [&](int) {
                later(0, [settings] { settings->close(); });
                later(200, giveUp);
            };
            break;
        case Closing::SettingsFirstWhileArmed:
            later(0, [settings] { settings->close(); });
            watch_->onEnd = [&](int) { later(50, giveUp); };
            break;
        case Closing::WorksheetFirst:
            watch_->onEnd = [&](int) {
                later(0, giveUp);
                later(200, [settings] { settings->close(); });
            };
            break;
        case Closing::ExitWhileArmed:
            later(0, exitButton);
            break;
        case Closing::ExitWhenIdle:
            watch_->onEnd = [&](int) { later(0, exitButton); };
            break;
        case Closing::ExitInsideABuild:
            watch_->onFirstProblem = [&](frmDisplay&, int) { exitButton(); };
            break;
        case Closing::WorksheetCloseBoxInMessage:
            hooks_->onMessage = [display, closeSettingsAfterTheWorksheet] {
                display->close();
                closeSettingsAfterTheWorksheet();
            };
            break;
        case Closing::WorksheetCloseBoxInModalMessage:
            hooks_->onMessage = [display, closeSettingsAfterTheWorksheet] {
                ModalMessage([display, closeSettingsAfterTheWorksheet] {
                    display->close();
                    closeSettingsAfterTheWorksheet();
                });
            };
            break;
        case Closing::SettingsClosedInModalMessage:
            hooks_->onMessage = [settings] { ModalMessage([settings] { settings->close(); }); };
            watch_->onEnd = [&](int) { later(50, giveUp); };
            break;
        case Closing::BothClosedInModalMessage:
            hooks_->onMessage = [settings, display] {
                ModalMessage([settings, display] {
                    settings->close();
                    display->close();
                });
            };
            break;
        case Closing::ExitInModalMessage:
            hooks_->onMessage = [exitButton] { ModalMessage(exitButton); };
            break;
        }

        QCOMPARE(RunProgram(), 0);
        // What was still pending when the loop ended, as the program's end would leave it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!main_->isVisible());
        QVERIFY(display.isNull() || !display->isVisible());
        QCOMPARE(exitCalls, exits ? 1 : 0);
        QCOMPARE(watch_->started, builds);
        QCOMPARE(watch_->ended, builds);
        QCOMPARE(watch_->maxDepth, builds);
        QCOMPARE(watch_->unknownWindow, 0);
        QCOMPARE(watch_->onDestroyedWindow, 0);
        QCOMPARE(watch_->sheetFaults, QStringList());
        QCOMPARE(hooks_->messages.size(), exhausting ? 1u : 0u);
        if (exhausting) {
            QCOMPARE(watch_->stops, 1);
        }
        main_.reset();
        QCOMPARE(WorksheetWindowsAlive(), 0);
    }

private:
    void Start() { QTest::mouseClick(Button(*main_, "Command1"), Qt::LeftButton); }

    void TickAllOperations()
    {
        for (int k = 1; k < 4; ++k) {
            Control<QCheckBox>(*main_, QStringLiteral("Check1_%1").arg(k))->setChecked(true);
        }
    }

    TickSpy spy_;
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    std::unique_ptr<BuildWatch> watch_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(EventStressTest)
#include "event_stress_test.moc"
