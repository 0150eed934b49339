#include "print/PrintedWorksheet.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "print/PainterSurface.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"

#include <QFile>
#include <QLibrary>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <algorithm>

namespace sumvarl {

namespace {

void PrintHeading(PrintSurface& s, int count)
{
    s.SetFontName(u"宋体");
    s.SetFontSize(24);
    s.SetFontBold(false);
    s.SetFontUnderline(false);
    s.Print({u""}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetCurrentX(2500);
    s.Print({PrintTitle}, Ending::Line);
    s.SetFontSize(12);
    s.Print({u""}, Ending::Line);
    s.SetCurrentX(3500);
    const std::u16string countText = DecimalText(count);
    s.Print({u"题目数：", countText, u"题     "}, Ending::Open);
    s.Print({u"日期：__年__月__日  用时：_______  得分：_______"}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetFontSize(16);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#define SUMVARL_SUBMIT_THROUGH_CUPS 1

// Qt's CUPS print engine writes the job to a PDF file and submits it with cupsPrintFile, but
// ignores the result: a queue that refuses the job still reports a finished print. So the job is
// written by the same PDF engine here and submitted by us, and a refusal becomes JobFailed.
// libcups is loaded at run time (Qt itself links it); its headers are not needed to build.
class CupsSubmission
{
public:
    CupsSubmission() : library_(QStringLiteral("cups"), 2)
    {
        if (library_.load()) {
            printFile_ = reinterpret_cast<PrintFileFn>(library_.resolve("cupsPrintFile"));
        }
    }

    bool Available() const { return printFile_ != nullptr; }

    // The job id, 0 when CUPS refused the job.
    int Submit(const QString& printer, const QString& file, const QString& title) const
    {
        // A printer name may carry an instance ("queue/instance"); CUPS wants the queue.
        const QByteArray queue = printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
        return printFile_(queue.constData(), QFile::encodeName(file).constData(),
                          title.toLocal8Bit().constData(), 0, nullptr);
    }

private:
    // int cupsPrintFile(const char* name, const char* filename, const char* title,
    //                   int num_options, cups_option_t* options)
    using PrintFileFn = int (*)(const char*, const char*, const char*, int, void*);

    QLibrary library_;
    PrintFileFn printFile_ = nullptr;
};

PrintResult PrintThroughCups(QPrinter& printer, const QString& queue, const CupsSubmission& cups)
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
    const PrintResult drawn = PrintWorksheetOn(printer);
    if (drawn != PrintResult::Printed) {
        return drawn;
    }
    const int job = cups.Submit(queue, printer.outputFileName(), printer.docName());
    return job > 0 ? PrintResult::Printed : PrintResult::JobFailed;
}
#endif

} // namespace

void PrintWorksheetDocument(PrintSurface& surface)
{
    // Taken once. A count outside the table (only reachable by writing the state directly)
    // would read past its last row, so it is held to the rows that exist.
    const int count = std::clamp<int>(Math::ProblemCount, 0, Math::MaxProblemCount);
    PrintHeading(surface, count);
    for (int i = 1; i <= count; ++i) {
        PrintProblemLine(surface, i, Variant::Printer);
    }
}

PrintResult PrintWorksheetOn(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintResult::CannotOpen;
    }
    bool pageFailed = false;
    {
        PainterSurface surface(painter, &printer);
        PrintWorksheetDocument(surface);
        pageFailed = surface.PageFailed();
    }
    // end() hands the document to the printing system; it must run even after a failed page so
    // that the device is released.
    const bool ended = painter.end();
    const QPrinter::PrinterState state = printer.printerState();
    if (!ended || pageFailed || state == QPrinter::Error || state == QPrinter::Aborted) {
        return PrintResult::JobFailed;
    }
    return PrintResult::Printed;
}

PrintResult PrintOnDefaultPrinter()
{
    // QPrinter stays "valid" without any printer on CUPS; only the printer list knows.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return PrintResult::NoDefaultPrinter;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Sumvarl"));
#ifdef SUMVARL_SUBMIT_THROUGH_CUPS
    static const CupsSubmission cups;
    if (cups.Available() && printer.outputFormat() == QPrinter::NativeFormat) {
        return PrintThroughCups(printer, info.printerName(), cups);
    }
#endif
    return PrintWorksheetOn(printer);
}

QString PrintFailureMessage(PrintResult result)
{
    switch (result) {
    case PrintResult::Printed:
        return {};
    case PrintResult::NoDefaultPrinter:
        return QStringLiteral("没有找到默认打印机，无法打印。请先设置默认打印机，再按“打印”。"
                              "练习题仍然保留在屏幕上。");
    case PrintResult::CannotOpen:
        return QStringLiteral("打印机无法打开，没有打印。请检查打印机后再试。"
                              "练习题仍然保留在屏幕上。");
    case PrintResult::JobFailed:
        return QStringLiteral("打印任务没有完成，打印机可能没有收到完整的练习题。"
                              "练习题仍然保留在屏幕上。");
    }
    return {};
}

} // namespace sumvarl
