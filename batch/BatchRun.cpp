#include "batch/BatchRun.h"

#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PrintedWorksheet.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/WorksheetBuilder.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextStream>
#include <array>
#include <memory>

namespace sumvarl::batch {

namespace {

const QString Program = QStringLiteral("sumvarl-batch");

// The builder draws the screen sheet as it goes; here only the table it fills is wanted.
class NoSurface final : public PrintSurface
{
protected:
    double ColumnWidth() const override { return 1; }
    double LineHeight() const override { return 1; }
    double TextWidth(std::u16string_view text) const override
    {
        return static_cast<double>(text.size());
    }
    void DrawText(double /*x*/, double /*y*/, std::u16string_view /*text*/) override {}
    void Clear() override {}
};

QString Message(const QString& chinese, const QString& english)
{
    return Program + QStringLiteral(": ") + chinese + QLatin1Char('\n') + Program +
           QStringLiteral(": ") + english + QLatin1Char('\n');
}

ParseOutcome Usage(const QString& chinese, const QString& english)
{
    ParseOutcome outcome;
    outcome.status = UsageError;
    outcome.error = Message(chinese, english) +
                    QStringLiteral("用 --help 查看用法。 / Try --help for usage.\n");
    return outcome;
}

ParseOutcome Runtime(const QString& chinese, const QString& english)
{
    ParseOutcome outcome;
    outcome.status = RuntimeError;
    outcome.error = Message(chinese, english);
    return outcome;
}

QString FromU16(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString EnglishRefusal(RefusalKind kind)
{
    switch (kind) {
    case RefusalKind::None:
        break;
    case RefusalKind::WeightOutOfRange:
        return QStringLiteral("the weights of --add/--sub/--mul/--div (or their sum) leave "
                              "-32768..32767");
    case RefusalKind::FillBlankOutOfRange:
        return QStringLiteral("the --fill percentage leaves -32768..32767");
    case RefusalKind::TooManyProblems:
        return QStringLiteral("--count may not exceed %1 problems").arg(Math::MaxProblemCount);
    case RefusalKind::ProblemCountOutOfRange:
        return QStringLiteral("--count leaves -32768..32767");
    case RefusalKind::NumberRangeOutOfRange:
        return QStringLiteral("--range leaves -32767..32767");
    }
    return QStringLiteral("the settings were refused");
}

struct Options
{
    std::array<QCommandLineOption, 4> operations{
        QCommandLineOption(QStringLiteral("add"),
                           QStringLiteral("加法，占用比例 W。 / Addition with weight W."),
                           QStringLiteral("W")),
        QCommandLineOption(QStringLiteral("sub"),
                           QStringLiteral("减法，占用比例 W。 / Subtraction with weight W."),
                           QStringLiteral("W")),
        QCommandLineOption(QStringLiteral("mul"),
                           QStringLiteral("乘法，占用比例 W。 / Multiplication with weight W."),
                           QStringLiteral("W")),
        QCommandLineOption(QStringLiteral("div"),
                           QStringLiteral("除法，占用比例 W。 / Division with weight W."),
                           QStringLiteral("W")),
    };
    QCommandLineOption fill{
        QStringLiteral("fill"),
        QStringLiteral("填空题占 P%。 / Fill-in-the-blank problems, P percent."),
        QStringLiteral("P")};
    QCommandLineOption range{
        QStringLiteral("range"),
        QStringLiteral("加减法的数在 N 以内（默认 100）。 / Addition and subtraction within N "
                       "(default 100)."),
        QStringLiteral("N"), QStringLiteral("100")};
    QCommandLineOption count{
        QStringLiteral("count"),
        QStringLiteral("每张的题数（默认 100，最多 200）。 / Problems per sheet (default 100, at "
                       "most 200)."),
        QStringLiteral("N"), QStringLiteral("100")};
    QCommandLineOption copies{
        QStringLiteral("copies"),
        QStringLiteral("出 N 张不同的练习题（默认 1）。 / N different sheets (default 1)."),
        QStringLiteral("N")};
    QCommandLineOption names{
        QStringLiteral("names"),
        QStringLiteral("名单文件（UTF-8）：每个非空行一张，姓名印在标题下。 / Names file (UTF-8): "
                       "one sheet per non-empty line, the name in its heading."),
        QStringLiteral("FILE")};
    QCommandLineOption answers{
        QStringLiteral("answers"),
        QStringLiteral("每张练习题后面附上它的答案。 / An answer key after each sheet.")};
    QCommandLineOption answersFile{
        QStringLiteral("answers-file"),
        QStringLiteral("所有答案另存到 FILE。 / All answer keys into the separate PDF FILE."),
        QStringLiteral("FILE")};
    QCommandLineOption seed{
        QStringLiteral("seed"),
        QStringLiteral("随机种子：同样的种子和选项出同样的题。 / Random seed: the same seed and "
                       "options give the same sheets."),
        QStringLiteral("N")};
    QCommandLineOption output{
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("输出的 PDF 文件（必需）。 / The PDF file to write (required)."),
        QStringLiteral("FILE.pdf")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示本帮助。 / Show this help.")};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("显示版本。 / Show the version.")};

    void AddTo(QCommandLineParser& parser) const
    {
        for (const QCommandLineOption& operation : operations) {
            parser.addOption(operation);
        }
        for (const QCommandLineOption* option : {&fill, &range, &count, &copies, &names, &answers,
                                                 &answersFile, &seed, &output, &help, &version}) {
            parser.addOption(*option);
        }
    }
};

const QString Description = QStringLiteral(
    "Sumvarl 批量出题：按设置窗口的规则出练习题，每个学生一张或指定张数，\n"
    "可附答案，全部写进 PDF 文件。\n"
    "Sumvarl batch worksheets: arithmetic worksheets made by the settings window's rules,\n"
    "one per pupil or a number of copies, with answer keys if wanted, into PDF files.");

const QString Epilogue = QStringLiteral(
    "\n"
    "没有给出运算时，只出加法（占用比例 25），和设置窗口打开时一样。\n"
    "Without an operation option the sheets are additions with weight 25, as the settings\n"
    "window starts.\n"
    "\n"
    "示例 / Example:\n"
    "  sumvarl-batch --add 50 --sub 50 --fill 30 --range 20 --count 40 \\\n"
    "                --names 三年级一班.txt --answers-file 答案.pdf -o 练习题.pdf\n"
    "\n"
    "退出状态 / Exit status: 0 成功 / success, 1 运行错误 / runtime error,\n"
    "2 用法错误 / usage error. 出错时不留下任何文件。 / On an error no file is left.\n");

// One name per non-empty line, surrounding white space removed.
ParseOutcome ReadNames(const QString& path, std::vector<std::u16string>& names)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Runtime(
            QStringLiteral("无法读取名单文件“%1”：%2").arg(path, file.errorString()),
            QStringLiteral("cannot read the names file '%1': %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Runtime(
            QStringLiteral("无法读取名单文件“%1”：%2").arg(path, file.errorString()),
            QStringLiteral("cannot read the names file '%1': %2").arg(path, file.errorString()));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        return Runtime(QStringLiteral("名单文件“%1”不是 UTF-8 文本").arg(path),
                       QStringLiteral("the names file '%1' is not UTF-8 text").arg(path));
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString name = line.trimmed();
        if (!name.isEmpty()) {
            names.push_back(name.toStdU16String());
        }
    }
    if (names.empty()) {
        return Runtime(QStringLiteral("名单文件“%1”里没有名字").arg(path),
                       QStringLiteral("the names file '%1' holds no name").arg(path));
    }
    if (static_cast<int>(names.size()) > MaxSheets) {
        return Runtime(QStringLiteral("名单文件“%1”的名字超过 %2 个").arg(path).arg(MaxSheets),
                       QStringLiteral("the names file '%1' holds more than %2 names")
                           .arg(path)
                           .arg(MaxSheets));
    }
    return {};
}

bool SameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

ParseOutcome ParseArguments(const QStringList& arguments)
{
    const Options o;
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    o.AddTo(parser);
    if (!parser.parse(arguments)) {
        // Qt words its errors in English only.
        const QStringList unknown = parser.unknownOptionNames();
        const QString chinese =
            unknown.isEmpty()
                ? QStringLiteral("选项缺少值或有误：%1").arg(parser.errorText())
                : QStringLiteral("没有这个选项：%1").arg(unknown.join(QStringLiteral("，")));
        return Usage(chinese, parser.errorText());
    }
    if (parser.isSet(o.help)) {
        ParseOutcome outcome;
        outcome.out = parser.helpText() + Epilogue;
        return outcome;
    }
    if (parser.isSet(o.version)) {
        ParseOutcome outcome;
        outcome.out =
            Program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString extra = parser.positionalArguments().join(QLatin1Char(' '));
        return Usage(QStringLiteral("多余的参数：%1").arg(extra),
                     QStringLiteral("unexpected arguments: %1").arg(extra));
    }

    BatchJob job;
    job.output = parser.value(o.output);
    if (job.output.isEmpty()) {
        return Usage(QStringLiteral("缺少输出文件：请用 -o FILE.pdf 指定"),
                     QStringLiteral("no output file: give one with -o FILE.pdf"));
    }

    // The boxes as the settings window holds them, with its initial texts where nothing is given.
    StartInputs inputs;
    inputs.boxes = {u"25", u"25", u"25", u"25", u"20"};
    bool anyOperation = false;
    for (std::size_t k = 0; k < o.operations.size(); ++k) {
        if (parser.isSet(o.operations[k])) {
            anyOperation = true;
            inputs.ticked[k] = true;
            inputs.boxes[k] = parser.value(o.operations[k]).toStdU16String();
        }
    }
    if (!anyOperation) {
        inputs.ticked[0] = true;
    }
    if (parser.isSet(o.fill)) {
        inputs.ticked[4] = true;
        inputs.boxes[4] = parser.value(o.fill).toStdU16String();
    }
    inputs.numberRange = parser.value(o.range).toStdU16String();
    inputs.problemCount = parser.value(o.count).toStdU16String();
    const StartOutcome read = ReadSettings(inputs);
    if (!read.settings) {
        return Usage(FromU16(read.reason), EnglishRefusal(read.kind));
    }
    job.settings = *read.settings;

    if (parser.isSet(o.copies) && parser.isSet(o.names)) {
        return Usage(QStringLiteral("--copies 和 --names 只能选一个"),
                     QStringLiteral("--copies and --names exclude each other"));
    }
    if (parser.isSet(o.copies)) {
        bool ok = false;
        job.copies = parser.value(o.copies).trimmed().toInt(&ok);
        if (!ok || job.copies < 1 || job.copies > MaxSheets) {
            return Usage(
                QStringLiteral("--copies 应为 1 到 %1 之间的整数").arg(MaxSheets),
                QStringLiteral("--copies takes a whole number from 1 to %1").arg(MaxSheets));
        }
    }
    if (parser.isSet(o.seed)) {
        bool ok = false;
        const qulonglong seed = parser.value(o.seed).trimmed().toULongLong(&ok);
        if (!ok) {
            return Usage(QStringLiteral("--seed 应为不小于 0 的整数"),
                         QStringLiteral("--seed takes a whole number of 0 or more"));
        }
        job.seed = seed;
    }
    if (parser.isSet(o.answers) && parser.isSet(o.answersFile)) {
        return Usage(QStringLiteral("--answers 和 --answers-file 只能选一个"),
                     QStringLiteral("--answers and --answers-file exclude each other"));
    }
    job.answersAfterEachSheet = parser.isSet(o.answers);
    job.answersFile = parser.value(o.answersFile);
    if (parser.isSet(o.answersFile) && job.answersFile.isEmpty()) {
        return Usage(QStringLiteral("--answers-file 缺少文件名"),
                     QStringLiteral("--answers-file needs a file name"));
    }
    if (!job.answersFile.isEmpty() && SameFile(job.answersFile, job.output)) {
        return Usage(QStringLiteral("答案文件和输出文件不能是同一个文件"),
                     QStringLiteral("the answers file and the output file must differ"));
    }
    if (parser.isSet(o.names)) {
        const QString namesFile = parser.value(o.names);
        // Writing over the list of names would lose it.
        if (SameFile(namesFile, job.output) ||
            (!job.answersFile.isEmpty() && SameFile(namesFile, job.answersFile))) {
            return Usage(QStringLiteral("输出文件不能覆盖名单文件"),
                         QStringLiteral("an output file may not replace the names file"));
        }
        ParseOutcome names = ReadNames(namesFile, job.names);
        if (names.status != Success) {
            return names;
        }
    }

    ParseOutcome outcome;
    outcome.job = std::move(job);
    return outcome;
}

int RunBatch(const BatchJob& job, QTextStream& out, QTextStream& err)
{
    CommitSettings(job.settings);

    // A seed makes the run repeatable: the generator's re-seeds read a clock that stands still.
    std::unique_ptr<ClockRandom> seeded;
    if (job.seed) {
        seeded = std::make_unique<ClockRandom>(*job.seed, [] { return std::uint64_t{0}; });
    }
    RandomSource& random = seeded ? static_cast<RandomSource&>(*seeded) : SharedRandom();
    BuildHooks hooks;
    hooks.generateProblem = [&random](std::int16_t range) { Math::GenerateProblem(range, random); };
    hooks.random = &random;
    bool tooFew = false;
    hooks.messageBox = [&tooFew](std::u16string_view, std::u16string_view) { tooFew = true; };

    const auto fail = [&err](const QString& chinese, const QString& english) {
        err << Message(chinese, english);
        err.flush();
        return RuntimeError;
    };
    const auto cannotWrite = [&fail](const QString& path, const WorksheetPdf& pdf) {
        return fail(
            QStringLiteral("无法写入“%1”：%2，没有生成文件").arg(path, pdf.ErrorString()),
            QStringLiteral("cannot write '%1': %2; no file was made").arg(path, pdf.ErrorString()));
    };

    WorksheetPdf sheets(job.output);
    if (!sheets.Ok()) {
        return cannotWrite(job.output, sheets);
    }
    std::unique_ptr<WorksheetPdf> keys;
    if (!job.answersFile.isEmpty()) {
        keys = std::make_unique<WorksheetPdf>(job.answersFile);
        if (!keys->Ok()) {
            return cannotWrite(job.answersFile, *keys);
        }
    }

    const int total = job.Sheets();
    const bool progress = total >= ProgressFrom;
    for (int n = 0; n < total; ++n) {
        NoSurface screen;
        BuildWorksheet(screen, hooks);
        if (tooFew) {
            if (progress) {
                err << QLatin1Char('\n');
            }
            return fail(QStringLiteral("%1（第 %2 张，每张 %3 题），没有生成文件")
                            .arg(FromU16(TooFewProblemsPrompt))
                            .arg(n + 1)
                            .arg(Math::ProblemCount),
                        QStringLiteral("these settings do not give %1 different problems (sheet "
                                       "%2); widen --range or tick more operations. No file was "
                                       "made")
                            .arg(Math::ProblemCount)
                            .arg(n + 1));
        }
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
        if (keys) {
            keys->AddSheet(key);
        }
        if (!sheets.Ok()) {
            return cannotWrite(job.output, sheets);
        }
        if (keys && !keys->Ok()) {
            return cannotWrite(job.answersFile, *keys);
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

    // The answer keys first: if the sheets then fail, the keys are taken away again, so that a
    // failed run leaves no file of its own.
    if (keys && keys->Commit() != PrintResult::Printed) {
        return cannotWrite(job.answersFile, *keys);
    }
    if (sheets.Commit() != PrintResult::Printed) {
        if (keys) {
            QFile::remove(job.answersFile);
        }
        return cannotWrite(job.output, sheets);
    }

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
    if (keys) {
        out << QStringLiteral("已写入答案 %1，共 %2 页。\nWrote the answer keys to %1: pages %2.\n")
                   .arg(job.answersFile)
                   .arg(keys->Pages());
    }
    out.flush();
    return Success;
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
