// sumvarl-batch's command line read by the library: the settings window's rules for every value,
// the refusals, the names file and the options that exclude each other.

#include "batch/BatchRun.h"
#include "core/Math.h"
#include "testing/KeyDigest.h"
#include "testing/LessonColumns.h"
#include "testing/SettingsText.h"
#include "testing/SheetSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using sumvarl::Settings;
using sumvarl::batch::ParseArguments;
using sumvarl::batch::ParseOutcome;
using sumvarl::testing::MakeSettings;

namespace {

QStringList Command(const QStringList& options)
{
    return QStringList{QStringLiteral("sumvarl-batch")} + options;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class BatchOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void settingsFollowTheWindowsRules_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Settings>("settings");
        QTest::newRow("nothing given: addition 25, as the window starts")
            << QStringList{} << MakeSettings({25, 25, 25, 25}, 0, 0, 100, 100);
        QTest::newRow("only subtraction")
            << QStringList{"--sub", "30"} << MakeSettings({0, 30, 30, 30}, 0, 0, 100, 100);
        QTest::newRow("all four") << QStringList{"--add", "25", "--sub", "25",
                                                 "--mul", "25", "--div", "25"}
                                  << MakeSettings({25, 50, 75, 100}, 0, 0, 100, 100);
        QTest::newRow("halves round to even as the total runs")
            << QStringList{"--mul", "2.5", "--div", "2.5"}
            << MakeSettings({0, 0, 2, 4}, 0, 0, 100, 100);
        QTest::newRow("blanks inside a number are ignored")
            << QStringList{"--add", "1 5"} << MakeSettings({15, 15, 15, 15}, 0, 0, 100, 100);
        QTest::newRow("hexadecimal and trailing letters")
            << QStringList{"--add", "&H1F", "--sub", "12abc"}
            << MakeSettings({31, 43, 43, 43}, 0, 0, 100, 100);
        QTest::newRow("fill in the blank")
            << QStringList{"--fill", "20"} << MakeSettings({25, 25, 25, 25}, 1, 20, 100, 100);
        QTest::newRow("range and count") << QStringList{"--range", "20", "--count", "40"}
                                         << MakeSettings({25, 25, 25, 25}, 0, 0, 40, 20);
        QTest::newRow("count abc reads 0, which the window accepts")
            << QStringList{"--count", "abc"} << MakeSettings({25, 25, 25, 25}, 0, 0, 0, 100);
        QTest::newRow("full-width digits of a Chinese input method")
            << QStringList{"--count", "２０", "--fill", "１２．５", "--range", "－５"}
            << MakeSettings({25, 25, 25, 25}, 1, 12, 20, -5);
        QTest::newRow("exactly 200")
            << QStringList{"--count", "200"} << MakeSettings({25, 25, 25, 25}, 0, 0, 200, 100);
    }

    void settingsFollowTheWindowsRules()
    {
        QFETCH(QStringList, options);
        QFETCH(Settings, settings);
        const ParseOutcome outcome = ParseArguments(Command(options + QStringList{"-o", "x.pdf"}));
        QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
        QCOMPARE(outcome.job->settings, settings);
        QCOMPARE(outcome.job->output, QStringLiteral("x.pdf"));
        QCOMPARE(outcome.job->Sheets(), 1);
        QVERIFY(!outcome.job->seed.has_value());
        QVERIFY(outcome.error.isEmpty());
    }

    void refusalsAndBadOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        const QStringList o{"-o", "x.pdf"};
        QTest::newRow("201 problems")
            << QStringList{"--count", "201"} + o << 2 << "题数不能超过 200"
            << "--count may not exceed 200";
        QTest::newRow("weight beyond 16 bits")
            << QStringList{"--add", "40000"} + o << 2 << "加法的占用比例超出了"
            << "-32768..32767";
        QTest::newRow("weights summing beyond 16 bits")
            << QStringList{"--add", "20000", "--sub", "20000"} + o << 2
            << "加法、减法的占用比例之和超出了"
            << "their sum";
        QTest::newRow("percent beyond 16 bits")
            << QStringList{"--fill", "1e6"} + o << 2 << "填空的占用比例超出了"
            << "--fill";
        QTest::newRow("range beyond 16 bits")
            << QStringList{"--range", "99999"} + o << 2 << "难度超出了"
            << "--range";
        QTest::newRow("count below 16 bits")
            << QStringList{"--count", "-40000"} + o << 2 << "题数超出了"
            << "--count leaves";
        QTest::newRow("unknown option")
            << QStringList{"--colour", "red"} + o << 2 << "没有这个选项：colour"
            << "Unknown option";
        QTest::newRow("missing value") << QStringList{"-o", "x.pdf", "--count"} << 2 << "选项缺少值"
                                       << "Missing value";
        QTest::newRow("missing output") << QStringList{"--copies", "3"} << 2 << "缺少输出文件"
                                        << "-o FILE.pdf";
        QTest::newRow("copies and names")
            << QStringList{"--copies", "3", "--names", "n.txt"} + o << 2 << "--copies 和 --names"
            << "exclude each other";
        QTest::newRow("answers twice") << QStringList{"--answers", "--answers-file", "k.pdf"} + o
                                       << 2 << "--answers 和 --answers-file"
                                       << "exclude each other";
        QTest::newRow("no copies") << QStringList{"--copies", "0"} + o << 2 << "--copies 应为"
                                   << "from 1 to 1000";
        QTest::newRow("copies abc") << QStringList{"--copies", "abc"} + o << 2 << "--copies 应为"
                                    << "from 1 to 1000";
        QTest::newRow("too many copies")
            << QStringList{"--copies", "1001"} + o << 2 << "--copies 应为"
            << "from 1 to 1000";
        QTest::newRow("seed abc") << QStringList{"--seed", "abc"} + o << 2 << "--seed 应为"
                                  << "--seed takes";
        QTest::newRow("seed beyond 64 bits")
            << QStringList{"--seed", "18446744073709551616"} + o << 2 << "--seed 太大了"
            << "--seed is too large";
        QTest::newRow("stray argument") << QStringList{"sheet.pdf"} + o << 2 << "多余的参数"
                                        << "unexpected arguments: sheet.pdf";
        QTest::newRow("answers over the output")
            << QStringList{"--answers-file", "x.pdf"} + o << 2 << "不能是同一个文件"
            << "differ";
        QTest::newRow("output over the names")
            << QStringList{"--names", "x.pdf"} + o << 2 << "不能覆盖名单文件"
            << "names file";
        QTest::newRow("carry within 10") << QStringList{"--range", "10", "--carry", "always"} + o
                                         << 2 << "10以内没有必须进位的加法"
                                         << "--carry";
        QTest::newRow("borrow within 10, subtraction ticked")
            << QStringList{"--sub", "5", "--range", "10", "--borrow", "always"} + o << 2
            << "10以内没有必须退位的减法"
            << "--borrow";
        QTest::newRow("no divisor in table 0")
            << QStringList{"--div", "5", "--tables", "0-0"} + o << 2 << "没有可用的除数"
            << "leaves no divisor";
        QTest::newRow("tables reversed")
            << QStringList{"--tables", "5-2"} + o << 2 << "乘法口诀范围应从小到大"
            << "--tables takes";
        QTest::newRow("table 12") << QStringList{"--tables", "3-12"} + o << 2
                                  << "乘法口诀范围应从小到大"
                                  << "--tables takes";
        QTest::newRow("carry sometimes")
            << QStringList{"--carry", "sometimes"} + o << 2 << "只接受 any、always 或 never"
            << "--carry and --borrow";
        QTest::newRow("carry below 0")
            << QStringList{"--range", "-20", "--carry", "never"} + o << 2 << "0 以上的难度"
            << "--range of 0 or more";
        QTest::newRow("unknown shape")
            << QStringList{"--shape", "chain"} + o << 2 << "--shape 只接受 one 一步计算"
            << "--shape takes one of";
        QTest::newRow("chain without a divisor")
            << QStringList{"--shape", "multiply-divide", "--tables", "0-0"} + o << 2
            << "100以内出不了乘除混合的题"
            << "no multiply-divide chain within 100";
        QTest::newRow("preset with a setting")
            << QStringList{"--preset", "表内除法", "--range", "20"} + o << 2
            << "--preset 已经包含全部设置，不能再给 --range"
            << "--range may not be given";
        QTest::newRow("unknown preset") << QStringList{"--preset", "五年级上 · 分数"} + o << 2
                                        << "没有叫“五年级上 · 分数”的年级与单元"
                                        << "no preset";
        QTest::newRow("names file missing")
            << QStringList{"--names", "/no/such/names.txt"} + o << 1 << "无法读取名单文件"
            << "cannot read the names file";
    }

    void refusalsAndBadOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        const ParseOutcome outcome = ParseArguments(Command(options));
        QVERIFY(!outcome.job.has_value());
        QCOMPARE(outcome.status, status);
        QVERIFY2(outcome.error.contains(chinese), qPrintable(outcome.error));
        QVERIFY2(outcome.error.contains(english), qPrintable(outcome.error));
        QVERIFY(outcome.error.startsWith(QStringLiteral("sumvarl-batch: ")));
        // The request to press Start belongs to the window, not to a command line.
        QVERIFY(!outcome.error.contains(QStringLiteral("开始")));
        QVERIFY(outcome.out.isEmpty());
    }

    void namesFileOneSheetPerNonEmptyLine()
    {
        const QString path = folder_.filePath(QStringLiteral("names.txt"));
        // A byte order mark, Windows line ends, blank lines and padding around names.
        QVERIFY(WriteFile(path, QByteArray("\xEF\xBB\xBF张三\r\n\r\n  李四  \r\n\t\nWang Wu\n")));
        const ParseOutcome outcome =
            ParseArguments(Command({"--names", path, "--answers", "-o", "x.pdf"}));
        QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
        const std::vector<std::u16string> expected{u"张三", u"李四", u"Wang Wu"};
        QVERIFY(outcome.job->names == expected);
        QCOMPARE(outcome.job->Sheets(), 3);
        QVERIFY(outcome.job->answersAfterEachSheet);
        QVERIFY(outcome.job->answersFile.isEmpty());
    }

    void namesFileThatCannotServe_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("empty") << QByteArray() << "里没有名字";
        QTest::newRow("only blank lines") << QByteArray(" \n\r\n\t\n") << "里没有名字";
        QTest::newRow("not UTF-8") << QByteArray("\xD5\xC5\xC8\xFD\n") << "不是 UTF-8";
        QTest::newRow("a name longer than its line")
            << (QByteArray("张三\n") + QStringLiteral("鑫").repeated(31).toUtf8())
            << "第 2 行的名字超过 30 个字";
        // One line of 1 MB and a byte: refused before it is decoded, not after.
        QTest::newRow("more than a names file needs")
            << QByteArray(sumvarl::batch::MaxNamesBytes + 1, 'a') << "超过 1024 KB";
    }

    void namesFileThatCannotServe()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, chinese);
        const QString path = folder_.filePath(QStringLiteral("bad-names.txt"));
        QVERIFY(WriteFile(path, contents));
        const ParseOutcome outcome = ParseArguments(Command({"--names", path, "-o", "x.pdf"}));
        QVERIFY(!outcome.job.has_value());
        QCOMPARE(outcome.status, int(sumvarl::batch::RuntimeError));
        QVERIFY2(outcome.error.contains(chinese), qPrintable(outcome.error));
    }

    void copiesSeedAndAnswersFile()
    {
        const ParseOutcome outcome =
            ParseArguments(Command({"--copies", "12", "--seed", "18446744073709551615",
                                    "--answers-file", "k.pdf", "-o", "x.pdf"}));
        QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
        QCOMPARE(outcome.job->Sheets(), 12);
        QCOMPARE(outcome.job->seed.value_or(0), std::uint64_t{18446744073709551615ULL});
        QCOMPARE(outcome.job->answersFile, QStringLiteral("k.pdf"));
        QVERIFY(!outcome.job->answersAfterEachSheet);

        // Names told apart only by their Chinese are two files on every system.
        const ParseOutcome chinese =
            ParseArguments(Command({"--answers-file", "甲.pdf", "-o", "乙.pdf"}));
        QVERIFY2(chinese.job.has_value(), qPrintable(chinese.error));

        // Full-width digits read as everywhere else.
        const ParseOutcome wide =
            ParseArguments(Command({"--copies", "２０", "--seed", "２０", "--mul", "5", "--tables",
                                    "２－５", "-o", "x.pdf"}));
        QVERIFY2(wide.job.has_value(), qPrintable(wide.error));
        QCOMPARE(wide.job->Sheets(), 20);
        QCOMPARE(wide.job->seed.value_or(0), std::uint64_t{20});
        QCOMPARE(wide.job->lesson.tableFrom, std::int16_t{2});
        QCOMPARE(wide.job->lesson.tableTo, std::int16_t{5});
    }

    void lessonOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        sumvarl::testing::AddLessonColumns();
        using Math::CarryRule;
        QTest::newRow("none: the defaults")
            << QStringList{} << int(CarryRule::Any) << int(CarryRule::Any) << 0 << 9 << false;
        QTest::newRow("20以内进位加法")
            << QStringList{"--range", "20", "--carry", "always"} << int(CarryRule::Always)
            << int(CarryRule::Any) << 0 << 9 << false;
        QTest::newRow("every rule")
            << QStringList{"--sub",    "5",      "--div",    "5",       "--carry",    "NEVER",
                           "--borrow", "always", "--tables", " 2 - 5 ", "--remainder"}
            << int(CarryRule::Never) << int(CarryRule::Always) << 2 << 5 << true;
        QTest::newRow("one table") << QStringList{"--tables", "7"} << int(CarryRule::Any)
                                   << int(CarryRule::Any) << 7 << 7 << false;
        QTest::newRow("exact ones among the remainders")
            << QStringList{"--div", "5", "--remainder-zero"} << int(CarryRule::Any)
            << int(CarryRule::Any) << 0 << 9 << true;
    }

    void lessonOptions()
    {
        QFETCH(QStringList, options);
        const ParseOutcome outcome = ParseArguments(Command(options + QStringList{"-o", "x.pdf"}));
        QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
        const Math::Lesson& l = outcome.job->lesson;
        QTEST(int(l.carry), "carry");
        QTEST(int(l.borrow), "borrow");
        QTEST(int(l.tableFrom), "from");
        QTEST(int(l.tableTo), "to");
        QTEST(l.remainder, "remainder");
        QCOMPARE(l.remainderZero, options.contains(QStringLiteral("--remainder-zero")));
        QCOMPARE(outcome.job->shape, sumvarl::ProblemShape::OneOperation);
    }

    // --preset gives the lesson's parts, which copies and a seed may go with.
    void presetGivesItsParts()
    {
        const ParseOutcome outcome =
            ParseArguments(Command({"--preset", "二年级上 · 100以内连加连减", "--copies", "3",
                                    "--seed", "9", "-o", "x.pdf"}));
        QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
        QCOMPARE(outcome.job->parts.size(), std::size_t{3});
        QCOMPARE(outcome.job->parts[0].shape, sumvarl::ProblemShape::AddChain);
        QCOMPARE(outcome.job->copies, 3);
        const ParseOutcome help = ParseArguments(Command({"--help"}));
        QVERIFY(help.out.contains(QStringLiteral("二年级下 · 有余数的除法（50 题）")));
    }

    // --shape by its English key or its Chinese name, into the sheet's part.
    void shapeByKeyOrName()
    {
        for (const QString& given : {QStringLiteral("add-subtract"), QStringLiteral("加减混合")}) {
            const ParseOutcome outcome =
                ParseArguments(Command({"--shape", given, "--range", "20", "-o", "x.pdf"}));
            QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
            QCOMPARE(outcome.job->shape, sumvarl::ProblemShape::AddSubtract);
        }
    }

    // --vertical by key or name: without operations both ＋ and － come up, without --count one
    // page; the page options ride along.
    void verticalByKeyOrName()
    {
        for (const QString& given : {QStringLiteral("add-sub-2"), QStringLiteral("两位数加减")}) {
            const ParseOutcome outcome = ParseArguments(Command(
                {"--vertical", given, "--per-page", "８", "--grid", "--check", "-o", "x.pdf"}));
            QVERIFY2(outcome.job.has_value(), qPrintable(outcome.error));
            const sumvarl::batch::BatchJob& job = *outcome.job;
            QCOMPARE(job.vertical, sumvarl::VerticalKind::TwoDigitAddSubtract);
            QVERIFY(job.paper == (sumvarl::VerticalPaper{true, true, 8}));
            QCOMPARE(job.settings.ProblemCount, 8);
            QVERIFY(job.settings.CumulativeWeight[0] > 0 &&
                    job.settings.CumulativeWeight[1] > job.settings.CumulativeWeight[0]);
        }
        const ParseOutcome help = ParseArguments(Command({"--help"}));
        for (const char* text :
             {"--vertical", "除数是两位数的除法", "--grid", "--per-page", "--check"}) {
            QVERIFY2(help.out.contains(QString::fromUtf8(text)), text);
        }
    }

    // Recorded from sumvarl-batch's builder and generator before carrying, borrowing, times
    // tables and remainders were added, as the last sheet's 200 rows of the table: without those
    // options the same seed gives the same sheets, the last one's rows beyond its count empty.
    void defaultOptionsGiveTheSameSheetsAsBefore_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<qulonglong>("digest");
        QTest::newRow("all four, blanks, 3 copies")
            << QStringList{"--add", "25",     "--sub", "25",     "--mul", "25",       "--div",
                           "25",    "--fill", "40",    "--seed", "42",    "--copies", "3"}
            << qulonglong{0x9d8b2722053bb519ULL};
        QTest::newRow("within 20, 2 copies")
            << QStringList{"--add",   "50", "--sub",  "50", "--range",  "20",
                           "--count", "40", "--seed", "7",  "--copies", "2"}
            << qulonglong{0x83e435fd85e5a4d2ULL};
    }

    void defaultOptionsGiveTheSameSheetsAsBefore()
    {
        QFETCH(QStringList, options);
        QFETCH(qulonglong, digest);
        const ParseOutcome parsed = ParseArguments(
            Command(options + QStringList{"-o", folder_.filePath(QStringLiteral("g.pdf"))}));
        QVERIFY2(parsed.job.has_value(), qPrintable(parsed.error));
        sumvarl::Sheet sheet = sumvarl::MakeSheet(sumvarl::batch::FirstSheetSpec(*parsed.job));
        for (int n = 1; n < parsed.job->Sheets(); ++n) {
            sheet = sumvarl::MakeSheet(sumvarl::batch::NextSheetSpec(sheet));
        }
        QVERIFY(!sheet.fellShort);
        sumvarl::testing::KeyDigest table;
        for (std::size_t i = 0; i < 200; ++i) {
            const bool made = i < sheet.problems.size();
            table.Add(made ? sumvarl::TextsOf(sheet.problems[i]).key : std::u16string());
            table.Add(made ? static_cast<std::int64_t>(sheet.problems[i].open) : 0);
        }
        QCOMPARE(qulonglong{table.Value()}, digest);
    }

    void helpIsBilingualAndNamesEveryOption()
    {
        const ParseOutcome outcome = ParseArguments(Command({"--help"}));
        QVERIFY(!outcome.job.has_value());
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.error.isEmpty());
        for (const char* text : {"批量出题",
                                 "batch worksheets",
                                 "--add",
                                 "--sub",
                                 "--mul",
                                 "--div",
                                 "--fill",
                                 "--range",
                                 "--count",
                                 "--copies",
                                 "--names",
                                 "--answers",
                                 "--answers-file",
                                 "--seed",
                                 "--code",
                                 "--from-code",
                                 "-o",
                                 "退出状态",
                                 "Exit status",
                                 "--carry",
                                 "--borrow",
                                 "--tables",
                                 "--remainder",
                                 "--remainder-zero",
                                 "--shape",
                                 "add-chain",
                                 "连加",
                                 "……"}) {
            QVERIFY2(outcome.out.contains(QString::fromUtf8(text)), text);
        }
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(BatchOptionsTest)
#include "batch_options_test.moc"
