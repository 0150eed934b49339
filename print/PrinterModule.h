#pragma once

// What the printing module offers the program. Printing needs QtPrintSupport and CUPS, which
// bring some twenty libraries; the module holds them, so that they are loaded on the first job
// and not at start-up. The program draws; the module finds the printer and hands the job over.
//
// A job has three steps so that the window's thread never waits on the print service, which may
// not answer for minutes: FindDefaultPrinter and Submit talk to the service and run on a worker
// thread, each giving up after `wait` of silence; Paint draws the document, which reads the
// program's state, and so runs on the window's thread, where it takes some milliseconds.
//
// The preview and the print dialog are Qt's own widgets, made inside the module as dialogs of the
// window that asks for them; the program itself never touches a QPrinter.

#include "print/PrintResult.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <QtPlugin>
#include <chrono>
#include <functional>
#include <optional>

class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace sumvarl {

// Paints a document with an open painter on a paged device; false when a page could not be
// begun, so the job cannot be complete.
using PaintPages = std::function<bool(QPainter&, QPagedPaintDevice&)>;

// How long the print service may stay silent before a job gives up.
inline constexpr std::chrono::milliseconds DefaultServiceWait = std::chrono::seconds(15);

// The default printer: its queue and its paper. Anything but Ok means there is no job to paint.
struct FoundPrinter
{
    PrintOutcome outcome;
    QString queue;
    QPageLayout layout;
    QByteArray media; // the paper's name as the print service knows it
};

// A job painted for a printer, not yet handed over.
struct PaintedJob
{
    PrintOutcome outcome;
    QString queue;
    QByteArray media;
    QByteArray pdf;
};

class PrinterModule
{
public:
    virtual ~PrinterModule() = default;
    // Any thread.
    virtual FoundPrinter FindDefaultPrinter(std::chrono::milliseconds wait) = 0;
    // The thread the document's data lives on; passes on a failed lookup.
    virtual PaintedJob Paint(const FoundPrinter& printer, const PaintPages& paint) = 0;
    // Any thread; passes on a failed painting.
    virtual PrintOutcome Submit(const PaintedJob& job, std::chrono::milliseconds wait) = 0;
    // The window's thread. Qt's preview of the pages as the default printer would get them, a
    // modal dialog of owner; its print button prints them. The outcome of that job, or nothing
    // when the preview was closed without printing.
    virtual std::optional<PrintOutcome> ShowPreview(QWidget& owner, const PaintPages& paint) = 0;
    // The window's thread. Qt's print dialog (printer, copies, pages), a modal dialog of owner,
    // then the job on the printer chosen there; nothing when the dialog was cancelled.
    virtual std::optional<PrintOutcome> PrintWithDialog(QWidget& owner,
                                                        const PaintPages& paint) = 0;

protected:
    PrinterModule() = default;
    PrinterModule(const PrinterModule&) = default;
    PrinterModule& operator=(const PrinterModule&) = default;
};

} // namespace sumvarl

#define SUMVARL_PRINTER_MODULE_IID "io.github.sumvarl.Sumvarl.PrinterModule/3"
Q_DECLARE_INTERFACE(sumvarl::PrinterModule, SUMVARL_PRINTER_MODULE_IID)
