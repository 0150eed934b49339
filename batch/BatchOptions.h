#pragma once

// sumvarl-batch's command line: the options read into a job by the settings window's own rules,
// and refused in its words where it would refuse them.

#include "core/LessonRules.h"
#include "core/SheetSpec.h"
#include "core/StartSettings.h"
#include "core/VerticalKind.h"

#include <QByteArray>
#include <QList>
#include <QString>
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
    Lesson lesson; // carrying, borrowing, times tables, remainders
    ProblemShape shape = ProblemShape::OneOperation;
    // The parts of a --preset; empty for one part of the settings above.
    std::vector<PartSpec> parts;
    bool mixed = false; // the parts' problems shuffled together
    // The one sheet of a code given with --from-code; the settings above are then unused.
    std::optional<SheetSpec> fromCode;
    bool printCodes = false; // each sheet's code to standard output
    bool stepByStep = false; // 脱式计算: each problem with a line for every step
    // 竖式: the problems of this kind worked in columns, with squares, 验算 boxes, so many a page.
    VerticalKind vertical = VerticalKind::None;
    VerticalPaper paper;
    // One sheet per name, the name in its heading; empty for unnamed copies.
    std::vector<std::u16string> names;
    int copies = 1;
    bool answersAfterEachSheet = false;
    QString answersFile; // all answer keys into this PDF; empty for none
    std::optional<std::uint64_t> seed;
    QString output;
    // --child NAME --review: the child's 错题卷 from the history, of this many problems.
    QString reviewChild;
    int reviewCount = 0;
    // --child NAME --report: this week's report of the child instead of a sheet.
    bool report = false;

    int Sheets() const { return names.empty() ? copies : static_cast<int>(names.size()); }
    bool Review() const { return !reviewChild.isEmpty(); }
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

// The command line's bytes as file names are decoded; empty, with the refusal, when one does not
// decode back to the same bytes (a name with bytes invalid in the locale's encoding would
// otherwise be written under another name, "rep\xff.pdf" as "rep\uFFFD.pdf").
std::optional<QStringList> DecodeArguments(const QList<QByteArray>& raw, ParseOutcome& refusal);

// "sumvarl-batch: " before each line of a message, the Chinese line first.
QString Message(const QString& chinese, const QString& english);
// The refusal of an output that is a device, a pipe or a folder, in English.
QString NotAFileEnglish(const QString& path);

} // namespace sumvarl::batch
