#include "print/PrinterJob.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

// Qt's preview and print dialog. They need QtPrintSupport's widgets and so live in the printing
// module, which the program loads on the first use.

namespace sumvarl {

namespace {

// The system's default printer with its paper; a PDF file where there is none.
void SetUp(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Sumvarl"));
    printer.setCreator(QStringLiteral("Sumvarl"));
}

} // namespace

std::optional<PrintOutcome> ShowPrintPreview(QWidget& owner, const PaintPages& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUp(printer);
    QPrintPreviewDialog dialog(&printer, &owner);
    // The same signal paints the preview's pages and, after its print button, the job.
    std::optional<PrintResult> printed;
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&paint, &printed](QPrinter* target) { printed = PaintOnPrinter(*target, paint); });
    // Accepted only once its print button has printed.
    if (dialog.exec() != QDialog::Accepted || !printed) {
        return std::nullopt;
    }
    return PrintOutcome{*printed, {}};
}

std::optional<PrintOutcome> PrintThroughDialog(QWidget& owner, const PaintPages& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUp(printer);
    QPrintDialog dialog(&printer, &owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PrintOutcome{PaintOnPrinter(printer, paint), {}};
}

} // namespace sumvarl
