#pragma once

// Shared by the print tests: a worksheet table to print, a copy of the table to prove it is left
// alone, and the text of a printed PDF as poppler's pdftotext reads it back.

#include "core/Math.h"
#include "print/PrintedWorksheet.h"

#include <QByteArray>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

// Reading a PDF or CSV file back takes Linux programs (poppler's pdftotext and pdfinfo, Python).
// A Windows build's tests under Wine can start them but never get their output nor learn that
// they ended, so there the test functions that read files back say so and skip.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_READ_BACK()                                                                   \
    QSKIP("reads the file back with pdftotext, pdfinfo or python3, Linux programs")
#else
#define SKIP_WITHOUT_READ_BACK() static_cast<void>(0)
#endif

namespace printtest {

struct Row
{
    std::u16string operand1;
    std::u16string op;
    std::u16string operand2;
    std::u16string result;
    std::int16_t blankKind = 0;
};

// Clears the state, writes rows 1..rows.size() and sets ProblemCount to count.
void SetWorksheet(const QList<Row>& rows, int count);

// Rows i＋(i mod 7) for i = 1..count, every row different, all with the result open.
void SetCountingWorksheet(int count);

// The table's columns, compared whole.
struct TableCopy
{
    Math::WorksheetColumns table;
    std::int16_t problemCount = 0;
};
TableCopy CopyTable();
bool SameTable(const TableCopy& a, const TableCopy& b);

// The margin of a common office printer. The heading's count line ends 11300 twips from the
// left margin, so an A4 page leaves room for margins up to about 5.3 mm.
inline constexpr double MarginMm = 5;

// Prints the current worksheet into a PDF file at path on A4 with the given margins in
// millimetres. Returns false when printing reported a failure.
bool PrintToPdf(const QString& path, QMarginsF margins = {MarginMm, MarginMm, MarginMm, MarginMm});

// pdftotext -layout, split into pages at form feeds; each page a list of its non-empty lines
// with all white space removed (pdftotext's spacing is approximate; the characters are not).
QList<QStringList> PdfPages(const QString& path);
// All pages' lines in order.
QStringList PdfLines(const QString& path);

// Words with their boxes in points from the top left of the page, from pdftotext -bbox.
struct Word
{
    int page = 0;
    QRectF box;
    QString text;
};
QList<Word> PdfWords(const QString& path);

// What problem i prints, white space removed: operand (or the blank marker), operator, operand
// (or the marker), cut to the last 7 characters, then "＝" and the result of a fill-in problem.
QString ExpectedItem(int i);

// The whole printed document as PdfLines reads it: the title, the count line, then the rows of
// problems 1..count (ExpectedItem), four to a line.
QString TitleLine();
QString CountLine(int count);
QStringList ExpectedDocument(int count);

// For tests run by test-printer.sh: the folder where the test queue keeps each job's PDF.
// Empty when the test runs without that server.
QString TestPrinterOut();
// Waits until the scheduler has no pending job and at least one document has arrived, then
// returns the kept documents' paths, sorted by job id. Returns what is there after timeoutMs.
QStringList WaitForKeptJobs(int timeoutMs = 30000);

// Runs a CUPS tool (cupsdisable, cupsreject…) against the test server; false with a warning
// when it fails.
bool RunCupsTool(const QString& program, const QStringList& arguments);

// While it lives, the test server is stopped (SIGSTOP): it takes connections and answers
// nothing, as a hung print service does. Stopped() is false when there is no server to stop.
class StoppedPrintService
{
public:
    StoppedPrintService();
    ~StoppedPrintService();
    StoppedPrintService(const StoppedPrintService&) = delete;
    StoppedPrintService& operator=(const StoppedPrintService&) = delete;

    bool Stopped() const { return pid_ > 0; }

private:
    int pid_ = 0;
};

// Runs pdftotext; empty with a warning on failure.
QString RunPdfToText(const QStringList& arguments);

// While it lives, the PDF writer's file for `path` fails once `limit` bytes have been written to
// it, as on a disk that fills up; other paths are written as usual.
class FailingPdfFile
{
public:
    FailingPdfFile(const QString& path, qint64 limit);
    ~FailingPdfFile();
    FailingPdfFile(const FailingPdfFile&) = delete;
    FailingPdfFile& operator=(const FailingPdfFile&) = delete;

private:
    sumvarl::SaveFileFactory previous_;
};

// The file's bytes, or an empty array when it cannot be read.
QByteArray FileBytes(const QString& path);

} // namespace printtest
