// 更多设置 as a parent reaches and uses it: from the settings window's context menu (right click,
// Menu key, Shift+F10), its shortcut and its link; the live count of different problems; the
// refusal of a lesson that allows no problem; Start reading the lesson, Recalculate keeping the
// last Start's.

#include "FormsTestSupport.h"
#include "core/Lesson.h"
#include "core/Math.h"
#include "core/SheetCode.h"
#include "forms/LessonSettingsWindow.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "print/PrintedWorksheet.h"
#include "testing/LessonColumns.h"
#include "testing/VerticalReadBack.h"
#include "worksheet/StepByStep.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

using sumvarl::frmMain;
using sumvarl::LessonSettingsWindow;
using sumvarl::test::Control;
using sumvarl::test::TypeInto;

namespace {

// Picks entry `index` of a list box with the keyboard: Home, then Down as often as needed.
void Pick(QComboBox& box, int index)
{
    box.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&box, Qt::Key_Home);
    for (int k = 0; k < index; ++k) {
        QTest::keyClick(&box, Qt::Key_Down);
    }
    QCOMPARE(box.currentIndex(), index);
}

// The context menu that pops up next: chooses its one entry with the keyboard, as a person
// does, once it is open. Polls, since the key or click that opens it may run the event loop
// before the menu is there.
void ChooseFromMenuWhenOpen(QString& seen)
{
    auto* poll = new QTimer(QApplication::instance());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, tries = 0]() mutable {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr && ++tries < 300) {
            return;
        }
        poll->deleteLater();
        poll->stop();
        if (menu != nullptr && !menu->actions().isEmpty()) {
            seen = menu->actions().constFirst()->text();
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    poll->start();
}

} // namespace

class LessonSettingsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void init()
    {
        Math::ResetState();
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        window_ = std::make_unique<frmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup()
    {
        window_.reset();
        hooks_.reset();
    }

    void reachedFromTheSettingsWindow_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"right click", "Menu key", "Shift+F10", "Ctrl+M", "link"}) {
            QTest::newRow(way) << QString::fromLatin1(way);
        }
    }

    void reachedFromTheSettingsWindow()
    {
        QFETCH(QString, way);
        QWindow* handle = window_->windowHandle();
        auto* start = Control<QPushButton>(*window_, QStringLiteral("Command1"));
        start->setFocus();
        QString menuEntry;
        if (way == QLatin1String("right click")) {
            // On the window's empty grey below the frame, through the window system.
            ChooseFromMenuWhenOpen(menuEntry);
            QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(10, window_->height() - 60));
        } else if (way == QLatin1String("Menu key")) {
            // On X11 the platform answers the Menu key with a context menu event to the window;
            // the tests' offscreen platform does not, so that event is delivered after the key
            // as the window system delivers it.
            ChooseFromMenuWhenOpen(menuEntry);
            QTest::keyClick(handle, Qt::Key_Menu);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr);
            const QPoint at = focus->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(focus, &event);
        } else if (way == QLatin1String("Shift+F10")) {
            ChooseFromMenuWhenOpen(menuEntry);
            QTest::keyClick(handle, Qt::Key_F10, Qt::ShiftModifier);
        } else if (way == QLatin1String("Ctrl+M")) {
            QTest::keyClick(handle, Qt::Key_M, Qt::ControlModifier);
        } else {
            auto* link = Control<QLabel>(*window_, QStringLiteral("MoreLink"));
            QVERIFY(link->isVisible());
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(8, link->height() / 2));
        }
        if (way != QLatin1String("Ctrl+M") && way != QLatin1String("link")) {
            QCOMPARE(menuEntry, QStringLiteral("更多设置…"));
        }
        LessonSettingsWindow* more = window_->lessonSettings();
        QVERIFY(more != nullptr);
        QVERIFY(more->isVisible());
        QCOMPARE(more->windowTitle(), QStringLiteral("更多设置"));
        QCOMPARE(more->font(), window_->font());
        // Closing only hides it: the choices stay for the next Start.
        Pick(*Control<QComboBox>(*more, QStringLiteral("Carry")), 1);
        QTest::mouseClick(Control<QPushButton>(*more, QStringLiteral("Close")), Qt::LeftButton);
        QVERIFY(!more->isVisible());
        QTest::keyClick(handle, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(window_->lessonSettings(), more);
        QCOMPARE(more->lesson().carry, Math::CarryRule::Always);
        // Escape in one of its boxes closes it, as it closes a dialog.
        QTest::keyClick(Control<QComboBox>(*more, QStringLiteral("Borrow")), Qt::Key_Escape);
        QVERIFY(!more->isVisible());
    }

    // The link sits in the empty lower left corner: clear of every other control.
    void linkTakesNoOtherControlsPlace()
    {
        auto* link = Control<QLabel>(*window_, QStringLiteral("MoreLink"));
        QVERIFY(window_->rect().contains(link->geometry()));
        for (QWidget* other : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != link && other->isVisible()) {
                QVERIFY2(!other->geometry().intersects(link->geometry()),
                         qPrintable(other->objectName()));
            }
        }
        QCOMPARE(link->focusPolicy(), Qt::NoFocus);
        // A press on the link let go beside it opens nothing, as with any link.
        const QPoint on(8, link->height() / 2);
        QTest::mousePress(link, Qt::LeftButton, {}, on);
        QTest::mouseRelease(link, Qt::LeftButton, {}, on + QPoint(link->width(), 0));
        QCOMPARE(window_->lessonSettings(), nullptr);
    }

    // The count follows what is typed in the settings window and picked here; the numbers
    // themselves are proven by brute force in the core's tests.
    void countFollowsTheSettings_data()
    {
        QTest::addColumn<QString>("ticks"); // 加 减 乘 除
        QTest::addColumn<QString>("range");
        sumvarl::testing::AddLessonColumns();
        QTest::newRow("20以内进位加法") << "1000"
                                        << "20" << 1 << 0 << 0 << 9 << false;
        QTest::newRow("20以内退位减法") << "0100"
                                        << "20" << 0 << 1 << 0 << 9 << false;
        QTest::newRow("100以内不进位加法") << "1000"
                                           << "100" << 2 << 0 << 0 << 9 << false;
        QTest::newRow("表内乘法 2-5") << "0010"
                                      << "100" << 0 << 0 << 2 << 5 << false;
        QTest::newRow("表内除法 2-5 有余数") << "0001"
                                             << "100" << 0 << 0 << 2 << 5 << true;
        QTest::newRow("all four, every rule") << "1111"
                                              << "20" << 1 << 2 << 3 << 7 << true;
    }

    void countFollowsTheSettings()
    {
        QFETCH(QString, ticks);
        QFETCH(QString, range);
        QFETCH(int, carry);
        QFETCH(int, borrow);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, remainder);
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        QVERIFY(more != nullptr);
        auto* count = Control<QLabel>(*more, QStringLiteral("Count"));
        QCOMPARE(count->text(), QStringLiteral("共 4951 道不同的题")); // additions within 100

        for (int k = 0; k < 4; ++k) {
            auto* check = Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(k));
            if (check->isChecked() != (ticks.at(k) == u'1')) {
                QTest::mouseClick(check, Qt::LeftButton);
            }
        }
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo1")), range);
        Pick(*Control<QComboBox>(*more, QStringLiteral("Carry")), carry);
        Pick(*Control<QComboBox>(*more, QStringLiteral("Borrow")), borrow);
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableTo")), to);
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableFrom")), from);
        auto* box = Control<QCheckBox>(*more, QStringLiteral("Remainder"));
        if (box->isChecked() != remainder) {
            QTest::mouseClick(box, Qt::LeftButton);
        }

        sumvarl::CountInputs in;
        int total = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            total += ticks.at(static_cast<qsizetype>(k)) == u'1' ? 25 : 0;
            in.cumulativeWeight[k] = static_cast<std::int16_t>(total);
        }
        in.weightTotal = static_cast<std::int16_t>(total);
        in.numberRange = static_cast<std::int16_t>(range.toInt());
        in.lesson = {static_cast<Math::CarryRule>(carry), static_cast<Math::CarryRule>(borrow),
                     static_cast<std::int16_t>(from), static_cast<std::int16_t>(to), remainder};
        QCOMPARE(more->lesson(), in.lesson);
        const long long different = sumvarl::DifferentProblems(in);
        QString expected = QStringLiteral("共 %1 道不同的题").arg(different);
        if (different < 100) {
            expected += QStringLiteral("，不够出 100 题");
        }
        QCOMPARE(count->text(), expected);
        if (QTest::currentDataTag() == QByteArray("20以内进位加法")) {
            QCOMPARE(count->text(), QStringLiteral("共 45 道不同的题，不够出 100 题"));
        }
        QVERIFY(Control<QLabel>(*more, QStringLiteral("Refusal"))->text().isEmpty());
        QVERIFY(Control<QLabel>(*more, QStringLiteral("RemainderNote"))
                    ->text()
                    .contains(QStringLiteral("只出求商的题")));
    }

    // A dialog of the settings window (centred, as the program opens it), within the screen and
    // never over 开始.
    void aDialogThatLeavesStartInView()
    {
        sumvarl::CenterOnScreen(*window_);
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        QVERIFY(QTest::qWaitForWindowExposed(more));
        QCOMPARE(more->windowType(), Qt::Dialog);
        QCOMPARE(more->windowHandle()->transientParent(), window_->windowHandle());
        auto* start = Control<QPushButton>(*window_, QStringLiteral("Command1"));
        QVERIFY(
            !more->frameGeometry().intersects(QRect(start->mapToGlobal(QPoint()), start->size())));
        QVERIFY(more->screen()->availableGeometry().contains(more->frameGeometry()));
    }

    // Remainders of 1 or more with quotients of 1 or more, as the textbooks pose them; exact ones
    // only when asked for. Division alone, tables 0 to 9: 9 × (0 + … + 8), then 9 × (1 + … + 9).
    void remainderZeroOnlyWhenAskedFor()
    {
        QTest::mouseClick(Control<QCheckBox>(*window_, QStringLiteral("Check1_3")), Qt::LeftButton);
        QTest::mouseClick(Control<QCheckBox>(*window_, QStringLiteral("Check1_0")), Qt::LeftButton);
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        auto* count = Control<QLabel>(*more, QStringLiteral("Count"));
        auto* remainder = Control<QCheckBox>(*more, QStringLiteral("Remainder"));
        auto* zero = Control<QCheckBox>(*more, QStringLiteral("RemainderZero"));
        QCOMPARE(count->text(), QStringLiteral("共 90 道不同的题，不够出 100 题"));
        QVERIFY(!zero->isEnabled());
        QTest::mouseClick(remainder, Qt::LeftButton);
        QCOMPARE(count->text(), QStringLiteral("共 324 道不同的题"));
        QTest::mouseClick(zero, Qt::LeftButton);
        QCOMPARE(count->text(), QStringLiteral("共 405 道不同的题"));
        QVERIFY(more->lesson().remainderZero);
        // By 1 alone only exact divisions are left.
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableTo")), 1);
        QVERIFY(Control<QLabel>(*more, QStringLiteral("Refusal"))->text().isEmpty());
        QTest::mouseClick(zero, Qt::LeftButton);
        QCOMPARE(Control<QLabel>(*more, QStringLiteral("Refusal"))->text(),
                 QStringLiteral("乘法口诀 0 到 1 里没有能有余数的除数（除以 1 没有余数）"));
        QTest::mouseClick(remainder, Qt::LeftButton);
        QVERIFY(!zero->isEnabled());
        QVERIFY(!more->lesson().remainderZero);
    }

    // 必须进位 within 10 allows no addition: the window says so, and Start refuses before any
    // worksheet is built, leaving the settings of the last Start.
    void lessonWithoutProblemsIsRefused()
    {
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo1")), QStringLiteral("10"));
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        Pick(*Control<QComboBox>(*more, QStringLiteral("Carry")), 1);
        QCOMPARE(Control<QLabel>(*more, QStringLiteral("Refusal"))->text(),
                 QStringLiteral("10以内没有必须进位的加法"));
        QVERIFY(Control<QLabel>(*more, QStringLiteral("Count"))->text().startsWith(u"共 0 道"));

        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->messages.size(), std::size_t{1});
        QCOMPARE(hooks_->messages[0].prompt,
                 QStringLiteral("10以内没有必须进位的加法，请改正后再按“开始”。"));
        QVERIFY(window_->Display() == nullptr);
        QCOMPARE(Math::NumberRange, std::int16_t{0});
        QCOMPARE(Math::lesson, Math::Lesson{});
    }

    // "20以内进位加法, 40 题": Start reads the lesson with the boxes; a change afterwards waits for
    // the next Start, and Recalculate builds with the last Start's lesson.
    void startReadsTheLessonRecalculateKeepsIt()
    {
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo1")), QStringLiteral("20"));
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo2")), QStringLiteral("40"));
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        Pick(*Control<QComboBox>(*more, QStringLiteral("Carry")), 1);

        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        QVERIFY(hooks_->messages.empty());
        sumvarl::frmDisplay* display = window_->Display();
        QVERIFY(display != nullptr);
        QSignalSpy built(display, &sumvarl::frmDisplay::worksheetBuilt);
        QVERIFY(built.wait(5000));
        const auto everyAdditionCarries = [] {
            for (std::size_t i = 1; i <= 40; ++i) {
                const auto& t = Math::WorksheetTable;
                const int a = QString::fromStdU16String(t.Operand1Text[i]).toInt();
                const int b = QString::fromStdU16String(t.Operand2Text[i]).toInt();
                if (t.OperatorText[i] != Math::PlusSign || a % 10 + b % 10 < 10 || a + b >= 20) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(everyAdditionCarries());

        Pick(*Control<QComboBox>(*more, QStringLiteral("Carry")), 2);
        QCOMPARE(Math::lesson.carry, Math::CarryRule::Always);
        QTest::mouseClick(Control<QPushButton>(*display, QStringLiteral("Command3")),
                          Qt::LeftButton);
        QVERIFY(built.wait(5000));
        QVERIFY(everyAdditionCarries());
        QVERIFY(hooks_->messages.empty());
    }

    // 题型 加减混合 within 20: the count is the chains', carrying no longer applies, and Start
    // makes a sheet of 8＋5－6 and 13－5＋6 within 20. 乘除混合 with the tables 0 to 0 has no
    // divisor.
    void chainsFromTheShapeList()
    {
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo1")), QStringLiteral("20"));
        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo2")), QStringLiteral("40"));
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        auto* shape = Control<QComboBox>(*more, QStringLiteral("Shape"));
        Pick(*shape, 3);
        QCOMPARE(Control<QLabel>(*more, QStringLiteral("Count"))->text(),
                 QStringLiteral("共 5740 道不同的题")); // 2 × (1² + 2² + … + 20²)
        QVERIFY(!Control<QComboBox>(*more, QStringLiteral("Carry"))->isEnabled());

        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        sumvarl::frmDisplay* display = window_->Display();
        QVERIFY(display != nullptr);
        QSignalSpy built(display, &sumvarl::frmDisplay::worksheetBuilt);
        QVERIFY(built.wait(5000));
        static const QRegularExpression chain(
            QStringLiteral("^(\\d+)([＋－])(\\d+)([＋－])(\\d+)＝(\\d+)$"));
        for (std::size_t i = 1; i <= 40; ++i) {
            const QString key = QString::fromStdU16String(Math::WorksheetTable.ProblemKey[i]);
            const QRegularExpressionMatch m = chain.match(key);
            QVERIFY2(m.hasMatch() && m.captured(2) != m.captured(4), qPrintable(key));
            const int a = m.captured(1).toInt();
            const int b = m.captured(3).toInt();
            const int first = m.captured(2) == QStringLiteral("＋") ? a + b : a - b;
            const int c = m.captured(5).toInt();
            const int result = m.captured(4) == QStringLiteral("＋") ? first + c : first - c;
            QVERIFY2(first >= 0 && first < 20 && result == m.captured(6).toInt() && result < 20,
                     qPrintable(key));
        }

        Pick(*shape, 6);
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableTo")), 0);
        QCOMPARE(Control<QLabel>(*more, QStringLiteral("Refusal"))->text(),
                 QStringLiteral("20以内出不了乘除混合的题"));
    }

    // 竖式 除数是一位数的除法 under 题型: its own count, refused with tables that hold no divisor
    // from 2, and Start makes a sheet of such divisions that 打印 sends set out in columns, 8 a
    // page as 竖式的纸 asks, its 卷号 at the foot giving the same problems back.
    void verticalFromTheShapeList()
    {
        SKIP_WITHOUT_READ_BACK();
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        auto* shape = Control<QComboBox>(*more, QStringLiteral("Shape"));
        auto* perPage = Control<QComboBox>(*more, QStringLiteral("PerPage"));
        QVERIFY(!perPage->isEnabled());
        Pick(*shape, sumvarl::ProblemShapeCount + 4);
        // Kept as an own preset, the kind comes back with it.
        hooks_->names = {QStringLiteral("竖式除法")};
        Click(*more, "SaveOwn");
        QCOMPARE(more->presetParts().at(0).vertical, sumvarl::VerticalKind::DivideByOneDigit);
        QCOMPARE(shape->currentIndex(), sumvarl::ProblemShapeCount + 4);
        Pick(*perPage, 2);
        auto* grid = Control<QCheckBox>(*more, QStringLiteral("Grid"));
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(8, grid->height() / 2));
        QCOMPARE(more->paper(), (sumvarl::VerticalPaper{true, false, 8}));
        QCOMPARE(Control<QLabel>(*more, QStringLiteral("Count"))->text(),
                 QStringLiteral("共 1751 道不同的题")); // 2..9 times 10 and more, up to 999
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableTo")), 1);
        QCOMPARE(
            Control<QLabel>(*more, QStringLiteral("Refusal"))->text(),
            QStringLiteral("乘法口诀 0 到 1 里没有 2 到 9 的数，出不了除数是一位数的除法的竖式"));
        Pick(*Control<QComboBox>(*more, QStringLiteral("TableTo")), 9);
        QVERIFY(Control<QLabel>(*more, QStringLiteral("Refusal"))->text().isEmpty());

        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo2")), QStringLiteral("10"));
        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        sumvarl::frmDisplay* display = window_->Display();
        QVERIFY(display != nullptr);
        QSignalSpy built(display, &sumvarl::frmDisplay::worksheetBuilt);
        QVERIFY(built.wait(5000));
        static const QRegularExpression division(QStringLiteral("^(\\d+)÷([2-9])＝\\d+$"));
        for (std::size_t i = 1; i <= 10; ++i) {
            const QString key = QString::fromStdU16String(Math::WorksheetTable.ProblemKey[i]);
            const QRegularExpressionMatch m = division.match(key);
            QVERIFY2(m.hasMatch() && m.captured(1).toInt() >= 10, qPrintable(key));
        }
        QTest::mouseClick(Control<QPushButton>(*display, QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->prints, 0);
        QCOMPARE(hooks_->pages.size(), std::size_t{1});
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("printed.pdf"));
        sumvarl::WorksheetPdf printed(pdf);
        QVERIFY(printed.AddPages(hooks_->pages.front(), 2));
        QCOMPARE(printed.Commit(), sumvarl::SaveResult::Saved);
        const QList<printtest::ReadProblem> read = printtest::ReadVerticalProblems(pdf);
        QCOMPARE(read.size(), 10);
        QCOMPARE(read[7].page, 1);
        QCOMPARE(read[8].page, 2);
        // Posed with the divisor, the bracket and the dividend, the quotient left to the child.
        QCOMPARE(read.front().Rows().size(), 1);
        static const QRegularExpression footer(QStringLiteral("卷号 ([0-9A-Z-]+)"));
        const QRegularExpressionMatch code = footer.match(
            printtest::RunPdfToText({QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
        QVERIFY(code.hasMatch());
        const sumvarl::DecodedSheetCode decoded =
            sumvarl::DecodeSheetCode(code.captured(1).toStdU16String());
        QVERIFY(decoded.recipe);
        const sumvarl::Sheet again = sumvarl::MakeSheet(*decoded.recipe);
        QCOMPARE(again.problems.size(), std::size_t{10});
        for (std::size_t i = 0; i < 10; ++i) {
            const QString posed =
                QString::fromStdU16String(sumvarl::ProblemWithoutAnswer(again.problems[i]));
            const QString key = QString::fromStdU16String(Math::WorksheetTable.ProblemKey[i + 1]);
            QVERIFY2(key.startsWith(posed), qPrintable(key + QLatin1Char(' ') + posed));
        }
    }

    // "二年级上 · 100以内连加连减" chosen by a parent: the boxes show what it set, Start makes its
    // three parts in order (连加, 连减, 加减混合) under the total; typing a count drops it.
    void presetByGradeSetsEverything()
    {
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        LessonSettingsWindow* more = window_->lessonSettings();
        auto* preset = Control<QComboBox>(*more, QStringLiteral("Preset"));
        const int index = preset->findText(QStringLiteral("二年级上 · 100以内连加连减"));
        QVERIFY(index > 0);
        Pick(*preset, index);
        QCOMPARE(Control<QComboBox>(*window_, QStringLiteral("Combo1"))->currentText(),
                 QStringLiteral("100"));
        QCOMPARE(Control<QComboBox>(*window_, QStringLiteral("Combo2"))->currentText(),
                 QStringLiteral("50"));
        QCOMPARE(
            Control<QLabel>(*more, QStringLiteral("PresetNote"))->text(),
            QStringLiteral("已设置：100以内连加 15 题＋100以内连减 15 题＋100以内加减混合 20 题"));

        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
        sumvarl::frmDisplay* display = window_->Display();
        QVERIFY(display != nullptr);
        QSignalSpy built(display, &sumvarl::frmDisplay::worksheetBuilt);
        QVERIFY(built.wait(5000));
        QCOMPARE(Math::ProblemCount, std::int16_t{50});
        static const QRegularExpression chain(
            QStringLiteral("^(\\d+)([＋－])(\\d+)([＋－])(\\d+)＝(\\d+)$"));
        for (std::size_t i = 1; i <= 50; ++i) {
            const QString key = QString::fromStdU16String(Math::WorksheetTable.ProblemKey[i]);
            const QRegularExpressionMatch m = chain.match(key);
            QVERIFY2(m.hasMatch(), qPrintable(key));
            const QString signs = m.captured(2) + m.captured(4);
            const QString expected = i <= 15   ? QStringLiteral("＋＋")
                                     : i <= 30 ? QStringLiteral("－－")
                                               : QString();
            QVERIFY2(expected.isEmpty() ? m.captured(2) != m.captured(4) : signs == expected,
                     qPrintable(key));
            QVERIFY2(m.captured(6).toInt() < 100, qPrintable(key));
        }

        TypeInto(*Control<QComboBox>(*window_, QStringLiteral("Combo2")), QStringLiteral("40"));
        QCOMPARE(preset->currentIndex(), 0);
        QVERIFY(more->presetParts().empty());
    }

    // 我的设置: a preset of parts saved with 各部分的题混在一起 ticked makes a mixed sheet, comes
    // back after a restart, is renamed, exported, deleted and imported again (twice: the second
    // import asks, and keeps both under another name).
    void ownPresetsSurviveARestartAndTravel()
    {
        LessonSettingsWindow* more = OpenMore();
        auto* preset = Control<QComboBox>(*more, QStringLiteral("Preset"));
        Pick(*preset, preset->findText(QStringLiteral("二年级上 · 100以内连加连减")));
        auto* mixed = Control<QCheckBox>(*more, QStringLiteral("Mixed"));
        QTest::mouseClick(mixed, Qt::LeftButton, {}, QPoint(8, mixed->height() / 2));
        QVERIFY(more->mixed());
        hooks_->names = {QStringLiteral("周末复习")};
        Click(*more, "SaveOwn");
        QCOMPARE(preset->currentText(), QStringLiteral("我的设置 · 周末复习"));
        QVERIFY(QFile::exists(hooks_->ownPresetsPath));

        // Start makes the three parts shuffled together: 连加 no longer fills the first 15.
        Click(*window_, "Command1");
        QSignalSpy built(window_->Display(), &sumvarl::frmDisplay::worksheetBuilt);
        QVERIFY(built.wait(5000));
        int notAdding = 0;
        for (std::size_t i = 1; i <= 15; ++i) {
            const QString key = QString::fromStdU16String(Math::WorksheetTable.ProblemKey[i]);
            notAdding += key.count(QStringLiteral("＋")) == 2 ? 0 : 1;
        }
        QVERIFY(notAdding > 0);

        // A new program reads what the old one saved.
        window_ = std::make_unique<frmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        more = OpenMore();
        preset = Control<QComboBox>(*more, QStringLiteral("Preset"));
        Pick(*preset, preset->findText(QStringLiteral("我的设置 · 周末复习")));
        QCOMPARE(more->presetParts().size(), 3U);
        QVERIFY(Control<QCheckBox>(*more, QStringLiteral("Mixed"))->isChecked());

        hooks_->names = {QStringLiteral("复习")};
        Click(*more, "RenameOwn");
        QCOMPARE(preset->currentText(), QStringLiteral("我的设置 · 复习"));
        Click(*more, "ExportOwn");
        Click(*more, "DeleteOwn");
        QCOMPARE(hooks_->questions.back().prompt, QStringLiteral("删除“复习”吗？"));
        QCOMPARE(preset->findText(QStringLiteral("我的设置 · 复习")), -1);
        Click(*more, "ImportOwn");
        Click(*more, "ImportOwn");
        QCOMPARE(hooks_->questions.back().prompt, QStringLiteral("已经有名为“复习”的设置。"));
        hooks_->confirmAnswer = false; // Escape: keep both
        Click(*more, "ImportOwn");
        QVERIFY(preset->findText(QStringLiteral("我的设置 · 复习")) > 0);
        QVERIFY(preset->findText(QStringLiteral("我的设置 · 复习 (2)")) > 0);
        QVERIFY(hooks_->messages.empty());
    }

    // A damaged file is set aside, kept byte for byte, and the parent told; a file that is
    // not one of ours is not imported.
    void aDamagedOwnPresetsFileIsSetAsideAndSaid()
    {
        QVERIFY(QDir().mkpath(QFileInfo(hooks_->ownPresetsPath).absolutePath()));
        // A file cut short, as a full disk or a crash may leave one.
        const QByteArray damaged =
            QJsonDocument(
                QJsonObject{{QStringLiteral("format"), QStringLiteral("sumvarl-own-presets")},
                            {QStringLiteral("version"), 1},
                            {QStringLiteral("presets"), QJsonArray()}})
                .toJson()
                .left(40);
        {
            QFile file(hooks_->ownPresetsPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        LessonSettingsWindow* more = OpenMore();
        QCOMPARE(hooks_->messages.size(), 1U);
        QVERIFY(hooks_->messages[0].prompt.contains(QStringLiteral("已经损坏")));
        QVERIFY(!QFile::exists(hooks_->ownPresetsPath));
        const QStringList aside = QFileInfo(hooks_->ownPresetsPath)
                                      .dir()
                                      .entryList({QStringLiteral("own-presets-damaged-*.json")});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(hooks_->ownPresetsPath).dir().filePath(aside[0]));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), damaged);

        hooks_->importPath = kept.fileName();
        Click(*more, "ImportOwn");
        QCOMPARE(hooks_->messages.size(), 2U);
        QVERIFY(hooks_->messages[1].prompt.contains(QStringLiteral("没有导入")));
    }

private:
    LessonSettingsWindow* OpenMore()
    {
        QTest::keyClick(window_->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        return window_->lessonSettings();
    }

    static void Click(const QWidget& window, const char* name)
    {
        auto* button = Control<QPushButton>(window, QString::fromLatin1(name));
        QVERIFY2(button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(LessonSettingsWindowTest)
#include "lesson_settings_window_test.moc"
