#include "print/PrintedWorksheet.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "print/PainterSurface.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"

#include <QFile>
#include <QLibrary>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <algorithm>

namespace sumvarl {

namespace {

constexpr std::u16string_view FillInLine = u"日期：__年__月__日  用时：_______  得分：_______";

PrintResult PrintDrawingOn(QPrinter& printer, const DrawDocument& draw);

} // namespace

void PrintWorksheetHeading(PrintSurface& s, int count, const DocumentOptions& options,
                           std::u16string_view filledIn)
{
    s.SetFontName(u"宋体");
    s.SetFontSize(24);
    s.SetFontBold(false);
    s.SetFontUnderline(false);
    s.Print({u""}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetCurrentX(2500);
    s.Print({options.answerKey ? AnswerKeyTitle : PrintTitle}, Ending::Line);
    s.SetFontSize(12);
    if (options.pupilName.empty()) {
        s.Print({u""}, Ending::Line);
    } else {
        s.SetCurrentX(3500);
        const std::u16string nameLine = std::u16string(PupilNameLabel) + options.pupilName;
        s.Print({nameLine}, Ending::Line);
    }
    s.SetCurrentX(3500);
    const std::u16string countText = DecimalText(count);
    s.Print({u"题目数：", countText, u"题     "}, Ending::Open);
    s.Print({filledIn.empty() ? FillInLine : filledIn}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetFontSize(16);
}

namespace {

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

PrintResult PrintThroughCups(QPrinter& printer, const QString& queue, const CupsSubmission& cups,
                             const DrawDocument& draw)
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
    const PrintResult drawn = PrintDrawingOn(printer, draw);
    if (drawn != PrintResult::Printed) {
        return drawn;
    }
    const int job = cups.Submit(queue, printer.outputFileName(), printer.docName());
    return job > 0 ? PrintResult::Printed : PrintResult::JobFailed;
}
#endif

PrintResult PrintDrawingOn(QPrinter& printer, const DrawDocument& draw)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintResult::CannotOpen;
    }
    bool pageFailed = false;
    {
        PainterSurface surface(painter, &printer);
        draw(surface);
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

} // namespace

void PrintWorksheetDocument(PrintSurface& surface, const DocumentOptions& options)
{
    // Taken once. The heading shows the count as Start accepted it, a negative one too, as the
    // screen does; the rows are held to the table, which a count outside it (only reachable by
    // writing the state directly) would read past.
    const int count = Math::ProblemCount;
    PrintWorksheetHeading(surface, count, options);
    const int rows = std::clamp<int>(count, 0, Math::MaxProblemCount);
    for (int i = 1; i <= rows; ++i) {
        PrintProblemLine(surface, i, Variant::Printer, options.answerKey);
    }
}

PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options)
{
    return PrintDrawingOn(printer,
                          [&options](PrintSurface& s) { PrintWorksheetDocument(s, options); });
}

PrintResult PrintOnDefaultPrinter(const DocumentOptions& options)
{
    return PrintDocumentOnDefaultPrinter(
        [&options](PrintSurface& s) { PrintWorksheetDocument(s, options); });
}

PrintResult PrintDocumentOnDefaultPrinter(const DrawDocument& draw)
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
        return PrintThroughCups(printer, info.printerName(), cups, draw);
    }
#endif
    return PrintDrawingOn(printer, draw);
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

WorksheetPdf::WorksheetPdf(const QString& path) : file_(path)
{
    // QSaveFile writes beside the target and renames over it in commit(); without a commit the
    // temporary file is removed.
    if (!file_.open(QIODevice::WriteOnly)) {
        Fail(PrintResult::CannotOpen, file_.errorString());
        return;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setTitle(QStringLiteral("Sumvarl"));
    writer_->setCreator(QStringLiteral("Sumvarl"));
    // The printer path's resolution (QPrinter::HighResolution on a PDF engine), so the text is
    // measured and placed as it would be on paper.
    writer_->setResolution(1200);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       PdfMarginsMm, QPageLayout::Millimeter));
}

WorksheetPdf::~WorksheetPdf()
{
    if (painter_.isActive()) {
        painter_.end();
    }
    // A QSaveFile destroyed without commit() discards what was written.
}

void WorksheetPdf::Fail(PrintResult result, const QString& why)
{
    if (result_ == PrintResult::Printed) {
        result_ = result;
        error_ = why;
    }
}

bool WorksheetPdf::AddSheet(const DocumentOptions& options)
{
    return AddDocument([&options](PrintSurface& s) { PrintWorksheetDocument(s, options); });
}

bool WorksheetPdf::AddDocument(const DrawDocument& draw)
{
    if (!Ok()) {
        return false;
    }
    if (sheets_ == 0) {
        if (!painter_.begin(writer_.get())) {
            Fail(PrintResult::CannotOpen, file_.errorString());
            return false;
        }
    } else if (!writer_->newPage()) {
        Fail(PrintResult::JobFailed, file_.errorString());
        return false;
    }
    PainterSurface surface(painter_, writer_.get());
    draw(surface);
    ++sheets_;
    pages_ += surface.PagesStarted();
    if (surface.PageFailed()) {
        Fail(PrintResult::JobFailed, file_.errorString());
        return false;
    }
    return true;
}

PrintResult WorksheetPdf::Commit()
{
    if (Ok() && sheets_ == 0 && !painter_.begin(writer_.get())) {
        // A document with no sheet still gets its one empty page, as a print job would.
        Fail(PrintResult::CannotOpen, file_.errorString());
    }
    if (painter_.isActive() && !painter_.end()) {
        Fail(PrintResult::JobFailed, file_.errorString());
    }
    writer_.reset();
    if (!Ok()) {
        file_.cancelWriting();
        return result_;
    }
    if (!file_.commit()) {
        Fail(PrintResult::JobFailed, file_.errorString());
    }
    return result_;
}

PrintResult SaveWorksheetPdf(const QString& path, const DocumentOptions& options)
{
    WorksheetPdf pdf(path);
    pdf.AddSheet(options);
    return pdf.Commit();
}

PrintResult SaveDocumentPdf(const QString& path, const DrawDocument& draw)
{
    WorksheetPdf pdf(path);
    pdf.AddDocument(draw);
    return pdf.Commit();
}

QString SaveFailureMessage(PrintResult result, const QString& path)
{
    switch (result) {
    case PrintResult::Printed:
        return {};
    case PrintResult::NoDefaultPrinter:
    case PrintResult::CannotOpen:
        return QStringLiteral("无法创建文件“%1”，PDF 没有保存。请换一个文件夹或文件名再试。"
                              "练习题仍然保留在屏幕上。")
            .arg(path);
    case PrintResult::JobFailed:
        return QStringLiteral("文件“%1”没有写完，PDF 没有保存。请检查磁盘空间后再试。"
                              "练习题仍然保留在屏幕上。")
            .arg(path);
    }
    return {};
}

} // namespace sumvarl
