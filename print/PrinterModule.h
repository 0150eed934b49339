#pragma once

// What the printing module offers the program. Printing needs QtPrintSupport and CUPS, which
// bring some twenty libraries; the module holds them, so that they are loaded on the first job
// and not at start-up. The program draws; the module only hands it a painter on the printer.

#include "print/PrintResult.h"

#include <QString>
#include <QtPlugin>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace sumvarl {

// Paints a document with an open painter on a paged device; false when a page could not be
// begun, so the job cannot be complete.
using PaintPages = std::function<bool(QPainter&, QPagedPaintDevice&)>;

class PrinterModule
{
public:
    virtual ~PrinterModule() = default;
    // One job on the system's default printer.
    virtual PrintResult PaintOnDefaultPrinter(const PaintPages& paint) = 0;
    // Why the last job failed, as the printing system put it; empty when it gave no reason.
    virtual QString LastFailureReason() const = 0;

protected:
    PrinterModule() = default;
    PrinterModule(const PrinterModule&) = default;
    PrinterModule& operator=(const PrinterModule&) = default;
};

} // namespace sumvarl

#define SUMVARL_PRINTER_MODULE_IID "io.github.sumvarl.Sumvarl.PrinterModule/1"
Q_DECLARE_INTERFACE(sumvarl::PrinterModule, SUMVARL_PRINTER_MODULE_IID)
