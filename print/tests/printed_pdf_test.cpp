// The printed worksheet as it comes out of the printer engine: rendered to PDF by the same
// QPrinter code path as a real job and read back with pdftotext.

#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PainterSurface.h"
#include "print/PrinterJob.h"
#include "testing/PrintTestSupport.h"
#include "testing/SheetSettings.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/WorksheetBuilder.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Title = printtest::TitleLine();

using printtest::CountLine;
using printtest::ExpectedDocument;

QString StripSpaces(const std::u16string& text)
{
    QString s = QString::fromStdU16String(text);
    s.remove(QLatin1Char(' '));
    return s;
}

// The points-per-device-pixel scale and a 16-point "宋体" measured like the printer does.
struct PrinterMeasure
{
    QPrinter printer{QPrinter::HighResolution};
    double PointsPerPixel() const { return 72.0 / printer.resolution(); }
    double LineHeightPoints(double size) const
    {
        QFont font(QStringLiteral("宋体"));
        font.setPointSizeF(size);
        return QFontMetricsF(font, &printer).height() * PointsPerPixel();
    }
    double AdvancePoints(const QString& text, double size) const
    {
        QFont font(QStringLiteral("宋体"));
        font.setPointSizeF(size);
        return QFontMetricsF(font, &printer).horizontalAdvance(text) * PointsPerPixel();
    }
};

} // namespace

class PrintedPdfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QVERIFY(folder_.isValid()); }

    void headingTextsInOrder();
    void tenProblemsGiveRowsOfFourFourAndTwo();
    void hundredProblemsRunOverPagesWithNothingLostOrRepeated();
    void noProblemsGiveTheHeadingOnly();
    void fillInProblemsShowTheWideMarkerAndTheirResult();
    void builtWorksheetPrintsInTableOrderWithoutSummary();
    void printingTwiceGivesTheSameDocument();
    void aPrinterThatCannotOpenIsReported();

private:
    QString Pdf(const char* name) const { return folder_.filePath(QLatin1String(name)); }

    QTemporaryDir folder_;
};

void PrintedPdfTest::initTestCase()
{
    sumvarl::InstallFontSubstitutions();
    // Other CJK fonts extract some characters as compatibility forms; the text checks need the
    // one that round-trips.
    QCOMPARE(QFontInfo(QFont(QStringLiteral("宋体"))).family(), QStringLiteral("AR PL UMing CN"));
}

void PrintedPdfTest::headingTextsInOrder()
{
    SKIP_WITHOUT_READ_BACK();
    printtest::SetCountingWorksheet(10);
    QVERIFY(printtest::PrintToPdf(Pdf("heading.pdf")));
    const QStringList lines = printtest::PdfLines(Pdf("heading.pdf"));
    QVERIFY(lines.size() >= 2);
    QCOMPARE(lines[0], Title);
    QCOMPARE(lines[1], CountLine(10));

    // The title stands 2500 twips in and the count line 3500 twips in from the printable area.
    const QList<printtest::Word> words = printtest::PdfWords(Pdf("heading.pdf"));
    QVERIFY(!words.isEmpty());
    const double left = printtest::MarginMm / 25.4 * 72;
    const double right = 210 / 25.4 * 72 - left;
    for (const printtest::Word& w : words) {
        QVERIFY2(w.box.right() <= right, qPrintable(w.text));
    }
    QCOMPARE(words[0].text, QStringLiteral("Tovrin"));
    QVERIFY(qAbs(words[0].box.left() - (left + 2500 / 20.0)) < 2);
    const auto count = std::find_if(words.begin(), words.end(), [](const printtest::Word& w) {
        return w.text.startsWith(QStringLiteral("题目数"));
    });
    QVERIFY(count != words.end());
    QVERIFY(qAbs(count->box.left() - (left + 3500 / 20.0)) < 2);
    QVERIFY(count->box.top() > words[0].box.bottom());
}

void PrintedPdfTest::tenProblemsGiveRowsOfFourFourAndTwo()
{
    SKIP_WITHOUT_READ_BACK();
    printtest::SetCountingWorksheet(10);
    QVERIFY(printtest::PrintToPdf(Pdf("ten.pdf")));
    const QList<QStringList> pages = printtest::PdfPages(Pdf("ten.pdf"));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0], ExpectedDocument(10));
    const QString equals = QString::fromStdU16String(std::u16string(Math::EqualsSign));
    QCOMPARE(pages[0][2].count(equals), 4);
    QCOMPARE(pages[0][3].count(equals), 4);
    QCOMPARE(pages[0][4].count(equals), 2);
}

void PrintedPdfTest::hundredProblemsRunOverPagesWithNothingLostOrRepeated()
{
    SKIP_WITHOUT_READ_BACK();
    printtest::SetCountingWorksheet(100);
    // Deep top and bottom margins: a hundred problems would fit on one full A4 page.
    const double margin = 40;
    QVERIFY(printtest::PrintToPdf(Pdf("hundred.pdf"),
                                  {printtest::MarginMm, margin, printtest::MarginMm, margin}));
    const QList<QStringList> pages = printtest::PdfPages(Pdf("hundred.pdf"));
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    QStringList all;
    for (const QStringList& page : pages) {
        all += page;
    }
    QCOMPARE(all, ExpectedDocument(100));
    // The heading is printed once, at the top of the first page.
    QCOMPARE(all.count(Title), 1);
    QCOMPARE(pages[0].first(), Title);

    // Nothing below the printable area, and a page ends only when the next row would not fit.
    const QList<printtest::Word> words = printtest::PdfWords(Pdf("hundred.pdf"));
    const double bottom = (297 - margin) / 25.4 * 72;
    const PrinterMeasure measure;
    const double rowPitch = 2 * measure.LineHeightPoints(12);
    std::vector<double> lowest(pages.size(), 0.0);
    for (const printtest::Word& w : words) {
        QVERIFY2(w.box.bottom() <= bottom + 1, qPrintable(w.text));
        QVERIFY(w.page >= 1 && w.page <= pages.size());
        lowest[std::size_t(w.page - 1)] = std::max(lowest[std::size_t(w.page - 1)], w.box.bottom());
    }
    for (std::size_t p = 0; p + 1 < lowest.size(); ++p) {
        QVERIFY2(bottom - lowest[p] < rowPitch + 1,
                 qPrintable(QStringLiteral("page %1 ends %2 pt above the margin")
                                .arg(p + 1)
                                .arg(bottom - lowest[p])));
    }
}

void PrintedPdfTest::noProblemsGiveTheHeadingOnly()
{
    SKIP_WITHOUT_READ_BACK();
    printtest::SetCountingWorksheet(0);
    QVERIFY(printtest::PrintToPdf(Pdf("zero.pdf")));
    const QList<QStringList> pages = printtest::PdfPages(Pdf("zero.pdf"));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0], (QStringList{Title, CountLine(0)}));
}

void PrintedPdfTest::fillInProblemsShowTheWideMarkerAndTheirResult()
{
    SKIP_WITHOUT_READ_BACK();
    const std::u16string plus(Math::PlusSign), minus(Math::MinusSign);
    printtest::SetWorksheet({{u"12", plus, u"5", u"17", 1},
                             {u"12", minus, u"5", u"7", 2},
                             {u"3", plus, u"4", u"7", 0},
                             {u"6", minus, u"2", u"4", 0},
                             {u"40", minus, u"30", u"10", 2}},
                            5);
    QVERIFY(printtest::PrintToPdf(Pdf("blanks.pdf")));
    const QStringList lines = printtest::PdfLines(Pdf("blanks.pdf"));
    QCOMPARE(lines.mid(2), (QStringList{QStringLiteral("()＋5＝1712－()＝73＋4＝6－2＝"),
                                        QStringLiteral("40－()＝10")}));

    // pdftotext does not keep spaces, so measure them: the gap inside each marker is the
    // advance of two spaces of the 16-point font.
    const QList<printtest::Word> words = printtest::PdfWords(Pdf("blanks.pdf"));
    const PrinterMeasure measure;
    const double twoSpaces = measure.AdvancePoints(QStringLiteral("  "), 16);
    QVERIFY(twoSpaces > 0);
    int markers = 0;
    for (qsizetype k = 0; k + 1 < words.size(); ++k) {
        const printtest::Word& open = words[k];
        const printtest::Word& next = words[k + 1];
        if (!open.text.endsWith(QLatin1Char('(')) || !next.text.startsWith(QLatin1Char(')'))) {
            continue;
        }
        ++markers;
        const double gap = next.box.left() - open.box.right();
        QVERIFY2(qAbs(gap - twoSpaces) < 0.15 * twoSpaces,
                 qPrintable(QStringLiteral("gap %1 pt, two spaces %2 pt").arg(gap).arg(twoSpaces)));
    }
    QCOMPARE(markers, 3);
}

void PrintedPdfTest::builtWorksheetPrintsInTableOrderWithoutSummary()
{
    SKIP_WITHOUT_READ_BACK();
    sumvarl::testing::UseSettings(sumvarl::testing::AllOperations(40, 50));
    sumvarl::ClockRandom random(20240601, [] { return std::uint64_t{42}; });
    sumvarl::BuildHooks hooks;
    hooks.random = &random;
    sumvarl::FillWorksheetTable(hooks);
    int blanks = 0;
    for (int i = 1; i <= 40; ++i) {
        QVERIFY(!Math::WorksheetTable.OperatorText[std::size_t(i)].empty());
        blanks += Math::WorksheetTable.BlankKind[std::size_t(i)] != 0;
    }
    QVERIFY(blanks > 0 && blanks < 40);

    QVERIFY(printtest::PrintToPdf(Pdf("built.pdf")));
    QStringList expected{Title, CountLine(40)};
    for (int i = 1; i <= 40; ++i) {
        if ((i - 1) % 4 == 0) {
            expected.append(QString());
        }
        expected.last() +=
            StripSpaces(sumvarl::ItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer));
    }
    const QStringList lines = printtest::PdfLines(Pdf("built.pdf"));
    QCOMPARE(lines, expected);
    const QString text = lines.join(QLatin1Char('\n'));
    QVERIFY(!text.contains(QStringLiteral("其中")));
    QVERIFY(!text.contains(QStringLiteral("加法")));
}

void PrintedPdfTest::printingTwiceGivesTheSameDocument()
{
    SKIP_WITHOUT_READ_BACK();
    printtest::SetCountingWorksheet(37);
    Math::WorksheetTable.BlankKind[5] = 1;
    Math::WorksheetTable.BlankKind[30] = 2;
    const printtest::TableCopy before = printtest::CopyTable();
    QVERIFY(printtest::PrintToPdf(Pdf("first.pdf")));
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
    QVERIFY(printtest::PrintToPdf(Pdf("second.pdf")));
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));

    const QString first =
        printtest::RunPdfToText({QStringLiteral("-layout"), Pdf("first.pdf"), QStringLiteral("-")});
    const QString second = printtest::RunPdfToText(
        {QStringLiteral("-layout"), Pdf("second.pdf"), QStringLiteral("-")});
    QVERIFY(first.contains(Title.left(6)));
    QCOMPARE(second, first);
    QCOMPARE(printtest::PdfWords(Pdf("second.pdf")).size(),
             printtest::PdfWords(Pdf("first.pdf")).size());
}

void PrintedPdfTest::aPrinterThatCannotOpenIsReported()
{
    printtest::SetCountingWorksheet(8);
    const printtest::TableCopy before = printtest::CopyTable();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder_.filePath(QStringLiteral("no/such/folder/x.pdf")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    QCOMPARE(sumvarl::PrintWorksheetOn(printer), sumvarl::PrintResult::CannotOpen);
    QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
}

QTEST_MAIN(PrintedPdfTest)
#include "printed_pdf_test.moc"
