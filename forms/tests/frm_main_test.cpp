// The settings window: its controls, Start's conversions and refusals, the tick boxes, the
// focus order, the geometry in twips and Exit.

#include "FormsTestSupport.h"
#include "core/Math.h"
#include "forms/frmDisplay.h"
#include "forms/frmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using sumvarl::frmMain;
using sumvarl::Settings;
using sumvarl::test::Control;
using sumvarl::test::TypeInto;
using sumvarl::testing::MakeSettings;

namespace {

// The controls of the window as a row of test data: tick boxes as "10000", then the five
// weight and percentage boxes, Combo1 (range) and Combo2 (count).
struct Controls
{
    QString ticks = QStringLiteral("10000");
    QStringList boxes{"25", "25", "25", "25", "20"};
    QString range = QStringLiteral("100");
    QString count = QStringLiteral("100");
};

// Typed into the boxes and clicked on the tick boxes, as a person does it. A box takes typing
// only while it is ticked, so an unticked one is ticked, typed into and unticked again.
void Apply(frmMain& window, const Controls& c)
{
    for (int k = 0; k < 5; ++k) {
        auto* check = Control<QCheckBox>(window, QStringLiteral("Check1_%1").arg(k));
        if (!check->isChecked()) {
            QTest::mouseClick(check, Qt::LeftButton);
        }
        TypeInto(*Control<QLineEdit>(window, QStringLiteral("Text1_%1").arg(k)), c.boxes.at(k));
        if (c.ticks.at(k) != u'1') {
            QTest::mouseClick(check, Qt::LeftButton);
        }
    }
    TypeInto(*Control<QComboBox>(window, QStringLiteral("Combo1")), c.range);
    TypeInto(*Control<QComboBox>(window, QStringLiteral("Combo2")), c.count);
}

void PressStart(frmMain& window)
{
    QTest::mouseClick(Control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
}

// Text is drawn black and smoothed: a pixel well darker than the window's grey is ink.
bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// Rows of the area that hold ink.
int InkRows(const QImage& image, const QRect& area)
{
    int rows = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (IsInk(image.pixel(x, y))) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

QString Refusal(const QString& what)
{
    return what + QStringLiteral("，请改正后再按“开始”。");
}

const QString OutOfRange = QStringLiteral("超出了 -32768 到 32767 的范围");

// Where a control stands inside its container's client area: a frame's children are placed
// from the frame's corner, a picture box's children from inside its border.
QRect PlacedRect(const QWidget& control, const QWidget& container)
{
    QPoint origin;
    if (const auto* frame = qobject_cast<const QFrame*>(&container);
        frame != nullptr && qobject_cast<const QGroupBox*>(&container) == nullptr) {
        origin = frame->contentsRect().topLeft();
    }
    return {control.mapTo(&container, QPoint(0, 0)) - origin, control.size()};
}

} // namespace

Q_DECLARE_METATYPE(Controls)

class FrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sumvarl::test::SetUpTestApplication(); }

    void init()
    {
        Math::ResetState();
        hooks_ = std::make_unique<sumvarl::test::HookRecorder>();
        window_ = std::make_unique<frmMain>();
    }

    void cleanup()
    {
        window_.reset();
        hooks_.reset();
    }

    void start_data()
    {
        QTest::addColumn<Controls>("controls");
        QTest::addColumn<Settings>("expected");
        QTest::addColumn<QString>("refusal");

        // The settings of the good Start that every row follows: a refusal must leave them.
        const Settings before = MakeSettings({25, 50, 75, 100}, 1, 20, 20, 50);
        auto row = [](const char* name, const Controls& c, const Settings& expected,
                      const QString& refusal = {}) {
            QTest::newRow(name) << c << expected << refusal;
        };
        Controls c;

        row("initial state", Controls{}, MakeSettings({25, 25, 25, 25}, 0, 0, 100, 100));
        c = {};
        c.ticks = "11110";
        row("all four ticked", c, MakeSettings({25, 50, 75, 100}, 0, 0, 100, 100));
        c = {};
        c.ticks = "10010";
        c.boxes = {"25", "40", "25", "25", "20"};
        row("unticked box holding 40 is not read", c,
            MakeSettings({25, 25, 25, 50}, 0, 0, 100, 100));
        c = {};
        c.ticks = "00100";
        row("only multiplication", c, MakeSettings({0, 0, 25, 25}, 0, 0, 100, 100));
        c = {};
        c.ticks = "00000";
        row("nothing ticked", c, MakeSettings({0, 0, 0, 0}, 0, 0, 100, 100));
        c = {};
        c.ticks = "11000";
        c.boxes = {"2.5", "2.5", "25", "25", "20"};
        row("weights 2.5 and 2.5 round after each add", c,
            MakeSettings({2, 4, 4, 4}, 0, 0, 100, 100));
        c.boxes = {"", "25", "25", "25", "20"};
        row("empty weight counts 0", c, MakeSettings({0, 25, 25, 25}, 0, 0, 100, 100));
        c.boxes = {"abc", "25", "25", "25", "20"};
        row("letters count 0", c, MakeSettings({0, 25, 25, 25}, 0, 0, 100, 100));
        c.boxes = {"1 5", "25", "25", "25", "20"};
        row("1 space 5 counts 15", c, MakeSettings({15, 40, 40, 40}, 0, 0, 100, 100));
        c.boxes = {"12abc", "25", "25", "25", "20"};
        row("12abc counts 12", c, MakeSettings({12, 37, 37, 37}, 0, 0, 100, 100));
        c.boxes = {"25", "-5", "25", "25", "20"};
        row("-5 lowers the total", c, MakeSettings({25, 20, 20, 20}, 0, 0, 100, 100));
        c = {};
        c.ticks = "10001";
        row("fill-in ticked with 20", c, MakeSettings({25, 25, 25, 25}, 1, 20, 100, 100));
        c.boxes = {"25", "25", "25", "25", ""};
        row("fill-in ticked and empty", c, MakeSettings({25, 25, 25, 25}, 1, 0, 100, 100));
        c.ticks = "10000";
        c.boxes = {"25", "25", "25", "25", "35"};
        row("fill-in unticked", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, 100));
        c = {};
        c.count = "30";
        row("count typed 30", c, MakeSettings({25, 25, 25, 25}, 0, 0, 30, 100));
        // Each the start of a list entry, which must not complete it ("5" is not "50").
        c.count = "5";
        row("count typed 5", c, MakeSettings({25, 25, 25, 25}, 0, 0, 5, 100));
        c.count = "2";
        row("count typed 2", c, MakeSettings({25, 25, 25, 25}, 0, 0, 2, 100));
        c.count = "1";
        row("count typed 1", c, MakeSettings({25, 25, 25, 25}, 0, 0, 1, 100));
        c = {};
        c.range = "10";
        row("range typed 10", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, 10));
        c.range = "5";
        row("range typed 5", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, 5));
        c = {};
        c.count = "2.5";
        row("count typed 2.5", c, MakeSettings({25, 25, 25, 25}, 0, 0, 2, 100));
        c.count = "3.5";
        row("count typed 3.5", c, MakeSettings({25, 25, 25, 25}, 0, 0, 4, 100));
        c.count = "200";
        row("count 200", c, MakeSettings({25, 25, 25, 25}, 0, 0, 200, 100));
        c.count = "-5";
        row("negative count", c, MakeSettings({25, 25, 25, 25}, 0, 0, -5, 100));
        c = {};
        c.range = "20";
        row("range 20", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, 20));
        c.range = "-10";
        row("negative range", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, -10));
        c = {};
        c.boxes = {"32767", "25", "25", "25", "20"};
        row("weight 32767", c, MakeSettings({32767, 32767, 32767, 32767}, 0, 0, 100, 100));
        c = {};
        c.range = "-32767";
        row("range -32767", c, MakeSettings({25, 25, 25, 25}, 0, 0, 100, -32767));

        c = {};
        c.count = "201";
        row("refused: 201 problems", c, before, Refusal(QStringLiteral("题数不能超过 200")));
        c.count = "1e9";
        row("refused: a billion problems", c, before, Refusal(QStringLiteral("题数不能超过 200")));
        c.count = "-40000";
        row("refused: count below 16 bits", c, before,
            Refusal(QStringLiteral("题数") + OutOfRange));
        c = {};
        c.boxes = {"40000", "25", "25", "25", "20"};
        row("refused: weight 40000", c, before,
            Refusal(QStringLiteral("加法的占用比例") + OutOfRange));
        c.ticks = "11000";
        c.boxes = {"25", "40000", "25", "25", "20"};
        row("refused: second weight 40000", c, before,
            Refusal(QStringLiteral("减法的占用比例") + OutOfRange));
        c.ticks = "10110";
        c.boxes = {"20000", "25", "10000", "2768", "20"};
        row("refused: weights summing past 32767", c, before,
            Refusal(QStringLiteral("加法、乘法、除法的占用比例之和") + OutOfRange));
        c.ticks = "11000";
        c.boxes = {"-20000", "-20000", "25", "25", "20"};
        row("refused: weights summing below -32768", c, before,
            Refusal(QStringLiteral("加法、减法的占用比例之和") + OutOfRange));
        c = {};
        c.ticks = "10001";
        c.boxes = {"25", "25", "25", "25", "40000"};
        row("refused: fill-in 40000", c, before,
            Refusal(QStringLiteral("填空的占用比例") + OutOfRange));
        c = {};
        c.range = "40000";
        row("refused: range 40000", c, before,
            Refusal(QStringLiteral("难度超出了 -32767 到 32767 的范围")));
        c.range = "-32768";
        row("refused: range -32768", c, before,
            Refusal(QStringLiteral("难度超出了 -32767 到 32767 的范围")));
    }

    void start()
    {
        QFETCH(Controls, controls);
        QFETCH(Settings, expected);
        QFETCH(QString, refusal);

        Controls earlier;
        earlier.ticks = "11111";
        earlier.range = "50";
        earlier.count = "20";
        Apply(*window_, earlier);
        PressStart(*window_);
        QCOMPARE(sumvarl::testing::SettingsInMath(),
                 MakeSettings({25, 50, 75, 100}, 1, 20, 20, 50));
        // Never written by Start.
        Math::CumulativeWeight[4] = 7;

        Apply(*window_, controls);
        PressStart(*window_);

        QCOMPARE(sumvarl::testing::SettingsInMath(), expected);
        QCOMPARE(Math::CumulativeWeight[4], std::int16_t{7});
        if (refusal.isEmpty()) {
            QCOMPARE(hooks_->messages.size(), 0u);
        } else {
            QCOMPARE(hooks_->messages.size(), 1u);
            QCOMPARE(hooks_->messages[0].prompt, refusal);
            QCOMPARE(hooks_->messages[0].title, QStringLiteral("Sumvarl"));
        }
    }

    void startOpensTheWorksheetWindowOnlyWhenAccepted()
    {
        window_->show();
        Controls refused;
        refused.count = "201";
        Apply(*window_, refused);
        PressStart(*window_);
        QVERIFY(window_->Display() == nullptr);

        Apply(*window_, Controls{});
        PressStart(*window_);
        QVERIFY(window_->Display() != nullptr);
        QVERIFY(window_->Display()->isVisible());
        QVERIFY(window_->Display()->isWindow());
        QVERIFY(window_->Display()->parentWidget() == nullptr);
        // The settings window stays open and usable.
        QVERIFY(window_->isVisible());
        QVERIFY(window_->isEnabled());
    }

    void check1Click_data()
    {
        QTest::addColumn<int>("index");
        for (int k = 0; k < 5; ++k) {
            QTest::addRow("Check1(%d)", k) << k;
        }
    }

    void check1Click()
    {
        QFETCH(int, index);
        auto* check = Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(index));
        auto* box = Control<QLineEdit>(*window_, QStringLiteral("Text1_%1").arg(index));
        box->setText(QStringLiteral("7%1").arg(index));
        const QPoint indicator(5, check->height() / 2);
        const bool initiallyTicked = index == 0;
        QCOMPARE(box->isEnabled(), initiallyTicked);

        for (int click = 1; click <= 2; ++click) {
            QTest::mouseClick(check, Qt::LeftButton, {}, indicator);
            const bool ticked = initiallyTicked != (click == 1);
            QCOMPARE(check->isChecked(), ticked);
            QCOMPARE(box->isEnabled(), ticked);
            QCOMPARE(box->text(), QStringLiteral("7%1").arg(index));
        }
        // The other boxes are not touched.
        for (int k = 0; k < 5; ++k) {
            if (k != index) {
                QCOMPARE(
                    Control<QLineEdit>(*window_, QStringLiteral("Text1_%1").arg(k))->isEnabled(),
                    k == 0);
            }
        }
    }

    void initialState()
    {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Sumvarl"));
        const QStringList checks{"加法", "减法", "乘法", "除法", "填空"};
        for (int k = 0; k < 5; ++k) {
            auto* check = Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(k));
            QCOMPARE(check->text(), checks[k]);
            QCOMPARE(check->isChecked(), k == 0);
            auto* box = Control<QLineEdit>(*window_, QStringLiteral("Text1_%1").arg(k));
            QCOMPARE(box->text(), k == 4 ? QStringLiteral("20") : QStringLiteral("25"));
            QCOMPARE(box->isEnabled(), k == 0);
        }
        for (const QString& name : {QStringLiteral("Combo1"), QStringLiteral("Combo2")}) {
            auto* combo = Control<QComboBox>(*window_, name);
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->currentText(), QStringLiteral("100"));
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            QCOMPARE(items, QStringList({"100", "50", "20", "10"}));
        }

        const std::pair<const char*, const char*> texts[] = {
            {"LabelTxt1_0", "Sumvarl出题系统"},
            {"LabelTxt1_1", "Sumvarl出题系统"},
            {"LabelTxt1_4", "版本 2.0"},
            {"LabelTxt1_3", "2002.5"},
            {"Label2Txt_1", "占用比例"},
            {"Label2Txt_4", "占用比例"},
            {"Label2Txt_8", "占用比例"},
            {"Label2Txt_10", "占用比例"},
            {"Label2Txt_12", "占用比例"},
            {"Label2Txt_0", "%"},
            {"Label2Txt_5", "%"},
            {"Label2Txt_9", "%"},
            {"Label2Txt_11", "%"},
            {"Label2Txt_13", "%"},
            {"Label2Txt_2", "难度"},
            {"Label2Txt_3", "以内"},
            {"Label2Txt_15", "题数"},
            {"Label2Txt_14", "题"},
            {"Label2Txt_6", "占用比例"},
            {"Label2Txt_7", "%"},
        };
        for (const auto& [name, text] : texts) {
            QCOMPARE(Control<QLabel>(*window_, QString::fromUtf8(name))->text(),
                     QString::fromUtf8(text));
        }
        QCOMPARE(Control<QGroupBox>(*window_, QStringLiteral("Frame1"))->title(),
                 QStringLiteral("选择类别"));
        QCOMPARE(Control<QPushButton>(*window_, QStringLiteral("Command1"))->text(),
                 QStringLiteral("开始"));
        QCOMPARE(Control<QPushButton>(*window_, QStringLiteral("Command2"))->text(),
                 QStringLiteral("退出"));
        // Nothing is written until Start.
        QCOMPARE(sumvarl::testing::SettingsInMath(), Settings{});
    }

    // Typed text stays as typed, Return included; nothing typed joins the list; picking an
    // entry with the mouse or the keys puts its text in the field.
    void dropDownBoxesTypedAndPicked()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        for (const QString& name : {QStringLiteral("Combo1"), QStringLiteral("Combo2")}) {
            auto* combo = Control<QComboBox>(*window_, name);
            for (const QString& typed : {QStringLiteral("1"), QStringLiteral("30")}) {
                TypeInto(*combo, typed);
                QTest::keyClick(combo, Qt::Key_Return);
                QCOMPARE(combo->currentText(), typed);
            }
            QCOMPARE(combo->count(), 4);

            combo->showPopup();
            QAbstractItemView* list = combo->view();
            QTRY_VERIFY(list->isVisible());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(2, 0)).center());
            QCOMPARE(combo->currentText(), QStringLiteral("20"));
            QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(combo->currentText(), QStringLiteral("10"));
            QTest::keyClick(combo, Qt::Key_Up);
            QCOMPARE(combo->currentText(), QStringLiteral("20"));
        }
    }

    // A Chinese input method in full-width mode commits "２０", "１２．５", "－５".
    void fullWidthTextFromAnInputMethod()
    {
        using sumvarl::test::TypeWithInputMethod;
        TypeWithInputMethod(*Control<QLineEdit>(*window_, QStringLiteral("Text1_0")),
                            QStringLiteral("－５"));
        TypeWithInputMethod(*Control<QComboBox>(*window_, QStringLiteral("Combo1")),
                            QStringLiteral("１２．５"));
        TypeWithInputMethod(*Control<QComboBox>(*window_, QStringLiteral("Combo2")),
                            QStringLiteral("２０"));
        PressStart(*window_);
        QCOMPARE(sumvarl::testing::SettingsInMath(), MakeSettings({-5, -5, -5, -5}, 0, 0, 20, 12));
    }

    void wheelChangesOnlyTheFocusedDropDownBox()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* combo = Control<QComboBox>(*window_, QStringLiteral("Combo2"));
        QVERIFY(!combo->hasFocus());
        sumvarl::test::TurnWheel(*combo, -2);
        QCOMPARE(combo->currentText(), QStringLiteral("100"));
        combo->setFocus(Qt::MouseFocusReason);
        sumvarl::test::TurnWheel(*combo, -1);
        QCOMPARE(combo->currentText(), QStringLiteral("50"));
    }

    void returnAndEnterPressTheFocusedButton_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Return") << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter;
    }

    void returnAndEnterPressTheFocusedButton()
    {
        QFETCH(Qt::Key, key);
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QWidget* start = Control<QPushButton>(*window_, QStringLiteral("Command1"));
        QCOMPARE(QApplication::focusWidget(), start);
        QTest::keyClick(start, key, modifiers);
        QVERIFY(window_->Display() != nullptr);

        QTest::keyClick(start, Qt::Key_Tab);
        QWidget* exit = QApplication::focusWidget();
        QCOMPARE(exit->objectName(), QStringLiteral("Command2"));
        QTest::keyClick(exit, key, modifiers);
        QCOMPARE(hooks_->exits, 1);
    }

    // "12.5" in a weight box shows whole: the text does not scroll inside the box.
    void weightBoxShowsFourCharacters()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* box = Control<QLineEdit>(*window_, QStringLiteral("Text1_0"));
        const auto cursor = [box] { return box->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
        TypeInto(*box, QStringLiteral("12.5"));
        const int end = cursor().center().x();
        QTest::keyClick(box, Qt::Key_Home);
        const int home = cursor().center().x();
        QVERIFY(home >= 0 && end < box->width());
        QCOMPARE(end - home, box->fontMetrics().horizontalAdvance(QStringLiteral("12.5")));
    }

    // Every row of a label's characters is seen in the window: neither the label's own height
    // nor the box below it cuts them (the labels above the weight boxes, those beside the
    // drop-down boxes).
    // The window makes its controls under its own font as the application's, and gives the
    // application its font back: message boxes and dialogs afterwards still have the user's.
    void leavesTheApplicationFontAsItWas()
    {
        const QFont before = QGuiApplication::font();
        const frmMain another;
        QCOMPARE(QGuiApplication::font(), before);
    }

    void labelsShowWhole_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Label2Txt_1", "Label2Txt_12", "Label2Txt_2", "Label2Txt_15"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }

    void labelsShowWhole()
    {
        QFETCH(QString, name);
        auto* label = Control<QLabel>(*window_, name);
        QLabel tall(label->text());
        // Every property as the label draws it: it inherits them all from the window.
        QFont font = label->font();
        font.setResolveMask(QFont::AllPropertiesResolved);
        tall.setFont(font);
        tall.setAlignment(label->alignment());
        tall.resize(label->width(), 3 * label->height());
        const QImage own = label->grab().toImage();
        QCOMPARE(InkRows(own, own.rect()), InkRows(tall.grab().toImage(), tall.rect()));

        const QImage window = window_->grab().toImage();
        const QPoint at = label->mapTo(window_.get(), QPoint(0, 0));
        // Where the label draws solid ink the window shows it, whatever smoothing the
        // background beneath changes at the edges.
        for (int y = 0; y < own.height(); ++y) {
            for (int x = 0; x < own.width(); ++x) {
                if (qGray(own.pixel(x, y)) < 96) {
                    QVERIFY2(qGray(window.pixel(at + QPoint(x, y))) < 144,
                             qPrintable(QStringLiteral("row %1").arg(y)));
                }
            }
        }
    }

    // The caption "选择类别" interrupts the frame's top line, which runs through its middle.
    void frameCaptionSitsOnTheTopLine()
    {
        auto* frame = Control<QGroupBox>(*window_, QStringLiteral("Frame1"));
        const QImage image = frame->grab().toImage();
        const QRgb background = frame->palette().color(QPalette::Window).rgb();
        // The top line, looked for right of the caption.
        const int x = image.width() - 20;
        int line = 0;
        while (line < image.height() && image.pixel(x, line) == background) {
            ++line;
        }
        const int captionHeight = frame->fontMetrics().height();
        QVERIFY2(line > 0 && line < captionHeight, qPrintable(QString::number(line)));
        // The caption's characters stand above and below the line.
        const QRect caption(0, 0, frame->fontMetrics().horizontalAdvance(frame->title()) + 20,
                            captionHeight);
        QVERIFY(InkRows(image, caption.intersected(QRect(0, 0, image.width(), line))) > 0);
        QVERIFY(InkRows(image, caption.adjusted(0, line + 1, 0, 0)) > 0);
    }

    // Qt's own texts are Chinese: the message box's button, the text boxes' menu, the file
    // dialog.
    void qtTextsAreChinese()
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Sumvarl"), QStringLiteral("x"),
                        QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));

        std::unique_ptr<QMenu> menu(
            Control<QLineEdit>(*window_, QStringLiteral("Text1_0"))->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            // Without the shortcut and the mnemonic: "撤消(&U)\tCtrl+Z" is "撤消".
            texts << action->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)|\t.*")));
        }
        QFileDialog dialog(window_.get(), QStringLiteral("保存为 PDF"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            texts << button->text() << button->toolTip();
        }
        const QStringList latin = texts.filter(QRegularExpression(QStringLiteral("[A-Za-z]{2}")));
        QVERIFY2(latin.isEmpty(), qPrintable(latin.join(QStringLiteral(" | "))));
    }

    void colours()
    {
        auto colour = [this](const char* name) {
            return Control<QLabel>(*window_, QString::fromUtf8(name))
                ->palette()
                .color(QPalette::WindowText);
        };
        QCOMPARE(colour("LabelTxt1_0"), QColor(255, 0, 0));
        QCOMPARE(colour("LabelTxt1_1"), QColor(0, 0, 255));
        QCOMPARE(colour("LabelTxt1_4"), QColor(0, 0, 255));
        QCOMPARE(colour("LabelTxt1_3"), QColor(0, 0, 255));
        QVERIFY(!Control<QLabel>(*window_, QStringLiteral("LabelTxt1_0"))->autoFillBackground());
    }

    // The red title is drawn over its blue shadow, and the two labels placed beneath the frame
    // stay hidden by it.
    void stacking()
    {
        const QObjectList& order = window_->children();
        auto position = [&](const char* name) {
            return order.indexOf(Control<QWidget>(*window_, QString::fromUtf8(name)));
        };
        QVERIFY(position("LabelTxt1_1") < position("LabelTxt1_0"));
        auto* frame = Control<QGroupBox>(*window_, QStringLiteral("Frame1"));
        QVERIFY(frame->autoFillBackground());
        for (const char* hidden : {"Label2Txt_6", "Label2Txt_7"}) {
            auto* label = Control<QLabel>(*window_, QString::fromUtf8(hidden));
            QCOMPARE(label->parentWidget(), window_.get());
            QVERIFY(position(hidden) < position("Frame1"));
            QVERIFY(frame->geometry().contains(label->geometry()));
        }
    }

    void fonts()
    {
        const QFont windowFont = window_->font();
        // The installed family each face stands for is named directly.
        QCOMPARE(windowFont.family(), QFont::substitute(QStringLiteral("System")));
        QCOMPARE(windowFont.pointSizeF(), 12.0);
        QVERIFY(windowFont.bold());
        QCOMPARE(Control<QPushButton>(*window_, QStringLiteral("Command1"))->font(), windowFont);
        for (const char* name : {"LabelTxt1_0", "LabelTxt1_1"}) {
            const QFont title = Control<QLabel>(*window_, QString::fromUtf8(name))->font();
            QCOMPARE(title.family(), QFont::substitute(QStringLiteral("隶书")));
            QCOMPARE(title.pointSizeF(), 26.25);
            QVERIFY(title.bold());
        }
    }

    // The named faces land on the installed CJK fonts rather than a Latin fallback.
    void fontSubstitutions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("installed");
        QTest::newRow("System") << "Command1"
                                << "WenQuanYi Zen Hei";
        QTest::newRow("隶书") << "LabelTxt1_0"
                              << "AR PL UKai CN";
    }

    void fontSubstitutions()
    {
        QFETCH(QString, control);
        QFETCH(QString, installed);
        if (!QFontDatabase::hasFamily(installed)) {
            QSKIP("font not installed here");
        }
        QCOMPARE(QFontInfo(Control<QWidget>(*window_, control)->font()).family(), installed);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("pixels");
        // Twips / 15 at 96 DPI.
        QTest::newRow("Command1") << "Command1"
                                  << "frmMain" << QRect(96, 248, 137, 41);
        QTest::newRow("Command2") << "Command2"
                                  << "frmMain" << QRect(280, 248, 137, 41);
        QTest::newRow("Frame1") << "Frame1"
                                << "frmMain" << QRect(16, 72, 513, 145);
        QTest::newRow("LabelTxt1(0)") << "LabelTxt1_0"
                                      << "frmMain" << QRect(32, 8, 473, 57);
        QTest::newRow("LabelTxt1(1)") << "LabelTxt1_1"
                                      << "frmMain" << QRect(33, 9, 473, 57);
        QTest::newRow("Check1(4)") << "Check1_4"
                                   << "Frame1" << QRect(408, 32, 57, 17);
        QTest::newRow("Text1(3)") << "Text1_3"
                                  << "Frame1" << QRect(312, 72, 33, 24);
        QTest::newRow("Label2Txt(13)") << "Label2Txt_13"
                                       << "Frame1" << QRect(448, 77, 17, 17);
        QTest::newRow("Combo1") << "Combo1"
                                << "Frame1" << QRect(72, 112, 49, 24);
        QTest::newRow("Combo2") << "Combo2"
                                << "Frame1" << QRect(368, 112, 49, 24);
    }

    void geometry()
    {
        QFETCH(QString, control);
        QFETCH(QString, container);
        QFETCH(QRect, pixels);
        if (window_->logicalDpiX() != 96 || window_->logicalDpiY() != 96) {
            QSKIP("the pixel rectangles are those of 96 DPI");
        }
        const QWidget* parent = container == window_->objectName()
                                    ? window_.get()
                                    : Control<QWidget>(*window_, container);
        QCOMPARE(PlacedRect(*Control<QWidget>(*window_, control), *parent), pixels);
    }

    void clientSize()
    {
        if (window_->logicalDpiX() != 96 || window_->logicalDpiY() != 96) {
            QSKIP("the pixel sizes are those of 96 DPI");
        }
        QCOMPARE(window_->size(), QSize(539, 339));
    }

    void focusOrder_data()
    {
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("initial state: disabled boxes passed over")
            << "10000"
            << QStringList{"Command1", "Command2", "Check1_0", "Check1_1", "Check1_2", "Check1_3",
                           "Check1_4", "Text1_0",  "Combo1",   "Combo2",   "Command1"};
        QTest::newRow("everything ticked")
            << "11111" << QStringList{"Command1", "Command2", "Check1_0", "Check1_1", "Check1_2",
                                      "Check1_3", "Check1_4", "Text1_0",  "Combo1",   "Text1_1",
                                      "Text1_2",  "Text1_3",  "Text1_4",  "Combo2",   "Command1"};
    }

    void focusOrder()
    {
        QFETCH(QString, ticks);
        QFETCH(QStringList, order);
        // Set directly: clicking them would move the focus this test follows from the start.
        for (int k = 0; k < 5; ++k) {
            Control<QCheckBox>(*window_, QStringLiteral("Check1_%1").arg(k))
                ->setChecked(ticks.at(k) == u'1');
        }
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));

        QStringList seen;
        for (int i = 0; i < order.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr);
            // An editable combo box's text field stands for the combo box.
            if (qobject_cast<QComboBox*>(focus->parentWidget()) != nullptr) {
                focus = focus->parentWidget();
            }
            seen << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(seen, order);
    }

    void icon()
    {
        const QIcon icon = window_->windowIcon();
        const QList<QSize> sizes = icon.availableSizes();
        for (const int size : {16, 32, 48}) {
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
    }

    void exitCallsTheExitAtOnce()
    {
        QTest::mouseClick(Control<QPushButton>(*window_, QStringLiteral("Command2")),
                          Qt::LeftButton);
        QCOMPARE(hooks_->exits, 1);
        QCOMPARE(sumvarl::testing::SettingsInMath(), Settings{});
        QVERIFY(window_->Display() == nullptr);
    }

private:
    std::unique_ptr<sumvarl::test::HookRecorder> hooks_;
    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
