// Hostile texts in every box of the settings window, Start pressed after each. Either the
// settings that Start's rules make of exactly the texts the boxes hold reach Math and the
// worksheet window opens or comes to the front, or the refusal is shown and the settings and
// the last good worksheet stay as they were. The program keeps running in every case, and a
// worksheet built from whatever settings were accepted is a whole one.
//
// Every row prints one "hostile:" line (box, input, what the box held, what Start did), so a
// run gives the table of inputs and outcomes.

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/StartSettings.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "forms/tests/FormsTestSupport.h"
#include "worksheet/WorksheetBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

using sumvarl::frmDisplay;
using sumvarl::frmMain;
using sumvarl::Settings;
using sumvarl::StartInputs;
using sumvarl::StartOutcome;
using sumvarl::test::Control;

namespace {

// A line edit keeps at most this many characters (Qt's default maximum length); a longer text
// put into it is cut there, so Start reads the first 32767 characters of a 100 000 one.
constexpr int BoxCapacity = 32767;
constexpr int LongText = 100000;

// The boxes in the order Start reads them.
const QStringList Boxes{"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Text1_4", "Combo1", "Combo2"};

struct Hostile
{
    const char* name;
    QString text;
    double read; // what the number reader makes of the text the box holds
};

QString Repeat(const QString& unit, int length)
{
    return unit.repeated(length / static_cast<int>(unit.size()) + 1).left(length);
}

QString U(const char16_t* text)
{
    return QString::fromUtf16(text);
}

std::vector<Hostile> HostileTexts()
{
    const QChar nul(u'\0');
    const double big = DBL_MAX; // what the reader gives for a value too large for a double
    return {
        {"100000 digits", QString(LongText, u'9'), big},
        {"100000 letters", Repeat(QStringLiteral("abcXYZ"), LongText), 0},
        {"100000 blanks", QString(LongText, u' '), 0},
        {"100000 of 1 2ab 3", Repeat(QStringLiteral("1 2ab 3"), LongText), 12},
        {"100000 of digit blank", Repeat(QStringLiteral("1 "), LongText), big},
        // The 12 lies past the box's capacity: the box holds only blanks.
        {"99998 blanks then 12", QString(LongText - 2, u' ') + QStringLiteral("12"), 0},
        {"0. 99997 zeros 1", QStringLiteral("0.") + QString(LongText - 3, u'0') + u'1', 0},
        {"1e 99998 nines", QStringLiteral("1e") + QString(LongText - 2, u'9'), big},
        {"1e- 99997 nines", QStringLiteral("1e-") + QString(LongText - 3, u'9'), 0},
        {"NUL", QString(nul), 0},
        {"1 NUL 2", QStringLiteral("1") + nul + QStringLiteral("2"), 1},
        {"NUL 12", nul + QStringLiteral("12"), 0},
        {"1 CR 2", QStringLiteral("1\r2"), 1},
        {"CR 12", QStringLiteral("\r12"), 0},
        {"ESC [31m 5", QStringLiteral("\x1b[31m5"), 0},
        {"5 ESC", QStringLiteral("5\x1b"), 5},
        {"3 DEL 4",
         QStringLiteral("3\x7f"
                        "4"),
         3},
        {"DEL 4",
         QStringLiteral("\x7f"
                        "4"),
         0},
        {"tab 1 line feed 2", QStringLiteral("\t1\n2"), 12},
        {"emoji", U(u"😀"), 0},
        {"12 emoji", U(u"12😀"), 12},
        {"emoji 12", U(u"😀12"), 0},
        {"mathematical digits 12", U(u"𝟙𝟚"), 0},
        {"lone high surrogate 5", QChar(0xD83D) + QStringLiteral("5"), 0},
        {"5 lone low surrogate", QStringLiteral("5") + QChar(0xDE00), 5},
        {"Arabic-Indic 12", U(u"١٢"), 0},
        {"RLO 12", U(u"\u202E12"), 0},
        {"12 RLO", U(u"12\u202E"), 12},
        {"RLO Hebrew 7", U(u"\u202Eשלום7"), 0},
        {"RLM 5", U(u"\u200F5"), 0},
        {"12 Arabic", U(u"12 سلام"), 12},
        {"full-width 12", U(u"１２"), 12},
        {"1 full-width 2", U(u"1２"), 12},
        {"&H 100 F", QStringLiteral("&H") + QString(100, u'F'), std::pow(16.0, 100)},
        {"&O 60 sevens", QStringLiteral("&O") + QString(60, u'7'), std::pow(8.0, 60)},
        {"&H8000", QStringLiteral("&H8000"), 32768},
        {"&H7FFF", QStringLiteral("&H7FFF"), 32767},
        {"&hff", QStringLiteral("&hff"), 255},
        {"&o17", QStringLiteral("&o17"), 15},
        {"&", QStringLiteral("&"), 0},
        {"&H", QStringLiteral("&H"), 0},
        {"&Hxyz", QStringLiteral("&Hxyz"), 0},
        {"1e400", QStringLiteral("1e400"), big},
        {"-1e400", QStringLiteral("-1e400"), -big},
        {"1e-400", QStringLiteral("1e-400"), 0},
        {"NaN", QStringLiteral("NaN"), 0},
        {"inf", QStringLiteral("inf"), 0},
        {"-inf", QStringLiteral("-inf"), 0},
        {"Infinity", QStringLiteral("Infinity"), 0},
        {"+", QStringLiteral("+"), 0},
        {"-", QStringLiteral("-"), 0},
        {".", QStringLiteral("."), 0},
        {"-.", QStringLiteral("-."), 0},
        {"-0", QStringLiteral("-0"), 0},
        {"1e", QStringLiteral("1e"), 1},
        {"e5", QStringLiteral("e5"), 0},
        {"2.5", QStringLiteral("2.5"), 2.5},
        {"32767", QStringLiteral("32767"), 32767},
        {"32767.5", QStringLiteral("32767.5"), 32767.5},
        {"-32768", QStringLiteral("-32768"), -32768},
        {"-32768.5", QStringLiteral("-32768.5"), -32768.5},
        {"-32769", QStringLiteral("-32769"), -32769},
        {"200", QStringLiteral("200"), 200},
        {"201", QStringLiteral("201"), 201},
        {"0x10", QStringLiteral("0x10"), 0},
        {"1,000", QStringLiteral("1,000"), 1},
        {"50%", QStringLiteral("50%"), 50},
    };
}

bool SameTable(const Math::WorksheetColumns& a, const Math::WorksheetColumns& b)
{
    return a.ProblemKey == b.ProblemKey && a.Operand1Text == b.Operand1Text &&
           a.OperatorText == b.OperatorText && a.Operand2Text == b.Operand2Text &&
           a.ResultText == b.ResultText && a.BlankKind == b.BlankKind;
}

bool RowEmpty(std::size_t i)
{
    const auto& t = Math::WorksheetTable;
    return t.ProblemKey[i].empty() && t.Operand1Text[i].empty() && t.OperatorText[i].empty() &&
           t.Operand2Text[i].empty() && t.ResultText[i].empty() && t.BlankKind[i] == 0;
}

// What a build leaves: rows 1..placed hold different problems; when it stopped early (the
// message was shown), the rows after the last placed one are empty up to row 150.
QString SheetFault(bool stopped)
{
    const int count = std::clamp<int>(Math::ProblemCount, 0, Math::MaxProblemCount);
    int placed = count;
    if (stopped) {
        placed = 0;
        while (placed < count && !RowEmpty(static_cast<std::size_t>(placed) + 1)) {
            ++placed;
        }
        if (placed == count) {
            return QStringLiteral("the build stopped although all %1 rows are filled").arg(count);
        }
        for (int i = placed + 1; i <= std::min(count, sumvarl::RowsResetPerBuild); ++i) {
            if (!RowEmpty(static_cast<std::size_t>(i))) {
                return QStringLiteral("row %1 holds a problem after the stop at row %2")
                    .arg(i)
                    .arg(placed + 1);
            }
        }
    }
    std::set<std::u16string> keys;
    for (int i = 1; i <= placed; ++i) {
        if (!keys.insert(Math::WorksheetTable.ProblemKey[static_cast<std::size_t>(i)]).second) {
            return QStringLiteral("row %1 repeats an earlier problem").arg(i);
        }
    }
    return {};
}

} // namespace

class HostileInputTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        sumvarl::test::SetUpTestApplication();
        Math::ResetState();
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        sumvarl::Hooks().adjustBuild = [this](sumvarl::BuildHooks& hooks) {
            ++buildsStarted_;
            if (buildsStarted_ != buildsEnded_ + 1) {
                ++overlaps_;
            }
            auto timerOff = hooks.timerOff;
            hooks.timerOff = [this, timerOff] {
                ++buildsEnded_;
                timerOff();
            };
        };
        window_ = std::make_unique<frmMain>();
        window_->show();
    }

    void cleanupTestCase()
    {
        QCOMPARE(overlaps_, 0);
        window_.reset();
        hooks_.reset();
    }

    void startWithHostileText_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("read");
        QTest::addColumn<bool>("windowOpen");
        const std::vector<Hostile> inputs = HostileTexts();
        for (qsizetype b = 0; b < Boxes.size(); ++b) {
            for (std::size_t i = 0; i < inputs.size(); ++i) {
                // Every text meets both an open worksheet window and a closed one, across boxes.
                const bool open = (static_cast<std::size_t>(b) + i) % 2 == 0;
                QTest::addRow("%s: %s", qPrintable(Boxes[b]), inputs[i].name)
                    << Boxes[b] << inputs[i].text << inputs[i].read << open;
            }
        }
    }

    void startWithHostileText()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(double, read);
        QFETCH(bool, windowOpen);

        PrepareGoodWorksheet(windowOpen);
        if (QTest::currentTestFailed()) {
            return;
        }
        const Settings before = sumvarl::testing::SettingsInMath();
        const Math::WorksheetColumns tableBefore = Math::WorksheetTable;
        const QPointer<frmDisplay> displayBefore = window_->Display();
        const int buildsBefore = buildsStarted_;

        SetText(box, text);
        const QString held = TextOf(box);
        QCOMPARE(held.size(), std::min<qsizetype>(text.size(), BoxCapacity));
        QVERIFY(held == text.left(BoxCapacity));
        QCOMPARE(sumvarl::ReadNumber(held.toStdU16String()), read);
        const StartOutcome expected = sumvarl::ReadSettings(ControlsNow());

        PressStart();

        QVERIFY(window_->isVisible());
        QString outcome;
        if (expected.settings) {
            QCOMPARE(hooks_->messages.size(), 0u);
            QCOMPARE(sumvarl::testing::SettingsInMath(), *expected.settings);
            QPointer<frmDisplay> display = window_->Display();
            QVERIFY(display);
            QVERIFY(display->isVisible());
            if (windowOpen) {
                // Only brought to the front: the worksheet stays until the next recalculation.
                QCOMPARE(display.data(), displayBefore.data());
                QCOMPARE(display->Timer1Interval(), 0);
                QVERIFY(SameTable(Math::WorksheetTable, tableBefore));
            } else {
                QCOMPARE(display->Timer1Interval(), 100);
            }
            QCOMPARE(buildsStarted_, buildsBefore);
            outcome = QStringLiteral("accepted: %1").arg(Described(*expected.settings, box));
            BuildFromTheAcceptedSettings(*display);
            if (QTest::currentTestFailed()) {
                return;
            }
            QVERIFY(display);
        } else {
            QCOMPARE(hooks_->messages.size(), 1u);
            QCOMPARE(hooks_->messages[0].prompt, sumvarl::RefusalMessage(*expected.refusal));
            QCOMPARE(hooks_->messages[0].title, QStringLiteral("Sumvarl"));
            QCOMPARE(sumvarl::testing::SettingsInMath(), before);
            QVERIFY(SameTable(Math::WorksheetTable, tableBefore));
            QCOMPARE(window_->Display(), displayBefore.data());
            if (windowOpen) {
                QVERIFY(displayBefore->isVisible());
                QCOMPARE(displayBefore->Timer1Interval(), 0);
            }
            QCOMPARE(buildsStarted_, buildsBefore);
            outcome = QStringLiteral("refused: ") + hooks_->messages[0].prompt;
        }
        QVERIFY(window_->isVisible());
        QCOMPARE(overlaps_, 0);
        qInfo().noquote() << "hostile:" << box << "|" << QTest::currentDataTag() << "| held"
                          << held.size() << "chars, read" << read << "|" << outcome;
    }

private:
    void SetText(const QString& box, const QString& text)
    {
        if (box.startsWith(QStringLiteral("Combo"))) {
            Control<QComboBox>(*window_, box)->setEditText(text);
        } else {
            Control<QLineEdit>(*window_, box)->setText(text);
        }
    }

    QString TextOf(const QString& box) const
    {
        if (box.startsWith(QStringLiteral("Combo"))) {
            return Control<QComboBox>(*window_, box)->currentText();
        }
        return Control<QLineEdit>(*window_, box)->text();
    }

    // The controls as they stand, the way Start reads them.
    StartInputs ControlsNow() const
    {
        StartInputs in;
        for (std::size_t k = 0; k < 5; ++k) {
            in.ticked[k] =
                Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(k))->isChecked();
            in.boxes[k] = TextOf(Boxes[static_cast<qsizetype>(k)]).toStdU16String();
        }
        in.numberRange = TextOf(QStringLiteral("Combo1")).toStdU16String();
        in.problemCount = TextOf(QStringLiteral("Combo2")).toStdU16String();
        return in;
    }

    void PressStart()
    {
        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command1")),
                          Qt::LeftButton);
    }

    // Every box ticked, so that every box is read; a good Start and a whole worksheet from it.
    // With windowOpen false the worksheet window is given up afterwards: the worksheet stays
    // in Math and Start has to open the window anew.
    void PrepareGoodWorksheet(bool windowOpen)
    {
        const QStringList texts{"25", "25", "25", "25", "20", "50", "20"};
        for (int k = 0; k < 5; ++k) {
            Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(k))->setChecked(true);
        }
        for (qsizetype b = 0; b < Boxes.size(); ++b) {
            SetText(Boxes[b], texts[b]);
        }
        hooks_->messages.clear();
        PressStart();
        QCOMPARE(hooks_->messages.size(), 0u);
        QPointer<frmDisplay> display = window_->Display();
        QVERIFY(display);
        QSignalSpy built(display.data(), &frmDisplay::worksheetBuilt);
        // What the timer's tick does, without waiting for it.
        display->Timer1_Timer();
        QCOMPARE(built.count(), 1);
        QCOMPARE(hooks_->messages.size(), 0u);
        QCOMPARE(SheetFault(false), QString());
        QVERIFY(!Math::WorksheetTable.ProblemKey[20].empty());
        if (!windowOpen) {
            QTest::mouseClick(Control<QPushButton>(*display, QStringLiteral("Command2")),
                              Qt::LeftButton);
            QTRY_VERIFY(display.isNull());
            QVERIFY(window_->Display() == nullptr);
        }
    }

    // Recalculate, then the build that its tick runs, from the settings just accepted:
    // however odd they are, the build ends, switches the timer off and leaves a sound sheet.
    void BuildFromTheAcceptedSettings(frmDisplay& display)
    {
        hooks_->messages.clear();
        QSignalSpy built(&display, &frmDisplay::worksheetBuilt);
        QTest::mouseClick(Control<QPushButton>(display, QStringLiteral("Command3")),
                          Qt::LeftButton);
        QCOMPARE(display.Timer1Interval(), 200);
        display.Timer1_Timer();
        QCOMPARE(built.count(), 1);
        QCOMPARE(display.Timer1Interval(), 0);
        QVERIFY(hooks_->messages.size() <= 1u);
        const bool stopped = hooks_->messages.size() == 1u;
        if (stopped) {
            QCOMPARE(hooks_->messages[0].prompt,
                     QString::fromStdU16String(std::u16string(sumvarl::TooFewProblemsPrompt)));
        }
        QCOMPARE(SheetFault(stopped), QString());
    }

    static QString Described(const Settings& s, const QString& box)
    {
        if (box == QStringLiteral("Combo1")) {
            return QStringLiteral("NumberRange %1").arg(s.NumberRange);
        }
        if (box == QStringLiteral("Combo2")) {
            return QStringLiteral("ProblemCount %1").arg(s.ProblemCount);
        }
        if (box == QStringLiteral("Text1_4")) {
            return QStringLiteral("FillBlankPercent %1").arg(s.FillBlankPercent);
        }
        return QStringLiteral("CumulativeWeight %1 %2 %3 %4")
            .arg(s.CumulativeWeight[0])
            .arg(s.CumulativeWeight[1])
            .arg(s.CumulativeWeight[2])
            .arg(s.CumulativeWeight[3]);
    }

    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    std::unique_ptr<frmMain> window_;
    int buildsStarted_ = 0;
    int buildsEnded_ = 0;
    int overlaps_ = 0;
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
