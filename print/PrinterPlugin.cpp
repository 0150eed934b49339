// The printing module: the default printer's job (QPrinter, CUPS) behind PrinterModule, loaded
// by DefaultPrinter on the first job.

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
    PrintResult PaintOnDefaultPrinter(const PaintPages& paint) override
    {
        return sumvarl::PaintOnDefaultPrinter(paint);
    }
    QString LastFailureReason() const override { return LastPrintFailureReason(); }
};

} // namespace sumvarl

#include "PrinterPlugin.moc"
