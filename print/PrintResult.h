#pragma once

#include <QString>

namespace sumvarl {

// How a print job or a PDF ended.
enum class PrintResult {
    Printed,
    NoDefaultPrinter,    // no printer is set up as the default
    CannotOpen,          // QPainter::begin failed
    JobFailed,           // the job could not be finished
    NoPrinterModule,     // the program's printing module could not be loaded
    ServiceNotAnswering, // the print service did not answer in time, or could not be reached
};

// A job's end with its own reason, so that two jobs at once never mix up their reasons.
struct PrintOutcome
{
    PrintResult result = PrintResult::Printed;
    // Why, in words a person can read, where the printing system or the module said; else empty.
    QString reason;

    bool Ok() const { return result == PrintResult::Printed; }
};

// How writing a PDF ended: a saved file is never reported as printed.
enum class SaveResult {
    Saved,
    CannotCreate, // the file could not be made (no such folder, no permission)
    NotWritten,   // it could not be written in full (a full disk); the target is as it was
    NotAFile,     // the target is a device, a pipe or a folder, and is left alone
};

struct SaveOutcome
{
    SaveResult result = SaveResult::Saved;
    // The system's reason, where it gave one; else empty.
    QString reason;

    bool Ok() const { return result == SaveResult::Saved; }
};

} // namespace sumvarl
