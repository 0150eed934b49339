#pragma once

// sumvarl-batch: many worksheets, one per pupil or a number of copies, with their answer keys,
// into PDF files, from the command line and with the settings window's own rules.

#include "batch/BatchOptions.h"
#include "core/Sheet.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

class QTextStream;

namespace sumvarl::batch {

// The recipe of the run's first sheet: the code's, or one part of the job's settings and lesson
// with --seed, or else a fresh seed from the shared random source, below
// 2^ShortSheetCodeSeedBits so that the sheet keeps a short code.
SheetSpec FirstSheetSpec(const BatchJob& job);

// Copy n+1 goes on where copy n left the random source, as one seeded source would.
SheetSpec NextSheetSpec(const Sheet& previous);

// Makes the sheets and writes the PDFs; messages and progress go to err, the summary to out.
// No file is left behind unless everything was written.
int RunBatch(const BatchJob& given, QTextStream& out, QTextStream& err);

// ParseArguments, then RunBatch: the whole program after the application object exists.
int BatchMain(const QStringList& arguments, QTextStream& out, QTextStream& err);
// The same from the command line's bytes.
int BatchMain(const QList<QByteArray>& raw, QTextStream& out, QTextStream& err);

} // namespace sumvarl::batch
