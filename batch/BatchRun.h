#pragma once

// sumvarl-batch: many worksheets, one per pupil or a number of copies, with their answer keys,
// into PDF files, from the command line and with the settings window's own rules.

#include "core/Math.h"
#include "core/StartSettings.h"

#include <QString>
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QTextStream;

namespace sumvarl::batch {

enum ExitStatus : int {
    Success = 0,
    RuntimeError = 1, // a file could not be read or written, or the sheets could not be made
    UsageError = 2,   // bad options or settings the settings window would refuse
};

// More sheets than this in one run is taken for a typing mistake.
inline constexpr int MaxSheets = 1000;
// A names file is read up to this size; a thousand names of MaxNameLength take far less.
inline constexpr qint64 MaxNamesBytes = 1024 * 1024;
// The longest name that fits whole on its line of the heading ("姓名：" and 30 characters of
// the heading's 12-point face end within the printable width of an A4 page).
inline constexpr int MaxNameLength = 30;
// From this many sheets on, a progress line is shown.
inline constexpr int ProgressFrom = 6;

struct BatchJob
{
    Settings settings;
    Math::Lesson lesson; // carrying, borrowing, times tables, remainders
    // One sheet per name, the name in its heading; empty for unnamed copies.
    std::vector<std::u16string> names;
    int copies = 1;
    bool answersAfterEachSheet = false;
    QString answersFile; // all answer keys into this PDF; empty for none
    std::optional<std::uint64_t> seed;
    QString output;

    int Sheets() const { return names.empty() ? copies : static_cast<int>(names.size()); }
};

struct ParseOutcome
{
    std::optional<BatchJob> job; // empty when there is nothing to run
    int status = Success;        // for an empty job: Success after --help or --version
    QString out;                 // for standard output (help, version)
    QString error;               // for standard error, Chinese then English
};

// The command line without running anything; arguments[0] is the program.
ParseOutcome ParseArguments(const QStringList& arguments);

// Makes the sheets and writes the PDFs; messages and progress go to err, the summary to out.
// No file is left behind unless everything was written.
int RunBatch(const BatchJob& job, QTextStream& out, QTextStream& err);

// The command line's bytes as file names are decoded; empty, with the refusal, when one does not
// decode back to the same bytes (a name with bytes invalid in the locale's encoding would
// otherwise be written under another name, "rep\xff.pdf" as "rep\uFFFD.pdf").
std::optional<QStringList> DecodeArguments(const QList<QByteArray>& raw, ParseOutcome& refusal);

// ParseArguments, then RunBatch: the whole program after the application object exists.
int BatchMain(const QStringList& arguments, QTextStream& out, QTextStream& err);
// The same from the command line's bytes.
int BatchMain(const QList<QByteArray>& raw, QTextStream& out, QTextStream& err);

} // namespace sumvarl::batch
