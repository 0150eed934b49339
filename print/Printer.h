#pragma once

// The default printer as the windows reach it: through the printing module, loaded on the
// first job, so that the program starts without the printing libraries.

#include "print/PrintedWorksheet.h"

#include <QString>

namespace sumvarl {

class DefaultPrinter
{
public:
    // One job of the document on the system's default printer; NoPrinterModule when the
    // module cannot be loaded.
    static PrintResult Print(const DrawDocument& draw);
    // Why the last job failed: the printing system's reason, or why the module could not be
    // loaded; empty when nobody said.
    static QString LastFailureReason();
};

} // namespace sumvarl
