#include "print/PrinterJob.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#ifdef SUMVARL_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace sumvarl {

namespace {

thread_local QString lastFailureReason;

} // namespace

PrintResult PaintOnPrinter(QPrinter& printer, const PaintPages& paint)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintResult::CannotOpen;
    }
    const bool pageFailed = !paint(painter, printer);
    // end() hands the document to the printing system; it must run even after a failed page so
    // that the device is released.
    const bool ended = painter.end();
    const QPrinter::PrinterState state = printer.printerState();
    if (!ended || pageFailed || state == QPrinter::Error || state == QPrinter::Aborted) {
        return PrintResult::JobFailed;
    }
    return PrintResult::Printed;
}

namespace {

#ifdef SUMVARL_HAVE_CUPS
// The options Qt's own CUPS engine gives a job: paper, copies, sides, orientation.
class JobOptions
{
public:
    explicit JobOptions(const QPrinter& printer)
    {
        const QPageLayout layout = printer.pageLayout();
        Add("media", layout.pageSize().key().toUtf8());
        if (printer.copyCount() > 1) {
            Add("copies", QByteArray::number(printer.copyCount()));
            if (printer.collateCopies()) {
                Add("Collate", "True");
            }
        }
        const bool portrait = layout.orientation() == QPageLayout::Portrait;
        switch (printer.duplex()) {
        case QPrinter::DuplexNone:
            Add("sides", "one-sided");
            break;
        case QPrinter::DuplexAuto:
            Add("sides", portrait ? "two-sided-long-edge" : "two-sided-short-edge");
            break;
        case QPrinter::DuplexLongSide:
            Add("sides", "two-sided-long-edge");
            break;
        case QPrinter::DuplexShortSide:
            Add("sides", "two-sided-short-edge");
            break;
        }
        if (!portrait) {
            Add("landscape", "");
        }
    }
    ~JobOptions() { cupsFreeOptions(count_, options_); }
    JobOptions(const JobOptions&) = delete;
    JobOptions& operator=(const JobOptions&) = delete;

    int Count() const { return count_; }
    cups_option_t* Options() const { return options_; }

private:
    void Add(const char* name, const QByteArray& value)
    {
        count_ = cupsAddOption(name, value.constData(), count_, &options_);
    }

    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// Qt's CUPS print engine writes the job to a PDF file and submits it with cupsPrintFile, but
// ignores the result: a queue that refuses the job still reports a finished print. So the job is
// written by the same PDF engine here and submitted by us, and a refusal becomes JobFailed with
// CUPS's own reason.
PrintResult PrintThroughCups(QPrinter& printer, const QString& printerName, const PaintPages& paint)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        return PrintResult::CannotOpen;
    }
    // The queue's own page size, printable area and resolution, so the text is measured and
    // placed exactly as the native engine would.
    const QPageLayout layout = printer.pageLayout();
    const int resolution = printer.resolution();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("worksheet.pdf")));
    printer.setPageLayout(layout);
    printer.setResolution(resolution);
    const PrintResult drawn = PaintOnPrinter(printer, paint);
    if (drawn != PrintResult::Printed) {
        return drawn;
    }
    // A printer name may carry an instance ("queue/instance"); CUPS wants the queue.
    const QByteArray queue = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const JobOptions options(printer);
    const int job =
        cupsPrintFile(queue.constData(), QFile::encodeName(printer.outputFileName()).constData(),
                      printer.docName().toUtf8().constData(), options.Count(), options.Options());
    if (job <= 0) {
        lastFailureReason = QString::fromUtf8(cupsLastErrorString());
        return PrintResult::JobFailed;
    }
    return PrintResult::Printed;
}
#endif

} // namespace

PrintResult PaintOnDefaultPrinter(const PaintPages& paint)
{
    lastFailureReason.clear();
    // QPrinter stays "valid" without any printer on CUPS; only the printer list knows.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return PrintResult::NoDefaultPrinter;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Sumvarl"));
#ifdef SUMVARL_HAVE_CUPS
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        return PrintThroughCups(printer, info.printerName(), paint);
    }
#endif
    return PaintOnPrinter(printer, paint);
}

QString LastPrintFailureReason()
{
    return lastFailureReason;
}

} // namespace sumvarl
