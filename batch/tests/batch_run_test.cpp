// sumvarl-batch run as a program, the way a teacher runs it: the PDFs it writes read back with
// pdfinfo and pdftotext, its exit status, its messages, and that a failed run leaves no file.

#include "batch/BatchRun.h"
#include "core/SheetCode.h"
#include "history/HistoryStore.h"
#include "testing/DiskFull.h"
#include "testing/PdfProblems.h"
#include "testing/PrintTestSupport.h"
#include "testing/Problems.h"
#include "testing/VerticalReadBack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <functional>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class BatchRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void thirtyNamesGiveThirtyNamedDifferentSheets();
    void answersAfterEachSheetAnswerThatSheet();
    void answersFileHoldsTheKeysInSheetOrder();
    void sameSeedSameSheetsOtherSeedOthers();
    void seededRunKeepsItsGoldenText();
    void codesMakeTheSameSheetAgain();
    void verticalSheetsComeBackFromTheirCode();
    void badOptionsFailAndLeaveNoFile_data();
    void badOptionsFailAndLeaveNoFile();
    void tooFewProblemsKeepsAnEarlierFile();
    void progressLineFromSixSheets();
    void runsWithoutADisplay();
    void lessonSheetsReadBackFromThePdf();
    void aWriteFailingHalfWayKeepsBothOlderFiles_data();
    void aWriteFailingHalfWayKeepsBothOlderFiles();
    void reviewSheetComesFromTheChildsHistory();

private:
    QString Path(const QString& name) const { return folder_->filePath(name); }

    Run Batch(const QStringList& arguments, bool withoutPlatform = false) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (withoutPlatform) {
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
            environment.remove(QStringLiteral("DISPLAY"));
            environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
            environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        }
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder_->path());
        process.start(QStringLiteral(SUMVARL_BATCH_EXE), arguments);
        Run run;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
            run.err = process.errorString();
            return run;
        }
        run.status = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    // What is in the folder apart from the inputs: a failed run must leave nothing, not even a
    // temporary file.
    QStringList FilesBut(const QStringList& inputs) const
    {
        QStringList files = QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString& input : inputs) {
            files.removeAll(input);
        }
        return files;
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

void BatchRunTest::thirtyNamesGiveThirtyNamedDifferentSheets()
{
    SKIP_WITHOUT_READ_BACK();
    QStringList names;
    for (int n = 1; n <= 30; ++n) {
        names << QStringLiteral("学生%1号").arg(n);
    }
    {
        QFile list(Path(QStringLiteral("class.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(names.join(QStringLiteral("\n\n")).toUtf8());
    }
    const Run run =
        Batch({"--add", "25", "--sub", "25", "--mul", "25", "--div", "25", "--fill", "30",
               "--count", "60", "--names", "class.txt", "--code", "-o", "class.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral("30 张练习题")), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("\n第 30 张 / sheet 30 (学生30号): ")),
             qPrintable(run.out));
    // Without --seed the first sheet's seed is drawn small enough for a short code.
    static const QRegularExpression shortCode(
        QStringLiteral("^第 1 张 / sheet 1 \\(学生1号\\): \\w{4}-\\w{4}-\\w{4}-\\w{4}$"),
        QRegularExpression::MultilineOption);
    QVERIFY2(shortCode.match(run.out).hasMatch(), qPrintable(run.out));

    const QString pdf = Path(QStringLiteral("class.pdf"));
    QCOMPARE(printtest::PageCount(pdf), 30);
    const QList<QStringList> pages = printtest::PdfPages(pdf);
    QCOMPARE(pages.size(), 30);
    QSet<QString> rows;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList& page = pages[p];
        QCOMPARE(page.value(0), printtest::TitleLine());
        QCOMPARE(page.value(1), QStringLiteral("姓名：") + names[p]);
        QCOMPARE(page.value(2), printtest::CountLine(60));
        QCOMPARE(page.size(), 3 + 15);
        rows.insert(page.mid(3).join(QLatin1Char('\n')));
    }
    QCOMPARE(rows.size(), 30);
}

void BatchRunTest::answersAfterEachSheetAnswerThatSheet()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run = Batch({"--sub", "50", "--mul", "25", "--div", "25", "--fill", "60", "--count",
                           "100", "--copies", "3", "--answers", "-o", "mixed.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString pdf = Path(QStringLiteral("mixed.pdf"));
    const QList<QStringList> lines = printtest::PdfPages(pdf);
    const QList<QStringList> problems = printtest::ProblemsByPage(pdf);
    QCOMPARE(printtest::PageCount(pdf), problems.size());

    // Sheet, key, sheet, key, …: each sheet with however many pages it needs, then its key.
    QStringList sheet;
    QStringList key;
    int sheets = 0;
    bool inKey = false;
    for (qsizetype p = 0; p <= lines.size(); ++p) {
        const QString first = p < lines.size() ? lines[p].value(0) : QString();
        const bool keyStarts = first == printtest::TitleLine() + QStringLiteral("（答案）");
        const bool sheetStarts = first == printtest::TitleLine() || p == lines.size();
        if (sheetStarts && inKey) {
            QCOMPARE(sheet.size(), 100);
            const QString why = printtest::CheckKey(sheet, key);
            QVERIFY2(why.isEmpty(), qPrintable(why));
            ++sheets;
            sheet.clear();
            key.clear();
            inKey = false;
        }
        if (keyStarts) {
            inKey = true;
        }
        if (p < lines.size()) {
            (inKey ? key : sheet) += problems[p];
        }
    }
    QCOMPARE(sheets, 3);
}

void BatchRunTest::answersFileHoldsTheKeysInSheetOrder()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run =
        Batch({"--add", "50", "--sub", "50", "--fill", "50", "--range", "20", "--count", "40",
               "--copies", "4", "--seed", "9", "--answers-file", "答案.pdf", "-o", "练习.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    // Chinese names reach the files as given, on Windows too (its 8-bit argv may not hold them).
    const QString sheets = Path(QStringLiteral("练习.pdf"));
    const QString keys = Path(QStringLiteral("答案.pdf"));
    QCOMPARE(printtest::PageCount(sheets), 4);
    QCOMPARE(printtest::PageCount(keys), 4);
    const QList<QStringList> sheetProblems = printtest::ProblemsByPage(sheets);
    const QList<QStringList> keyProblems = printtest::ProblemsByPage(keys);
    for (qsizetype p = 0; p < 4; ++p) {
        QCOMPARE(printtest::PdfPages(sheets)[p].value(0), printtest::TitleLine());
        QCOMPARE(printtest::PdfPages(keys)[p].value(0),
                 printtest::TitleLine() + QStringLiteral("（答案）"));
        QCOMPARE(sheetProblems[p].size(), 40);
        const QString why = printtest::CheckKey(sheetProblems[p], keyProblems[p]);
        QVERIFY2(why.isEmpty(), qPrintable(QStringLiteral("sheet %1: ").arg(p + 1) + why));
    }
    QVERIFY(sheetProblems[0] != sheetProblems[1]);
}

void BatchRunTest::sameSeedSameSheetsOtherSeedOthers()
{
    SKIP_WITHOUT_READ_BACK();
    const QStringList common{"--add", "25",     "--sub", "25",       "--mul", "25",       "--div",
                             "25",    "--fill", "40",    "--copies", "3",     "--answers"};
    QCOMPARE(Batch(common + QStringList{"--seed", "42", "-o", "a.pdf"}).status, 0);
    QCOMPARE(Batch(common + QStringList{"--seed", "42", "-o", "b.pdf"}).status, 0);
    QCOMPARE(Batch(common + QStringList{"--seed", "43", "-o", "c.pdf"}).status, 0);
    const QList<QStringList> a = printtest::PdfPages(Path(QStringLiteral("a.pdf")));
    const QList<QStringList> b = printtest::PdfPages(Path(QStringLiteral("b.pdf")));
    const QList<QStringList> c = printtest::PdfPages(Path(QStringLiteral("c.pdf")));
    QCOMPARE(a.size(), 6);
    QCOMPARE(b, a);
    QCOMPARE(c.size(), a.size());
    QVERIFY(c != a);
    // The first page of every run has the same heading; the problems differ.
    QCOMPARE(c[0].mid(0, 2), a[0].mid(0, 2));
    QVERIFY(c[0].mid(2) != a[0].mid(2));
}

// A small seeded run with copies, blanks and answer keys, as pdftotext lays it out: the same
// options and seed keep giving the same sheets from one version to the next.
void BatchRunTest::seededRunKeepsItsGoldenText()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run =
        Batch({"--add", "25", "--sub", "25", "--mul", "25", "--div", "25", "--fill", "30",
               "--count", "24", "--copies", "2", "--seed", "42", "--answers", "-o", "g.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString golden =
        QString::fromUtf8(printtest::FileBytes(QStringLiteral(SUMVARL_BATCH_GOLDEN)));
    QVERIFY(!golden.isEmpty());
    const QString text = printtest::RunPdfToText({"-layout", Path(QStringLiteral("g.pdf")), "-"});
    QCOMPARE(text.split(QLatin1Char('\n')), golden.split(QLatin1Char('\n')));
}

// The code printed for the second of three copies makes that very sheet again, its key with
// it; the code with one character changed is refused and writes nothing.
void BatchRunTest::codesMakeTheSameSheetAgain()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run = Batch({"--sub", "50", "--div", "50", "--fill", "40", "--count", "30",
                           "--copies", "3", "--seed", "5", "--code", "-o", "three.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    static const QRegularExpression line(QStringLiteral("^第 (\\d) 张 / sheet \\1: ([0-9A-Z-]+)$"),
                                         QRegularExpression::MultilineOption);
    QStringList codes;
    for (const QRegularExpressionMatch& m : line.globalMatch(run.out)) {
        codes << m.captured(2);
    }
    QCOMPARE(codes.size(), 3);

    const Run again = Batch({"--from-code", codes[1], "--answers", "-o", "again.pdf"});
    QVERIFY2(again.status == 0, qPrintable(again.err));
    const QString three = Path(QStringLiteral("three.pdf"));
    const QString one = Path(QStringLiteral("again.pdf"));
    const QString page2 = printtest::RunPdfToText({"-layout", "-f", "2", "-l", "2", three, "-"});
    QVERIFY(!page2.isEmpty());
    QCOMPARE(printtest::RunPdfToText({"-layout", "-l", "1", one, "-"}), page2);
    QVERIFY(printtest::RunPdfToText({"-layout", "-f", "1", "-l", "1", three, "-"}) != page2);
    const QList<QStringList> problems = printtest::ProblemsByPage(one);
    QCOMPARE(problems.size(), 2);
    const QString why = printtest::CheckKey(problems[0], problems[1]);
    QVERIFY2(why.isEmpty(), qPrintable(why));

    QString mistyped = codes[1];
    mistyped[5] = mistyped[5] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    const Run refused = Batch({"--from-code", mistyped, "-o", "wrong.pdf"});
    QCOMPARE(refused.status, 2);
    QVERIFY2(refused.err.contains(QStringLiteral("抄错了")) &&
                 refused.err.contains(QStringLiteral("check the code")),
             qPrintable(refused.err));
    QVERIFY(!QFileInfo::exists(Path(QStringLiteral("wrong.pdf"))));
}

void BatchRunTest::verticalSheetsComeBackFromTheirCode()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run = Batch({"--vertical", "除数是两位数的除法", "--remainder", "--count", "10",
                           "--per-page", "4", "--code", "--answers", "--seed", "3", "-o", "v.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString sheet = Path(QStringLiteral("v.pdf"));
    QCOMPARE(printtest::PageCount(sheet), 6); // 3 pages, then the key's 3
    const QString code = run.out.section(QLatin1Char('\n'), 0, 0).section(QStringLiteral(": "), 1);
    const Run again = Batch({"--from-code", code, "--grid", "--per-page", "4", "-o", "again.pdf"});
    QVERIFY2(again.status == 0, qPrintable(again.err));
    const QList<printtest::ReadProblem> first = printtest::ReadVerticalProblems(sheet);
    const QList<printtest::ReadProblem> second =
        printtest::ReadVerticalProblems(Path(QStringLiteral("again.pdf")));
    QCOMPARE(first.size(), 20);
    QCOMPARE(second.size(), 10);
    for (qsizetype i = 0; i < second.size(); ++i) {
        QCOMPARE(second[i].across, first[i].across);
        // The key answers what the sheet asks: "432÷36＝" and "432÷36＝12".
        QVERIFY(first[i + 10].across.startsWith(first[i].across));
        QVERIFY(first[i + 10].across.size() > first[i].across.size());
    }
}

void BatchRunTest::badOptionsFailAndLeaveNoFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option")
        << QStringList{"--bogus", "-o", "out.pdf"} << 2 << "没有这个选项";
    QTest::newRow("201 problems") << QStringList{"--count", "201", "-o", "out.pdf"} << 2
                                  << "题数不能超过 200";
    QTest::newRow("weight beyond 16 bits")
        << QStringList{"--add", "40000", "-o", "out.pdf"} << 2 << "超出了 -32768 到 32767 的范围";
    QTest::newRow("missing -o") << QStringList{"--copies", "2"} << 2 << "缺少输出文件";
    const QString code = QStringLiteral("2225-JS5B-CNZM-NPSN");
    QTest::newRow("code and settings")
        << QStringList{"--from-code", code, "--count", "20", "-o", "out.pdf"} << 2
        << "设置都在卷号里";
    QTest::newRow("code and copies")
        << QStringList{"--from-code", code, "--copies", "2", "-o", "out.pdf"} << 2
        << "不能再给 --copies";
    QTest::newRow("code too short")
        << QStringList{"--from-code", code.left(9), "-o", "out.pdf"} << 2 << "长度不对";
    QTest::newRow("code with a letter no code uses")
        << QStringList{"--from-code", QStringLiteral("2225-JS5B-CNZM-NPSO"), "-o", "out.pdf"} << 2
        << "卷号不用的字符";
    // A code that checks, from a version that uses the format symbols this one reserves.
    QTest::newRow("code of a newer version")
        << QStringList{"--from-code", "Z7K3-M9QX-A2BJ", "-o", "out.pdf"} << 2 << "更新版本";
    QTest::newRow("unreadable names file")
        << QStringList{"--names", "nobody.txt", "-o", "out.pdf"} << 1 << "无法读取名单文件";
    QTest::newRow("copies and names")
        << QStringList{"--copies", "2", "--names", "nobody.txt", "-o", "out.pdf"} << 2
        << "只能选一个";
    QTest::newRow("too few different problems")
        << QStringList{"--range", "3",       "--count",        "50",
                       "-o",      "out.pdf", "--answers-file", "keys.pdf"}
        << 1 << "没有办法出这么多的题目";
    QTest::newRow("unknown 竖式 kind")
        << QStringList{"--vertical", "add", "-o", "out.pdf"} << 2 << "--vertical 只接受";
    QTest::newRow("竖式 with blanks")
        << QStringList{"--vertical", "divide-1", "--fill", "20", "-o", "out.pdf"} << 2
        << "不能和 --fill 一起用";
    QTest::newRow("竖式 five a page")
        << QStringList{"--vertical", "divide-1", "--per-page", "5", "-o", "out.pdf"} << 2
        << "只接受 4、6 或 8";
    QTest::newRow("squares without 竖式")
        << QStringList{"--grid", "-o", "out.pdf"} << 2 << "只用于竖式";
    QTest::newRow("竖式 without a one-digit factor")
        << QStringList{"--vertical", "multiply-1", "--tables", "0-1", "-o", "out.pdf"} << 2
        << "出不了多位数乘一位数的竖式";
    QTest::newRow("too few different 竖式")
        << QStringList{"--vertical", "divide-1", "--tables", "9-9",
                       "--count",    "103",      "-o",       "out.pdf"}
        << 1 << "共有 102 道不同的题";
    QTest::newRow("folder that does not exist")
        << QStringList{"-o", "no/such/folder/out.pdf"} << 1 << "无法写入";
    QTest::newRow("answers folder that does not exist")
        << QStringList{"-o", "out.pdf", "--answers-file", "no/such/keys.pdf"} << 1 << "无法写入";
}

void BatchRunTest::badOptionsFailAndLeaveNoFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run run = Batch(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // A second line in English.
    QVERIFY2(run.err.count(QStringLiteral("sumvarl-batch: ")) >= 2, qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFileInfo::exists(Path(QStringLiteral("out.pdf"))));
    QCOMPARE(FilesBut({}), QStringList{});
}

void BatchRunTest::tooFewProblemsKeepsAnEarlierFile()
{
    const QString out = Path(QStringLiteral("out.pdf"));
    QCOMPARE(Batch({"--count", "10", "-o", "out.pdf"}).status, 0);
    QFile before(out);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray earlier = before.readAll();
    before.close();

    // Additions within 2 give only a handful of different problems: not 20 for a sheet.
    const Run run = Batch({"--range", "2", "--count", "20", "--copies", "8", "-o", "out.pdf"});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(QStringLiteral("第 1 张")));
    QFile after(out);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), earlier);
    QCOMPARE(FilesBut({QStringLiteral("out.pdf")}), QStringList{});
}

void BatchRunTest::progressLineFromSixSheets()
{
    SKIP_WITHOUT_READ_BACK();
    const Run five = Batch({"--count", "10", "--copies", "5", "-o", "five.pdf"});
    QCOMPARE(five.status, 0);
    QVERIFY2(!five.err.contains(QStringLiteral("张…")), qPrintable(five.err));

    const Run six = Batch({"--count", "10", "--copies", "6", "-o", "six.pdf"});
    QCOMPARE(six.status, 0);
    for (int n = 1; n <= 6; ++n) {
        QVERIFY2(six.err.contains(QStringLiteral("\r第 %1/6 张…").arg(n)), qPrintable(six.err));
    }
    QVERIFY(six.err.indexOf(QStringLiteral("第 6/6")) > six.err.indexOf(QStringLiteral("第 5/6")));
    QCOMPARE(printtest::PageCount(Path(QStringLiteral("six.pdf"))), 6);
}

void BatchRunTest::runsWithoutADisplay()
{
    SKIP_WITHOUT_READ_BACK();
    const Run run = Batch({"--count", "20", "-o", "plain.pdf"}, true);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    // A plain terminal gets no warnings about the desktop session.
    QCOMPARE(run.err, QString());
    QCOMPARE(printtest::PdfLines(Path(QStringLiteral("plain.pdf"))).value(0),
             printtest::TitleLine());

    const Run help = Batch({"--help"}, true);
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains(QStringLiteral("批量出题")));
    QVERIFY(help.out.contains(QStringLiteral("batch worksheets")));
    QCOMPARE(FilesBut({QStringLiteral("plain.pdf")}), QStringList{});
}

// "20以内进位加法, 40 题" and "表内除法 2–5 有余数" as a teacher asks for them: every problem read
// back from the PDF keeps the rule, and the separate answer key works out.
void BatchRunTest::lessonSheetsReadBackFromThePdf()
{
    SKIP_WITHOUT_READ_BACK();
    struct Lesson
    {
        QStringList options;
        QRegularExpression shape; // the two numbers of a problem posed with its result open
        std::function<bool(int, int)> keeps;
    };
    const Lesson lessons[] = {
        {{"--add", "25", "--range", "20", "--carry", "always", "--count", "40"},
         QRegularExpression(QStringLiteral("^(\\d+)＋(\\d+)＝$")),
         [](int a, int b) { return a % 10 + b % 10 >= 10 && a + b < 20; }},
        {{"--div", "25", "--tables", "2-5", "--remainder", "--fill", "100", "--count", "40"},
         QRegularExpression(QStringLiteral("^(\\d+)÷(\\d+)＝$")),
         [](int a, int d) { return d >= 2 && d <= 5 && a / d >= 1 && a / d <= 9 && a % d >= 1; }},
    };
    for (const Lesson& lesson : lessons) {
        const Run run =
            Batch(lesson.options + QStringList{"--answers-file", "keys.pdf", "-o", "sheet.pdf"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList sheet = printtest::ProblemsOf(Path(QStringLiteral("sheet.pdf")));
        const QStringList key = printtest::ProblemsOf(Path(QStringLiteral("keys.pdf")));
        QCOMPARE(sheet.size(), 40);
        QCOMPARE(QSet<QString>(sheet.begin(), sheet.end()).size(), 40);
        for (const QString& problem : sheet) {
            const QRegularExpressionMatch m = lesson.shape.match(problem);
            QVERIFY2(m.hasMatch(), qPrintable(problem)); // no blanks, even at --fill 100
            QVERIFY2(lesson.keeps(m.captured(1).toInt(), m.captured(2).toInt()),
                     qPrintable(problem));
        }
        const QString why = printtest::CheckKey(sheet, key);
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }
}

// The disk fills up while one of the two files is written: the run fails with the system's
// reason, and both files from an earlier run are kept as they were, with nothing beside them.
void BatchRunTest::aWriteFailingHalfWayKeepsBothOlderFiles_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("the sheets") << QStringLiteral("sheets.pdf");
    QTest::newRow("the answers") << QStringLiteral("answers.pdf");
}

void BatchRunTest::aWriteFailingHalfWayKeepsBothOlderFiles()
{
    QFETCH(QString, failing);
    const QStringList files{QStringLiteral("sheets.pdf"), QStringLiteral("answers.pdf")};
    for (const QString& name : files) {
        QFile older(Path(name));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older " + name.toUtf8());
    }
    const printtest::FailingPdfFile full(Path(failing), 2000);
    QString outText;
    QString errText;
    QTextStream out(&outText);
    QTextStream err(&errText);
    const int status = sumvarl::batch::BatchMain(
        {"sumvarl-batch", "--copies", "3", "--answers-file", Path(files[1]), "-o", Path(files[0])},
        out, err);

    QCOMPARE(status, 1);
    QVERIFY2(errText.contains(Path(failing)) &&
                 errText.contains(qt_error_string(sumvarl::testing::DiskFullCode)),
             qPrintable(errText));
    for (const QString& name : files) {
        QCOMPARE(printtest::FileBytes(Path(name)), "older " + name.toUtf8());
    }
    QCOMPARE(FilesBut(files), QStringList{});
}

// A child's history in the user's data folder, as the practice window leaves it: yesterday's
// mistake comes first on today's review sheet, and its key answers it.
void BatchRunTest::reviewSheetComesFromTheChildsHistory()
{
#ifdef Q_OS_WIN
    // XDG_DATA_HOME moves nothing there: the test would write into the user's own history.
    QSKIP("on Windows the history lies in the user's AppData folder, which no variable moves");
#endif
    qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
    const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
    {
        using namespace sumvarl;
        const auto store = history::Store::Open(history::DefaultHistoryPath(), yesterday);
        const qint64 child = store->AddChild(QStringLiteral("小明"), 1, yesterday).id;
        PartSpec additions;
        additions.weightTotal = 1;
        additions.cumulativeWeight = {1, 1, 1, 1};
        additions.numberRange = 20;
        // Last practised from a 竖式 sheet: the review still holds one-line facts.
        additions.vertical = VerticalKind::TwoDigitAddSubtract;
        const qint64 round = store
                                 ->StartRound(child, history::RoundKind::Practice,
                                              SheetSpec{{additions}, 1}, 10, yesterday)
                                 .id;
        const auto give = [&](const model::Problem& p, bool right) {
            QVERIFY(store
                        ->RecordAnswer(round, child,
                                       {p, {}, QStringLiteral("1"), right, 900, yesterday})
                        .Ok());
        };
        give(testing::Two(7, Operation::Add, 8, 15), false);
        for (int a = 1; a <= 12; ++a) {
            give(testing::Two(a, Operation::Add, 3, a + 3), true);
        }
    }
    const Run run = Batch({"--child", "小明", "--review", "--code", "--answers-file", "keys.pdf",
                           "-o", "review.pdf"});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    // Kept in the history under the 卷号 it prints, on the sheet and on its key.
    const QString code = run.out.section(QStringLiteral(": "), 1, 1).section('\n', 0, 0);
    const std::optional<std::uint32_t> number =
        sumvarl::DecodeSheetCode(code.toStdU16String()).keptSheet;
    QVERIFY2(number.has_value(), qPrintable(run.out));
    for (const char* pdf : {"review.pdf", "keys.pdf"}) {
        const QString text = printtest::PdfLines(Path(QString::fromLatin1(pdf))).join('\n');
        QVERIFY2(text.contains(QStringLiteral("卷号") + code), qPrintable(text));
    }
    const QStringList sheet = printtest::ProblemsOf(Path(QStringLiteral("review.pdf")));
    QCOMPARE(sheet.value(0), QStringLiteral("7＋8＝"));
    QVERIFY(sheet.size() >= 13);
    {
        const auto store = sumvarl::history::Store::Open(sumvarl::history::DefaultHistoryPath(),
                                                         QDateTime::currentDateTime());
        QCOMPARE(store->PaperById(*number)->sheet.problems.size(),
                 static_cast<std::size_t>(sheet.size()));
    }
    QVERIFY(printtest::ReadVerticalProblems(Path(QStringLiteral("review.pdf"))).isEmpty());
    const QString why =
        printtest::CheckKey(sheet, printtest::ProblemsOf(Path(QStringLiteral("keys.pdf"))));
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(printtest::PdfLines(Path(QStringLiteral("review.pdf")))
                .join(QLatin1Char('\n'))
                .contains(QStringLiteral("小明")));

    // This week's report of the same child, as a page of text and a chart.
    const Run report = Batch({"--child", "小明", "--report", "-o", "report.pdf"});
    QVERIFY2(report.status == 0, qPrintable(report.err));
    const QString page = printtest::PdfLines(Path(QStringLiteral("report.pdf"))).join(' ');
    QVERIFY2(page.contains(QStringLiteral("小明的一周")) &&
                 page.contains(QStringLiteral("7＋8＝（")),
             qPrintable(page));

    const Run stranger = Batch({"--child", "小红", "--review", "-o", "other.pdf"});
    QCOMPARE(stranger.status, 1);
    QVERIFY2(stranger.err.contains(QStringLiteral("没有叫“小红”的孩子；有：小明")),
             qPrintable(stranger.err));
    QCOMPARE(Batch({"--review", "-o", "other.pdf"}).status, 2);
    QCOMPARE(Batch({"--child", "小明", "--review", "--copies", "2", "-o", "other.pdf"}).status, 2);
    QVERIFY(!QFileInfo::exists(Path(QStringLiteral("other.pdf"))));
}

QTEST_MAIN(BatchRunTest)
#include "batch_run_test.moc"
