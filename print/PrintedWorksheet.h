#pragma once

// The paper worksheet: a larger heading and wider rows than the screen, no summary line,
// one print job. It reads Math::ProblemCount and Math::WorksheetTable and changes nothing.

#include <QMarginsF>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QPdfWriter;
class QPrinter;

namespace sumvarl {

class PrintSurface;

inline constexpr std::u16string_view PrintTitle = u"Tovrin 数 学 Sumvarl";
inline constexpr std::u16string_view AnswerKeyTitle = u"Tovrin 数 学 Sumvarl（答案）";
inline constexpr std::u16string_view PupilNameLabel = u"姓名：";

// A PDF is A4 (595.3 pt wide) with margins of 1 mm left and right and 5 mm at the top and
// bottom. The heading's count line is the widest line: 3500 twips in, then its text, which ends
// about 571 pt from the left margin for a three-digit count and 589.2 pt for "-32768", the
// longest count Start accepts; that leaves 6 pt for both side margins. The rows end within 70
// columns of the 16-point font, about 561 pt.
inline constexpr QMarginsF PdfMarginsMm{1, 5, 1, 5};

struct DocumentOptions
{
    // The rows with every blank filled in, under a title that says so.
    bool answerKey = false;
    // Printed as "姓名：…" on the line between the title and the count line, which is otherwise
    // empty, so the rows stand at the same height with and without a name.
    std::u16string pupilName;
};

// The heading and the rows, onto any surface.
void PrintWorksheetDocument(PrintSurface& surface, const DocumentOptions& options = {});

// The heading alone, for count problems. filledIn, where given, stands in for the line of date,
// time and score that is otherwise left to be filled in by hand.
void PrintWorksheetHeading(PrintSurface& surface, int count, const DocumentOptions& options,
                           std::u16string_view filledIn = {});

// Draws a whole document onto a surface; for documents printed and saved as the worksheet is.
using DrawDocument = std::function<void(PrintSurface&)>;

enum class PrintResult {
    Printed,
    NoDefaultPrinter, // no printer is set up as the default
    CannotOpen,       // QPainter::begin failed
    JobFailed,        // the job could not be finished
};

// One job on the given printer (a real queue or a PDF file).
PrintResult PrintWorksheetOn(QPrinter& printer, const DocumentOptions& options = {});

// One job on the system's default printer.
PrintResult PrintOnDefaultPrinter(const DocumentOptions& options = {});
PrintResult PrintDocumentOnDefaultPrinter(const DrawDocument& draw);

// The message shown for a failure, in Chinese; empty for Printed.
QString PrintFailureMessage(PrintResult result);

// A PDF of one or more sheets, each from the worksheet table as it stands when it is added and
// each starting on a new page. It is written to a temporary file beside the target and takes the
// target's place only in Commit: a failure, or a document given up before Commit, leaves the
// target as it was and no partial file.
class WorksheetPdf
{
public:
    explicit WorksheetPdf(const QString& path);
    ~WorksheetPdf();
    WorksheetPdf(const WorksheetPdf&) = delete;
    WorksheetPdf& operator=(const WorksheetPdf&) = delete;

    // False when the file could not be opened or a page could not be started.
    bool Ok() const { return result_ == PrintResult::Printed; }
    // Why the file could not be written, from the system; empty while Ok.
    QString ErrorString() const { return error_; }

    // Prints the current worksheet from the top of a new page.
    bool AddSheet(const DocumentOptions& options);
    // Another document from the top of a new page.
    bool AddDocument(const DrawDocument& draw);
    int Sheets() const { return sheets_; }
    int Pages() const { return pages_; }

    // Ends the document and puts it in place. CannotOpen when the file could not be opened,
    // JobFailed when a page or the final write failed.
    PrintResult Commit();

private:
    void Fail(PrintResult result, const QString& why);

    QSaveFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    PrintResult result_ = PrintResult::Printed;
    QString error_;
    int sheets_ = 0;
    int pages_ = 0;
};

// The current worksheet as a one-sheet PDF at path, the same document the printer would get.
PrintResult SaveWorksheetPdf(const QString& path, const DocumentOptions& options = {});
PrintResult SaveDocumentPdf(const QString& path, const DrawDocument& draw);

// The message shown when a PDF could not be saved, in Chinese; empty for Printed.
QString SaveFailureMessage(PrintResult result, const QString& path);

} // namespace sumvarl
