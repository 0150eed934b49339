#pragma once

// The paper worksheet: a larger heading and wider rows than the screen, no summary line,
// one print job. It reads Math::ProblemCount and Math::WorksheetTable and changes nothing.

#include <QString>
#include <string_view>

class QPrinter;

namespace sumvarl {

class PrintSurface;

inline constexpr std::u16string_view PrintTitle = u"Tovrin 数 学 Sumvarl";

// The heading and the rows, onto any surface.
void PrintWorksheetDocument(PrintSurface& surface);

enum class PrintResult {
    Printed,
    NoDefaultPrinter, // no printer is set up as the default
    CannotOpen,       // QPainter::begin failed
    JobFailed,        // the job could not be finished
};

// One job on the given printer (a real queue or a PDF file).
PrintResult PrintWorksheetOn(QPrinter& printer);

// One job on the system's default printer.
PrintResult PrintOnDefaultPrinter();

// The message shown for a failure, in Chinese; empty for Printed.
QString PrintFailureMessage(PrintResult result);

} // namespace sumvarl
