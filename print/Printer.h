#pragma once

// The default printer as the windows reach it: through the printing module, loaded on the
// first job, so that the program starts without the printing libraries.

#include "print/PrintedWorksheet.h"

#include <QFuture>
#include <chrono>
#include <optional>

class QWidget;

namespace sumvarl {

class DefaultPrinter
{
public:
    // One job of the document on the system's default printer. The print service is asked on a
    // worker thread and the document painted on this one, so the caller's event loop keeps
    // running; the future ends with the job's outcome. NoPrinterModule, with the loader's
    // reason, when the module cannot be loaded. Call on the GUI thread.
    static QFuture<PrintOutcome> Print(DrawDocument draw);
    // Qt's print preview of the document, a modal dialog of owner: the outcome of printing from
    // it, or nothing when it was closed without printing.
    static std::optional<PrintOutcome> Preview(QWidget& owner, const DrawDocument& draw);
    // Qt's print dialog, a modal dialog of owner, then the job on the printer chosen there:
    // its outcome, or nothing when the dialog was cancelled.
    static std::optional<PrintOutcome> PrintWithDialog(QWidget& owner, const DrawDocument& draw);
    // The same for a document painted straight with the painter (a 竖式 sheet).
    static QFuture<PrintOutcome> Print(PaintPages paint);
};

// How long a job waits on a silent print service before it gives up; tests shorten it.
std::chrono::milliseconds& PrintServiceWait();

} // namespace sumvarl
