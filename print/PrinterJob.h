#pragma once

// A job on a printer: on a given QPrinter, or on the system's default printer through CUPS,
// which says why it refused a job. The printing module is built from this; the worksheet-level
// calls at the end draw with PrintedWorksheet and serve the tests and benchmarks.

#include "print/PrintedWorksheet.h"
#include "print/PrinterModule.h"

#include <QString>

class QPrinter;
class QWidget;

namespace sumvarl {

// One job on the given printer (a real queue or a PDF file).
PrintResult PaintOnPrinter(QPrinter& printer, const PaintPages& paint);

// The steps of a job on the default printer (see PrinterModule).
FoundPrinter FindDefaultPrinter(std::chrono::milliseconds wait);
PaintedJob PaintJob(const FoundPrinter& printer, const PaintPages& paint);
PrintOutcome SubmitJob(const PaintedJob& job, std::chrono::milliseconds wait);

// One job on the system's default printer, all steps on this thread.
PrintOutcome PaintOnDefaultPrinter(const PaintPages& paint,
                                   std::chrono::milliseconds wait = DefaultServiceWait);

// Qt's preview and print dialog as dialogs of owner (see PrinterModule).
std::optional<PrintOutcome> ShowPrintPreview(QWidget& owner, const PaintPages& paint);
std::optional<PrintOutcome> PrintThroughDialog(QWidget& owner, const PaintPages& paint);

// The worksheet, or another document, drawn on those printers.
PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options = {});
PrintOutcome PrintOnDefaultPrinter(const DocumentOptions& options = {});
PrintOutcome PrintDocumentOnDefaultPrinter(const DrawDocument& draw);

} // namespace sumvarl
