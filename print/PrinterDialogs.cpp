#include "print/PrinterJob.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStringList>
#include <QWidget>

// Qt's preview and print dialog. They need QtPrintSupport's widgets and so live in the printing
// module, which the program loads on first use.

namespace sumvarl {

namespace {

// Qt leaves the pages "from … to …" of its dialogs to the program, which draws every page of a
// document; CUPS prints a range of any document, as it does for the dialog's own list of pages.
// The key is the one Qt's CUPS engine reads its job options from.
void HandPageRangeToCups([[maybe_unused]] QPrinter& printer)
{
#ifdef SUMVARL_HAVE_CUPS
    if (printer.outputFormat() != QPrinter::NativeFormat ||
        printer.printRange() != QPrinter::PageRange) {
        return;
    }
    constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    QStringList options = printer.printEngine()->property(CupsOptions).toStringList();
    const QString range = QStringLiteral("%1-%2").arg(printer.fromPage()).arg(printer.toPage());
    const auto key = options.indexOf(QStringLiteral("page-ranges"));
    if (key >= 0 && key + 1 < options.size()) {
        options[key + 1] = range;
    } else {
        options << QStringLiteral("page-ranges") << range;
    }
    printer.printEngine()->setProperty(CupsOptions, options);
    printer.setPrintRange(QPrinter::AllPages);
#endif
}

PrintResult PaintChosenPages(QPrinter& printer, const PaintPages& paint)
{
    HandPageRangeToCups(printer);
    return PaintOnPrinter(printer, paint);
}

} // namespace

std::optional<PrintOutcome> ShowPrintPreview(QWidget& owner, const PaintPages& paint)
{
    // The system's default printer with its paper; a PDF file where there is none.
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Sumvarl"));
    QPrintPreviewDialog dialog(&printer, &owner);
    // A page is read best large: most of the screen's height, and room to grow.
    dialog.setWindowFlag(Qt::WindowMaximizeButtonHint);
    if (const QScreen* screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        // As wide as a page of that height, or as its tool bar where that is wider (a large
        // scale factor).
        const int width = qMax(room.height() * 3 / 4, dialog.sizeHint().width());
        dialog.resize(qMin(room.width(), width), room.height() * 9 / 10);
    }
    // The same signal paints the preview's pages and, after its print button, the job.
    std::optional<PrintResult> printed;
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&paint, &printed](QPrinter* target) { printed = PaintChosenPages(*target, paint); });
    // Accepted only once its print button has printed.
    if (dialog.exec() != QDialog::Accepted || !printed) {
        return std::nullopt;
    }
    return PrintOutcome{*printed, {}};
}

std::optional<PrintOutcome> PrintThroughDialog(QWidget& owner, const PaintPages& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Sumvarl"));
    QPrintDialog dialog(&printer, &owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PrintOutcome{PaintChosenPages(printer, paint), {}};
}

} // namespace sumvarl
