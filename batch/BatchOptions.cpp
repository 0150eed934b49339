#include "batch/BatchOptions.h"

#include "core/Lesson.h"
#include "core/NumberText.h"
#include "core/Sheet.h"
#include "core/SheetCode.h"
#include "core/Vertical.h"
#include "print/PrintedWorksheet.h"
#include "print/VerticalSheet.h"
#include "wording/Messages.h"
#include "wording/Presets.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"
#include "worksheet/WorksheetBuilder.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

namespace sumvarl::batch {

QString Message(const QString& chinese, const QString& english)
{
    static const QString program = QStringLiteral("sumvarl-batch: ");
    return program + chinese + QLatin1Char('\n') + program + english + QLatin1Char('\n');
}

QString NotAFileEnglish(const QString& path)
{
    return QStringLiteral("'%1' is not a regular file (a device, a pipe or a folder); it was "
                          "left alone and no file was made")
        .arg(path);
}

namespace {

// --shape's English keys, indexed by ProblemShape.
const std::array<QString, ProblemShapeCount> ShapeKeys{QStringLiteral("one"),
                                                       QStringLiteral("add-chain"),
                                                       QStringLiteral("subtract-chain"),
                                                       QStringLiteral("add-subtract"),
                                                       QStringLiteral("multiply-add"),
                                                       QStringLiteral("multiply-subtract"),
                                                       QStringLiteral("multiply-divide"),
                                                       QStringLiteral("brackets"),
                                                       QStringLiteral("divide-add-subtract"),
                                                       QStringLiteral("three-steps")};

// --vertical's English keys, indexed by VerticalKind from 1.
const std::array<QString, VerticalKindCount - 1> VerticalKeys{
    QStringLiteral("add-sub-2"),  QStringLiteral("add-sub-3"), QStringLiteral("multiply-1"),
    QStringLiteral("multiply-2"), QStringLiteral("divide-1"),  QStringLiteral("divide-2")};

VerticalKind VerticalAt(std::size_t k)
{
    return static_cast<VerticalKind>(k + 1);
}

// "add-sub-2 两位数加减, add-sub-3 三位数加减, ..."
QString VerticalList()
{
    QStringList entries;
    for (std::size_t k = 0; k < VerticalKeys.size(); ++k) {
        entries << VerticalKeys.at(k) + QLatin1Char(' ') + VerticalName(VerticalAt(k));
    }
    return entries.join(QStringLiteral(", "));
}

std::optional<VerticalKind> ReadVertical(const QString& text)
{
    const QString key = text.trimmed();
    for (std::size_t k = 0; k < VerticalKeys.size(); ++k) {
        if (key == VerticalKeys.at(k) || key == VerticalName(VerticalAt(k))) {
            return VerticalAt(k);
        }
    }
    return std::nullopt;
}

// "one 一步计算  12＋5, add-chain 连加  8＋5＋6, ..."
QString ShapeList()
{
    QStringList entries;
    for (int k = 0; k < ProblemShapeCount; ++k) {
        entries << ShapeKeys.at(static_cast<std::size_t>(k)) + QLatin1Char(' ') +
                       ShapeEntry(static_cast<ProblemShape>(k));
    }
    return entries.join(QStringLiteral(", "));
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

// The refusal in the settings window's words and in the options' English names:
// "加法、减法的占用比例之和超出了 -32768 到 32767 的范围" / "the weights of --add, --sub: their
// sum leaves -32768..32767".
ParseOutcome Refused(const Refusal& r)
{
    static const std::array<QString, 4> optionNames{
        QStringLiteral("--add"), QStringLiteral("--sub"), QStringLiteral("--mul"),
        QStringLiteral("--div")};
    const QString limits = QStringLiteral(" leaves %1..%2").arg(r.lowest).arg(r.highest);
    QString english;
    switch (r.kind) {
    case RefusalKind::Weight:
    case RefusalKind::WeightSum: {
        QStringList options;
        for (std::size_t k = 0; k < r.weights.size(); ++k) {
            if (r.weights.at(k)) {
                options << optionNames.at(k);
            }
        }
        english = (options.size() > 1 ? QStringLiteral("the weights of %1: their sum")
                                      : QStringLiteral("%1"))
                      .arg(options.join(QStringLiteral(", "))) +
                  limits;
        break;
    }
    case RefusalKind::FillBlankPercent:
        english = QStringLiteral("the --fill percentage") + limits;
        break;
    case RefusalKind::TooManyProblems:
        english = QStringLiteral("--count may not exceed %1 problems").arg(r.highest);
        break;
    case RefusalKind::ProblemCount:
        english = QStringLiteral("--count") + limits;
        break;
    case RefusalKind::NumberRange:
        english = QStringLiteral("--range") + limits;
        break;
    }
    return Usage(RefusalText(r), english);
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
    QCommandLineOption carry{
        QStringLiteral("carry"),
        QStringLiteral("加法进位：any 不限（默认），always 必须进位，never 不进位。 / Carrying in "
                       "additions: any (default), always, never."),
        QStringLiteral("RULE"), QStringLiteral("any")};
    QCommandLineOption borrow{
        QStringLiteral("borrow"),
        QStringLiteral("减法退位：any 不限（默认），always 必须退位，never 不退位。 / Borrowing in "
                       "subtractions: any (default), always, never."),
        QStringLiteral("RULE"), QStringLiteral("any")};
    QCommandLineOption tables{
        QStringLiteral("tables"),
        QStringLiteral("乘法口诀范围 A 到 B（0-9，默认 0-9）：每道乘法有一个因数、每道除法的除数"
                       "在其中。 / Times tables A to B (0-9, default 0-9): every multiplication "
                       "has a factor and every division its divisor in them."),
        QStringLiteral("A-B"), QStringLiteral("0-9")};
    QCommandLineOption remainder{
        QStringLiteral("remainder"),
        QStringLiteral("有余数的除法，如 17÷5＝3……2，只出求商的题；商和余数都不为 0。 / Division "
                       "with a remainder, as 17÷5＝3……2, posed with the result open only; "
                       "quotient and remainder at least 1.")};
    QCommandLineOption remainderZero{
        QStringLiteral("remainder-zero"),
        QStringLiteral("有余数的除法里也出余数为 0 的题（含 --remainder）。 / Exact divisions "
                       "(remainder 0) among those with a remainder; implies --remainder.")};
    QCommandLineOption shape{
        QStringLiteral("shape"),
        QStringLiteral("题型（默认 one）：") + ShapeList() +
            QStringLiteral(
                "。链式题不看运算比例和进位、退位。 / The problems' shape (default one); "
                "chains leave the operations' weights and carrying aside."),
        QStringLiteral("SHAPE"), QStringLiteral("one")};
    QCommandLineOption steps{
        QStringLiteral("steps"),
        QStringLiteral("脱式计算：每题两道一行，每一步一行“＝”，留出书写的地方；答案写出每一步。 / "
                       "Step by step (脱式): two problems a row, a line \"＝\" for every step with "
                       "room to write; the answer key shows each step.")};
    QCommandLineOption vertical{
        QStringLiteral("vertical"),
        QStringLiteral(
            "竖式计算：每题先横着写出，下面按课本的样子列好竖式，留出书写的地方；答案写出"
            "完整的竖式（进位、退位点、部分积、每一步的商和余数）。KIND：") +
            VerticalList() +
            QStringLiteral("。加减法按 --carry、--borrow，一位数的因数和除数按 --tables，余数按 "
                           "--remainder。不给 --count 时出一页。 / Column working (竖式): each "
                           "problem written across, under it set out in columns as the textbooks "
                           "do, with room to work; the answer key shows the whole working. "
                           "Without --count, one page."),
        QStringLiteral("KIND")};
    QCommandLineOption grid{
        QStringLiteral("grid"),
        QStringLiteral("竖式画在方格里，一格一个数字。 / Squares for the working, one digit "
                       "each.")};
    QCommandLineOption checkBox{
        QStringLiteral("check"),
        QStringLiteral("每题下面留一个“验算”框。 / A box headed 验算 under each problem.")};
    QCommandLineOption perPage{
        QStringLiteral("per-page"),
        QStringLiteral("竖式每页 4、6 或 8 题（默认 6）。 / 竖式 problems a page: 4, 6 or 8 "
                       "(default 6)."),
        QStringLiteral("N"), QStringLiteral("6")};
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
        QStringLiteral("名单文件（UTF-8）：每个非空行一张，姓名印在标题下；最多 1000 个名字，"
                       "每个最多 30 个字，文件最大 1024 KB。 / Names file (UTF-8): one sheet per "
                       "non-empty line, the name in its heading; at most 1000 names of at most 30 "
                       "characters, 1024 KB in all."),
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
    QCommandLineOption code{
        QStringLiteral("code"),
        QStringLiteral("把每张练习题的卷号输出到标准输出，每张一行：“第 1 张 / sheet 1: 卷号”。"
                       " / Print each sheet's code to standard output, one line per sheet: "
                       "\"第 1 张 / sheet 1: CODE\".")};
    QCommandLineOption preset{
        QStringLiteral("preset"),
        QStringLiteral(
            "按年级与单元出题，如“二年级上 · 100以内连加连减”（见下面的列表；设置都在其中，"
            "不能再给设置选项）。 / A lesson by grade, as listed below; it sets every "
            "setting, so no settings options with it."),
        QStringLiteral("NAME")};
    QCommandLineOption mixed{
        QStringLiteral("mixed"),
        QStringLiteral("--preset 的几部分题目混在一起出，不按先后。 / The parts of a --preset "
                       "shuffled together rather than one after the other.")};
    QCommandLineOption fromCode{
        QStringLiteral("from-code"),
        QStringLiteral(
            "按卷号重新出那一张练习题（设置都在卷号里，不能再给设置选项、--seed、"
            "--copies 或 --names）。 / Make the sheet of this code again (the code holds "
            "every setting; no settings options, --seed, --copies or --names with it)."),
        QStringLiteral("CODE")};
    QCommandLineOption child{
        QStringLiteral("child"),
        QStringLiteral("孩子的名字，和练习窗口里的一样（和 --review 一起用）。 / The child's name "
                       "as the practice window has it (with --review)."),
        QStringLiteral("NAME")};
    QCommandLineOption review{
        QStringLiteral("review"),
        QStringLiteral("出这个孩子今天的错题卷：先是到期的错题，再加几道新题，默认 20 题（--count "
                       "可改）。 / The child's review sheet for today: the due mistakes first, "
                       "then a few new facts; 20 problems unless --count says otherwise.")};
    QCommandLineOption report{
        QStringLiteral("report"),
        QStringLiteral(
            "写这个孩子本周的报告（一页 A4）。 / The child's report of this week (one A4 "
            "page).")};
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
        for (const QCommandLineOption* option :
             {&shape,         &steps,  &vertical, &grid,   &checkBox, &perPage,
              &fill,          &range,  &carry,    &borrow, &tables,   &remainder,
              &remainderZero, &count,  &copies,   &names,  &answers,  &answersFile,
              &seed,          &code,   &preset,   &mixed,  &fromCode, &child,
              &review,        &report, &output,   &help,   &version}) {
            parser.addOption(*option);
        }
    }
};

const QString Description = QStringLiteral(
    "Sumvarl 批量出题：按设置窗口的规则出练习题，每个学生一张或指定张数，\n"
    "可附答案，全部写进 PDF 文件。\n"
    "Sumvarl batch worksheets: arithmetic worksheets made by the settings window's rules,\n"
    "one per pupil or a number of copies, with answer keys if wanted, into PDF files.");

// The presets by grade, one a line with their problem count.
QString PresetList()
{
    QString list = QStringLiteral("\n年级与单元 / Presets (--preset):\n");
    for (const Preset& preset : GradePresets()) {
        list += QStringLiteral("  %1（%2 题）\n").arg(preset.FullName()).arg(preset.ProblemCount());
    }
    return list;
}

const QString Epilogue = QStringLiteral(
    "\n"
    "没有给出运算时，只出加法（占用比例 25），和设置窗口打开时一样。\n"
    "Without an operation option the sheets are additions with weight 25, as the settings\n"
    "window starts.\n"
    "\n"
    "示例 / Example:\n"
    "  sumvarl-batch --add 50 --sub 50 --fill 30 --range 20 --count 40 \\\n"
    "                --names 三年级一班.txt --answers-file 答案.pdf -o 练习题.pdf\n"
    "  sumvarl-batch --add 25 --range 20 --carry always --count 40 -o 20以内进位加法.pdf\n"
    "  sumvarl-batch --div 25 --tables 2-5 --remainder --count 40 -o 有余数的除法.pdf\n"
    "  sumvarl-batch --from-code 2CTR-HPV6-YSAF-V7X7 --answers -o 同一张.pdf\n"
    "  sumvarl-batch --child 小明 --review --answers -o 小明的错题卷.pdf\n"
    "  sumvarl-batch --child 小明 --report -o 小明本周报告.pdf\n"
    "\n"
    "卷号 / Sheet codes: --code 输出每张的卷号，--from-code 按卷号出同一张题。\n"
    "--code prints each sheet's code; --from-code makes that very sheet again.\n"
    "\n"
    "退出状态 / Exit status: 0 成功 / success, 1 运行错误 / runtime error,\n"
    "2 用法错误 / usage error. 出错时不留下任何文件。 / On an error no file is left.\n");

ParseOutcome CannotReadNames(const QString& path, const QString& why)
{
    return Runtime(QStringLiteral("无法读取名单文件“%1”：%2").arg(path, why),
                   QStringLiteral("cannot read the names file '%1': %2").arg(path, why));
}

// One name per non-empty line, surrounding white space removed. At most MaxNamesBytes are read:
// a thousand names need far less, and a device or a huge file must not fill the memory first.
ParseOutcome ReadNames(const QString& path, std::vector<std::u16string>& names)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return CannotReadNames(path, file.errorString());
    }
    const QByteArray bytes = file.read(MaxNamesBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return CannotReadNames(path, file.errorString());
    }
    if (bytes.size() > MaxNamesBytes) {
        return Runtime(QStringLiteral("名单文件“%1”超过 %2 KB，不像是名单")
                           .arg(path)
                           .arg(MaxNamesBytes / 1024),
                       QStringLiteral("the names file '%1' is larger than %2 KB; it is no list "
                                      "of names")
                           .arg(path)
                           .arg(MaxNamesBytes / 1024));
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
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype line = 0; line < lines.size(); ++line) {
        const QString name = lines[line].trimmed();
        if (name.isEmpty()) {
            continue;
        }
        if (name.toUcs4().size() > MaxNameLength) {
            return Runtime(QStringLiteral("名单文件“%1”第 %2 行的名字超过 %3 个字，一行印不下")
                               .arg(path)
                               .arg(line + 1)
                               .arg(MaxNameLength),
                           QStringLiteral("the name on line %2 of '%1' is longer than %3 "
                                          "characters and would not fit its line")
                               .arg(path)
                               .arg(line + 1)
                               .arg(MaxNameLength));
        }
        names.push_back(ToU16(name));
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

std::filesystem::path FileSystemPath(const QString& path)
{
    return NativePath(path);
}

// Where a path leads once every link on the way, the last name's included, is followed; for a
// file that does not exist yet, the place it would be made.
std::filesystem::path Resolved(std::filesystem::path path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    path = fs::absolute(path, error);
    // Links may point at links; the system itself gives up after 40.
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hop) {
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : canonical;
}

// The files themselves, not the paths' texts: a link to the names file, the same file through a
// linked folder, "./k.pdf" and "k.pdf". Two that exist are the same when they are the same
// inode; otherwise when they would be made in the same place.
bool SameFile(const QString& a, const QString& b)
{
    namespace fs = std::filesystem;
    const fs::path first = FileSystemPath(a);
    const fs::path second = FileSystemPath(b);
    std::error_code error;
    if (fs::exists(first, error) && fs::exists(second, error)) {
        return fs::equivalent(first, second, error);
    }
    return Resolved(first) == Resolved(second);
}

// Full-width digits and signs of a Chinese input method read as their ASCII forms, as in the
// settings: "２０" is 20.
QString Folded(const QString& text)
{
    return ToQString(FoldFullWidth(ToU16(text.trimmed())));
}

// "any", "always" or "never", as --carry and --borrow take them.
std::optional<CarryRule> ReadRule(const QString& text)
{
    const QString rule = text.trimmed().toLower();
    if (rule == QLatin1String("any")) {
        return CarryRule::Any;
    }
    if (rule == QLatin1String("always")) {
        return CarryRule::Always;
    }
    if (rule == QLatin1String("never")) {
        return CarryRule::Never;
    }
    return std::nullopt;
}

// --shape: the English key or the Chinese name, "add-chain" or "连加".
std::optional<ProblemShape> ReadShape(const QString& text)
{
    const QString key = text.trimmed();
    for (int k = 0; k < ProblemShapeCount; ++k) {
        const auto shape = static_cast<ProblemShape>(k);
        if (key == ShapeKeys.at(static_cast<std::size_t>(k)) || key == ShapeName(shape)) {
            return shape;
        }
    }
    return std::nullopt;
}

// "2-5" or a single table "3"; whether the tables are in order is the lesson's own check.
bool ReadTables(const QString& text, Lesson& lesson)
{
    const QStringList ends = Folded(text).split(QLatin1Char('-'));
    if (ends.size() > 2) {
        return false;
    }
    bool fromOk = false;
    bool toOk = false;
    const int from = ends.first().trimmed().toInt(&fromOk);
    const int to = ends.last().trimmed().toInt(&toOk);
    if (!fromOk || !toOk || from < 0 || to > 9) {
        return false;
    }
    lesson.tableFrom = static_cast<std::int16_t>(from);
    lesson.tableTo = static_cast<std::int16_t>(to);
    return true;
}

// A lesson that allows no problem at all, in the dialog's words and the options' names.
ParseOutcome LessonRefused(LessonRefusal refusal, const CountInputs& in)
{
    const bool always = refusal == LessonRefusal::NoAddition
                            ? in.lesson.carry == CarryRule::Always
                            : in.lesson.borrow == CarryRule::Always;
    QString english;
    switch (refusal) {
    case LessonRefusal::None:
        return {};
    case LessonRefusal::TablesOutOfRange:
        english = QStringLiteral("--tables takes A-B with 0 <= A <= B <= 9");
        break;
    case LessonRefusal::NegativeRange:
        english = QStringLiteral("--carry and --borrow need a --range of 0 or more");
        break;
    case LessonRefusal::NoAddition:
        english =
            QStringLiteral("no addition within %1 %2; change --range or --carry")
                .arg(in.numberRange)
                .arg(always ? QStringLiteral("carries") : QStringLiteral("goes without a carry"));
        break;
    case LessonRefusal::NoSubtraction:
        english =
            QStringLiteral("no subtraction within %1 %2; change --range or --borrow")
                .arg(in.numberRange)
                .arg(always ? QStringLiteral("borrows") : QStringLiteral("goes without a borrow"));
        break;
    case LessonRefusal::NoChain:
        english = QStringLiteral("no %1 chain within %2 and --tables %3-%4; widen --range")
                      .arg(ShapeKeys.at(static_cast<std::size_t>(in.shape)))
                      .arg(in.numberRange)
                      .arg(in.lesson.tableFrom)
                      .arg(in.lesson.tableTo);
        break;
    case LessonRefusal::NoMultiplication:
    case LessonRefusal::NoDivision:
        english = QStringLiteral("--tables %1-%2 leaves no divisor")
                      .arg(in.lesson.tableFrom)
                      .arg(in.lesson.tableTo);
        break;
    }
    return Usage(LessonRefusalText(refusal, in), english);
}

ParseOutcome ReadLesson(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    const std::optional<CarryRule> carry = ReadRule(parser.value(o.carry));
    const std::optional<CarryRule> borrow = ReadRule(parser.value(o.borrow));
    if (!carry || !borrow) {
        return Usage(QStringLiteral("--carry 和 --borrow 只接受 any、always 或 never"),
                     QStringLiteral("--carry and --borrow take any, always or never"));
    }
    job.lesson.carry = *carry;
    job.lesson.borrow = *borrow;
    job.lesson.remainderZero = parser.isSet(o.remainderZero);
    job.lesson.remainder = parser.isSet(o.remainder) || job.lesson.remainderZero;
    const std::optional<ProblemShape> shape = ReadShape(parser.value(o.shape));
    if (!shape) {
        return Usage(QStringLiteral("--shape 只接受 ") + ShapeList(),
                     QStringLiteral("--shape takes one of ") + ShapeList());
    }
    job.shape = *shape;
    if (!ReadTables(parser.value(o.tables), job.lesson)) {
        return LessonRefused(LessonRefusal::TablesOutOfRange,
                             CountInputsFor(job.settings, job.lesson, job.shape));
    }
    if (job.vertical != VerticalKind::None) {
        PartSpec part = PartSpecFor(job.settings, job.lesson);
        part.vertical = job.vertical;
        if (DifferentVerticalProblems(part) == 0) {
            return Usage(NoVerticalText(job.vertical, job.lesson),
                         QStringLiteral("--tables %1-%2 holds no number from 2 to 9 for this "
                                        "kind of 竖式")
                             .arg(job.lesson.tableFrom)
                             .arg(job.lesson.tableTo));
        }
        return {};
    }
    const CountInputs in = CountInputsFor(job.settings, job.lesson, job.shape);
    return LessonRefused(CheckLesson(in), in);
}

} // namespace

namespace {

// Qt's refusals of the command line itself, --help, --version and stray arguments; empty when
// the options are to be read.
std::optional<ParseOutcome> ReadCommandLine(QCommandLineParser& parser, const Options& o,
                                            const QStringList& arguments)
{
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
    if (parser.isSet(o.help) || parser.isSet(o.version)) {
        ParseOutcome outcome;
        outcome.out = parser.isSet(o.help)
                          ? parser.helpText() + Epilogue + PresetList()
                          : QStringLiteral("sumvarl-batch ") +
                                QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString extra = parser.positionalArguments().join(QLatin1Char(' '));
        return Usage(QStringLiteral("多余的参数：%1").arg(extra),
                     QStringLiteral("unexpected arguments: %1").arg(extra));
    }
    return std::nullopt;
}

// --vertical with --grid, --check and --per-page; a 竖式 is neither a chain nor 脱式 and is
// always asked for its result.
ParseOutcome ReadVerticalOptions(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    if (parser.isSet(o.vertical)) {
        const std::optional<VerticalKind> kind = ReadVertical(parser.value(o.vertical));
        if (!kind) {
            return Usage(QStringLiteral("--vertical 只接受 ") + VerticalList(),
                         QStringLiteral("--vertical takes one of ") + VerticalList());
        }
        job.vertical = *kind;
        for (const QCommandLineOption* other : {&o.shape, &o.steps, &o.fill}) {
            if (parser.isSet(*other)) {
                const QString name = QStringLiteral("--") + other->names().constFirst();
                return Usage(QStringLiteral("--vertical 不能和 %1 一起用").arg(name),
                             QStringLiteral("--vertical does not go with %1").arg(name));
            }
        }
        if (!parser.isSet(o.count)) {
            job.settings.ProblemCount = static_cast<std::int16_t>(job.paper.perPage);
        }
    }
    return {};
}

// --grid, --check and --per-page, which only a 竖式 sheet has (a code or a preset may be one).
ParseOutcome ReadPageOptions(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    const bool vertical =
        parser.isSet(o.vertical) || parser.isSet(o.fromCode) || parser.isSet(o.preset);
    for (const QCommandLineOption* option : {&o.grid, &o.checkBox, &o.perPage}) {
        if (parser.isSet(*option) && !vertical) {
            const QString name = QStringLiteral("--") + option->names().constFirst();
            return Usage(QStringLiteral("%1 只用于竖式（--vertical）").arg(name),
                         QStringLiteral("%1 is for 竖式 sheets (--vertical) only").arg(name));
        }
    }
    job.paper.grid = parser.isSet(o.grid);
    job.paper.checkBox = parser.isSet(o.checkBox);
    bool ok = false;
    job.paper.perPage = Folded(parser.value(o.perPage)).trimmed().toInt(&ok);
    if (!ok || std::find(VerticalPerPageChoices.begin(), VerticalPerPageChoices.end(),
                         job.paper.perPage) == VerticalPerPageChoices.end()) {
        return Usage(QStringLiteral("--per-page 只接受 4、6 或 8"),
                     QStringLiteral("--per-page takes 4, 6 or 8"));
    }
    return {};
}

// The operations, --fill, --range and --count read as the settings window reads its boxes,
// with its initial texts where nothing is given; then the lesson's options.
ParseOutcome ReadSettingsOptions(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    StartInputs inputs;
    inputs.boxes = {u"25", u"25", u"25", u"25", u"20"};
    bool anyOperation = false;
    for (std::size_t k = 0; k < o.operations.size(); ++k) {
        if (parser.isSet(o.operations[k])) {
            anyOperation = true;
            inputs.ticked[k] = true;
            inputs.boxes[k] = ToU16(parser.value(o.operations[k]));
        }
    }
    if (!anyOperation) {
        inputs.ticked[0] = true;
        // A 竖式 kind of ＋ and － takes both, as its name says.
        inputs.ticked[1] = parser.isSet(o.vertical);
    }
    if (parser.isSet(o.fill)) {
        inputs.ticked[4] = true;
        inputs.boxes[4] = ToU16(parser.value(o.fill));
    }
    inputs.numberRange = ToU16(parser.value(o.range));
    inputs.problemCount = ToU16(parser.value(o.count));
    const StartOutcome read = ReadSettings(inputs);
    if (!read.settings) {
        return Refused(*read.refusal);
    }
    job.settings = *read.settings;
    if (ParseOutcome vertical = ReadVerticalOptions(parser, o, job); vertical.status != Success) {
        return vertical;
    }
    return ReadLesson(parser, o, job);
}

// --copies and --seed.
ParseOutcome ReadSheetOptions(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    if (parser.isSet(o.copies) && parser.isSet(o.names)) {
        return Usage(QStringLiteral("--copies 和 --names 只能选一个"),
                     QStringLiteral("--copies and --names exclude each other"));
    }
    if (parser.isSet(o.copies)) {
        bool ok = false;
        job.copies = Folded(parser.value(o.copies)).toInt(&ok);
        if (!ok || job.copies < 1 || job.copies > MaxSheets) {
            return Usage(
                QStringLiteral("--copies 应为 1 到 %1 之间的整数").arg(MaxSheets),
                QStringLiteral("--copies takes a whole number from 1 to %1").arg(MaxSheets));
        }
    }
    if (parser.isSet(o.seed)) {
        bool ok = false;
        const QString text = Folded(parser.value(o.seed));
        const qulonglong seed = text.toULongLong(&ok);
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        if (!ok && digits.match(text).hasMatch()) {
            return Usage(QStringLiteral("--seed 太大了，最大是 %1")
                             .arg(std::numeric_limits<std::uint64_t>::max()),
                         QStringLiteral("--seed is too large; the largest is %1")
                             .arg(std::numeric_limits<std::uint64_t>::max()));
        }
        if (!ok) {
            return Usage(QStringLiteral("--seed 应为不小于 0 的整数"),
                         QStringLiteral("--seed takes a whole number of 0 or more"));
        }
        job.seed = seed;
    }
    return {};
}

// --answers, --answers-file and --names, none writing over another or over -o.
ParseOutcome ReadFileOptions(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    if (parser.isSet(o.answers) && parser.isSet(o.answersFile)) {
        return Usage(QStringLiteral("--answers 和 --answers-file 只能选一个"),
                     QStringLiteral("--answers and --answers-file exclude each other"));
    }
    job.answersAfterEachSheet = parser.isSet(o.answers);
    job.stepByStep = parser.isSet(o.steps);
    job.answersFile = parser.value(o.answersFile);
    if (parser.isSet(o.answersFile) && job.answersFile.isEmpty()) {
        return Usage(QStringLiteral("--answers-file 缺少文件名"),
                     QStringLiteral("--answers-file needs a file name"));
    }
    for (const QString& target : {job.output, job.answersFile}) {
        if (!target.isEmpty() && !IsReplaceableTarget(target)) {
            return Runtime(NotAFileText(target), NotAFileEnglish(target));
        }
    }
    if (!job.answersFile.isEmpty() && SameFile(job.answersFile, job.output)) {
        return Usage(QStringLiteral("答案文件和输出文件不能是同一个文件"),
                     QStringLiteral("the answers file and the output file must differ"));
    }
    if (!parser.isSet(o.names)) {
        return {};
    }
    const QString namesFile = parser.value(o.names);
    // Writing over the list of names would lose it.
    if (SameFile(namesFile, job.output) ||
        (!job.answersFile.isEmpty() && SameFile(namesFile, job.answersFile))) {
        return Usage(QStringLiteral("输出文件不能覆盖名单文件"),
                     QStringLiteral("an output file may not replace the names file"));
    }
    return ReadNames(namesFile, job.names);
}

// What is wrong with a code, and that it is to be checked against the sheet.
ParseOutcome CodeRefused(SheetCodeError error, const QString& code)
{
    QString english;
    switch (error) {
    case SheetCodeError::None:
        return {};
    case SheetCodeError::Mistyped:
        english = QStringLiteral("holds a character no code uses (2-9 and the letters but I, L "
                                 "and O)");
        break;
    case SheetCodeError::WrongLength:
        english = QStringLiteral("has the wrong length: a character left out or one too many");
        break;
    case SheetCodeError::CheckFailed:
        english = QStringLiteral("has a character mistyped or two swapped");
        break;
    case SheetCodeError::UnknownVersion:
        english = QStringLiteral("comes from a newer version of Sumvarl, which this one cannot "
                                 "read");
        break;
    case SheetCodeError::Malformed:
        english = QStringLiteral("makes no sheet");
        break;
    }
    return Usage(SheetCodeRefusalText(error, code),
                 QStringLiteral("the sheet code '%1' %2; check the code").arg(code, english));
}

// The settings options given, "--add", "--range", and the others listed.
QStringList GivenSettings(const QCommandLineParser& parser, const Options& o,
                          std::initializer_list<const QCommandLineOption*> others)
{
    QStringList given;
    for (const QCommandLineOption& operation : o.operations) {
        if (parser.isSet(operation)) {
            given << QStringLiteral("--") + operation.names().constFirst();
        }
    }
    for (const QCommandLineOption* option :
         {&o.shape, &o.vertical, &o.fill, &o.range, &o.carry, &o.borrow, &o.tables, &o.remainder,
          &o.remainderZero, &o.count}) {
        if (parser.isSet(*option)) {
            given << QStringLiteral("--") + option->names().constFirst();
        }
    }
    for (const QCommandLineOption* option : others) {
        if (parser.isSet(*option)) {
            given << QStringLiteral("--") + option->names().constFirst();
        }
    }
    return given;
}

// --preset: the lesson sets every setting of its parts; copies, names, seed and answers may go
// with it.
ParseOutcome ReadPreset(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    const QStringList given = GivenSettings(parser, o, {&o.fromCode});
    if (!given.isEmpty()) {
        return Usage(QStringLiteral("--preset 已经包含全部设置，不能再给 %1")
                         .arg(given.join(QStringLiteral("、"))),
                     QStringLiteral("--preset sets every setting; %1 may not be given with it")
                         .arg(given.join(QStringLiteral(", "))));
    }
    const QString name = parser.value(o.preset);
    const std::optional<Preset> preset = FindPreset(name);
    if (!preset) {
        return Usage(QStringLiteral("没有叫“%1”的年级与单元，--help 列出全部").arg(name),
                     QStringLiteral("no preset '%1'; --help lists them").arg(name));
    }
    job.parts = preset->parts;
    job.mixed = parser.isSet(o.mixed);
    return {};
}

// --from-code: the code holds every setting of its one sheet, so no option may set another.
ParseOutcome ReadFromCode(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    const QStringList given = GivenSettings(parser, o, {&o.seed, &o.copies, &o.names});
    if (!given.isEmpty()) {
        const QString options = given.join(QStringLiteral(", "));
        const QString listed = given.join(QStringLiteral("、"));
        return Usage(
            QStringLiteral("--from-code 按卷号出一张题，设置都在卷号里，不能再给 %1").arg(listed),
            QStringLiteral("--from-code makes the one sheet of its code with the code's "
                           "settings; %1 may not be given with it")
                .arg(options));
    }
    const QString code = parser.value(o.fromCode).trimmed();
    DecodedSheetCode decoded = DecodeSheetCode(ToU16(code));
    if (!decoded.recipe) {
        return CodeRefused(decoded.error, code);
    }
    job.fromCode = std::move(decoded.recipe);
    return {};
}

// --child and --review: one sheet made from the child's history; the settings options only stand
// for the lesson of a child who has no round yet.
ParseOutcome ReadReview(const QCommandLineParser& parser, const Options& o, BatchJob& job)
{
    if (!parser.isSet(o.child) || parser.isSet(o.review) == parser.isSet(o.report)) {
        return Usage(QStringLiteral("--child 要和 --review 或 --report 之一一起用"),
                     QStringLiteral("--child goes with one of --review and --report"));
    }
    job.report = parser.isSet(o.report);
    QStringList given;
    for (const QCommandLineOption* option :
         {&o.copies, &o.names, &o.seed, &o.fromCode, &o.preset, &o.mixed, &o.steps, &o.vertical,
          &o.grid, &o.checkBox, &o.perPage}) {
        if (parser.isSet(*option)) {
            given << QStringLiteral("--") + option->names().constFirst();
        }
    }
    if (!given.isEmpty()) {
        return Usage(QStringLiteral("错题卷按孩子的历史记录出一张，不能再给 %1")
                         .arg(given.join(QStringLiteral("、"))),
                     QStringLiteral("a review sheet is one sheet made from the child's history; "
                                    "%1 may not be given with it")
                         .arg(given.join(QStringLiteral(", "))));
    }
    job.reviewChild = parser.value(o.child).trimmed();
    if (job.reviewChild.isEmpty()) {
        return Usage(QStringLiteral("--child 缺少名字"), QStringLiteral("--child needs a name"));
    }
    job.reviewCount = parser.isSet(o.count) ? job.settings.ProblemCount : 20;
    return {};
}

} // namespace

std::optional<QStringList> DecodeArguments(const QList<QByteArray>& raw, ParseOutcome& refusal)
{
    QStringList arguments;
    for (const QByteArray& bytes : raw) {
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes) {
            refusal = Usage(QStringLiteral("参数“%1”含有不是当前编码的字节，可能指向另一个文件；"
                                           "请改用只含正常字符的文件名")
                                .arg(text),
                            QStringLiteral("the argument '%1' holds bytes that are no text in "
                                           "this system's encoding and could name another file; "
                                           "use a name of ordinary characters")
                                .arg(text));
            return std::nullopt;
        }
        arguments << text;
    }
    return arguments;
}

ParseOutcome ParseArguments(const QStringList& arguments)
{
    const Options o;
    QCommandLineParser parser;
    if (std::optional<ParseOutcome> early = ReadCommandLine(parser, o, arguments)) {
        return *early;
    }
    BatchJob job;
    job.output = parser.value(o.output);
    if (job.output.isEmpty()) {
        return Usage(QStringLiteral("缺少输出文件：请用 -o FILE.pdf 指定"),
                     QStringLiteral("no output file: give one with -o FILE.pdf"));
    }
    job.printCodes = parser.isSet(o.code);
    // The names file is read last, once everything else is known to be right.
    using Step = ParseOutcome (*)(const QCommandLineParser&, const Options&, BatchJob&);
    const bool review = parser.isSet(o.child) || parser.isSet(o.review) || parser.isSet(o.report);
    const std::vector<Step> steps =
        review ? std::vector<Step>{ReadSettingsOptions, ReadReview, ReadFileOptions}
        : parser.isSet(o.fromCode)
            ? std::vector<Step>{ReadPageOptions, ReadFromCode, ReadFileOptions}
        : parser.isSet(o.preset)
            ? std::vector<Step>{ReadPageOptions, ReadPreset, ReadSheetOptions, ReadFileOptions}
            : std::vector<Step>{ReadPageOptions, ReadSettingsOptions, ReadSheetOptions,
                                ReadFileOptions};
    for (const Step step : steps) {
        ParseOutcome outcome = step(parser, o, job);
        if (outcome.status != Success) {
            return outcome;
        }
    }
    ParseOutcome outcome;
    outcome.job = std::move(job);
    return outcome;
}

} // namespace sumvarl::batch
