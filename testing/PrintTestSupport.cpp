#include "testing/PrintTestSupport.h"

#include "core/NumberText.h"
#include "print/PrinterJob.h"
#include "testing/DiskFull.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtDebug>
#include <cerrno>
#ifndef Q_OS_WIN
#include <csignal>
#endif

namespace printtest {

void SetWorksheet(const QList<Row>& rows, int count)
{
    Math::ResetState();
    auto& t = Math::WorksheetTable;
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const auto i = static_cast<std::size_t>(k + 1);
        const Row& r = rows[k];
        t.ProblemKey[i] = r.operand1 + r.op + r.operand2;
        t.Operand1Text[i] = r.operand1;
        t.OperatorText[i] = r.op;
        t.Operand2Text[i] = r.operand2;
        t.ResultText[i] = r.result;
        t.BlankKind[i] = r.blankKind;
    }
    Math::ProblemCount = static_cast<std::int16_t>(count);
}

void SetCountingWorksheet(int count)
{
    QList<Row> rows;
    for (int i = 1; i <= count; ++i) {
        rows.append({sumvarl::DecimalText(i), std::u16string(Math::PlusSign),
                     sumvarl::DecimalText(i % 7), sumvarl::DecimalText(i + i % 7), 0});
    }
    SetWorksheet(rows, count);
}

TableCopy CopyTable()
{
    return {Math::WorksheetTable, Math::ProblemCount};
}

bool SameTable(const TableCopy& a, const TableCopy& b)
{
    const auto& x = a.table;
    const auto& y = b.table;
    return a.problemCount == b.problemCount && x.ProblemKey == y.ProblemKey &&
           x.Operand1Text == y.Operand1Text && x.OperatorText == y.OperatorText &&
           x.Operand2Text == y.Operand2Text && x.ResultText == y.ResultText &&
           x.BlankKind == y.BlankKind;
}

bool PrintToPdf(const QString& path, QMarginsF margins)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                      QPageLayout::Millimeter));
    return sumvarl::PrintWorksheetOn(printer) == sumvarl::PrintResult::Printed;
}

QString RunPdfToText(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << "pdftotext" << arguments << "failed:" << process.errorString()
                   << process.readAllStandardError();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<QStringList> PdfPages(const QString& path)
{
    const QString text = RunPdfToText({QStringLiteral("-layout"), path, QStringLiteral("-")});
    QList<QStringList> pages;
    QStringList pageTexts = text.split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) {
        pageTexts.removeLast();
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (QString line : page.split(QLatin1Char('\n'))) {
            line.remove(space);
            if (!line.isEmpty()) {
                lines.append(line);
            }
        }
        pages.append(lines);
    }
    return pages;
}

QStringList PdfLines(const QString& path)
{
    QStringList all;
    for (const QStringList& page : PdfPages(path)) {
        all.append(page);
    }
    return all;
}

QList<Word> PdfWords(const QString& path)
{
    const QString html = RunPdfToText({QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page\b|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    int page = 0;
    for (const QRegularExpressionMatch& m : tag.globalMatch(html)) {
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        QString text = m.captured(5);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.append({page, QRectF(topLeft, bottomRight), text});
    }
    return words;
}

QString ExpectedItem(int i)
{
    const auto& t = Math::WorksheetTable;
    const auto r = static_cast<std::size_t>(i);
    const QString marker = QStringLiteral("(  )");
    QString item = t.BlankKind[r] == 1 ? marker : QString::fromStdU16String(t.Operand1Text[r]);
    item += QString::fromStdU16String(t.OperatorText[r]);
    item += t.BlankKind[r] == 2 ? marker : QString::fromStdU16String(t.Operand2Text[r]);
    // The printed left part is 7 characters wide: a longer one loses its front.
    item = item.right(7);
    item.remove(QLatin1Char(' '));
    item += QStringLiteral("＝");
    if (t.BlankKind[r] != 0) {
        item += QString::fromStdU16String(t.ResultText[r]);
    }
    return item;
}

QString TitleLine()
{
    return QStringLiteral("Tovrin数学Sumvarl");
}

QString CountLine(int count)
{
    return QStringLiteral("题目数：%1题日期：__年__月__日用时：_______得分：_______").arg(count);
}

QStringList ExpectedDocument(int count)
{
    QStringList lines{TitleLine(), CountLine(count)};
    for (int i = 1; i <= count; ++i) {
        if ((i - 1) % 4 == 0) {
            lines.append(QString());
        }
        lines.last() += ExpectedItem(i);
    }
    return lines;
}

QString TestPrinterOut()
{
    return qEnvironmentVariable("TEST_PRINTER_OUT");
}

namespace {

bool SchedulerIdle()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    return lpstat.waitForFinished(10000) && lpstat.exitStatus() == QProcess::NormalExit &&
           lpstat.exitCode() == 0 && lpstat.readAllStandardOutput().trimmed().isEmpty();
}

QStringList KeptJobs()
{
    const QDir out(TestPrinterOut());
    QStringList jobs;
    for (const QString& name :
         out.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
        jobs.append(out.filePath(name));
    }
    return jobs;
}

} // namespace

QStringList WaitForKeptJobs(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (SchedulerIdle() && !KeptJobs().isEmpty()) {
            break;
        }
        // Events go on meanwhile: a window's job is painted on this thread once its printer
        // has been found.
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return KeptJobs();
}

bool RunCupsTool(const QString& program, const QStringList& arguments)
{
    QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        path = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/sbin")});
    }
    QProcess tool;
    tool.start(path, arguments);
    const bool ran = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                     tool.exitCode() == 0;
    if (!ran) {
        qWarning() << program << arguments << tool.readAllStandardError();
    }
    return ran;
}

namespace {

bool ServerNamesItsDefault()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-d")});
    return lpstat.waitForFinished(10000) && lpstat.exitCode() == 0 &&
           lpstat.readAllStandardOutput().contains("system default destination:");
}

} // namespace

StoppedPrintService::StoppedPrintService()
{
    // The server reloads itself once after its queue has been set up, dropping connections; it
    // is stopped only once it names its default again.
    QElapsedTimer settling;
    settling.start();
    while (!ServerNamesItsDefault() && settling.elapsed() < 5000) {
        QThread::msleep(50);
    }
    // test-printer.sh keeps the server's pid beside the folder of kept jobs.
    QFile file(QFileInfo(TestPrinterOut()).dir().filePath(QStringLiteral("cupsd.pid")));
    if (file.open(QIODevice::ReadOnly)) {
        pid_ = file.readAll().trimmed().toInt();
    }
#ifdef Q_OS_WIN
    pid_ = 0; // the test printer is a CUPS server, which Windows does not have
#else
    if (pid_ <= 0 || ::kill(pid_, SIGSTOP) != 0) {
        pid_ = 0;
    }
#endif
}

StoppedPrintService::~StoppedPrintService()
{
#ifndef Q_OS_WIN
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
#endif
}

namespace {

class FailingSaveFile final : public QSaveFile
{
public:
    FailingSaveFile(const QString& path, qint64 limit) : QSaveFile(path), room_(limit) {}

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        if (size > room_) {
            QSaveFile::writeData(data, room_);
            room_ = 0;
            setErrorString(qt_error_string(sumvarl::testing::DiskFullCode));
            return -1;
        }
        room_ -= size;
        return QSaveFile::writeData(data, size);
    }

private:
    qint64 room_;
};

} // namespace

FailingPdfFile::FailingPdfFile(const QString& path, qint64 limit)
    : previous_(sumvarl::PdfSaveFiles())
{
    sumvarl::PdfSaveFiles() = [path, limit](const QString& target) -> std::unique_ptr<QSaveFile> {
        if (QFileInfo(target).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
            return std::make_unique<FailingSaveFile>(target, limit);
        }
        return std::make_unique<QSaveFile>(target);
    };
}

FailingPdfFile::~FailingPdfFile()
{
    sumvarl::PdfSaveFiles() = previous_;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace printtest
