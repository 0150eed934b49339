#pragma once

namespace sumvarl {

// How a print job or a PDF ended.
enum class PrintResult {
    Printed,
    NoDefaultPrinter, // no printer is set up as the default
    CannotOpen,       // QPainter::begin failed
    JobFailed,        // the job could not be finished
    NoPrinterModule,  // the program's printing module could not be loaded
};

} // namespace sumvarl
