#include "batch/BatchRun.h"

#include "core/Lesson.h"
#include "core/RandomSource.h"
#include "core/SheetCode.h"
#include "core/Vertical.h"
#include "history/HistoryStore.h"
#include "history/TodaysRound.h"
#include "print/PrintedWorksheet.h"
#include "print/VerticalSheet.h"
#include "wording/HistoryMessages.h"
#include "wording/Messages.h"
#include "wording/ParentReports.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"
#include "worksheet/WorksheetBuilder.h"

#include <QFileInfo>
#include <QTextStream>
#include <memory>
#include <numeric>
#include <vector>

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
    if (pdf.Result() == SaveResult::NotAFile) {
        return Fail(err, NotAFileText(pdf.Path()), NotAFileEnglish(pdf.Path()));
    }
    return Fail(err,
                QStringLiteral("无法写入“%1”：%2，没有生成文件")
                    .arg(pdf.Path(), SystemReasonInChinese(pdf.ErrorString())),
                QStringLiteral("cannot write '%1': %2; no file was made")
                    .arg(pdf.Path(), pdf.ErrorString()));
}

// The settings a part was made with, as far as the count of different problems needs them.
Settings SettingsOf(const PartSpec& part)
{
    Settings settings;
    settings.WeightTotal = part.weightTotal;
    settings.CumulativeWeight = part.cumulativeWeight;
    settings.NumberRange = part.numberRange;
    return settings;
}

// The part of the sheet whose problems ran out: the first not on the sheet in full.
const PartSpec& PartThatFellShort(const Sheet& sheet)
{
    const std::vector<int> counts = PartCounts(sheet.recipe);
    std::size_t made = sheet.problems.size();
    std::size_t k = 0;
    while (k + 1 < counts.size() && made >= static_cast<std::size_t>(counts[k])) {
        made -= static_cast<std::size_t>(counts[k]);
        ++k;
    }
    return sheet.recipe.parts[k];
}

int TooFewProblems(QTextStream& err, const Sheet& sheet, int n)
{
    const PartSpec& part = PartThatFellShort(sheet);
    const auto allowed =
        part.vertical != VerticalKind::None
            ? DifferentVerticalProblems(part)
            : DifferentProblems(CountInputsFor(SettingsOf(part), part.lesson, part.shape));
    return Fail(
        err,
        QStringLiteral("%1（第 %2 张，每张 %3 题；这些设置共有 %4 道不同的题），没有生成文件")
            .arg(ToQString(TooFewProblemsPrompt))
            .arg(n)
            .arg(part.problemCount)
            .arg(allowed),
        QStringLiteral("these settings do not give %1 different problems (sheet %2; they "
                       "allow %3); widen --range or tick more operations. No file was "
                       "made")
            .arg(part.problemCount)
            .arg(n)
            .arg(allowed));
}

// A 竖式 sheet and its worked key.
void AddVerticalSheet(const BatchJob& job, const Sheet& made, const std::u16string& name,
                      WorksheetPdf& sheets, WorksheetPdf* keys)
{
    VerticalOptions sheet;
    sheet.paper = job.paper;
    sheet.footer = SheetCodeFooter(made.recipe);
    sheet.pupilName = name;
    VerticalOptions key = sheet;
    key.answerKey = true;
    const int pages = VerticalSheetPageCount(made, sheet);
    sheets.AddPages(VerticalSheetPages(made, sheet), pages);
    if (job.answersAfterEachSheet) {
        sheets.AddPages(VerticalSheetPages(made, key), pages);
    }
    if (keys != nullptr) {
        keys->AddPages(VerticalSheetPages(made, key), pages);
    }
}

// The sheet (and its key) as the nth sheet of the run.
void AddSheet(const BatchJob& job, const Sheet& made, int n, WorksheetPdf& sheets,
              WorksheetPdf* keys, const std::u16string& footer)
{
    DocumentOptions sheet;
    sheet.stepByStep = job.stepByStep;
    sheet.footer = footer;
    if (!job.names.empty()) {
        sheet.pupilName = job.names[static_cast<std::size_t>(n)];
    }
    // A review holds the child's due facts, chains among them, whatever the last sheet was.
    if (IsVerticalSheet(made.recipe) && !job.Review()) {
        AddVerticalSheet(job, made, sheet.pupilName, sheets, keys);
        return;
    }
    DocumentOptions key = sheet;
    key.answerKey = true;
    sheets.AddSheet(made, sheet);
    if (job.answersAfterEachSheet) {
        sheets.AddSheet(made, key);
    }
    if (keys != nullptr) {
        keys->AddSheet(made, key);
    }
}

// "第 1 张 / sheet 1: 2CTR-HPV6-YSAF-V7X7", with the pupil's name where there is one; the code
// last, for scripts.
void PrintCodes(const BatchJob& job, const std::vector<std::u16string>& codes, QTextStream& out)
{
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const QString name =
            job.names.empty() ? QString() : QStringLiteral(" (%1)").arg(ToQString(job.names[k]));
        out << QStringLiteral("第 %1 张 / sheet %1%2: %3\n")
                   .arg(k + 1)
                   .arg(name, ToQString(codes[k]));
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

// A review sheet made for a child is kept in the history, so that the paper can be marked later
// by the 卷号 in its footer; where it cannot be kept the sheet is still made, without one.
std::optional<qint64> KeepReviewSheet(history::Store& store, qint64 child, const Sheet& sheet,
                                      QTextStream& err)
{
    const history::WriteResult kept = store.KeepPaper(child, sheet, QDateTime::currentDateTime());
    if (kept.Ok()) {
        return kept.id;
    }
    err << QStringLiteral("这张错题卷没有记进历史记录（%1），卷子上没有卷号，以后不能按卷号批改。\n"
                          "The review sheet was not kept in the history (%2); it has no sheet "
                          "code to be marked by later.\n")
               .arg(SystemReasonInChinese(kept.reason), kept.reason);
    err.flush();
    return std::nullopt;
}

// The child's review sheet from the history on this machine, or with --report an empty sheet
// once the report is written; empty, with the reason told, where there is none.
std::optional<Sheet> ReviewSheet(const BatchJob& job, QTextStream& out, QTextStream& err,
                                 std::optional<qint64>& kept)
{
    const QString path = history::DefaultHistoryPath();
    if (!QFileInfo::exists(path)) {
        Fail(err,
             QStringLiteral("还没有历史记录（“%1”不存在）：先在练习窗口里选好孩子做练习").arg(path),
             QStringLiteral("there is no history yet ('%1' does not exist): practise in the "
                            "practice window with the child chosen first")
                 .arg(path));
        return std::nullopt;
    }
    // A report only reads; a review sheet is kept in the history.
    const auto store = history::Store::Open(path, QDateTime::currentDateTime(),
                                            job.report ? history::Store::Access::ReadOnly
                                                       : history::Store::Access::ReadWrite);
    const history::OpenReport& report = store->Report();
    if (report.state == history::OpenState::MovedAside) {
        err << HistoryOpenText(report) << QLatin1Char('\n');
        err.flush();
    }
    if (report.state == history::OpenState::Unavailable) {
        // Damaged: the practice window moves it aside and says so; here it is only read.
        Fail(err, QStringLiteral("无法打开历史记录“%1”：%2").arg(path, report.reason),
             QStringLiteral("cannot open the history '%1': %2").arg(path, report.reason));
        return std::nullopt;
    }
    QStringList names;
    for (const history::Child& child : store->Children()) {
        if (child.name == job.reviewChild && job.report) {
            const SaveOutcome saved =
                SaveWeeklyReportPdf(*store, child.id, QDate::currentDate(), job.output);
            if (!saved.Ok()) {
                Fail(err, SaveFailureMessage(saved.result, job.output, saved.reason),
                     QStringLiteral("cannot write '%1': %2").arg(job.output, saved.reason));
                return std::nullopt;
            }
            out << QStringLiteral(
                       "已写入 %1：%2本周的报告。\nWrote %1: this week's report of %2.\n")
                       .arg(job.output, child.name);
            out.flush();
            return Sheet{};
        }
        if (child.name == job.reviewChild) {
            Sheet sheet =
                history::MakeTodaysSheet(*store, child.id, PartSpecFor(job.settings, job.lesson),
                                         QDate::currentDate(), SharedRandom(), job.reviewCount);
            if (sheet.problems.empty()) {
                Fail(err, QStringLiteral("“%1”今天没有要复习的题，没有生成文件").arg(child.name),
                     QStringLiteral("'%1' has nothing to review today; no file was made")
                         .arg(child.name));
                return std::nullopt;
            }
            kept = KeepReviewSheet(*store, child.id, sheet, err);
            return sheet;
        }
        names << child.name;
    }
    const QString known =
        names.isEmpty() ? QStringLiteral("（还没有孩子）") : names.join(QStringLiteral("、"));
    Fail(err, QStringLiteral("历史记录里没有叫“%1”的孩子；有：%2").arg(job.reviewChild, known),
         QStringLiteral("the history has no child called '%1'; it has: %2")
             .arg(job.reviewChild, names.join(QStringLiteral(", "))));
    return std::nullopt;
}

} // namespace

SheetSpec FirstSheetSpec(const BatchJob& job)
{
    if (job.fromCode) {
        return *job.fromCode;
    }
    constexpr auto ShortSeeds = std::uint64_t{1} << ShortSheetCodeSeedBits;
    // A draw has 24 bits, so the product stays below 2^23 and keeps 23 of them.
    const auto fresh = static_cast<std::uint64_t>(static_cast<double>(SharedRandom().Draw()) *
                                                  static_cast<double>(ShortSeeds));
    if (!job.parts.empty()) {
        return {job.parts, job.seed.value_or(fresh), job.mixed};
    }
    PartSpec part = PartSpecFor(job.settings, job.lesson, job.shape);
    part.vertical = job.vertical;
    return {{part}, job.seed.value_or(fresh)};
}

SheetSpec NextSheetSpec(const Sheet& previous)
{
    return {previous.recipe.parts, previous.nextSeed, previous.recipe.mixed};
}

int RunBatch(const BatchJob& given, QTextStream& out, QTextStream& err)
{
    BatchJob job = given;
    std::optional<Sheet> review;
    std::optional<qint64> kept; // the review sheet's number in the history
    if (job.Review()) {
        review = ReviewSheet(job, out, err, kept);
        if (!review) {
            return RuntimeError;
        }
        if (job.report) {
            return Success;
        }
        job.names = {ToU16(job.reviewChild)};
    }
    WorksheetPdf sheets(job.output);
    std::unique_ptr<WorksheetPdf> keys;
    if (!job.answersFile.isEmpty()) {
        keys = std::make_unique<WorksheetPdf>(job.answersFile);
    }
    const int total = job.Sheets();
    const bool progress = total >= ProgressFrom;
    std::vector<std::u16string> codes;
    SheetSpec recipe = FirstSheetSpec(job);
    for (int n = 0; n < total; ++n) {
        const Sheet sheet = review ? *review : MakeSheet(recipe);
        if (sheet.fellShort && !review) {
            if (progress) {
                err << QLatin1Char('\n');
            }
            return TooFewProblems(err, sheet, n + 1);
        }
        codes.push_back(kept ? EncodeKeptSheetCode(static_cast<std::uint32_t>(*kept))
                             : EncodeSheetCode(sheet.recipe));
        AddSheet(job, sheet, n, sheets, keys.get(), kept ? KeptSheetFooter(*kept) : u"");
        for (const WorksheetPdf* pdf : {&sheets, keys.get()}) {
            if (pdf != nullptr && !pdf->Ok()) {
                return CannotWrite(err, *pdf);
            }
        }
        if (progress) {
            err << QStringLiteral("\r第 %1/%2 张… / sheet %1 of %2").arg(n + 1).arg(total);
            err.flush();
        }
        recipe = NextSheetSpec(sheet);
    }
    if (progress) {
        err << QLatin1Char('\n');
        err.flush();
    }

    // Both files in full first, then both in place: a failure leaves every older file as it was.
    const SaveResult written =
        keys ? CommitTogether({&sheets, keys.get()}) : CommitTogether({&sheets});
    if (written != SaveResult::Saved) {
        return CannotWrite(err, !sheets.Ok() || !keys ? sheets : *keys);
    }
    if (job.printCodes) {
        PrintCodes(job, codes, out);
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
