// Printing on the system's default printer through a real CUPS scheduler. Each function is run
// by test-printer.sh against the server it needs (see CMakeLists.txt):
//   printsOneJobOnTheDefaultPrinter  a default queue that keeps each document
//   reportsAMissingDefaultPrinter    a server without any queue
//   reportsARefusedJob               a default queue that refuses jobs
//   reportsAPausedQueue              a default queue, paused by the test

#include "print/PainterSurface.h"
#include "print/PrinterJob.h"
#include "testing/PrintTestSupport.h"

#include <QPrinterInfo>
#include <QTest>

using sumvarl::PrintResult;

namespace {

void SetWorksheetWithBlanks()
{
    printtest::SetCountingWorksheet(10);
    Math::WorksheetTable.BlankKind[2] = 1;
    Math::WorksheetTable.BlankKind[7] = 2;
}

} // namespace

class DefaultPrinterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printsOneJobOnTheDefaultPrinter();
    void reportsAMissingDefaultPrinter();
    void reportsARefusedJob();
    void reportsAPausedQueue();
};

void DefaultPrinterTest::initTestCase()
{
    if (printtest::TestPrinterOut().isEmpty()) {
        QSKIP("needs the private CUPS server of test-printer.sh");
    }
    sumvarl::InstallFontSubstitutions();
}

void DefaultPrinterTest::printsOneJobOnTheDefaultPrinter()
{
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("SumvarlTest"));
    SetWorksheetWithBlanks();
    const printtest::TableCopy before = printtest::CopyTable();

    QCOMPARE(sumvarl::PrintOnDefaultPrinter().result, PrintResult::Printed);
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));

    const QStringList jobs = printtest::WaitForKeptJobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(printtest::PdfLines(jobs[0]), printtest::ExpectedDocument(10));
    // Laid out on the queue's own paper (A4 in its PPD), CurrentX counted from the left edge of
    // its printable area (12 pt in): the title at 2500 twips, the count line at 3500.
    const QString page =
        printtest::RunPdfToText({QStringLiteral("-bbox"), jobs[0], QStringLiteral("-")});
    QVERIFY2(page.contains(QStringLiteral("<page width=\"595")), qPrintable(page.left(400)));
    const QList<printtest::Word> words = printtest::PdfWords(jobs[0]);
    QVERIFY(words.size() > 2);
    QCOMPARE(words[0].text, QStringLiteral("Tovrin"));
    QVERIFY2(qAbs(words[0].box.left() - (12 + 2500 / 20.0)) < 1, qPrintable(page.left(400)));
    const auto count = std::find_if(words.begin(), words.end(), [](const printtest::Word& w) {
        return w.text.startsWith(QStringLiteral("题目数"));
    });
    QVERIFY(count != words.end());
    QVERIFY(qAbs(count->box.left() - (12 + 3500 / 20.0)) < 1);
}

void DefaultPrinterTest::reportsAMissingDefaultPrinter()
{
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());
    SetWorksheetWithBlanks();
    const printtest::TableCopy before = printtest::CopyTable();

    const PrintResult result = sumvarl::PrintOnDefaultPrinter().result;
    QCOMPARE(result, PrintResult::NoDefaultPrinter);
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
}

void DefaultPrinterTest::reportsARefusedJob()
{
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("SumvarlTest"));
    SetWorksheetWithBlanks();
    const printtest::TableCopy before = printtest::CopyTable();

    // Qt's own CUPS engine reports this job as printed; the job must come back as failed, with
    // CUPS's reason in Chinese in the message.
    const sumvarl::PrintOutcome outcome = sumvarl::PrintOnDefaultPrinter();
    QCOMPARE(outcome.result, PrintResult::JobFailed);
    QCOMPARE(outcome.reason, QStringLiteral("打印机“SumvarlTest”现在不接受打印任务"));
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
    QCOMPARE(printtest::WaitForKeptJobs(2000), QStringList());
}

void DefaultPrinterTest::reportsAPausedQueue()
{
    QVERIFY(printtest::RunCupsTool(QStringLiteral("cupsdisable"), {QStringLiteral("SumvarlTest")}));
    SetWorksheetWithBlanks();

    // CUPS would keep the job unseen; it is not sent.
    const sumvarl::PrintOutcome outcome = sumvarl::PrintOnDefaultPrinter();
    QCOMPARE(outcome.result, PrintResult::JobFailed);
    QCOMPARE(outcome.reason, QStringLiteral("打印机“SumvarlTest”已暂停"));
    QVERIFY(printtest::RunCupsTool(QStringLiteral("cupsenable"), {QStringLiteral("SumvarlTest")}));
    QCOMPARE(printtest::WaitForKeptJobs(2000), QStringList());
}

QTEST_MAIN(DefaultPrinterTest)
#include "default_printer_test.moc"
