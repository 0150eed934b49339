#include "core/NumberText.h"
#include "print/PainterSurface.h"
#include "testing/PrintTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using sumvarl::Ending;
using sumvarl::PainterSurface;
using sumvarl::Tab;

namespace {

constexpr double TwipsPerInch = 1440.0;

// An image whose logical resolution is dpiX by dpiY.
QImage ImageAt(int dpiX, int dpiY, QSize size = {400, 300})
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    image.fill(Qt::white);
    return image;
}

QFont Face(double points, bool bold = false)
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // As the surface sets its faces, so that both measure with the same hinting.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

bool Near(double a, double b, double tolerance = 1e-6)
{
    return std::abs(a - b) <= tolerance * std::max(1.0, std::abs(b));
}

// The bounding box of the pixels that are not the given background.
QRect InkBox(const QImage& image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

} // namespace

class PainterSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::InstallFontSubstitutions(); }

    void metricsAreTheDevicesOwn_data();
    void metricsAreTheDevicesOwn();
    void twipsBecomeDevicePixels_data();
    void twipsBecomeDevicePixels();
    void textStandsWithItsTopOnTheLine();
    void clsFillsTheWholeDeviceWithTheBackground();
    void screenSurfaceNeverPages();
    void newPageExactlyWhenTheLineWouldNotFit_data();
    void newPageExactlyWhenTheLineWouldNotFit();
    void lineEndsAloneNeverStartAPage();
    void lineTallerThanThePageGetsOnePageEach();
    void chineseFacesResolveToInstalledCjkFonts_data();
    void chineseFacesResolveToInstalledCjkFonts();
};

void PainterSurfaceTest::metricsAreTheDevicesOwn_data()
{
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("screen 96 dpi, 12 pt") << 96 << 96 << 12.0 << false;
    QTest::newRow("screen 96 dpi, 16 pt bold") << 96 << 96 << 16.0 << true;
    QTest::newRow("300 dpi, 24 pt") << 300 << 300 << 24.0 << false;
    QTest::newRow("600 dpi, 16 pt") << 600 << 600 << 16.0 << false;
    QTest::newRow("300 x 150 dpi, 12 pt") << 300 << 150 << 12.0 << false;
    QTest::newRow("72 dpi, 10.5 pt") << 72 << 72 << 10.5 << false;
}

void PainterSurfaceTest::metricsAreTheDevicesOwn()
{
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QImage image = ImageAt(dpiX, dpiY);
    QCOMPARE(image.logicalDpiX(), dpiX);
    QCOMPARE(image.logicalDpiY(), dpiY);

    QPainter painter(&image);
    PainterSurface surface(painter);
    surface.SetFontName(u"宋体");
    surface.SetFontSize(points);
    surface.SetFontBold(bold);
    const QFontMetricsF metrics(Face(points, bold), &image);
    const double column = metrics.averageCharWidth() * TwipsPerInch / dpiX;
    const double line = metrics.height() * TwipsPerInch / dpiY;
    QVERIFY(column > 0);

    // Tab(11) starts ten columns in; a line end goes down one line height.
    surface.Print({Tab{11}}, Ending::Open);
    QVERIFY2(
        Near(surface.CurrentX(), 10 * column),
        qPrintable(QStringLiteral("x %1, expected %2").arg(surface.CurrentX()).arg(10 * column)));
    surface.EndLine();
    QVERIFY2(Near(surface.CurrentY(), line),
             qPrintable(QStringLiteral("y %1, expected %2").arg(surface.CurrentY()).arg(line)));

    // Text moves CurrentX by its advance on this device.
    const std::u16string_view text = u"题目数：12＋7";
    surface.Print({text}, Ending::Open);
    const double width =
        metrics.horizontalAdvance(QString::fromUtf16(text.data(), qsizetype(text.size())));
    QVERIFY(Near(surface.CurrentX(), width * TwipsPerInch / dpiX));
}

void PainterSurfaceTest::twipsBecomeDevicePixels_data()
{
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::newRow("96 dpi") << 96 << 96;
    QTest::newRow("1200 dpi") << 1200 << 1200;
    QTest::newRow("300 x 150 dpi") << 300 << 150;
}

void PainterSurfaceTest::twipsBecomeDevicePixels()
{
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QImage image = ImageAt(dpiX, dpiY, {8, 8});
    QPainter painter(&image);
    const PainterSurface surface(painter);
    QVERIFY(Near(surface.TwipsToPixelsX(1440), dpiX));
    QVERIFY(Near(surface.TwipsToPixelsY(1440), dpiY));
    QVERIFY(Near(surface.TwipsToPixelsX(2500), 2500.0 * dpiX / 1440));
    QVERIFY(Near(surface.TwipsToPixelsY(720), dpiY / 2.0));
    QCOMPARE(surface.TwipsToPixelsX(0), 0.0);
}

void PainterSurfaceTest::textStandsWithItsTopOnTheLine()
{
    const int dpi = 150;
    QImage image = ImageAt(dpi, dpi);
    const QRgb white = qRgb(255, 255, 255);
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        surface.SetFontName(u"宋体");
        surface.SetFontSize(24);
        surface.EndLine();
        surface.SetCurrentX(1440);
        surface.Print({u"HH"}, Ending::Open);
    }
    const QFontMetricsF metrics(Face(24), &image);
    const double top = metrics.height();
    const QRect ink = InkBox(image, white);
    QVERIFY(!ink.isEmpty());
    // One inch in, give or take the glyph's side bearing.
    QVERIFY2(ink.left() >= dpi - 1 && ink.left() <= dpi + metrics.averageCharWidth() / 2,
             qPrintable(QStringLiteral("left %1").arg(ink.left())));
    // Inside the second line: below its top, capital letters end on the baseline.
    QVERIFY2(ink.top() >= top - 1,
             qPrintable(QStringLiteral("top %1 < %2").arg(ink.top()).arg(top)));
    QVERIFY2(ink.bottom() <= top + metrics.ascent() + 1,
             qPrintable(QStringLiteral("bottom %1").arg(ink.bottom())));
}

void PainterSurfaceTest::clsFillsTheWholeDeviceWithTheBackground()
{
    QImage image = ImageAt(96, 96, {120, 80});
    image.fill(Qt::red);
    const QColor background(250, 240, 200);
    QPainter painter(&image);
    // A transformed painter must not leave a margin unfilled.
    painter.translate(30, 20);
    painter.scale(0.5, 0.5);
    PainterSurface surface(painter, nullptr, background);
    surface.SetFontName(u"宋体");
    surface.SetFontSize(12);
    surface.Print({u"12＋5＝"}, Ending::Line);
    QVERIFY(surface.CurrentY() > 0);
    surface.Cls();
    painter.end();
    QCOMPARE(surface.CurrentX(), 0.0);
    QCOMPARE(surface.CurrentY(), 0.0);
    QCOMPARE(InkBox(image, background.rgb()), QRect());
}

void PainterSurfaceTest::screenSurfaceNeverPages()
{
    QImage image = ImageAt(96, 96, {50, 50});
    QPainter painter(&image);
    PainterSurface surface(painter);
    surface.SetFontSize(12);
    for (int i = 0; i < 20; ++i) {
        surface.Print({u"1＋1＝"}, Ending::Line);
    }
    QVERIFY(surface.CurrentY() > surface.PageHeightTwips());
    QCOMPARE(surface.PagesStarted(), 1);
}

void PainterSurfaceTest::newPageExactlyWhenTheLineWouldNotFit_data()
{
    QTest::addColumn<int>("resolution");
    QTest::addColumn<double>("points");
    QTest::addColumn<double>("marginMm");
    QTest::newRow("1200 dpi, 16 pt") << 1200 << 16.0 << 15.0;
    QTest::newRow("300 dpi, 24 pt") << 300 << 24.0 << 25.0;
    QTest::newRow("600 dpi, 12 pt") << 600 << 12.0 << 5.0;
}

void PainterSurfaceTest::newPageExactlyWhenTheLineWouldNotFit()
{
    SKIP_WITHOUT_READ_BACK();
    QFETCH(int, resolution);
    QFETCH(double, points);
    QFETCH(double, marginMm);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("pages.pdf"));

    QPdfWriter writer(path);
    writer.setResolution(resolution);
    const QPageLayout layout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                             QMarginsF(marginMm, marginMm, marginMm, marginMm),
                             QPageLayout::Millimeter);
    QVERIFY(writer.setPageLayout(layout));
    const double pageTwips =
        layout.paintRectPixels(resolution).height() * TwipsPerInch / resolution;

    QPainter painter(&writer);
    int lines = 0;
    {
        PainterSurface surface(painter, &writer);
        surface.SetFontName(u"宋体");
        surface.SetFontSize(points);
        QVERIFY(Near(surface.PageHeightTwips(), pageTwips, 1e-3));
        const double line =
            QFontMetricsF(Face(points), &writer).height() * TwipsPerInch / resolution;

        int pages = 1;
        int breaks = 0;
        while (pages < 3 || lines % 7 != 0) {
            ++lines;
            const double before = surface.CurrentY();
            const bool mustBreak = before > 0 && before + line > pageTwips;
            surface.Print({u"第", sumvarl::DecimalText(lines), u"行"}, Ending::Open);
            const double placed = surface.CurrentY();
            if (mustBreak) {
                ++pages;
                ++breaks;
                QCOMPARE(placed, 0.0);
            } else {
                QCOMPARE(placed, before);
            }
            QCOMPARE(surface.PagesStarted(), pages);
            QVERIFY(placed + line <= pageTwips + 1e-6);
            surface.EndLine();
        }
        QVERIFY(breaks >= 2);
        QVERIFY(!surface.PageFailed());
    }
    QVERIFY(painter.end());

    // Every line on exactly one page, in order; each page holds as many lines as fit.
    const QList<QStringList> pages = printtest::PdfPages(path);
    QVERIFY(pages.size() >= 3);
    QStringList all;
    for (const QStringList& page : pages) {
        all.append(page);
    }
    QCOMPARE(all.size(), lines);
    for (int i = 1; i <= lines; ++i) {
        QCOMPARE(all[i - 1], QStringLiteral("第%1行").arg(i));
    }
    for (qsizetype p = 0; p + 1 < pages.size(); ++p) {
        QCOMPARE(pages[p].size(), pages[0].size());
    }
}

void PainterSurfaceTest::lineEndsAloneNeverStartAPage()
{
    QTemporaryDir folder;
    QPdfWriter writer(folder.filePath(QStringLiteral("blank.pdf")));
    QPainter painter(&writer);
    PainterSurface surface(painter, &writer);
    surface.SetFontSize(16);
    for (int i = 0; i < 300; ++i) {
        surface.EndLine();
        surface.Print({u""}, Ending::Line);
    }
    QVERIFY(surface.CurrentY() > 5 * surface.PageHeightTwips());
    QCOMPARE(surface.PagesStarted(), 1);
    // The first text after them goes to the top of the next page, once.
    surface.Print({u"1＋1＝"}, Ending::Open);
    QCOMPARE(surface.PagesStarted(), 2);
    QCOMPARE(surface.CurrentY(), 0.0);
}

void PainterSurfaceTest::lineTallerThanThePageGetsOnePageEach()
{
    QTemporaryDir folder;
    QPdfWriter writer(folder.filePath(QStringLiteral("tall.pdf")));
    writer.setResolution(300);
    QPainter painter(&writer);
    PainterSurface surface(painter, &writer);
    surface.SetFontName(u"宋体");
    surface.SetFontSize(1000);
    surface.Print({u"1"}, Ending::Line);
    QCOMPARE(surface.PagesStarted(), 1);
    QVERIFY(surface.CurrentY() > surface.PageHeightTwips());
    surface.Print({u"2"}, Ending::Line);
    surface.Print({u"3"}, Ending::Open);
    QCOMPARE(surface.PagesStarted(), 3);
}

void PainterSurfaceTest::chineseFacesResolveToInstalledCjkFonts_data()
{
    QTest::addColumn<QString>("face");
    QTest::newRow("宋体") << QStringLiteral("宋体");
    QTest::newRow("隶书") << QStringLiteral("隶书");
    QTest::newRow("System") << QStringLiteral("System");
}

void PainterSurfaceTest::chineseFacesResolveToInstalledCjkFonts()
{
    QFETCH(QString, face);
    const QStringList installed = QFontDatabase::families();
    const QString resolved = QFontInfo(QFont(face)).family();
    QVERIFY2(installed.contains(resolved), qPrintable(resolved));
    QVERIFY2(QFontDatabase::writingSystems(resolved).contains(QFontDatabase::SimplifiedChinese),
             qPrintable(face + QStringLiteral(" -> ") + resolved));
    if (!installed.contains(face, Qt::CaseInsensitive)) {
        QVERIFY(!QFont::substitutes(face).isEmpty());
    } else {
        QCOMPARE(resolved, face);
    }
}

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
