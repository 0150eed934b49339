// The answer key on the system's default printer through a real CUPS scheduler, run by
// test-printer.sh against a queue that keeps each document (see CMakeLists.txt).

#include "core/Sheet.h"
#include "print/PainterSurface.h"
#include "print/PrinterJob.h"
#include "print/VerticalSheet.h"
#include "testing/PdfProblems.h"
#include "testing/PrintTestSupport.h"
#include "testing/VerticalReadBack.h"
#include "worksheet/ProblemLine.h"

#include <QPrinterInfo>
#include <QTest>

class AnswerKeyPrinterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (printtest::TestPrinterOut().isEmpty()) {
            QSKIP("needs the private CUPS server of test-printer.sh");
        }
        sumvarl::InstallFontSubstitutions();
    }

    void printsTheAnswerKeyAsOneJob()
    {
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("SumvarlTest"));
        printtest::SetCountingWorksheet(10);
        Math::WorksheetTable.BlankKind[2] = 1;
        Math::WorksheetTable.BlankKind[7] = 2;
        const printtest::TableCopy before = printtest::CopyTable();

        const sumvarl::DocumentOptions key{.answerKey = true, .pupilName = {}};
        QCOMPARE(sumvarl::PrintOnDefaultPrinter(key).result, sumvarl::PrintResult::Printed);
        QVERIFY(printtest::SameTable(before, printtest::CopyTable()));

        const QStringList jobs = printtest::WaitForKeptJobs();
        QCOMPARE(jobs.size(), 1);
        const QStringList lines = printtest::PdfLines(jobs[0]);
        QCOMPARE(lines.value(0), printtest::TitleLine() + QStringLiteral("（答案）"));
        QCOMPARE(lines.value(1), printtest::CountLine(10));
        QStringList sheet;
        for (int i = 1; i <= 10; ++i) {
            sheet << QString::fromStdU16String(
                sumvarl::ItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer));
        }
        const QString why = printtest::CheckKey(sheet, printtest::ProblemsOf(jobs[0]));
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    // A 竖式 key, painted straight, reaches the queue as one job with its working in columns.
    void printsAVerticalKeyAsOneJob()
    {
        sumvarl::PartSpec part;
        part.vertical = sumvarl::VerticalKind::DivideByTwoDigit;
        part.problemCount = 7;
        const sumvarl::Sheet sheet = sumvarl::MakeSheet({{part}, 11});
        sumvarl::VerticalOptions key;
        key.answerKey = true;
        key.paper.grid = true;
        QCOMPARE(sumvarl::PaintOnDefaultPrinter(sumvarl::VerticalSheetPages(sheet, key)).result,
                 sumvarl::PrintResult::Printed);
        const QStringList jobs = printtest::WaitForKeptJobs();
        QVERIFY(!jobs.isEmpty());
        const QList<printtest::ReadProblem> read = printtest::ReadVerticalProblems(jobs.last());
        QCOMPARE(read.size(), 7);
        for (qsizetype i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i].across,
                     QString::fromStdU16String(
                         sumvarl::TextsOf(sheet.problems[static_cast<std::size_t>(i)]).key));
            QVERIFY(read[i].Rows().size() >= 4);
        }
    }
};

QTEST_MAIN(AnswerKeyPrinterTest)
#include "answer_key_printer_test.moc"
