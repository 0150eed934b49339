#pragma once

// The paper worksheet: a larger heading and wider rows than the screen, no summary line. Made
// from the classic table (Math::ProblemCount and Math::WorksheetTable, read and left alone) or
// from a Sheet. Drawn onto any surface and written as a PDF here; PrinterJob puts it on a
// printer.

#include "core/Problem.h"
#include "print/PrintResult.h"
#include "print/PrinterModule.h"
#include "worksheet/TableRow.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPdfWriter;

namespace sumvarl {

class PrintSurface;
struct Sheet;

inline constexpr std::u16string_view PrintTitle = u"Tovrin 数 学 Sumvarl";
inline constexpr std::u16string_view AnswerKeyTitle = u"Tovrin 数 学 Sumvarl（答案）";
// 今日练习 on paper: the child's due and new facts, and on a page of its own their answers.
inline constexpr std::u16string_view ReviewTitle = u"Tovrin 错 题 卷 Sumvarl";
inline constexpr std::u16string_view ReviewKeyTitle = u"Tovrin 错 题 卷 Sumvarl（答案）";
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
    // 脱式计算: a sheet's problems two to a row, each with a line "＝" for every step and room to
    // write under it; the key writes each step. Every problem is posed with its result open.
    bool stepByStep = false;
    // Small print at the foot of every page, such as the 卷号 of a sheet kept for a child.
    std::u16string footer{};
};

// The heading and the rows of the classic table, onto any surface.
void PrintWorksheetDocument(PrintSurface& surface, const DocumentOptions& options = {});

// The heading and the sheet's rows. The heading shows the count the sheet asked for, as the
// classic document shows the count Start accepted.
void PrintSheetDocument(PrintSurface& surface, const Sheet& sheet,
                        const DocumentOptions& options = {});

// The heading with count, then the rows as problems 1, 2, ...: what both documents print.
void PrintDocumentRows(PrintSurface& surface, int count, const std::vector<TableRow>& rows,
                       const DocumentOptions& options);

// The heading, then the problems written out step by step (DocumentOptions::stepByStep).
void PrintWorkingRows(PrintSurface& surface, int count, const std::vector<model::Problem>& problems,
                      const DocumentOptions& options);

// The heading alone, for count problems. filledIn, where given, stands in for the line of date,
// time and score that is otherwise left to be filled in by hand.
void PrintWorksheetHeading(PrintSurface& surface, int count, const DocumentOptions& options,
                           std::u16string_view filledIn = {});

// The same under another title.
void PrintTitledHeading(PrintSurface& surface, int count, const DocumentOptions& options,
                        std::u16string_view title, std::u16string_view filledIn = {});

// Draws a whole document onto a surface; for documents printed and saved as the worksheet is.
using DrawDocument = std::function<void(PrintSurface&)>;

// The worksheet with these options as a document to print or save.
DrawDocument WorksheetDocument(DocumentOptions options);

// The sheet with these options; the document holds its own copy of the sheet.
DrawDocument SheetDocument(Sheet sheet, DocumentOptions options);

// A 错题卷: the sheet under ReviewTitle, then on a new page its answer key, both with the
// child's name and, where given, the footer (its 卷号); the count is the problems the sheet has.
DrawDocument ReviewSheetDocument(Sheet sheet, std::u16string pupilName, std::u16string footer = {});

// The worksheet as it stands now, drawn whenever the document is drawn: a print job is painted
// only once the printer has been found, and the sheet may have been recalculated by then.
DrawDocument FrozenWorksheetDocument(DocumentOptions options);

// The document painted through our surface, for a printer job.
PaintPages PaintingOf(DrawDocument draw);

// A path for std::filesystem: the bytes Qt itself would open on Linux; on Windows the UTF-16 name,
// since the 8-bit code page there cannot hold every Chinese name (甲.pdf and 乙.pdf would both be
// "?.pdf" on a Windows set to English).
std::filesystem::path NativePath(const QString& path);

// A new PDF takes its target's place by a rename, which would put a plain file where a device
// or a pipe was (as root, /dev/null itself). Only nothing, a regular file or a link to one may be
// replaced.
bool IsReplaceableTarget(const QString& path);

// Opens the file a PDF is written to beside its target before it takes the target's place: a
// QSaveFile. Tests put one in that fails part of the way.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;
SaveFileFactory& PdfSaveFiles();

// A PDF of one or more sheets, each from a Sheet or from the worksheet table as it stands when
// it is added, and each starting on a new page. It is made in memory and takes the target's place
// only in Commit, after it has been written in full beside it: a failure, or a document given up
// before Commit, leaves the target as it was and no partial file.
class WorksheetPdf
{
public:
    explicit WorksheetPdf(QString path);
    ~WorksheetPdf();
    WorksheetPdf(const WorksheetPdf&) = delete;
    WorksheetPdf& operator=(const WorksheetPdf&) = delete;

    const QString& Path() const { return path_; }
    // False once a page could not be started or the file could not be written.
    bool Ok() const { return result_ == SaveResult::Saved; }
    SaveResult Result() const { return result_; }
    // Why, from the system where it said; empty while Ok.
    QString ErrorString() const { return error_; }

    // Prints the current worksheet from the top of a new page.
    bool AddSheet(const DocumentOptions& options);
    // Prints the sheet from the top of a new page.
    bool AddSheet(const Sheet& sheet, const DocumentOptions& options);
    // Another document from the top of a new page.
    bool AddDocument(const DrawDocument& draw);
    // A page painted straight with the painter, given the page's printable area (a chart).
    using Painting = std::function<void(QPainter& painter, const QRectF& page)>;
    bool AddPainting(const Painting& paint);
    // A document painted straight with the painter that starts `pages` pages (竖式 sheets).
    bool AddPages(const PaintPages& paint, int pages);
    int Sheets() const { return sheets_; }
    int Pages() const { return pages_; }

    // Ends the document and puts it in place. CannotOpen when the file could not be made,
    // JobFailed when it could not be written in full.
    SaveResult Commit();

private:
    friend SaveResult CommitTogether(std::initializer_list<WorksheetPdf*> documents);
    void Fail(SaveResult result, const QString& why);
    // Begins the painter, or a new page after a sheet before.
    bool StartDocument();
    bool Finish();
    std::unique_ptr<QSaveFile> WriteBeside();

    QString path_;
    QByteArray data_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    SaveResult result_ = SaveResult::Saved;
    QString error_;
    int sheets_ = 0;
    int pages_ = 0;
};

// Puts documents in place together: all of them, or, when any fails, none, every older file
// kept and no partial file left. Returns the first failure; that document says why.
SaveResult CommitTogether(std::initializer_list<WorksheetPdf*> documents);

// The current worksheet as a one-sheet PDF at path, the same document the printer would get.
SaveOutcome SaveWorksheetPdf(const QString& path, const DocumentOptions& options = {});
SaveOutcome SaveDocumentPdf(const QString& path, const DrawDocument& draw);
SaveOutcome SavePaintingPdf(const QString& path, const WorksheetPdf::Painting& paint);

// A painting of one page as a job for a printer: painted on the printable area of its paper.
PaintPages PaintingPages(WorksheetPdf::Painting paint);
// The sheet written out step by step (脱式), then its key on a new page, as one PDF.
SaveOutcome SaveWorkingPdf(const QString& path, const Sheet& sheet);

} // namespace sumvarl
