#include "batch/BatchRun.h"

#include "core/Lesson.h"
#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PrintedWorksheet.h"
#include "wording/Messages.h"
#include "wording/Text.h"
#include "worksheet/WorksheetBuilder.h"

#include <QTextStream>
#include <memory>

namespace sumvarl::batch {

namespace {

int Fail(QTextStream& err, const QString& chinese, const QString& english)
{
    err << Message(chinese, english);
    err.flush();
    return RuntimeError;
}

int CannotWrite(QTextStream& err, const WorksheetPdf& pdf)
{
    if (pdf.Result() == PrintResult::NotAFile) {
        return Fail(err, NotAFileText(pdf.Path()), NotAFileEnglish(pdf.Path()));
    }
    return Fail(err,
                QStringLiteral("无法写入“%1”：%2，没有生成文件")
                    .arg(pdf.Path(), SystemReasonInChinese(pdf.ErrorString())),
                QStringLiteral("cannot write '%1': %2; no file was made")
                    .arg(pdf.Path(), pdf.ErrorString()));
}

int TooFewProblems(QTextStream& err, const BatchJob& job, int sheet)
{
    const auto allowed = DifferentProblems(CountInputsFor(job.settings, job.lesson));
    return Fail(
        err,
        QStringLiteral("%1（第 %2 张，每张 %3 题；这些设置共有 %4 道不同的题），没有生成文件")
            .arg(ToQString(TooFewProblemsPrompt))
            .arg(sheet)
            .arg(Math::ProblemCount)
            .arg(allowed),
        QStringLiteral("these settings do not give %1 different problems (sheet %2; they "
                       "allow %3); widen --range or tick more operations. No file was "
                       "made")
            .arg(Math::ProblemCount)
            .arg(sheet)
            .arg(allowed));
}

// The sheet (and its key) of the worksheet now in the table, for the nth sheet of the run.
void AddSheet(const BatchJob& job, int n, WorksheetPdf& sheets, WorksheetPdf* keys)
{
    DocumentOptions sheet;
    if (!job.names.empty()) {
        sheet.pupilName = job.names[static_cast<std::size_t>(n)];
    }
    DocumentOptions key = sheet;
    key.answerKey = true;
    sheets.AddSheet(sheet);
    if (job.answersAfterEachSheet) {
        sheets.AddSheet(key);
    }
    if (keys != nullptr) {
        keys->AddSheet(key);
    }
}

void Summary(const BatchJob& job, const WorksheetPdf& sheets, const WorksheetPdf* keys,
             QTextStream& out)
{
    const int total = job.Sheets();
    const QString withKeys =
        job.answersAfterEachSheet ? QStringLiteral("，每张后附答案") : QString();
    out << QStringLiteral("已写入 %1：%2 张练习题%3，共 %4 页。\n")
               .arg(job.output)
               .arg(total)
               .arg(withKeys)
               .arg(sheets.Pages());
    out << QStringLiteral("Wrote %1: sheets %2%3, pages %4.\n")
               .arg(job.output)
               .arg(total)
               .arg(job.answersAfterEachSheet ? QStringLiteral(" with answer keys") : QString())
               .arg(sheets.Pages());
    if (keys != nullptr) {
        out << QStringLiteral("已写入答案 %1，共 %2 页。\nWrote the answer keys to %1: pages %2.\n")
                   .arg(job.answersFile)
                   .arg(keys->Pages());
    }
    out.flush();
}

} // namespace

int RunBatch(const BatchJob& job, QTextStream& out, QTextStream& err)
{
    CommitSettings(job.settings);
    Math::lesson = job.lesson;

    // A seed makes the run repeatable: the generator's re-seeds read a clock that stands still.
    std::unique_ptr<ClockRandom> seeded;
    if (job.seed) {
        seeded = std::make_unique<ClockRandom>(*job.seed, [] { return std::uint64_t{0}; });
    }
    RandomSource& random = seeded ? static_cast<RandomSource&>(*seeded) : SharedRandom();
    BuildHooks hooks;
    hooks.random = &random;

    WorksheetPdf sheets(job.output);
    std::unique_ptr<WorksheetPdf> keys;
    if (!job.answersFile.isEmpty()) {
        keys = std::make_unique<WorksheetPdf>(job.answersFile);
    }
    const int total = job.Sheets();
    const bool progress = total >= ProgressFrom;
    for (int n = 0; n < total; ++n) {
        if (FillWorksheetTable(hooks).gaveUp) {
            if (progress) {
                err << QLatin1Char('\n');
            }
            return TooFewProblems(err, job, n + 1);
        }
        AddSheet(job, n, sheets, keys.get());
        for (const WorksheetPdf* pdf : {&sheets, keys.get()}) {
            if (pdf != nullptr && !pdf->Ok()) {
                return CannotWrite(err, *pdf);
            }
        }
        if (progress) {
            err << QStringLiteral("\r第 %1/%2 张… / sheet %1 of %2").arg(n + 1).arg(total);
            err.flush();
        }
    }
    if (progress) {
        err << QLatin1Char('\n');
        err.flush();
    }

    // Both files in full first, then both in place: a failure leaves every older file as it was.
    const PrintResult written =
        keys ? CommitTogether({&sheets, keys.get()}) : CommitTogether({&sheets});
    if (written != PrintResult::Printed) {
        return CannotWrite(err, !sheets.Ok() || !keys ? sheets : *keys);
    }
    Summary(job, sheets, keys.get(), out);
    return Success;
}

int BatchMain(const QList<QByteArray>& raw, QTextStream& out, QTextStream& err)
{
    ParseOutcome refusal;
    const std::optional<QStringList> arguments = DecodeArguments(raw, refusal);
    if (!arguments) {
        err << refusal.error;
        err.flush();
        return refusal.status;
    }
    return BatchMain(*arguments, out, err);
}

int BatchMain(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const ParseOutcome parsed = ParseArguments(arguments);
    if (!parsed.out.isEmpty()) {
        out << parsed.out;
        out.flush();
    }
    if (!parsed.error.isEmpty()) {
        err << parsed.error;
        err.flush();
    }
    if (!parsed.job) {
        return parsed.status;
    }
    return RunBatch(*parsed.job, out, err);
}

} // namespace sumvarl::batch
