#include "print/PrintedWorksheet.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Sheet.h"
#include "print/PainterSurface.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/StepByStep.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>
#include <vector>

namespace sumvarl {

namespace {

constexpr std::u16string_view FillInLine = u"日期：__年__月__日  用时：_______  得分：_______";

} // namespace

void PrintWorksheetHeading(PrintSurface& s, int count, const DocumentOptions& options,
                           std::u16string_view filledIn)
{
    PrintTitledHeading(s, count, options, options.answerKey ? AnswerKeyTitle : PrintTitle,
                       filledIn);
}

void PrintTitledHeading(PrintSurface& s, int count, const DocumentOptions& options,
                        std::u16string_view title, std::u16string_view filledIn)
{
    // A heading opens a document's first page: its footer starts there.
    s.SetPageFooter(options.footer);
    s.SetFontName(u"宋体");
    s.SetFontSize(24);
    s.SetFontBold(false);
    s.SetFontUnderline(false);
    s.Print({u""}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetCurrentX(2500);
    s.Print({title}, Ending::Line);
    s.SetFontSize(12);
    if (options.pupilName.empty()) {
        s.Print({u""}, Ending::Line);
    } else {
        s.SetCurrentX(3500);
        const std::u16string nameLine = std::u16string(PupilNameLabel) + options.pupilName;
        s.Print({nameLine}, Ending::Line);
    }
    s.SetCurrentX(3500);
    const std::u16string countText = DecimalText(count);
    s.Print({u"题目数：", countText, u"题     "}, Ending::Open);
    s.Print({filledIn.empty() ? FillInLine : filledIn}, Ending::Line);
    s.Print({u""}, Ending::Line);
    s.SetFontSize(16);
}

void PrintDocumentRows(PrintSurface& surface, int count, const std::vector<TableRow>& rows,
                       const DocumentOptions& options)
{
    PrintWorksheetHeading(surface, count, options);
    int i = 0;
    for (const TableRow& row : rows) {
        PrintProblemLine(surface, ++i, row, Variant::Printer, options.answerKey);
    }
}

namespace {

// Two problems side by side, each with its number: "1. （12－4）×3".
constexpr std::array<int, 2> WorkingColumns{4, 38};
constexpr int StepIndent = 3; // "＝" stands under the problem, past its number

std::u16string Numbered(std::size_t index, const model::Problem& problem)
{
    return DecimalText(static_cast<int>(index + 1)) + u". " + ProblemWithoutAnswer(problem);
}

// One line of the working of both problems: "＝" and, in a key, the step.
void PrintStepLine(PrintSurface& s, const std::array<std::u16string, 2>& texts, std::size_t shown,
                   int indent)
{
    for (std::size_t k = 0; k < shown; ++k) {
        s.Print({Tab{WorkingColumns.at(k) + indent}, texts.at(k)}, Ending::Open);
    }
    s.EndLine();
}

} // namespace

void PrintWorkingRows(PrintSurface& s, int count, const std::vector<model::Problem>& problems,
                      const DocumentOptions& options)
{
    PrintWorksheetHeading(s, count, options);
    for (std::size_t i = 0; i < problems.size(); i += 2) {
        const std::size_t shown = std::min<std::size_t>(2, problems.size() - i);
        std::array<std::vector<std::u16string>, 2> steps;
        std::array<std::u16string, 2> line;
        std::size_t lines = 0;
        for (std::size_t k = 0; k < shown; ++k) {
            steps.at(k) = WorkingSteps(problems[i + k]);
            lines = std::max(lines, steps.at(k).size());
            line.at(k) = Numbered(i + k, problems[i + k]);
        }
        PrintStepLine(s, line, shown, 0);
        for (std::size_t step = 0; step < lines; ++step) {
            for (std::size_t k = 0; k < shown; ++k) {
                const bool has = step < steps.at(k).size();
                line.at(k) = has ? std::u16string(EqualsSign) : std::u16string();
                if (has && options.answerKey) {
                    line.at(k) += steps.at(k)[step];
                }
            }
            PrintStepLine(s, line, shown, StepIndent);
            // Room to write the step.
            s.SetFontSize(12);
            s.EndLine();
            s.SetFontSize(16);
        }
        s.EndLine();
    }
}

void PrintWorksheetDocument(PrintSurface& surface, const DocumentOptions& options)
{
    // Taken once. The heading shows the count as Start accepted it, a negative one too, as the
    // screen does; the rows are held to the table, which a count outside it (only reachable by
    // writing the state directly) would read past.
    const int count = Math::ProblemCount;
    const int shown = std::clamp<int>(count, 0, Math::MaxProblemCount);
    std::vector<TableRow> rows;
    rows.reserve(static_cast<std::size_t>(shown));
    for (int i = 1; i <= shown; ++i) {
        rows.push_back(RowAt(i));
    }
    PrintDocumentRows(surface, count, rows, options);
}

void PrintSheetDocument(PrintSurface& surface, const Sheet& sheet, const DocumentOptions& options)
{
    int asked = 0;
    for (const PartSpec& part : sheet.recipe.parts) {
        asked += part.problemCount;
    }
    if (options.stepByStep) {
        PrintWorkingRows(surface, asked, sheet.problems, options);
        return;
    }
    PrintDocumentRows(surface, asked, RowsOf(sheet), options);
}

std::filesystem::path NativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return {path.toStdWString()};
#else
    return {QFile::encodeName(path).toStdString()};
#endif
}

bool IsReplaceableTarget(const QString& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(NativePath(path), error);
    return !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
}

SaveFileFactory& PdfSaveFiles()
{
    static SaveFileFactory factory = [](const QString& path) {
        return std::make_unique<QSaveFile>(path);
    };
    return factory;
}

WorksheetPdf::WorksheetPdf(QString path) : path_(std::move(path)), buffer_(&data_)
{
    buffer_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setTitle(QStringLiteral("Sumvarl"));
    writer_->setCreator(QStringLiteral("Sumvarl"));
    // The printer path's resolution (QPrinter::HighResolution on a PDF engine), so the text is
    // measured and placed as it would be on paper.
    writer_->setResolution(1200);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       PdfMarginsMm, QPageLayout::Millimeter));
}

WorksheetPdf::~WorksheetPdf()
{
    if (painter_.isActive()) {
        painter_.end();
    }
}

void WorksheetPdf::Fail(SaveResult result, const QString& why)
{
    if (result_ == SaveResult::Saved) {
        result_ = result;
        error_ = why;
    }
}

bool WorksheetPdf::AddSheet(const DocumentOptions& options)
{
    return AddDocument(WorksheetDocument(options));
}

bool WorksheetPdf::AddSheet(const Sheet& sheet, const DocumentOptions& options)
{
    return AddDocument(
        [&sheet, &options](PrintSurface& s) { PrintSheetDocument(s, sheet, options); });
}

bool WorksheetPdf::AddPainting(const Painting& paint)
{
    return AddDocument([this, &paint](PrintSurface&) {
        const QRectF page(QPointF(0, 0),
                          writer_->pageLayout().paintRectPixels(writer_->resolution()).size());
        paint(painter_, page);
    });
}

bool WorksheetPdf::AddPages(const PaintPages& paint, int pages)
{
    if (!StartDocument()) {
        return false;
    }
    ++sheets_;
    pages_ += pages;
    if (!paint(painter_, *writer_)) {
        Fail(SaveResult::NotWritten, QStringLiteral("a new page could not be started"));
        return false;
    }
    return true;
}

bool WorksheetPdf::StartDocument()
{
    if (!Ok()) {
        return false;
    }
    if (sheets_ == 0) {
        if (!painter_.begin(writer_.get())) {
            Fail(SaveResult::CannotCreate, QStringLiteral("the PDF could not be started"));
            return false;
        }
    } else if (!writer_->newPage()) {
        Fail(SaveResult::NotWritten, QStringLiteral("a new page could not be started"));
        return false;
    }
    return true;
}

bool WorksheetPdf::AddDocument(const DrawDocument& draw)
{
    if (!StartDocument()) {
        return false;
    }
    PainterSurface surface(painter_, writer_.get());
    draw(surface);
    ++sheets_;
    pages_ += surface.PagesStarted();
    if (surface.PageFailed()) {
        Fail(SaveResult::NotWritten, QStringLiteral("a new page could not be started"));
        return false;
    }
    return true;
}

bool WorksheetPdf::Finish()
{
    if (Ok() && sheets_ == 0 && !painter_.begin(writer_.get())) {
        // A document with no sheet still gets its one empty page, as a print job would.
        Fail(SaveResult::CannotCreate, QStringLiteral("the PDF could not be started"));
    }
    if (painter_.isActive() && !painter_.end()) {
        Fail(SaveResult::NotWritten, QStringLiteral("the PDF could not be finished"));
    }
    writer_.reset();
    buffer_.close();
    return Ok();
}

std::unique_ptr<QSaveFile> WorksheetPdf::WriteBeside()
{
    if (!IsReplaceableTarget(path_)) {
        Fail(SaveResult::NotAFile, {});
        return nullptr;
    }
    std::unique_ptr<QSaveFile> file = PdfSaveFiles()(path_);
    // Unbuffered, so that a write that fails says why (a full disk) instead of a buffered
    // flush's "Unknown error".
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        Fail(SaveResult::CannotCreate, file->errorString());
        return nullptr;
    }
    // A write that runs out of room part of the way reports no reason; the next one says why.
    for (qint64 written = 0; written < data_.size();) {
        const qint64 n = file->write(data_.constData() + written, data_.size() - written);
        if (n <= 0) {
            Fail(SaveResult::NotWritten, file->errorString());
            return nullptr;
        }
        written += n;
    }
    if (!file->flush()) {
        Fail(SaveResult::NotWritten, file->errorString());
        return nullptr;
    }
    return file;
}

SaveResult WorksheetPdf::Commit()
{
    return CommitTogether({this});
}

SaveResult CommitTogether(std::initializer_list<WorksheetPdf*> documents)
{
    for (WorksheetPdf* pdf : documents) {
        if (!pdf->Finish()) {
            return pdf->result_;
        }
    }
    // Every document is written in full beside its target before any target is replaced; a
    // QSaveFile given up without commit() removes what it wrote.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (WorksheetPdf* pdf : documents) {
        files.push_back(pdf->WriteBeside());
        if (!files.back()) {
            return pdf->result_;
        }
    }
    // Renaming within a folder is all that is left, and that does not run out of space.
    for (std::size_t k = 0; k < files.size(); ++k) {
        WorksheetPdf* pdf = std::data(documents)[k];
        if (!files[k]->commit()) {
            pdf->Fail(SaveResult::NotWritten, files[k]->errorString());
            return pdf->result_;
        }
    }
    return SaveResult::Saved;
}

DrawDocument WorksheetDocument(DocumentOptions options)
{
    return [options = std::move(options)](PrintSurface& s) { PrintWorksheetDocument(s, options); };
}

DrawDocument SheetDocument(Sheet sheet, DocumentOptions options)
{
    return [sheet = std::move(sheet), options = std::move(options)](PrintSurface& s) {
        PrintSheetDocument(s, sheet, options);
    };
}

DrawDocument ReviewSheetDocument(Sheet sheet, std::u16string pupilName, std::u16string footer)
{
    return [sheet = std::move(sheet), pupilName = std::move(pupilName),
            footer = std::move(footer)](PrintSurface& s) {
        const std::vector<TableRow> rows = RowsOf(sheet);
        const int count = static_cast<int>(rows.size());
        for (const bool key : {false, true}) {
            const DocumentOptions options{
                .answerKey = key, .pupilName = pupilName, .footer = footer};
            if (key) {
                s.NewPage();
            }
            PrintTitledHeading(s, count, options, key ? ReviewKeyTitle : ReviewTitle);
            int i = 0;
            for (const TableRow& row : rows) {
                PrintProblemLine(s, ++i, row, Variant::Printer, key);
            }
        }
    };
}

DrawDocument FrozenWorksheetDocument(DocumentOptions options)
{
    return [options = std::move(options), table = Math::WorksheetTable,
            count = Math::ProblemCount](PrintSurface& s) {
        // The sheet as it was is put back in place for the drawing, which reads it from there,
        // and the sheet as it is now is restored after.
        const Math::WorksheetColumns now = std::exchange(Math::WorksheetTable, table);
        const std::int16_t nowCount = std::exchange(Math::ProblemCount, count);
        PrintWorksheetDocument(s, options);
        Math::WorksheetTable = now;
        Math::ProblemCount = nowCount;
    };
}

PaintPages PaintingOf(DrawDocument draw)
{
    return [draw = std::move(draw)](QPainter& painter, QPagedPaintDevice& pages) {
        PainterSurface surface(painter, &pages);
        draw(surface);
        return !surface.PageFailed();
    };
}

SaveOutcome SaveWorksheetPdf(const QString& path, const DocumentOptions& options)
{
    return SaveDocumentPdf(path, WorksheetDocument(options));
}

SaveOutcome SaveWorkingPdf(const QString& path, const Sheet& sheet)
{
    WorksheetPdf pdf(path);
    DocumentOptions options;
    options.stepByStep = true;
    pdf.AddSheet(sheet, options);
    options.answerKey = true;
    pdf.AddSheet(sheet, options);
    const SaveResult result = pdf.Commit();
    return {result, pdf.ErrorString()};
}

SaveOutcome SaveDocumentPdf(const QString& path, const DrawDocument& draw)
{
    WorksheetPdf pdf(path);
    pdf.AddDocument(draw);
    const SaveResult result = pdf.Commit();
    return {result, pdf.ErrorString()};
}

SaveOutcome SavePaintingPdf(const QString& path, const WorksheetPdf::Painting& paint)
{
    WorksheetPdf pdf(path);
    pdf.AddPainting(paint);
    const SaveResult result = pdf.Commit();
    return {result, pdf.ErrorString()};
}

PaintPages PaintingPages(WorksheetPdf::Painting paint)
{
    return [paint = std::move(paint)](QPainter& painter, QPagedPaintDevice& pages) {
        paint(painter, QRectF(0, 0, pages.width(), pages.height()));
        return true;
    };
}

} // namespace sumvarl
