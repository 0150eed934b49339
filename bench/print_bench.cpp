// Printing a 200-problem worksheet to PDF, against the bare QPainter drawing of the same texts.
//
//   build/dev/bench/sumvarl_print_bench --benchmark_repetitions=9
//       --benchmark_report_aggregates_only=true   (one command line)
//
// BM_PrintWorksheet200ToPdf      the whole job: QPrinter, our surface, PrintWorksheetOn
// BM_BaselineDrawing200ToPdf     the same strings, fonts and page breaks drawn at positions
//                                computed beforehand, on the same kind of printer
// BM_EmptyPdfJob                 begin() and end() of a job with nothing drawn
// BM_PrintWorksheet200ToImage    our surface on a raster image: text layout and rasterising,
//                                without the PDF engine

#include "bench/BenchMain.h"
#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PainterSurface.h"
#include "print/PrinterJob.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/WorksheetBuilder.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr double TwipsPerInch = 1440.0;

// Fills a 200-problem worksheet table once, from a fixed seed, with a share of fill-in problems.
void BuildTable()
{
    static bool built = false;
    if (built) {
        return;
    }
    Math::ResetState();
    Math::CumulativeWeight = {25, 50, 75, 100, 0};
    Math::WeightTotal = 100;
    Math::NumberRange = 100;
    Math::ProblemCount = 200;
    Math::FillBlankOn = 1;
    Math::FillBlankPercent = 20;
    sumvarl::ClockRandom random(7, [] { return std::uint64_t{1}; });
    sumvarl::BuildHooks hooks;
    hooks.random = &random;
    sumvarl::FillWorksheetTable(hooks);
    built = true;
}

void SetUpPdf(QPrinter& printer, const QTemporaryDir& folder)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("bench.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
}

// What the baseline draws: each text with its font and device position, and where a page starts.
struct DrawCall
{
    QFont font;
    QPointF position;
    QString text;
    bool newPageFirst = false;
};

// Records the document in device pixels of the given printer, measuring as the painter surface
// does, so that the baseline draws the very texts at (nearly) the same places.
class CapturingSurface final : public sumvarl::PrintSurface
{
public:
    explicit CapturingSurface(QPrinter& printer)
        : device_(printer), dpiX_(printer.logicalDpiX()), dpiY_(printer.logicalDpiY()),
          pageTwips_(printer.height() * TwipsPerInch / dpiY_), metrics_(font_, &printer)
    {
        FontChanged();
    }

    std::vector<DrawCall> calls;

protected:
    double ColumnWidth() const override
    {
        return metrics_.averageCharWidth() * TwipsPerInch / dpiX_;
    }
    double LineHeight() const override { return metrics_.height() * TwipsPerInch / dpiY_; }
    double TextWidth(std::u16string_view text) const override
    {
        return metrics_.horizontalAdvance(QString::fromUtf16(text.data(), qsizetype(text.size()))) *
               TwipsPerInch / dpiX_;
    }
    void DrawText(double x, double y, std::u16string_view text) override
    {
        calls.push_back(
            {font_, QPointF(x * dpiX_ / TwipsPerInch, y * dpiY_ / TwipsPerInch + metrics_.ascent()),
             QString::fromUtf16(text.data(), qsizetype(text.size())), pendingPage_});
        pendingPage_ = false;
    }
    void Clear() override {}
    void FontChanged() override
    {
        QFont font(QString::fromStdU16String(Font().name));
        font.setPointSizeF(Font().size);
        font.setBold(Font().bold);
        font.setUnderline(Font().underline);
        font_ = QFont(font, &device_);
        metrics_ = QFontMetricsF(font_, &device_);
    }
    double PlaceLine(double y) override
    {
        if (y > 0 && y + LineHeight() > pageTwips_) {
            pendingPage_ = true;
            return 0;
        }
        return y;
    }

private:
    QPrinter& device_;
    double dpiX_;
    double dpiY_;
    double pageTwips_;
    QFont font_;
    QFontMetricsF metrics_;
    bool pendingPage_ = false;
};

void BM_PrintWorksheet200ToPdf(benchmark::State& state)
{
    BuildTable();
    QTemporaryDir folder;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdf(printer, folder);
        if (sumvarl::PrintWorksheetOn(printer) != sumvarl::PrintResult::Printed) {
            state.SkipWithError("printing failed");
            break;
        }
    }
}
BENCHMARK(BM_PrintWorksheet200ToPdf)->Unit(benchmark::kMillisecond);

void BM_BaselineDrawing200ToPdf(benchmark::State& state)
{
    BuildTable();
    QTemporaryDir folder;
    std::vector<DrawCall> calls;
    {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdf(printer, folder);
        CapturingSurface capture(printer);
        sumvarl::PrintWorksheetDocument(capture);
        calls = std::move(capture.calls);
    }
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdf(printer, folder);
        QPainter painter;
        if (!painter.begin(&printer)) {
            state.SkipWithError("cannot open the PDF");
            break;
        }
        const QFont* current = nullptr;
        for (const DrawCall& call : calls) {
            if (call.newPageFirst) {
                printer.newPage();
            }
            if (current == nullptr || !(*current == call.font)) {
                painter.setFont(call.font);
                current = &call.font;
            }
            painter.drawText(call.position, call.text);
        }
        painter.end();
    }
    state.counters["texts"] = static_cast<double>(calls.size());
}
BENCHMARK(BM_BaselineDrawing200ToPdf)->Unit(benchmark::kMillisecond);

void BM_EmptyPdfJob(benchmark::State& state)
{
    QTemporaryDir folder;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdf(printer, folder);
        QPainter painter(&printer);
        painter.end();
    }
}
BENCHMARK(BM_EmptyPdfJob)->Unit(benchmark::kMillisecond);

void BM_PrintWorksheet200ToImage(benchmark::State& state)
{
    BuildTable();
    // An A4 page at 150 dpi; the rows below it are clipped, but every text is still laid out.
    QImage image(1240, 1754, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        sumvarl::PainterSurface surface(painter);
        surface.Cls();
        sumvarl::PrintWorksheetDocument(surface);
    }
}
BENCHMARK(BM_PrintWorksheet200ToImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return sumvarl::bench::RunWithApplication<QGuiApplication>(argc, argv);
}
