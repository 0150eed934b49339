#include "print/PrintedWorksheet.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "print/PainterSurface.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
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
