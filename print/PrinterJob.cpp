#include "print/PrinterJob.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>
#include <optional>
#include <utility>

#ifdef SUMVARL_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace sumvarl {

namespace {

FoundPrinter FailedLookup(PrintOutcome outcome)
{
    FoundPrinter found;
    found.outcome = std::move(outcome);
    return found;
}

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

#ifdef SUMVARL_HAVE_CUPS

// The job goes to CUPS through libcups on a connection of its own, not through QPrinter: Qt's
// CUPS calls wait twice a minute on a print service that does not answer, and its print engine
// ignores a refused job. Only painting uses Qt, with the PDF writer, which needs no printer.

namespace {

// A connection to the print service that gives up after `wait` of silence. libcups keeps its
// state per thread, so each job's thread has its own.
class CupsConnection
{
public:
    explicit CupsConnection(std::chrono::milliseconds wait)
        : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             static_cast<int>(wait.count()), nullptr))
    {
        if (http_ != nullptr) {
            httpSetTimeout(http_, static_cast<double>(wait.count()) / 1000.0, &GiveUp, this);
        }
    }
    ~CupsConnection()
    {
        if (http_ != nullptr) {
            httpClose(http_);
        }
    }
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    http_t* Http() const { return http_; }
    // The service fell silent and a request was given up. libcups then reports the request's
    // failure as if the service had answered it ("No default destination"), so only this tells
    // the two apart.
    bool GaveUp() const { return gaveUp_; }

    // Why the service could not be used, where it failed to answer or to be reached.
    std::optional<PrintOutcome> NotAnswering() const
    {
        if (http_ == nullptr) {
            return PrintOutcome{
                PrintResult::ServiceNotAnswering,
                QStringLiteral("无法连接：%1").arg(QString::fromUtf8(cupsLastErrorString()))};
        }
        // A connection the service dropped mid-request is reported by libcups as a missing
        // printer too; the socket's error tells.
        if (gaveUp_ || httpError(http_) != 0 ||
            cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) {
            return PrintOutcome{PrintResult::ServiceNotAnswering, {}};
        }
        return std::nullopt;
    }

private:
    static int GiveUp(http_t* /*http*/, void* self)
    {
        static_cast<CupsConnection*>(self)->gaveUp_ = true;
        return 0;
    }

    http_t* http_;
    bool gaveUp_ = false;
};

using DestPointer =
    std::unique_ptr<cups_dest_t, decltype([](cups_dest_t* d) { cupsFreeDests(1, d); })>;
using InfoPointer =
    std::unique_ptr<cups_dinfo_t, decltype([](cups_dinfo_t* i) { cupsFreeDestInfo(i); })>;

// CUPS's reason for a refused job: the common ones in Chinese, the rest as CUPS put them.
QString RefusalReason(const QString& queue)
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("打印机“%1”现在不接受打印任务").arg(queue);
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("打印机“%1”不存在").arg(queue);
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        return QStringLiteral("打印机“%1”已停用").arg(queue);
    default:
        return QString::fromUtf8(cupsLastErrorString());
    }
}

PrintOutcome Refused(const CupsConnection& connection, const QString& queue)
{
    return connection.NotAnswering().value_or(
        PrintOutcome{PrintResult::JobFailed, RefusalReason(queue)});
}

// The queue's default paper with its printable area, in hundredths of a millimetre; A4 with a
// common office printer's 5 mm margins where the queue does not say.
void ReadPaper(const CupsConnection& connection, cups_dest_t* dest, FoundPrinter& found)
{
    cups_size_t size{};
    const InfoPointer info(cupsCopyDestInfo(connection.Http(), dest));
    if (info && cupsGetDestMediaDefault(connection.Http(), dest, info.get(), 0, &size) != 0) {
        const auto mm = [](int hundredths) { return hundredths / 100.0; };
        const QPageSize paper(QSizeF(mm(size.width), mm(size.length)), QPageSize::Millimeter,
                              QString(), QPageSize::FuzzyMatch);
        found.layout =
            QPageLayout(paper, QPageLayout::Portrait,
                        QMarginsF(mm(size.left), mm(size.top), mm(size.right), mm(size.bottom)),
                        QPageLayout::Millimeter);
        found.media = size.media;
        return;
    }
    found.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                               QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    found.media = "iso_a4_210x297mm";
}

} // namespace

FoundPrinter FindDefaultPrinter(std::chrono::milliseconds wait)
{
    const CupsConnection connection(wait);
    if (connection.Http() == nullptr) {
        return FailedLookup(*connection.NotAnswering());
    }
    const DestPointer dest(cupsGetNamedDest(connection.Http(), nullptr, nullptr));
    if (const auto silent = connection.NotAnswering()) {
        return FailedLookup(*silent);
    }
    if (!dest) {
        return FailedLookup({PrintResult::NoDefaultPrinter, {}});
    }
    FoundPrinter found;
    found.queue = QString::fromUtf8(dest->name);
    // A paused queue takes the job and keeps it unseen until someone resumes it, when a second
    // press would print the sheet twice; so the job is not sent and the person is told.
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    if (state != nullptr && qstrcmp(state, "5") == 0) {
        found.outcome = {PrintResult::JobFailed,
                         QStringLiteral("打印机“%1”已暂停").arg(found.queue)};
        return found;
    }
    ReadPaper(connection, dest.get(), found);
    if (const auto silent = connection.NotAnswering()) {
        return FailedLookup(*silent);
    }
    return found;
}

PrintOutcome SubmitJob(const PaintedJob& job, std::chrono::milliseconds wait)
{
    if (!job.outcome.Ok()) {
        return job.outcome;
    }
    const CupsConnection connection(wait);
    if (connection.Http() == nullptr) {
        return *connection.NotAnswering();
    }
    const QByteArray queue = job.queue.toUtf8();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", job.media.constData(), 0, &options);
    const int id = cupsCreateJob(connection.Http(), queue.constData(), "Sumvarl", count, options);
    cupsFreeOptions(count, options);
    if (id <= 0) {
        return Refused(connection, job.queue);
    }
    const bool sent =
        cupsStartDocument(connection.Http(), queue.constData(), id, "Sumvarl", CUPS_FORMAT_PDF,
                          1) == HTTP_STATUS_CONTINUE &&
        cupsWriteRequestData(connection.Http(), job.pdf.constData(),
                             static_cast<size_t>(job.pdf.size())) == HTTP_STATUS_CONTINUE &&
        cupsFinishDocument(connection.Http(), queue.constData()) == IPP_STATUS_OK;
    if (!sent) {
        PrintOutcome outcome = Refused(connection, job.queue);
        // A job left without its document would hold the queue; a silent service would only
        // make the cancel wait again.
        if (!connection.GaveUp()) {
            cupsCancelJob2(connection.Http(), queue.constData(), id, 0);
        }
        return outcome;
    }
    return {};
}

#else

// Elsewhere (Windows) the system's own printer support is local and quick, and QPrinter reports
// what it knows; the job is painted straight onto the printer.
FoundPrinter FindDefaultPrinter(std::chrono::milliseconds /*wait*/)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return FailedLookup({PrintResult::NoDefaultPrinter, {}});
    }
    FoundPrinter found;
    found.queue = info.printerName();
    return found;
}

PrintOutcome SubmitJob(const PaintedJob& job, std::chrono::milliseconds /*wait*/)
{
    return job.outcome;
}

#endif

PaintedJob PaintJob(const FoundPrinter& printer, const PaintPages& paint)
{
    PaintedJob job;
    job.outcome = printer.outcome;
    if (!job.outcome.Ok()) {
        return job;
    }
#ifdef SUMVARL_HAVE_CUPS
    job.queue = printer.queue;
    job.media = printer.media;
    QBuffer buffer(&job.pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QStringLiteral("Sumvarl"));
    writer.setCreator(QStringLiteral("Sumvarl"));
    // The resolution of a saved PDF, so paper and file are laid out alike.
    writer.setResolution(1200);
    writer.setPageLayout(printer.layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
        job.outcome.result = PrintResult::CannotOpen;
        return job;
    }
    const bool pagesOk = paint(painter, writer);
    if (!painter.end() || !pagesOk) {
        job.outcome.result = PrintResult::JobFailed;
    }
    return job;
#else
    QPrinter device(QPrinterInfo::printerInfo(printer.queue), QPrinter::HighResolution);
    device.setDocName(QStringLiteral("Sumvarl"));
    job.outcome.result = PaintOnPrinter(device, paint);
    return job;
#endif
}

PrintOutcome PaintOnDefaultPrinter(const PaintPages& paint, std::chrono::milliseconds wait)
{
    return SubmitJob(PaintJob(FindDefaultPrinter(wait), paint), wait);
}

} // namespace sumvarl
