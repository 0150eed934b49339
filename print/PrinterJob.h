#pragma once

// The printed worksheet on a printer: one job on the system's default printer, or on a given
// QPrinter. The document itself is drawn by PrintedWorksheet.

#include "print/PrintedWorksheet.h"

#include <QString>

class QPrinter;

namespace sumvarl {

// One job on the given printer (a real queue or a PDF file).
PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options = {});

// One job on the system's default printer.
PrintResult PrintOnDefaultPrinter(const DocumentOptions& options = {});
PrintResult PrintDocumentOnDefaultPrinter(const DrawDocument& draw);

// Why the last job on this thread failed, as the printing system put it ("client-error-not-
// possible", "The printer or class is not shared."); empty when it gave no reason.
QString LastPrintFailureReason();

// The message shown for a failure, in Chinese, with the printing system's reason where it gave
// one; empty for Printed.
QString PrintFailureMessage(PrintResult result, const QString& reason = {});

} // namespace sumvarl
