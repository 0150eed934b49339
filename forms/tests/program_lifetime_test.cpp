// How the program ends: Exit at once, closing the settings window alone, the last window.
// Each case runs the application's own event loop, since only that loop quits.

#include "FormsTestSupport.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using sumvarl::frmDisplay;
using sumvarl::frmMain;
using sumvarl::test::Control;

namespace {

// Counts the close events a window receives.
class CloseCounter final : public QObject
{
public:
    explicit CloseCounter(QWidget& window) : QObject(&window) { window.installEventFilter(this); }
    int closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            ++closes;
        }
        return QObject::eventFilter(watched, event);
    }
};

constexpr int Stuck = 99;

// Runs the application's loop; a loop that does not end in time returns Stuck.
int RunProgram(int limitMs = 5000)
{
    QTimer::singleShot(limitMs, qApp, [] { QCoreApplication::exit(Stuck); });
    return QApplication::exec();
}

} // namespace

class ProgramLifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        sumvarl::test::SetUpTestApplication();
        QApplication::setQuitOnLastWindowClosed(true);
        sumvarl::Hooks() = sumvarl::DefaultFormHooks();
        // Nothing in these cases may open a modal message.
        sumvarl::Hooks().messageBox = [](const QString& prompt, const QString&) {
            QFAIL(qPrintable(prompt));
        };
    }

    void init() { Math::ResetState(); }

    // Exit hides both windows and leaves the loop without running a close handler.
    void exitEndsTheProgramAtOnce()
    {
        frmMain window;
        window.show();
        QTest::mouseClick(Control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
        QPointer<frmDisplay> display = window.Display();
        QVERIFY(display);
        auto* mainCloses = new CloseCounter(window);
        auto* displayCloses = new CloseCounter(*display);
        QTimer::singleShot(20, &window, [&window] {
            QTest::mouseClick(Control<QPushButton>(window, QStringLiteral("Command2")),
                              Qt::LeftButton);
        });

        QCOMPARE(RunProgram(), 0);
        QVERIFY(!window.isVisible());
        QVERIFY(display);
        QVERIFY(!display->isVisible());
        QCOMPARE(mainCloses->closes, 0);
        QCOMPARE(displayCloses->closes, 0);
    }

    void closingTheSettingsWindowKeepsTheWorksheetWindow()
    {
        frmMain window;
        window.show();
        QTest::mouseClick(Control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
        QPointer<frmDisplay> display = window.Display();
        QVERIFY(display);
        bool runningAfterClose = false;
        QTimer::singleShot(20, &window, [&window] { window.close(); });
        QTimer::singleShot(400, display, [&] {
            runningAfterClose = display->isVisible() && !window.isVisible();
            // Give up is the last window going: the program ends.
            QTest::mouseClick(Control<QPushButton>(*display, QStringLiteral("Command2")),
                              Qt::LeftButton);
        });

        QCOMPARE(RunProgram(), 0);
        QVERIFY(runningAfterClose);
    }

    void closingTheOnlyWindowEndsTheProgram()
    {
        frmMain window;
        window.show();
        QTimer::singleShot(20, &window, [&window] { window.close(); });
        QCOMPARE(RunProgram(), 0);
        QVERIFY(window.Display() == nullptr);
    }
};

QTEST_MAIN(ProgramLifetimeTest)
#include "program_lifetime_test.moc"
