#pragma once

#include <QString>

namespace sumvarl {

// How a print job or a PDF ended.
enum class PrintResult {
    Printed,
    NoDefaultPrinter, // no printer is set up as the default
    CannotOpen,       // QPainter::begin failed
    JobFailed,        // the job could not be finished
    NoPrinterModule,  // the program's printing module could not be loaded
    NotAFile,         // a PDF's target is a device, a pipe or a folder, and is left alone
};

// A result with the reason the system gave for it, where it gave one.
struct PrintOutcome
{
    PrintResult result = PrintResult::Printed;
    QString reason;
};

} // namespace sumvarl
