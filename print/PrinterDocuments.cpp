#include "print/PrinterJob.h"

#include <QPrinter>

// Kept apart from PrinterJob.cpp so that the printing module, which paints what the program
// hands it, does not take the worksheet's code in with it.

namespace sumvarl {

PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options)
{
    return PaintOnPrinter(printer, PaintingOf(WorksheetDocument(options)));
}

PrintOutcome PrintOnDefaultPrinter(const DocumentOptions& options)
{
    return PrintDocumentOnDefaultPrinter(WorksheetDocument(options));
}

PrintOutcome PrintDocumentOnDefaultPrinter(const DrawDocument& draw)
{
    return PaintOnDefaultPrinter(PaintingOf(draw));
}

} // namespace sumvarl
