// The print button of the worksheet window against a real CUPS scheduler. Run by
// print/tests/test-printer.sh (see CMakeLists.txt):
//   printButtonSendsOneJob              a default queue that keeps each document
//   noPrinterKeepsTheWindowAndWorksheet a server without any queue
//   refusedJobKeepsTheWindowAndWorksheet a default queue that refuses jobs
//   missingModuleKeepsTheWindowAndWorksheet a default queue, but no printing module to reach it
//   silentServiceKeepsTheWindowAnswering a default queue on a server that is stopped mid-test
//   closingDuringAJobLeavesItInTheBackground  the same

#include "forms/FormHooks.h"
#include "forms/SheetPicture.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "print/PainterSurface.h"
#include "testing/PrintTestSupport.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

using sumvarl::frmDisplay;
using sumvarl::frmMain;

class PrintWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void printButtonSendsOneJob();
    void noPrinterKeepsTheWindowAndWorksheet();
    void refusedJobKeepsTheWindowAndWorksheet();
    void missingModuleKeepsTheWindowAndWorksheet();
    void silentServiceKeepsTheWindowAnswering();
    void closingDuringAJobLeavesItInTheBackground();

private:
    // Start on the settings window with its first settings, and wait for the worksheet.
    frmDisplay* BuildWorksheet();
    QPushButton* PrintButton(frmDisplay& display);
    // Clicks 打印 and waits for the job to end, when the button is back.
    void ClickPrint(frmDisplay& display);
    // The failure path: one message naming the failure, window, sheet and table kept.
    void ExpectKeptAfterFailure(const QString& named);

    std::unique_ptr<frmMain> main_;
    std::vector<QString> messages_;
};

void PrintWindowTest::initTestCase()
{
    if (printtest::TestPrinterOut().isEmpty()) {
        QSKIP("needs the private CUPS server of print/tests/test-printer.sh");
    }
    QLocale::setDefault(QLocale::c());
    sumvarl::InstallFontSubstitutions();
}

void PrintWindowTest::init()
{
    // The real printer path; only the modal message is recorded instead of shown.
    sumvarl::Hooks() = sumvarl::DefaultFormHooks();
    sumvarl::Hooks().messageBox = [this](const QString& prompt, const QString&) {
        messages_.push_back(prompt);
    };
    // Where there is no printer the message offers 保存为 PDF…, declined here.
    sumvarl::Hooks().messageBoxOffering = [this](const QString& prompt, const QString&,
                                                 const QString&) {
        messages_.push_back(prompt);
        return false;
    };
    sumvarl::Hooks().exitProgram = [] { QFAIL("printing must not end the program"); };
    messages_.clear();
    main_ = std::make_unique<frmMain>();
    main_->show();
}

void PrintWindowTest::cleanup()
{
    main_.reset();
    sumvarl::PrintServiceWait() = sumvarl::DefaultServiceWait;
    sumvarl::Hooks() = sumvarl::DefaultFormHooks();
}

frmDisplay* PrintWindowTest::BuildWorksheet()
{
    auto* start = main_->findChild<QPushButton*>(QStringLiteral("Command1"));
    if (start == nullptr) {
        return nullptr;
    }
    QTest::mouseClick(start, Qt::LeftButton);
    frmDisplay* display = main_->Display();
    if (display == nullptr) {
        return nullptr;
    }
    QSignalSpy built(display, &frmDisplay::worksheetBuilt);
    if (!built.wait(10000)) {
        return nullptr;
    }
    return display;
}

QPushButton* PrintWindowTest::PrintButton(frmDisplay& display)
{
    auto* print = display.findChild<QPushButton*>(QStringLiteral("Command1"));
    return print != nullptr && print->text() == QStringLiteral("打印") ? print : nullptr;
}

void PrintWindowTest::ClickPrint(frmDisplay& display)
{
    QPushButton* print = PrintButton(display);
    QVERIFY(print != nullptr);
    QTest::mouseClick(print, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(print->isEnabled(), 30000);
    QCOMPARE(print->text(), QStringLiteral("打印"));
}

void PrintWindowTest::printButtonSendsOneJob()
{
    frmDisplay* display = BuildWorksheet();
    QVERIFY(display != nullptr);
    const int count = Math::ProblemCount;
    QVERIFY(count > 0);
    const printtest::TableCopy before = printtest::CopyTable();

    ClickPrint(*display);
    QVERIFY(messages_.empty());
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));

    const QStringList jobs = printtest::WaitForKeptJobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(printtest::PdfLines(jobs[0]), printtest::ExpectedDocument(count));
}

void PrintWindowTest::ExpectKeptAfterFailure(const QString& named)
{
    QPointer<frmDisplay> display = BuildWorksheet();
    QVERIFY(display != nullptr);
    auto* sheet = display->findChild<sumvarl::SheetPicture*>(QStringLiteral("Picture1"));
    QVERIFY(sheet != nullptr);
    const QImage drawn = sheet->Sheet().toImage();
    const printtest::TableCopy before = printtest::CopyTable();

    ClickPrint(*display);
    QCOMPARE(messages_.size(), std::size_t{1});
    QVERIFY2(messages_[0].contains(named), qPrintable(messages_[0]));
    QVERIFY(!display.isNull());
    QVERIFY(display->isVisible());
    QVERIFY(main_->isVisible());
    QCOMPARE(sheet->Sheet().toImage(), drawn);
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
    QCOMPARE(display->Timer1Interval(), 0);
}

void PrintWindowTest::noPrinterKeepsTheWindowAndWorksheet()
{
    ExpectKeptAfterFailure(QStringLiteral("没有找到默认打印机"));
}

void PrintWindowTest::refusedJobKeepsTheWindowAndWorksheet()
{
    ExpectKeptAfterFailure(QStringLiteral("打印任务没有完成"));
    QVERIFY2(messages_[0].contains(QStringLiteral("打印机“SumvarlTest”现在不接受打印任务")),
             qPrintable(messages_[0]));
    QCOMPARE(printtest::WaitForKeptJobs(2000), QStringList());
}

void PrintWindowTest::missingModuleKeepsTheWindowAndWorksheet()
{
    ExpectKeptAfterFailure(QStringLiteral("打印部分没有找到"));
    QVERIFY2(messages_[0].contains(QStringLiteral("sumvarl-printer")), qPrintable(messages_[0]));
    QCOMPARE(printtest::WaitForKeptJobs(2000), QStringList());
}

void PrintWindowTest::silentServiceKeepsTheWindowAnswering()
{
    frmDisplay* display = BuildWorksheet();
    QVERIFY(display != nullptr);
    QPushButton* print = PrintButton(*display);
    QVERIFY(print != nullptr);
    auto* recalculate = display->findChild<QPushButton*>(QStringLiteral("Command3"));
    QVERIFY(recalculate != nullptr);
    int jobs = 0;
    sumvarl::Hooks().print = [&jobs, job = sumvarl::Hooks().print] {
        ++jobs;
        return job();
    };
    sumvarl::PrintServiceWait() = std::chrono::seconds(2);

    // The longest time the event loop goes without running a 20 ms timer.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(20);
    connect(&ticker, &QTimer::timeout, this,
            [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    const printtest::StoppedPrintService stopped;
    QVERIFY(stopped.Stopped());
    sinceTick.start();
    ticker.start();

    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(print->text(), QStringLiteral("正在打印…"));
    QTest::mouseClick(print, Qt::LeftButton);
    QSignalSpy built(display, &frmDisplay::worksheetBuilt);
    QTest::mouseClick(recalculate, Qt::LeftButton);
    QVERIFY(built.wait(1500));
    QVERIFY(messages_.empty());

    QTRY_COMPARE_WITH_TIMEOUT(messages_.size(), std::size_t{1}, 10000);
    ticker.stop();
    QVERIFY2(messages_[0].contains(QStringLiteral("打印服务没有回应")), qPrintable(messages_[0]));
    QCOMPARE(jobs, 1);
    QVERIFY(print->isEnabled());
    qInfo("longest gap between 20 ms ticks: %lld ms", static_cast<long long>(longestGap));
    QVERIFY(longestGap < 100);
}

void PrintWindowTest::closingDuringAJobLeavesItInTheBackground()
{
    QPointer<frmDisplay> display = BuildWorksheet();
    QVERIFY(display != nullptr);
    QPushButton* print = PrintButton(*display);
    QVERIFY(print != nullptr);
    auto* giveUp = display->findChild<QPushButton*>(QStringLiteral("Command2"));
    QVERIFY(giveUp != nullptr);
    sumvarl::PrintServiceWait() = std::chrono::seconds(1);
    {
        const printtest::StoppedPrintService stopped;
        QVERIFY(stopped.Stopped());
        QTest::mouseClick(print, Qt::LeftButton);
        QTest::mouseClick(giveUp, Qt::LeftButton);
        QTRY_VERIFY(display.isNull());
        // The job gives up with nobody left to tell.
        QTest::qWait(1500);
    }
    QVERIFY(messages_.empty());
    QVERIFY(main_->isVisible());
}

QTEST_MAIN(PrintWindowTest)
#include "print_window_test.moc"
