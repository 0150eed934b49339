// The printing module: the default printer's job (CUPS, or QPrinter elsewhere) behind
// PrinterModule, loaded by DefaultPrinter on the first job. It keeps no state between calls, so
// jobs of two windows may run at once.

#include "print/PrinterJob.h"
#include "print/PrinterModule.h"

#include <QObject>

namespace sumvarl {

class PrinterPlugin final : public QObject, public PrinterModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SUMVARL_PRINTER_MODULE_IID)
    Q_INTERFACES(sumvarl::PrinterModule)

public:
    FoundPrinter FindDefaultPrinter(std::chrono::milliseconds wait) override
    {
        return sumvarl::FindDefaultPrinter(wait);
    }
    PaintedJob Paint(const FoundPrinter& printer, const PaintPages& paint) override
    {
        return PaintJob(printer, paint);
    }
    PrintOutcome Submit(const PaintedJob& job, std::chrono::milliseconds wait) override
    {
        return SubmitJob(job, wait);
    }
    std::optional<PrintOutcome> ShowPreview(QWidget& owner, const PaintPages& paint) override
    {
        return ShowPrintPreview(owner, paint);
    }
    std::optional<PrintOutcome> PrintWithDialog(QWidget& owner, const PaintPages& paint) override
    {
        return PrintThroughDialog(owner, paint);
    }
};

} // namespace sumvarl

#include "PrinterPlugin.moc"
