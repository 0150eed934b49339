// The worksheet window's sheet menu: how it opens (right click, Menu key, Shift+F10), what it
// offers, and its three entries run headless: the answer key through the print hook, the PDFs
// through the file-name hook and read back with pdftotext; the preview and the print dialog
// through their hooks, and under test-printer.sh through the printing module; whose window a
// message belongs to when none is active.

#include "FormsTestSupport.h"
#include "core/Math.h"
#include "forms/PracticeWindow.h"
#include "forms/SheetPicture.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "print/PrinterJob.h"
#include "testing/AnswerCheck.h"
#include "testing/DiskFull.h"
#include "testing/PrintTestSupport.h"
#include "testing/Problems.h"
#include "wording/Messages.h"
#include "worksheet/ProblemLine.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPromise>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using sumvarl::frmDisplay;
using sumvarl::SheetPicture;
using sumvarl::test::Control;
using sumvarl::test::ModalWatch;
using sumvarl::testing::AllOperations;
using sumvarl::testing::UseSettings;

namespace {

enum class Opening { RightClick, MenuKey, ShiftF10 };

// Watches for the sheet menu while it is open, from inside the menu's own event loop, for as
// long as the watch lives; then either picks the entry of that object name with the keyboard
// (Down to it, Return) or closes the menu with Escape.
class MenuWatch
{
public:
    explicit MenuWatch(QString pick = {}) : pick_(std::move(pick))
    {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Look(); });
        poll_.start();
    }

    int openings = 0;
    QStringList texts;
    QPoint position;

private:
    void Look()
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return;
        }
        poll_.stop();
        ++openings;
        position = menu->pos();
        for (const QAction* action : menu->actions()) {
            texts << action->text();
        }
        if (pick_.isEmpty()) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        for (QAction* action : menu->actions()) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (menu->activeAction() == action && action->objectName() == pick_) {
                break;
            }
        }
        QTest::keyClick(menu, Qt::Key_Return);
    }

    QString pick_;
    QTimer poll_;
};

// The owner of a message box where it is a modal dialog transient for it without minimise and
// maximise buttons, else null; the box is closed with Return.
QWidget* OwnerAndClose(QWidget& box)
{
    QWidget* parent = box.parentWidget();
    const bool dialog = qobject_cast<QMessageBox*>(&box) != nullptr && parent != nullptr &&
                        box.isModal() && box.windowType() == Qt::Dialog &&
                        !box.windowFlags().testAnyFlags(Qt::WindowMinimizeButtonHint |
                                                        Qt::WindowMaximizeButtonHint) &&
                        box.windowHandle()->transientParent() == parent->windowHandle();
    QTest::keyClick(&box, Qt::Key_Return);
    return dialog ? parent : nullptr;
}

// The open practice windows, in no particular order.
QList<sumvarl::PracticeWindow*> PracticeWindows()
{
    QList<sumvarl::PracticeWindow*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* practice = qobject_cast<sumvarl::PracticeWindow*>(w);
            practice && w->isVisible()) {
            windows << practice;
        }
    }
    return windows;
}

// Each problem as a practice window shows it: the parts around the answer box, box empty.
QStringList ShownProblems(const QWidget& practice)
{
    QStringList shown;
    for (int n = 1; practice.findChild<QLabel*>(QStringLiteral("Before%1").arg(n)); ++n) {
        shown << Control<QLabel>(practice, QStringLiteral("Before%1").arg(n))->text() +
                     Control<QLabel>(practice, QStringLiteral("After%1").arg(n))->text();
    }
    return shown;
}

// The table's problems written out again, "()" at the open place.
QStringList TableProblemTexts()
{
    QStringList texts;
    const auto& t = Math::WorksheetTable;
    for (int i = 1; i <= Math::ProblemCount; ++i) {
        const auto r = static_cast<std::size_t>(i);
        const auto text = [&](const std::u16string& s, int kind) {
            return t.BlankKind[r] == kind ? QStringLiteral("()") : QString::fromStdU16String(s);
        };
        texts << text(t.Operand1Text[r], 1) + QString::fromStdU16String(t.OperatorText[r]) +
                     text(t.Operand2Text[r], 2) + QStringLiteral("＝") +
                     (t.BlankKind[r] == 0 ? QString() : QString::fromStdU16String(t.ResultText[r]));
    }
    return texts;
}

// The day of the injected clock, which names the suggested files.
QString Today()
{
    return sumvarl::Hooks().now().date().toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

Q_DECLARE_METATYPE(Opening)
Q_DECLARE_METATYPE(sumvarl::PrintResult)

class FrmDisplayMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void init()
    {
        // A fresh folder per test: a test sees only the files it saved itself.
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        UseSettings(AllOperations(40, 60));
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        sumvarl::Hooks().printDocument = [this](const sumvarl::DocumentOptions& options) {
            printedOptions_.push_back(options);
            return QtFuture::makeReadyFuture(sumvarl::PrintOutcome{documentResult_, {}});
        };
        sumvarl::Hooks().saveFileName = [this](const QString& title, const QString& suggested) {
            dialogTitles_ << title;
            suggestions_ << suggested;
            return chosenPath_;
        };
        printedOptions_.clear();
        dialogTitles_.clear();
        suggestions_.clear();
        chosenPath_.clear();
        documentResult_ = sumvarl::PrintResult::Printed;

        display_ = new frmDisplay();
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->show();
        QVERIFY(QTest::qWaitForWindowExposed(display_.data()));
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        sheet_ = Control<SheetPicture>(*display_, QStringLiteral("Picture1"));
    }

    void cleanup()
    {
        delete display_.data();
        hooks_.reset();
    }

    // F1 opens the help as a dialog of the window it was pressed in, from every window; the
    // link 更多… shows a newcomer the sheet menu.
    void helpFromEveryWindowAndAVisibleWayToTheMenu()
    {
        sumvarl::frmMain main;
        main.show();
        sumvarl::PracticeWindow practice(
            sumvarl::testing::SheetOf({sumvarl::testing::Two(12, sumvarl::Operation::Add, 5, 17)}));
        practice.show();
        for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(display_),
                                static_cast<QWidget*>(&practice)}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window->windowHandle(), Qt::Key_F1);
            QTRY_VERIFY(QApplication::activeWindow() != window);
            QWidget* help = QApplication::activeWindow();
            QCOMPARE(help->windowTitle(), QStringLiteral("帮助"));
            QCOMPARE(help->parentWidget(), window);
            QVERIFY(Control<QLabel>(*help, QStringLiteral("HelpText"))
                        ->text()
                        .contains(QStringLiteral("右键")));
            QTest::keyClick(help, Qt::Key_Escape);
            QTRY_VERIFY(!help->isVisible());
        }
        MenuWatch seen;
        QTest::mouseClick(Control<QWidget>(*display_, QStringLiteral("MoreLink")), Qt::LeftButton);
        QCOMPARE(seen.openings, 1);
        QVERIFY(seen.texts.contains(QStringLiteral("在屏幕上练习…")));
    }

    void opensFromTheMouseAndTheKeys_data()
    {
        QTest::addColumn<Opening>("opening");
        QTest::newRow("right click") << Opening::RightClick;
        QTest::newRow("Menu key") << Opening::MenuKey;
        QTest::newRow("Shift+F10") << Opening::ShiftF10;
    }

    void opensFromTheMouseAndTheKeys()
    {
        QFETCH(Opening, opening);
        const QObjectList childrenBefore = display_->children();
        MenuWatch seen;
        const QPoint click(200, 150);
        switch (opening) {
        case Opening::RightClick: {
            // What the window system makes of a right click on the sheet.
            QContextMenuEvent event(QContextMenuEvent::Mouse, click, sheet_->mapToGlobal(click));
            QApplication::sendEvent(sheet_, &event);
            break;
        }
        case Opening::MenuKey:
            sheet_->setFocus();
            QVERIFY(sheet_->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Menu);
            break;
        case Opening::ShiftF10:
            sheet_->setFocus();
            QVERIFY(sheet_->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
            break;
        }
        QCOMPARE(seen.openings, 1);
        QCOMPARE(
            seen.texts,
            (QStringList{QStringLiteral("打印预览…"), QStringLiteral("打印到…"),
                         QStringLiteral("打印答案"), QStringLiteral("保存为 PDF…"),
                         QStringLiteral("答案保存为 PDF…"), QStringLiteral("脱式和答案保存为 PDF…"),
                         QStringLiteral("在屏幕上练习…"), QStringLiteral("今日练习…"),
                         QStringLiteral("批改纸质练习…")}));
        if (opening == Opening::RightClick) {
            QCOMPARE(seen.position, sheet_->mapToGlobal(click));
        } else {
            // From the keys the menu opens at the top left of the sheet.
            const QRect sheetOnScreen(sheet_->mapToGlobal(QPoint(0, 0)), sheet_->size());
            QVERIFY(sheetOnScreen.contains(seen.position));
        }
        // Nothing was done, and the window keeps exactly its own children.
        QVERIFY(printedOptions_.empty());
        QVERIFY(suggestions_.isEmpty());
        QCOMPARE(hooks_->prints, 0);
        QTRY_COMPARE(display_->children(), childrenBefore);
    }

    void otherKeysOpenNoMenu()
    {
        MenuWatch seen;
        sheet_->setFocus();
        QTest::keyClick(sheet_, Qt::Key_F10);
        QTest::keyClick(sheet_, Qt::Key_Menu, Qt::ControlModifier);
        QTest::keyClick(sheet_, Qt::Key_A);
        QTest::qWait(100);
        QCOMPARE(seen.openings, 0);
    }

    void printAnswersPrintsTheAnswerKey()
    {
        MenuWatch seen(QStringLiteral("PrintAnswers"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(seen.openings, 1);
        QCOMPARE(printedOptions_.size(), std::size_t{1});
        QVERIFY(printedOptions_[0].answerKey);
        QVERIFY(printedOptions_[0].pupilName.empty());
        // The print button's job is not the answer key.
        QCOMPARE(hooks_->prints, 0);
        QVERIFY(hooks_->messages.empty());
    }

    // 打印预览… and 打印到… hand the printer the worksheet 打印 prints, as it stood when chosen,
    // with the window as the dialogs' owner; a failed job is reported under the entry's name.
    void previewAndPrintToReachThePrinterWithTheWorksheet_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::newRow("preview") << QStringLiteral("PrintPreview") << QStringLiteral("打印预览");
        QTest::newRow("print to") << QStringLiteral("PrintTo") << QStringLiteral("打印到");
    }

    void previewAndPrintToReachThePrinterWithTheWorksheet()
    {
        SKIP_WITHOUT_READ_BACK();
        QFETCH(QString, entry);
        QFETCH(QString, title);
        QWidget* owner = nullptr;
        std::vector<sumvarl::DrawDocument> handed;
        const auto record = [&](QWidget& window, const sumvarl::DrawDocument& draw) {
            owner = &window;
            handed.push_back(draw);
            return std::optional<sumvarl::PrintOutcome>(
                sumvarl::PrintOutcome{sumvarl::PrintResult::JobFailed, {}});
        };
        sumvarl::Hooks().printPreview = record;
        sumvarl::Hooks().printWithDialog = record;
        const QStringList shown = printtest::ExpectedDocument(40);

        MenuWatch seen(entry);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                                sheet_->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(sheet_, &click);
        QCOMPARE(seen.openings, 1);
        QCOMPARE(handed.size(), std::size_t{1});
        QCOMPARE(owner, display_.data());
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(hooks_->messages[0].title, title);
        QCOMPARE(hooks_->messages[0].prompt,
                 sumvarl::PrintFailureMessage(sumvarl::PrintResult::JobFailed));
        QCOMPARE(hooks_->prints, 0);

        // A dialog may stay open while the sheet is recalculated; its pages do not change.
        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->Command3_Click();
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        const QString path = folder_->filePath(QStringLiteral("handed.pdf"));
        QVERIFY(sumvarl::SaveDocumentPdf(path, handed[0]).Ok());
        QCOMPARE(printtest::PdfLines(path), shown);
        QVERIFY(printtest::ExpectedDocument(40) != shown);
    }

    // A message raised while no window of the program is active (a job's end, no window
    // manager) belongs to the window it concerns, else to the window active last: a dialog,
    // modal, transient for it, with no minimise or maximise button.
    void aMessageWithNoActiveWindowHasAnOwner()
    {
        sumvarl::Hooks().messageBox = sumvarl::DefaultFormHooks().messageBox;
        QPromise<sumvarl::PrintOutcome> job;
        sumvarl::Hooks().print = [&job] { return job.future(); };
        sumvarl::frmMain main;
        main.show();

        display_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(display_.data()));
        QTest::mouseClick(Control<QWidget>(*display_, QStringLiteral("Command1")), Qt::LeftButton);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        LeaveNoWindowActive();
        QWidget* owner = nullptr;
        const ModalWatch fromTheJob([&owner](QWidget& box) { owner = OwnerAndClose(box); });
        job.start();
        job.addResult(sumvarl::PrintOutcome{sumvarl::PrintResult::JobFailed, {}});
        job.finish();
        QTRY_VERIFY(fromTheJob.seen);
        QCOMPARE(owner, display_.data());

        LeaveNoWindowActive();
        const ModalWatch plain([&owner](QWidget& box) { owner = OwnerAndClose(box); });
        sumvarl::Hooks().messageBox(QStringLiteral("提示"), QStringLiteral("题目"));
        QVERIFY(plain.seen);
        QCOMPARE(owner, &main);
    }

    // Through the printing module on the private CUPS queue: Qt's preview of the sheet's page and
    // Qt's print dialog, both dialogs of the window; Return in the dialog prints the worksheet.
    void previewAndPrintToThroughTheModule()
    {
        if (printtest::TestPrinterOut().isEmpty()) {
            QSKIP("needs the private CUPS server of print/tests/test-printer.sh");
        }
        sumvarl::Hooks().printPreview = sumvarl::DefaultFormHooks().printPreview;
        sumvarl::Hooks().printWithDialog = sumvarl::DefaultFormHooks().printWithDialog;
        QWidget* owner = nullptr;
        int pages = 0;
        {
            const ModalWatch preview([&](QWidget& dialog) {
                owner =
                    qobject_cast<QPrintPreviewDialog*>(&dialog) ? dialog.parentWidget() : nullptr;
                const auto* shown = dialog.findChild<QPrintPreviewWidget*>();
                pages = shown != nullptr ? shown->pageCount() : 0;
                QTest::keyClick(&dialog, Qt::Key_Escape);
            });
            MenuWatch seen(QStringLiteral("PrintPreview"));
            display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
            QVERIFY(preview.seen);
        }
        QCOMPARE(owner, display_.data());
        QCOMPARE(pages, 1);
        QCOMPARE(printtest::WaitForKeptJobs(1000), QStringList());

        owner = nullptr;
        const ModalWatch dialog([&owner](QWidget& shown) {
            owner = qobject_cast<QPrintDialog*>(&shown) ? shown.parentWidget() : nullptr;
            QTest::keyClick(&shown, Qt::Key_Return);
        });
        MenuWatch seen(QStringLiteral("PrintTo"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QVERIFY(dialog.seen);
        QCOMPARE(owner, display_.data());
        QVERIFY(hooks_->messages.empty());
        const QStringList jobs = printtest::WaitForKeptJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(printtest::PdfLines(jobs[0]), printtest::ExpectedDocument(40));
    }

    // The round is a copy: 重算 and 放弃 leave it alone, and the new sheet opens its own round
    // from the menu's shortcut.
    void practiseOpensARoundOfTheSheet()
    {
        const QStringList sheet = TableProblemTexts();
        QCOMPARE(sheet.size(), 40);
        MenuWatch seen(QStringLiteral("Practise"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(seen.openings, 1);
        auto cleanup = qScopeGuard([] { qDeleteAll(PracticeWindows()); });
        QCOMPARE(PracticeWindows().size(), 1);
        const QPointer<sumvarl::PracticeWindow> first = PracticeWindows()[0];
        QCOMPARE(ShownProblems(*first), sheet);

        QSignalSpy built(display_.data(), &frmDisplay::worksheetBuilt);
        display_->Command3_Click();
        QTRY_COMPARE_WITH_TIMEOUT(built.count(), 1, 3000);
        QVERIFY(TableProblemTexts() != sheet);
        QCOMPARE(ShownProblems(*first), sheet);

        display_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(display_.data()));
        QTest::keyClick(display_.data(), Qt::Key_L, Qt::ControlModifier);
        QList<sumvarl::PracticeWindow*> windows = PracticeWindows();
        QCOMPARE(windows.size(), 2);
        windows.removeOne(first.data());
        QCOMPARE(ShownProblems(*windows[0]), TableProblemTexts());

        display_->Command2_Click();
        QTRY_VERIFY(display_.isNull());
        QCOMPARE(PracticeWindows().size(), 2);
        QCOMPARE(ShownProblems(*first), sheet);
    }

    void printAnswersFailureIsReported_data()
    {
        QTest::addColumn<sumvarl::PrintResult>("result");
        QTest::newRow("no printer") << sumvarl::PrintResult::NoDefaultPrinter;
        QTest::newRow("cannot open") << sumvarl::PrintResult::CannotOpen;
        QTest::newRow("job failed") << sumvarl::PrintResult::JobFailed;
    }

    void printAnswersFailureIsReported()
    {
        QFETCH(sumvarl::PrintResult, result);
        documentResult_ = result;
        const printtest::TableCopy before = printtest::CopyTable();
        display_->printAnswers();
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(hooks_->messages[0].prompt, sumvarl::PrintFailureMessage(result));
        QCOMPARE(hooks_->messages[0].title, QStringLiteral("打印答案"));
        QVERIFY(display_->isVisible());
        QVERIFY(printtest::SameTable(before, printtest::CopyTable()));
    }

    void savePdfWritesTheWorksheet()
    {
        SKIP_WITHOUT_READ_BACK();
        chosenPath_ = folder_->filePath(QStringLiteral("sheet.pdf"));
        MenuWatch seen(QStringLiteral("SavePdf"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(seen.openings, 1);

        QCOMPARE(dialogTitles_, QStringList{QStringLiteral("保存为 PDF")});
        QCOMPARE(QFileInfo(suggestions_.value(0)).fileName(),
                 QStringLiteral("练习题-%1.pdf").arg(Today()));
        QVERIFY(hooks_->messages.empty());
        QVERIFY(QFileInfo::exists(chosenPath_));
        QCOMPARE(printtest::PdfLines(chosenPath_), printtest::ExpectedDocument(40));
    }

    void saveAnswersPdfWritesTheAnswerKey()
    {
        SKIP_WITHOUT_READ_BACK();
        chosenPath_ = folder_->filePath(QStringLiteral("key.pdf"));
        MenuWatch seen(QStringLiteral("SaveAnswersPdf"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(seen.openings, 1);

        QCOMPARE(dialogTitles_, QStringList{QStringLiteral("答案保存为 PDF")});
        QCOMPARE(QFileInfo(suggestions_.value(0)).fileName(),
                 QStringLiteral("答案-%1.pdf").arg(Today()));
        QVERIFY(hooks_->messages.empty());
        const QStringList lines = printtest::PdfLines(chosenPath_);
        QCOMPARE(lines.value(0), QStringLiteral("Tovrin数学Sumvarl（答案）"));
        QCOMPARE(lines.value(1), printtest::CountLine(40));
        // Each row of four, as the key prints it, answers the sheet's row.
        QCOMPARE(lines.size(), 2 + 10);
        for (int i = 1; i <= 40; ++i) {
            QString key = QString::fromStdU16String(
                sumvarl::AnswerItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer));
            key.remove(QLatin1Char(' '));
            QVERIFY2(lines[2 + (i - 1) / 4].contains(key), qPrintable(key));
            const std::string why = sumvarl::answercheck::CheckAnswer(
                sumvarl::ItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer),
                key.toStdU16String());
            QVERIFY2(why.empty(), why.c_str());
        }
    }

    // 脱式: the sheet with a line "＝" under each problem, then the key with each result.
    void saveWorkingPdfWritesStepsAndKey()
    {
        SKIP_WITHOUT_READ_BACK();
        chosenPath_ = folder_->filePath(QStringLiteral("working.pdf"));
        MenuWatch seen(QStringLiteral("SaveWorkingPdf"));
        display_->showSheetMenu(sheet_->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(seen.openings, 1);
        QCOMPARE(QFileInfo(suggestions_.value(0)).fileName(),
                 QStringLiteral("脱式-%1.pdf").arg(Today()));
        QVERIFY(hooks_->messages.empty());
        const QStringList lines = printtest::PdfLines(chosenPath_);
        const qsizetype key = lines.indexOf(QStringLiteral("Tovrin数学Sumvarl（答案）"));
        QVERIFY(key > 0);
        QCOMPARE(lines.mid(0, key).join(QString()).count(QStringLiteral("＝")), 40);
        QCOMPARE(lines.mid(key).join(QString()).count(QRegularExpression(QStringLiteral("＝\\d"))),
                 40);
    }

    // The dialog starts in the documents folder only where it exists, else in the home
    // folder, and never from the working folder.
    void suggestedFolderExists()
    {
#ifdef Q_OS_WIN
        QSKIP("the documents and home folders come from the Windows shell, not from HOME");
#endif
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(folder_->path()));
        qunsetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            config.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
        });
        const QString name = QStringLiteral("练习题-%1.pdf").arg(Today());

        // The real dialog, read and cancelled as soon as it shows.
        sumvarl::Hooks().saveFileName = sumvarl::DefaultFormHooks().saveFileName;
        QString shownFolder;
        QString shownName;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            shownFolder = dialog->directory().absolutePath();
            shownName = Control<QLineEdit>(*dialog, QStringLiteral("fileNameEdit"))->text();
            dialog->reject();
        });
        display_->savePdf();
        QCOMPARE(shownFolder, folder_->path());
        QCOMPARE(shownName, name);

        sumvarl::Hooks().saveFileName = [this](const QString&, const QString& suggested) {
            suggestions_ << suggested;
            return QString();
        };
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("Documents")));
        display_->savePdf();
        QCOMPARE(suggestions_.value(0), folder_->filePath(QStringLiteral("Documents/") + name));
    }

    // The disk fills up half-way: a clear message, the older file kept, nothing beside it.
    void aWriteFailingHalfWayKeepsTheOlderFile()
    {
        chosenPath_ = folder_->filePath(QStringLiteral("sheet.pdf"));
        QFile older(chosenPath_);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older sheet");
        older.close();
        const printtest::FailingPdfFile full(chosenPath_, 3000);
        display_->savePdf();
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        // A full disk is said to be one, in Chinese.
        QCOMPARE(hooks_->messages[0].prompt,
                 sumvarl::SaveFailureMessage(sumvarl::SaveResult::NotWritten, chosenPath_,
                                             qt_error_string(sumvarl::testing::DiskFullCode)));
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("磁盘已满")));
        QCOMPARE(printtest::FileBytes(chosenPath_), QByteArray("older sheet"));
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("sheet.pdf")});
    }

    void cancelledDialogSavesNothing()
    {
        chosenPath_.clear();
        display_->savePdf();
        display_->saveAnswersPdf();
        QCOMPARE(suggestions_.size(), 2);
        QVERIFY(hooks_->messages.empty());
        QVERIFY(QDir(folder_->path()).entryList(QDir::Files).isEmpty());
    }

    // Saving over a pipe would put a plain file in its place after the overwrite question.
    // Windows keeps its pipes outside folders; there a folder stands in for what is no file.
    void aPipeIsNotReplacedByThePdf()
    {
        chosenPath_ = folder_->filePath(QStringLiteral("pipe"));
#ifdef Q_OS_WIN
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("pipe")));
#else
        QCOMPARE(::mkfifo(QFile::encodeName(chosenPath_).constData(), 0600), 0);
#endif
        display_->savePdf();
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("不是普通文件")));
#ifdef Q_OS_WIN
        QVERIFY(QFileInfo(chosenPath_).isDir());
#else
        struct stat after
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(chosenPath_).constData(), &after), 0);
        QVERIFY(S_ISFIFO(after.st_mode));
#endif
    }

    void unwritableFolderIsReported()
    {
        chosenPath_ = folder_->filePath(QStringLiteral("no/such/folder/sheet.pdf"));
        display_->savePdf();
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(hooks_->messages[0].title, QStringLiteral("保存为 PDF"));
        QVERIFY(hooks_->messages[0].prompt.startsWith(QStringLiteral("无法创建文件")));
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("文件夹不存在")));
        QVERIFY(!QFileInfo::exists(chosenPath_));
        QVERIFY(display_->isVisible());
    }

private:
    // The active window is hidden behind another that then goes: no window is active.
    static void LeaveNoWindowActive()
    {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        other.hide();
        QTRY_VERIFY(QApplication::activeWindow() == nullptr);
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    QPointer<frmDisplay> display_;
    SheetPicture* sheet_ = nullptr;
    std::vector<sumvarl::DocumentOptions> printedOptions_;
    sumvarl::PrintResult documentResult_ = sumvarl::PrintResult::Printed;
    QStringList dialogTitles_;
    QStringList suggestions_;
    QString chosenPath_;
};

QTEST_MAIN(FrmDisplayMenuTest)
#include "frm_display_menu_test.moc"
