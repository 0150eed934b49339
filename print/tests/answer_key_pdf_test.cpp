// Saved PDFs read back with pdftotext: the answer key against the worksheet, the pupil's name,
// several sheets in one file, and that a failed or abandoned save leaves no file behind.

#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PainterSurface.h"
#include "print/PrintedWorksheet.h"
#include "testing/AnswerCheck.h"
#include "testing/PdfProblems.h"
#include "testing/PrintTestSupport.h"
#include "testing/SheetSettings.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/WorksheetBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <tuple>

namespace {

// A worksheet of every operation with many blanks, the same every run.
void BuildSeededWorksheet(std::int16_t count, std::uint64_t seed, std::int16_t range = 100)
{
    sumvarl::testing::UseSettings(sumvarl::testing::AllOperations(count, 70, range));
    sumvarl::ClockRandom random(seed, [] { return std::uint64_t{3}; });
    sumvarl::BuildHooks hooks;
    hooks.random = &random;
    sumvarl::FillWorksheetTable(hooks);
}

// True when every word of a stands on a line of b: on the same page, with a top within 1 pt of
// one of b's words.
bool OnTheLinesOf(const QList<printtest::Word>& a, const QList<printtest::Word>& b)
{
    return std::all_of(a.begin(), a.end(), [&b](const printtest::Word& w) {
        return std::any_of(b.begin(), b.end(), [&w](const printtest::Word& v) {
            return v.page == w.page && qAbs(v.box.top() - w.box.top()) < 1;
        });
    });
}

} // namespace

class AnswerKeyPdfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QVERIFY(folder_.isValid()); }

    void savedPdfIsThePrintersDocument();
    void answerKeyFillsEveryBlankCorrectly();
    void longKeyItemsKeepTheSheetsLines();
    void everyLineStaysInsideThePrintableArea_data();
    void everyLineStaysInsideThePrintableArea();
    void pupilNameStandsUnderTheTitle();
    void severalSheetsStartOnTheirOwnPages();
    void aFolderThatDoesNotExistLeavesNoFile();
    void anAbandonedDocumentLeavesTheOldFile();

private:
    QString Pdf(const char* name) const { return folder_.filePath(QLatin1String(name)); }

    QTemporaryDir folder_;
};

void AnswerKeyPdfTest::initTestCase()
{
    sumvarl::InstallFontSubstitutions();
    QCOMPARE(QFontInfo(QFont(QStringLiteral("宋体"))).family(), QStringLiteral("AR PL UMing CN"));
}

// The printer path on an A4 printer with the PDF's margins and the saved PDF: the same text at
// the same places.
void AnswerKeyPdfTest::savedPdfIsThePrintersDocument()
{
    SKIP_WITHOUT_READ_BACK();
    BuildSeededWorksheet(100, 11);
    QVERIFY(printtest::PrintToPdf(Pdf("printer.pdf"), sumvarl::PdfMarginsMm));
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("saved.pdf")).result, sumvarl::SaveResult::Saved);

    QCOMPARE(printtest::PdfPages(Pdf("saved.pdf")), printtest::PdfPages(Pdf("printer.pdf")));
    QCOMPARE(printtest::PdfLines(Pdf("saved.pdf")), printtest::ExpectedDocument(100));
    const QList<printtest::Word> saved = printtest::PdfWords(Pdf("saved.pdf"));
    const QList<printtest::Word> printed = printtest::PdfWords(Pdf("printer.pdf"));
    QCOMPARE(saved.size(), printed.size());
    for (qsizetype k = 0; k < saved.size(); ++k) {
        QCOMPARE(saved[k].text, printed[k].text);
        QCOMPARE(saved[k].page, printed[k].page);
        QVERIFY2((saved[k].box.topLeft() - printed[k].box.topLeft()).manhattanLength() < 0.5,
                 qPrintable(saved[k].text));
    }
}

void AnswerKeyPdfTest::answerKeyFillsEveryBlankCorrectly()
{
    SKIP_WITHOUT_READ_BACK();
    BuildSeededWorksheet(200, 2026);
    int kinds[3] = {};
    for (int i = 1; i <= 200; ++i) {
        ++kinds[Math::WorksheetTable.BlankKind[std::size_t(i)]];
    }
    QVERIFY(kinds[0] > 0 && kinds[1] > 0 && kinds[2] > 0);

    const sumvarl::DocumentOptions key{.answerKey = true, .pupilName = {}};
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("sheet.pdf")).result, sumvarl::SaveResult::Saved);
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("key.pdf"), key).result, sumvarl::SaveResult::Saved);

    const QStringList keyLines = printtest::PdfLines(Pdf("key.pdf"));
    QVERIFY(!keyLines.isEmpty());
    QCOMPARE(keyLines[0], QStringLiteral("Tovrin数学Sumvarl（答案）"));
    QCOMPARE(printtest::PdfLines(Pdf("sheet.pdf"))[0], printtest::TitleLine());

    // Only the PDFs' text from here on: each key problem worked out from the sheet's problem.
    const QStringList sheetProblems = printtest::ProblemsOf(Pdf("sheet.pdf"));
    const QStringList keyProblems = printtest::ProblemsOf(Pdf("key.pdf"));
    QCOMPARE(sheetProblems.size(), 200);
    QCOMPARE(keyProblems.size(), 200);
    const QString why = printtest::CheckKey(sheetProblems, keyProblems);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QCOMPARE(printtest::PageCount(Pdf("key.pdf")), printtest::PageCount(Pdf("sheet.pdf")));
}

// Five-digit numbers make key items wider than their place, and the sheet cuts its items, so the
// key is read against its own table here: every item whole, on the lines and pages of the sheet.
void AnswerKeyPdfTest::longKeyItemsKeepTheSheetsLines()
{
    SKIP_WITHOUT_READ_BACK();
    BuildSeededWorksheet(200, 2026, 32767);
    const sumvarl::DocumentOptions key{.answerKey = true, .pupilName = {}};
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("sheet.pdf")).result, sumvarl::SaveResult::Saved);
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("key.pdf"), key).result, sumvarl::SaveResult::Saved);

    QStringList expected;
    for (int i = 1; i <= 200; ++i) {
        QString item = QString::fromStdU16String(
            sumvarl::AnswerItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer));
        expected.append(item.remove(QLatin1Char(' ')));
    }
    QCOMPARE(printtest::ProblemsOf(Pdf("key.pdf")), expected);
    QCOMPARE(printtest::PageCount(Pdf("key.pdf")), printtest::PageCount(Pdf("sheet.pdf")));
    const QList<printtest::Word> sheetWords = printtest::PdfWords(Pdf("sheet.pdf"));
    const QList<printtest::Word> keyWords = printtest::PdfWords(Pdf("key.pdf"));
    QVERIFY(OnTheLinesOf(keyWords, sheetWords));
    QVERIFY(OnTheLinesOf(sheetWords, keyWords));
}

// The widest lines: the count line with a three-digit or the most negative count Start accepts,
// and rows of five-digit numbers, on the sheet, its key and a named sheet.
void AnswerKeyPdfTest::everyLineStaysInsideThePrintableArea_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("range");
    QTest::newRow("100 problems") << 100 << 100;
    QTest::newRow("200 problems of five-digit numbers") << 200 << 32767;
    QTest::newRow("200 problems of negative numbers") << 200 << -32767;
    QTest::newRow("count -32768") << -32768 << 100;
}

void AnswerKeyPdfTest::everyLineStaysInsideThePrintableArea()
{
    SKIP_WITHOUT_READ_BACK();
    QFETCH(int, count);
    QFETCH(int, range);
    BuildSeededWorksheet(static_cast<std::int16_t>(std::max(count, 1)), 7,
                         static_cast<std::int16_t>(range));
    Math::ProblemCount = static_cast<std::int16_t>(count);
    const double pointsPerMm = 72 / 25.4;
    const double left = sumvarl::PdfMarginsMm.left() * pointsPerMm;
    const double right = (210 - sumvarl::PdfMarginsMm.right()) * pointsPerMm;
    const sumvarl::DocumentOptions documents[] = {
        {}, {.answerKey = true, .pupilName = {}}, {.answerKey = false, .pupilName = u"张三"}};
    for (const sumvarl::DocumentOptions& options : documents) {
        QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("wide.pdf"), options).result,
                 sumvarl::SaveResult::Saved);
        const QList<printtest::Word> words = printtest::PdfWords(Pdf("wide.pdf"));
        // The count line's end, whole.
        QVERIFY(std::any_of(words.begin(), words.end(), [](const printtest::Word& w) {
            return w.text == QStringLiteral("得分：_______");
        }));
        for (const printtest::Word& w : words) {
            QVERIFY2(w.box.left() >= left && w.box.right() <= right,
                     qPrintable(QStringLiteral("%1 at %2..%3 pt, printable %4..%5 pt")
                                    .arg(w.text)
                                    .arg(w.box.left())
                                    .arg(w.box.right())
                                    .arg(left)
                                    .arg(right)));
        }
    }
}

void AnswerKeyPdfTest::pupilNameStandsUnderTheTitle()
{
    SKIP_WITHOUT_READ_BACK();
    BuildSeededWorksheet(20, 5);
    const sumvarl::DocumentOptions named{.answerKey = false, .pupilName = u"张三"};
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("plain.pdf")).result, sumvarl::SaveResult::Saved);
    QCOMPARE(sumvarl::SaveWorksheetPdf(Pdf("named.pdf"), named).result, sumvarl::SaveResult::Saved);

    QStringList expected = printtest::ExpectedDocument(20);
    expected.insert(1, QStringLiteral("姓名：张三"));
    QCOMPARE(printtest::PdfLines(Pdf("named.pdf")), expected);

    // The rows stand at the same height as without a name.
    const QList<printtest::Word> plain = printtest::PdfWords(Pdf("plain.pdf"));
    QList<printtest::Word> withName = printtest::PdfWords(Pdf("named.pdf"));
    const auto isName = [](const printtest::Word& w) { return w.text.startsWith(u"姓名"); };
    QCOMPARE(std::count_if(withName.begin(), withName.end(), isName), 1);
    withName.removeIf(isName);
    QCOMPARE(withName.size(), plain.size());
    for (qsizetype k = 0; k < plain.size(); ++k) {
        QCOMPARE(withName[k].text, plain[k].text);
        QVERIFY(qAbs(withName[k].box.top() - plain[k].box.top()) < 0.5);
    }
}

void AnswerKeyPdfTest::severalSheetsStartOnTheirOwnPages()
{
    SKIP_WITHOUT_READ_BACK();
    const QStringList names{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    QStringList firstRows;
    {
        sumvarl::WorksheetPdf pdf(Pdf("three.pdf"));
        QVERIFY(pdf.Ok());
        for (qsizetype n = 0; n < names.size(); ++n) {
            BuildSeededWorksheet(12, 100 + std::uint64_t(n));
            QVERIFY(pdf.AddSheet({.answerKey = false, .pupilName = names[n].toStdU16String()}));
            firstRows.append(printtest::ExpectedDocument(12).at(2));
        }
        QCOMPARE(pdf.Sheets(), 3);
        QCOMPARE(pdf.Pages(), 3);
        // Nothing is in place before the commit.
        QVERIFY(!QFileInfo::exists(Pdf("three.pdf")));
        QCOMPARE(pdf.Commit(), sumvarl::SaveResult::Saved);
    }
    QCOMPARE(printtest::PageCount(Pdf("three.pdf")), 3);
    const QList<QStringList> pages = printtest::PdfPages(Pdf("three.pdf"));
    QCOMPARE(pages.size(), 3);
    for (qsizetype n = 0; n < 3; ++n) {
        QCOMPARE(pages[n].value(0), printtest::TitleLine());
        QCOMPARE(pages[n].value(1), QStringLiteral("姓名：") + names[n]);
        QCOMPARE(pages[n].value(3), firstRows[n]);
    }
    QVERIFY(firstRows[0] != firstRows[1] && firstRows[1] != firstRows[2]);
}

void AnswerKeyPdfTest::aFolderThatDoesNotExistLeavesNoFile()
{
    BuildSeededWorksheet(8, 1);
    const QString path = folder_.filePath(QStringLiteral("no/such/folder/x.pdf"));
    QCOMPARE(sumvarl::SaveWorksheetPdf(path).result, sumvarl::SaveResult::CannotCreate);
    QVERIFY(!QFileInfo::exists(path));
}

void AnswerKeyPdfTest::anAbandonedDocumentLeavesTheOldFile()
{
    const QString path = Pdf("kept.pdf");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    BuildSeededWorksheet(8, 1);
    {
        sumvarl::WorksheetPdf pdf(path);
        QVERIFY(pdf.AddSheet({}));
        // Given up without Commit, as a batch run that fails on a later sheet does.
    }
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("old contents"));
    const QStringList left = QDir(folder_.path()).entryList(QDir::Files);
    QCOMPARE(left.filter(QStringLiteral("kept")), QStringList{QStringLiteral("kept.pdf")});
}

QTEST_MAIN(AnswerKeyPdfTest)
#include "answer_key_pdf_test.moc"
