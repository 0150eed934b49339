#pragma once

// A job on a printer: on a given QPrinter, or on the system's default printer through CUPS,
// which says why it refused a job. The printing module is built from this; the worksheet-level
// calls at the end draw with PrintedWorksheet and serve the tests and benchmarks.

#include "print/PrintedWorksheet.h"
#include "print/PrinterModule.h"

#include <QString>

class QPrinter;

namespace sumvarl {

// One job on the given printer (a real queue or a PDF file).
PrintResult PaintOnPrinter(QPrinter& printer, const PaintPages& paint);

// One job on the system's default printer.
PrintResult PaintOnDefaultPrinter(const PaintPages& paint);

// Why the last job on this thread failed, as the printing system put it ("client-error-not-
// possible", "The printer or class is not shared."); empty when it gave no reason.
QString LastPrintFailureReason();

// The worksheet, or another document, drawn on those printers.
PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options = {});
PrintResult PrintOnDefaultPrinter(const DocumentOptions& options = {});
PrintResult PrintDocumentOnDefaultPrinter(const DrawDocument& draw);

} // namespace sumvarl
