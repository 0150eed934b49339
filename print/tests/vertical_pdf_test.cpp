// 竖式 sheets and keys read back from the PDF, glyph by glyph: the digits of one place stand in
// one column, each quotient digit over its dividend digit, the key's working recomputed from
// the digits read back holds for every problem, nothing leaves the printable area, the sheet
// gives nothing of the working, and with squares every digit stands inside one.

#include "core/Sheet.h"
#include "core/Vertical.h"
#include "print/PainterSurface.h"
#include "print/PrintedWorksheet.h"
#include "print/VerticalSheet.h"
#include "testing/VerticalReadBack.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

using printtest::ReadGlyph;
using printtest::ReadProblem;
using printtest::RowValue;
using sumvarl::VerticalKind;

constexpr double PtPerMm = 72 / 25.4;
constexpr double PageWidthPt = 595.28;
constexpr double PageHeightPt = 841.89;

struct Case
{
    VerticalKind kind;
    sumvarl::Lesson lesson;
};

QList<Case> Cases()
{
    sumvarl::Lesson remainders;
    remainders.remainder = true;
    remainders.remainderZero = true;
    sumvarl::Lesson carrying;
    carrying.carry = sumvarl::CarryRule::Always;
    carrying.borrow = sumvarl::CarryRule::Always;
    return {
        {VerticalKind::TwoDigitAddSubtract, carrying}, {VerticalKind::ThreeDigitAddSubtract, {}},
        {VerticalKind::ManyDigitsByOneDigit, {}},      {VerticalKind::TwoDigitByTwoDigit, {}},
        {VerticalKind::DivideByOneDigit, remainders},  {VerticalKind::DivideByOneDigit, {}},
        {VerticalKind::DivideByTwoDigit, remainders}};
}

sumvarl::Sheet MakeVerticalSheet(const Case& c, int count, std::uint64_t seed)
{
    sumvarl::PartSpec part;
    part.vertical = c.kind;
    part.lesson = c.lesson;
    part.problemCount = static_cast<std::int16_t>(count);
    return sumvarl::MakeSheet({{part}, seed});
}

bool WritePdf(const QString& path, const sumvarl::Sheet& sheet,
              const sumvarl::VerticalOptions& options)
{
    sumvarl::WorksheetPdf pdf(path);
    pdf.AddPages(sumvarl::VerticalSheetPages(sheet, options),
                 sumvarl::VerticalSheetPageCount(sheet, options));
    return pdf.Commit() == sumvarl::SaveResult::Saved;
}

// The columns of a problem's working: centres further apart than a few points are other
// columns; within one, every centre lies within 0.5 pt of the others. Index 0 is the leftmost.
class Columns
{
public:
    explicit Columns(const QList<ReadGlyph>& glyphs)
    {
        QList<double> centres;
        for (const ReadGlyph& g : glyphs) {
            centres.append(g.Centre());
        }
        std::sort(centres.begin(), centres.end());
        for (const double x : centres) {
            if (groups_.isEmpty() || x - groups_.last().last() > 5) {
                groups_.append(QList<double>());
            }
            groups_.last().append(x);
        }
    }

    double WorstSpread() const
    {
        double worst = 0;
        for (const QList<double>& g : groups_) {
            worst = std::max(worst, g.last() - g.first());
        }
        return worst;
    }

    int Of(const ReadGlyph& g) const
    {
        for (qsizetype k = 0; k < groups_.size(); ++k) {
            if (qAbs(groups_[k].first() - g.Centre()) <= 5) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }

private:
    QList<QList<double>> groups_;
};

QList<ReadGlyph> DigitsOf(const QList<ReadGlyph>& row)
{
    QList<ReadGlyph> digits;
    std::copy_if(row.begin(), row.end(), std::back_inserter(digits),
                 [](const ReadGlyph& g) { return g.text.front().isDigit(); });
    return digits;
}

// The answer to the recomputed working, or a message saying where it breaks.
QString CheckColumns(const ReadProblem& p, const sumvarl::model::Problem& problem)
{
    const auto rows = p.Rows();
    if (rows.size() != 3) {
        return QStringLiteral("%1 rows").arg(rows.size());
    }
    const Columns columns(p.digits);
    const long long top = RowValue(rows[0]);
    const long long bottom = RowValue(DigitsOf(rows[1]));
    const long long result = RowValue(rows[2]);
    const bool add = problem.operators[0] == sumvarl::Operation::Add;
    if ((add ? top + bottom : top - bottom) != result || result != problem.result) {
        return QStringLiteral("%1, %2 and %3 do not add up").arg(top).arg(bottom).arg(result);
    }
    const int last = columns.Of(rows[2].last());
    if (columns.Of(rows[0].last()) != last || columns.Of(rows[1].last()) != last) {
        return QStringLiteral("not right-aligned");
    }
    // The carries from the digits read back, against the small digits read back.
    QList<int> expected;
    int carry = 0;
    for (int c = 0; c <= last; ++c) {
        const int sum = sumvarl::Digit(static_cast<int>(top), c) +
                        sumvarl::Digit(static_cast<int>(bottom), c) + carry;
        carry = add && sum >= 10 ? 1 : 0;
        if (carry != 0) {
            expected.append(last - (c + 1));
        }
    }
    QList<int> read;
    for (const ReadGlyph& g : p.small) {
        if (g.text != QStringLiteral("1") || g.box.top() < rows[1].first().box.top()) {
            return QStringLiteral("a small %1 out of place").arg(g.text);
        }
        read.append(columns.Of(g));
    }
    std::sort(read.begin(), read.end(), std::greater<>());
    return read == expected ? QString() : QStringLiteral("carries in the wrong columns");
}

QString CheckProduct(const ReadProblem& p, const sumvarl::model::Problem& problem)
{
    const auto rows = p.Rows();
    if (rows.size() < 3 || DigitsOf(rows[1]).isEmpty()) {
        return QStringLiteral("%1 rows").arg(rows.size());
    }
    const Columns columns(p.digits);
    const QList<ReadGlyph>& top = rows[0];
    const QList<ReadGlyph> bottom = DigitsOf(rows[1]);
    const auto zeros = [](const QList<ReadGlyph>& row) {
        int n = 0;
        while (n + 1 < row.size() && row[row.size() - 1 - n].text == QStringLiteral("0")) {
            ++n;
        }
        return n;
    };
    const int topZeros = zeros(top);
    const int bottomZeros = zeros(bottom);
    // 12 over 3 for 120×30: the zeros outside the columns.
    const int aligned = columns.Of(top[top.size() - 1 - topZeros]);
    if (columns.Of(bottom[bottom.size() - 1 - bottomZeros]) != aligned) {
        return QStringLiteral("the factors' digits are not aligned");
    }
    const long long a = RowValue(top.mid(0, top.size() - topZeros));
    const long long b = RowValue(bottom.mid(0, bottom.size() - bottomZeros));
    long long sum = 0;
    long long place = 1;
    const qsizetype partials = rows.size() - 3;
    if (partials != (b >= 10 ? 2 : 0)) {
        return QStringLiteral("%1 partial products").arg(partials);
    }
    for (qsizetype k = 0; k < partials; ++k, place *= 10) {
        const QList<ReadGlyph>& row = rows[2 + k];
        const long long digit = sumvarl::Digit(static_cast<int>(b), static_cast<int>(k));
        if (RowValue(row) != a * digit || columns.Of(row.last()) != aligned - k) {
            return QStringLiteral("partial product %1 is wrong or misplaced").arg(k + 1);
        }
        sum += RowValue(row) * place;
    }
    const QList<ReadGlyph>& product = rows.last();
    if (partials == 0) {
        sum = a * b;
    }
    if (zeros(product) < topZeros + bottomZeros ||
        columns.Of(product[product.size() - 1 - topZeros - bottomZeros]) != aligned) {
        return QStringLiteral("the product's zeros are not outside the columns");
    }
    const long long result = RowValue(product);
    long long expected = sum;
    for (int z = 0; z < topZeros + bottomZeros; ++z) {
        expected *= 10;
    }
    return result == expected && result == problem.result
               ? QString()
               : QStringLiteral("the product %1 is not %2").arg(result).arg(expected);
}

QString CheckDivision(const ReadProblem& p, const sumvarl::model::Problem& problem)
{
    const auto rows = p.Rows();
    if (rows.size() < 4 || rows.size() % 2 != 0) {
        return QStringLiteral("%1 rows").arg(rows.size());
    }
    const Columns columns(p.digits);
    const auto divisorDigits = static_cast<qsizetype>(sumvarl::DigitCount(problem.operands[1]));
    const QList<ReadGlyph>& quotient = rows[0];
    const QList<ReadGlyph> divisor = rows[1].mid(0, divisorDigits);
    const QList<ReadGlyph> dividend = rows[1].mid(divisorDigits);
    const long long d = RowValue(divisor);
    // Digits of the dividend and of the quotient by column.
    QMap<int, int> dividendAt;
    QMap<int, int> quotientAt;
    for (const ReadGlyph& g : dividend) {
        dividendAt[columns.Of(g)] = g.text.toInt();
    }
    for (const ReadGlyph& g : quotient) {
        const int column = columns.Of(g);
        if (!dividendAt.contains(column)) {
            return QStringLiteral("a quotient digit over no digit of the dividend");
        }
        quotientAt[column] = g.text.toInt();
    }
    if (quotientAt.lastKey() != dividendAt.lastKey()) {
        return QStringLiteral("the quotient does not end over the dividend's last digit");
    }
    // Step by step from the rows under the dividend.
    int column = columns.Of(rows[2].last());
    long long number = 0;
    for (auto it = dividendAt.begin(); it != dividendAt.end() && it.key() <= column; ++it) {
        number = number * 10 + it.value();
    }
    qsizetype row = 2;
    while (true) {
        if (column != quotientAt.firstKey() && row == 2) {
            return QStringLiteral("the first quotient digit is not over the first product");
        }
        const long long product = RowValue(rows[row]);
        const long long left = number - product;
        if (product != quotientAt.value(column) * d || left < 0 || left >= d ||
            columns.Of(rows[row].last()) != column) {
            return QStringLiteral("step at column %1: %2 − %3")
                .arg(column)
                .arg(number)
                .arg(product);
        }
        const QList<ReadGlyph>& next = rows[row + 1];
        const int nextColumn = columns.Of(next.last());
        long long expected = left;
        for (int c = column + 1; c <= nextColumn; ++c) {
            expected = expected * 10 + dividendAt.value(c);
            if (c < nextColumn && quotientAt.value(c) != 0) {
                return QStringLiteral("a digit brought down past a quotient digit not 0");
            }
        }
        if (RowValue(next) != expected) {
            return QStringLiteral("%1 brought down as %2").arg(expected).arg(RowValue(next));
        }
        if (row + 2 >= rows.size()) { // the remainder
            const bool last = nextColumn == dividendAt.lastKey();
            const bool zeroTail = nextColumn == column || quotientAt.value(nextColumn) == 0;
            return last && zeroTail && expected < d && expected == problem.remainder &&
                           RowValue(quotient) == problem.result
                       ? QString()
                       : QStringLiteral("the remainder %1 or the quotient is wrong").arg(expected);
        }
        number = expected;
        column = nextColumn;
        row += 2;
    }
}

QString CheckWorking(const ReadProblem& p, const sumvarl::model::Problem& problem)
{
    const Columns columns(p.digits);
    if (columns.WorstSpread() > 0.5) {
        return QStringLiteral("a column spreads %1 pt").arg(columns.WorstSpread());
    }
    switch (problem.operators[0]) {
    case sumvarl::Operation::Add:
    case sumvarl::Operation::Subtract:
        return CheckColumns(p, problem);
    case sumvarl::Operation::Multiply:
        return CheckProduct(p, problem);
    case sumvarl::Operation::Divide:
        return CheckDivision(p, problem);
    }
    return {};
}

bool InsidePrintableArea(const QString& pdf)
{
    const QRectF area(1 * PtPerMm, 5 * PtPerMm, PageWidthPt - 2 * PtPerMm,
                      PageHeightPt - 10 * PtPerMm);
    const QList<printtest::Word> words = printtest::PdfWords(pdf);
    return !words.isEmpty() && std::all_of(words.begin(), words.end(),
                                           [&](const auto& w) { return area.contains(w.box); });
}

// Page 1 at 150 dpi.
QImage Rendered(const QString& pdf, const QString& folder)
{
    QProcess ppm;
    const QString stem = folder + QStringLiteral("/page");
    ppm.start(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-f"),
               QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
               QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    if (!ppm.waitForFinished(60000) || ppm.exitCode() != 0) {
        return {};
    }
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// From the glyph's box outwards to the first ink in a direction, in millimetres; -1 for none
// within two squares.
double InkFrom(const QImage& page, QPointF from, QPointF step)
{
    constexpr double PxPerMm = 150 / 25.4;
    QPointF at = from;
    for (int n = 0; n < static_cast<int>(20 * PxPerMm); ++n, at += step) {
        const QPoint px = at.toPoint();
        if (!page.rect().contains(px)) {
            return -1;
        }
        if (qGray(page.pixel(px)) < 235) {
            return n / PxPerMm;
        }
    }
    return -1;
}

} // namespace

class VerticalPdfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::InstallFontSubstitutions(); }
    void keysWorkOutOnEverySheet();
    void everyDigitStandsInItsSquare();
};

void VerticalPdfTest::keysWorkOutOnEverySheet()
{
    SKIP_WITHOUT_READ_BACK();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    int checked = 0;
    for (const Case& c : Cases()) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            const int perPage = sumvarl::VerticalPerPageChoices.at(seed % 3);
            const sumvarl::Sheet sheet = MakeVerticalSheet(c, perPage + 2, seed);
            sumvarl::VerticalOptions options;
            options.answerKey = true;
            options.paper.perPage = perPage;
            options.paper.grid = seed == 2;
            options.paper.checkBox = seed != 1;
            const QString pdf = folder.filePath(QStringLiteral("key%1.pdf").arg(seed));
            QVERIFY(WritePdf(pdf, sheet, options));
            QVERIFY2(InsidePrintableArea(pdf), qPrintable(pdf));
            const QList<ReadProblem> read = printtest::ReadVerticalProblems(pdf);
            QCOMPARE(read.size(), static_cast<qsizetype>(sheet.problems.size()));
            for (qsizetype i = 0; i < read.size(); ++i) {
                const sumvarl::model::Problem& problem =
                    sheet.problems[static_cast<std::size_t>(i)];
                QCOMPARE(read[i].number, i + 1);
                QCOMPARE(read[i].page, static_cast<int>(i / perPage) + 1);
                QCOMPARE(read[i].across, QString::fromStdU16String(sumvarl::TextsOf(problem).key));
                const QString why = CheckWorking(read[i], problem);
                QVERIFY2(why.isEmpty(), qPrintable(read[i].across + QStringLiteral(": ") + why));
                ++checked;
            }
        }
    }
    QVERIFY(checked >= 100);
}

void VerticalPdfTest::everyDigitStandsInItsSquare()
{
    SKIP_WITHOUT_READ_BACK();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    constexpr double PxPerPt = 150.0 / 72;
    for (const int perPage : sumvarl::VerticalPerPageChoices) {
        const double square = perPage == 4 ? 10 : perPage == 6 ? 9 : 8;
        for (const Case& c : {Cases().first(), Cases().last()}) {
            const sumvarl::Sheet sheet = MakeVerticalSheet(c, perPage, 5);
            for (const bool grid : {true, false}) {
                sumvarl::VerticalOptions options;
                options.paper.grid = grid;
                options.paper.perPage = perPage;
                const QString pdf = folder.filePath(QStringLiteral("grid.pdf"));
                QVERIFY(WritePdf(pdf, sheet, options));
                const QImage page = Rendered(pdf, folder.path());
                QVERIFY(!page.isNull());
                int inSquares = 0;
                int digits = 0;
                for (const ReadProblem& p : printtest::ReadVerticalProblems(pdf)) {
                    // The sheet poses the problem set out, and gives nothing of the working.
                    QVERIFY(p.across.endsWith(QStringLiteral("＝")) && p.small.isEmpty() &&
                            p.Rows().size() <= 2);
                    for (const ReadGlyph& g : p.digits) {
                        const QRectF box(g.box.topLeft() * PxPerPt, g.box.bottomRight() * PxPerPt);
                        const QPointF mid = box.center();
                        const double left = InkFrom(page, {box.left() - 1, mid.y()}, {-1, 0});
                        const double right = InkFrom(page, {box.right() + 1, mid.y()}, {1, 0});
                        const double up = InkFrom(page, {mid.x(), box.top() - 1}, {0, -1});
                        const double down = InkFrom(page, {mid.x(), box.bottom() + 1}, {0, 1});
                        const double width = left + right + box.width() / (150 / 25.4);
                        const double height = up + down + box.height() / (150 / 25.4);
                        ++digits;
                        if (left >= 0 && right >= 0 && up >= 0 && down >= 0 &&
                            qAbs(width - square) < 0.8 && qAbs(height - square) < 0.8) {
                            ++inSquares;
                        }
                    }
                }
                QVERIFY(digits > 0);
                // With squares every digit is in one; without, none is boxed in.
                QCOMPARE(inSquares, grid ? digits : 0);
            }
        }
    }
}

QTEST_MAIN(VerticalPdfTest)
#include "vertical_pdf_test.moc"
