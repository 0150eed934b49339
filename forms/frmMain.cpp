#include "forms/frmMain.h"

#include "core/Lesson.h"
#include "core/Math.h"
#include "core/Sheet.h"
#include "core/StartSettings.h"
#include "core/Vertical.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "forms/HelpWindow.h"
#include "forms/LessonSettingsWindow.h"
#include "forms/Twips.h"
#include "forms/frmDisplay.h"
#include "wording/Messages.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionComplex>

// Outside any namespace, as Q_INIT_RESOURCE requires; the icons live in this static library.
static void InitIconResources()
{
    Q_INIT_RESOURCE(sumvarl_icons);
}

namespace sumvarl {

namespace {

// After a refusal: what to do next.
const QString StartAgain = QStringLiteral("，请改正后再按“开始”。");

constexpr int ClientWidth = 8085;
constexpr int ClientHeight = 5085;
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

struct Place
{
    int left;
    int top;
    int width;
    int height;
};

// The combo boxes are 735 twips wide, designed for a narrow drop-down button. With the
// toolkit's own wide button the text field could not show "100" in the window's font, so the
// button is narrowed and the field takes the rest.
class ComboStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        if (control == CC_ComboBox && (sub == SC_ComboBoxArrow || sub == SC_ComboBoxEditField)) {
            constexpr int ButtonWidth = 13;
            const QRect r = option->rect;
            const QRect button(r.right() - ButtonWidth, r.top() + 1, ButtonWidth, r.height() - 2);
            if (sub == SC_ComboBoxArrow) {
                return visualRect(option->direction, r, button);
            }
            const QRect field(r.left() + 1, r.top() + 2, button.left() - r.left() - 1,
                              r.height() - 4);
            return visualRect(option->direction, r, field);
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

// The weight boxes are 495 twips wide, designed for a narrower face and frame: "12.5" would be
// cut at the left. The box gives up the toolkit's blank margin inside its frame and, where
// that is still too narrow for four characters, sets them closer by whole pixels.
void FitFourCharacters(QLineEdit& box)
{
    constexpr int InnerMargin = 2; // QLineEdit's own blank either side of its text
    constexpr int Cursor = 1;
    const QString sample = QStringLiteral("12.5");
    box.setTextMargins(-InnerMargin, 0, -InnerMargin, 0);
    const int frame = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
    const int room = box.width() - 2 * frame - Cursor;
    const int lack = QFontMetrics(box.font()).horizontalAdvance(sample) - room;
    if (lack > 0) {
        const auto gaps = static_cast<int>(sample.size());
        QFont font = box.font();
        const int closer = (lack + gaps - 1) / gaps;
        font.setLetterSpacing(QFont::AbsoluteSpacing, -closer);
        box.setFont(font);
    }
}

// Read as PNG outright: a reader left to detect the format first loads and asks every image
// format plugin (GIF, ICO, JPEG), which the window never needs.
QPixmap ReadPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void SetTextColor(QWidget& widget, const QColor& color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    widget.setPalette(palette);
}

QLabel* MakeTitle(QWidget* parent, const QString& objectName, const QColor& color, Place p)
{
    QLabel* title = MakeLabel(parent, objectName, QStringLiteral("Sumvarl出题系统"),
                              {p.left, p.top, p.width, p.height});
    QFont font(QFont::substitute(QStringLiteral("隶书")));
    font.setPointSizeF(26.25);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColor(*title, color);
    return title;
}

QComboBox* MakeCombo(QWidget* parent, QStyle* style, const QString& objectName, Place p)
{
    auto* combo = new DropDownBox(parent);
    combo->setObjectName(objectName);
    combo->setStyle(style);
    combo->addItems(
        {QStringLiteral("100"), QStringLiteral("50"), QStringLiteral("20"), QStringLiteral("10")});
    combo->setEditText(QStringLiteral("100"));
    PlaceTwips(*combo, p.left, p.top, p.width, p.height);
    return combo;
}

QPushButton* MakeButton(QWidget* parent, const QString& objectName, const QString& text, Place p)
{
    auto* button = new PushButton(text, parent);
    button->setObjectName(objectName);
    PlaceTwips(*button, p.left, p.top, p.width, p.height);
    return button;
}

} // namespace

QString RefusalMessage(const Refusal& r)
{
    return RefusalText(r) + StartAgain;
}

void CenterOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void PlaceBeside(QWidget& dialog, const QWidget& owner, const QWidget& keepClear)
{
    const QScreen* screen = owner.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // Before the window manager has framed the dialog its frame is unknown: room for one.
    const QSize size = dialog.frameGeometry().size().expandedTo(dialog.size() + QSize(16, 48));
    const QRect near = owner.frameGeometry();
    const QRect clear(keepClear.mapToGlobal(QPoint()), keepClear.size());
    constexpr int Gap = 8;
    const int centredX = near.center().x() - size.width() / 2;
    const std::array<QPoint, 6> candidates{
        QPoint(near.right() + Gap, near.top()),
        QPoint(near.left() - Gap - size.width(), near.top()),
        QPoint(centredX, near.bottom() + Gap),
        QPoint(centredX, near.top() - Gap - size.height()),
        QPoint(centredX, clear.top() - Gap - size.height()),
        QPoint(centredX, clear.bottom() + Gap),
    };
    for (QPoint at : candidates) {
        at.setX(
            std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        const QRect placed(at, size);
        if (area.contains(placed) && !placed.intersects(clear)) {
            dialog.move(at);
            return;
        }
    }
    CenterOnScreen(dialog);
}

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    InitIconResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Sumvarl"));
    setFont(FormFont());
    resize(TwipsSize(*this, ClientWidth, ClientHeight));

    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addPixmap(ReadPng(QStringLiteral(":/icons/sumvarl-%1.png").arg(size)));
    }
    setWindowIcon(icon);

    const ApplicationFontWhileMaking windowFont(font());
    CreateControls();
    SetFocusOrder();
    createLessonSettingsAccess();
}

frmDisplay* frmMain::Display() const
{
    return display_;
}

frmMain::~frmMain()
{
    // The worksheet window has no owner window; it goes with the program.
    delete display_.data();
}

void frmMain::CreateControls()
{
    // Created first so that the frame lies above them: they are never seen.
    MakeLabel(this, QStringLiteral("Label2Txt_6"), QStringLiteral("占用比例"),
              {3600, 1920, 975, 255});
    MakeLabel(this, QStringLiteral("Label2Txt_7"), QStringLiteral("%"), {4200, 2235, 255, 255});

    // The blue title lies under the red one, 15 twips right and below: its shadow.
    MakeTitle(this, QStringLiteral("LabelTxt1_1"), Blue, {495, 135, 7095, 855});
    MakeTitle(this, QStringLiteral("LabelTxt1_0"), Red, {480, 120, 7095, 855});
    QLabel* version = MakeLabel(this, QStringLiteral("LabelTxt1_4"), QStringLiteral("版本 2.0"),
                                {5640, 720, 1935, 375});
    SetTextColor(*version, Blue);

    Frame1_ = new CaptionFrame(QStringLiteral("选择类别"), this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    // Opaque, so that what lies beneath the frame stays hidden.
    Frame1_->setAutoFillBackground(true);
    PlaceTwips(*Frame1_, 240, 1080, 7695, 2175);

    static constexpr std::array<const char16_t*, 5> CheckTexts{u"加法", u"减法", u"乘法", u"除法",
                                                               u"填空"};
    static constexpr std::array<int, 5> CheckLefts{600, 1980, 3360, 4740, 6120};
    static constexpr std::array<int, 5> BoxLefts{600, 1920, 3360, 4680, 6120};
    static constexpr std::array<int, 5> PercentLefts{1200, 2520, 3960, 5280, 6720};
    static constexpr std::array<int, 5> ShareLabels{1, 4, 8, 10, 12};
    static constexpr std::array<int, 5> PercentLabels{0, 5, 9, 11, 13};
    for (std::size_t k = 0; k < 5; ++k) {
        auto* check = new QCheckBox(ToQString(CheckTexts[k]), Frame1_);
        check->setObjectName(QStringLiteral("Check1_%1").arg(k));
        check->setChecked(k == 0);
        PlaceTwips(*check, CheckLefts[k], 480, 855, 255);
        Check1_[k] = check;

        auto* box = new QLineEdit(k == 4 ? QStringLiteral("20") : QStringLiteral("25"), Frame1_);
        box->setObjectName(QStringLiteral("Text1_%1").arg(k));
        box->setEnabled(k == 0);
        PlaceTwips(*box, BoxLefts[k], 1080, 495, 360);
        FitFourCharacters(*box);
        Text1_[k] = box;

        // Made after the box, so that the label's last row, which the box overlaps by 15
        // twips, is drawn over the box's edge rather than hidden under it.
        MakeLabel(Frame1_, QStringLiteral("Label2Txt_%1").arg(ShareLabels[k]),
                  QStringLiteral("占用比例"), {BoxLefts[k], 840, 975, 255});

        MakeLabel(Frame1_, QStringLiteral("Label2Txt_%1").arg(PercentLabels[k]),
                  QStringLiteral("%"), {PercentLefts[k], 1155, 255, 255});

        connect(check, &QCheckBox::toggled, this,
                [this, index = static_cast<int>(k)] { Check1_Click(index); });
    }

    MakeLabel(Frame1_, QStringLiteral("Label2Txt_2"), QStringLiteral("难度"),
              {480, 1755, 495, 255});
    // Owned by this window; both combo boxes use it.
    auto* comboStyle = new ComboStyle();
    comboStyle->setParent(this);
    Combo1_ = MakeCombo(Frame1_, comboStyle, QStringLiteral("Combo1"), {1080, 1680, 735, 360});
    MakeLabel(Frame1_, QStringLiteral("Label2Txt_3"), QStringLiteral("以内"),
              {1920, 1750, 495, 255});
    MakeLabel(Frame1_, QStringLiteral("Label2Txt_15"), QStringLiteral("题数"),
              {4920, 1755, 495, 255});
    Combo2_ = MakeCombo(Frame1_, comboStyle, QStringLiteral("Combo2"), {5520, 1680, 735, 360});
    MakeLabel(Frame1_, QStringLiteral("Label2Txt_14"), QStringLiteral("题"),
              {6360, 1755, 495, 255});

    Command1_ = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("开始"),
                           {1440, 3720, 2055, 615});
    Command2_ = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("退出"),
                           {4200, 3720, 2055, 615});
    QLabel* date = MakeLabel(this, QStringLiteral("LabelTxt1_3"), QStringLiteral("2002.5"),
                             {7080, 4680, 735, 375});
    SetTextColor(*date, Blue);

    WidenLabelsToText(*this);

    connect(Command1_, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2_, &QPushButton::clicked, this, &frmMain::Command2_Click);
}

void frmMain::createLessonSettingsAccess()
{
    lessonSettingsAction_ = new QAction(QStringLiteral("更多设置…"), this);
    lessonSettingsAction_->setObjectName(QStringLiteral("MoreAction"));
    lessonSettingsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    lessonSettingsAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(lessonSettingsAction_);
    connect(lessonSettingsAction_, &QAction::triggered, this, &frmMain::openLessonSettings);

    // Windows opens the context menu on Shift+F10 as on the Menu key; here it is asked of the
    // focused control first, which may have a menu of its own (a text box's editing menu).
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(shiftF10, &QShortcut::activated, this, [this] {
        QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
    });

    // In the empty lower left corner, clear of every control; a link, not a button, so that
    // the window keeps its look and its focus order.
    auto* link = new LinkLabel(QStringLiteral("更多设置…"), this);
    link->setObjectName(QStringLiteral("MoreLink"));
    QFont small = font();
    small.setPointSizeF(9);
    small.setBold(false);
    link->setFont(small);
    link->setFocusPolicy(Qt::NoFocus);
    link->setToolTip(QStringLiteral("进位、退位、乘法口诀、有余数的除法（Ctrl+M）"));
    PlaceTwips(*link, 240, 4680, 1800, 300);
    WidenToText(*link);
    connect(link, &LinkLabel::activated, this, &frmMain::openLessonSettings);
    InstallHelpKey(*this);
}

void frmMain::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MoreMenu"));
    menu.addAction(lessonSettingsAction_);
    menu.exec(event->globalPos());
}

LessonSettingsWindow* frmMain::lessonSettings() const
{
    return lessonSettings_;
}

void frmMain::openLessonSettings()
{
    if (lessonSettings_ == nullptr) {
        // Owned by this window: it lives as long as the settings do, and closing it only hides it.
        lessonSettings_ = new LessonSettingsWindow([this] { return ReadControls(); }, this);
        lessonSettings_->setMainApplier([this](const StartInputs& in) { SetControls(in); });
        // The count follows the settings window's boxes as they are typed.
        const auto recount = [this] { lessonSettings_->mainSettingsChanged(); };
        for (std::size_t k = 0; k < Check1_.size(); ++k) {
            connect(Check1_[k], &QCheckBox::toggled, lessonSettings_, recount);
            connect(Text1_[k], &QLineEdit::textChanged, lessonSettings_, recount);
        }
        for (QComboBox* combo : {Combo1_, Combo2_}) {
            connect(combo, &QComboBox::currentTextChanged, lessonSettings_, recount);
        }
    }
    if (!lessonSettings_->isVisible()) {
        PlaceBeside(*lessonSettings_, *this, *Command1_);
    }
    lessonSettings_->updateCount();
    lessonSettings_->show();
    lessonSettings_->raise();
    lessonSettings_->activateWindow();
}

void frmMain::SetFocusOrder()
{
    const std::array<QWidget*, 13> order{Command1_,  Command2_,  Check1_[0], Check1_[1], Check1_[2],
                                         Check1_[3], Check1_[4], Text1_[0],  Combo1_,    Text1_[1],
                                         Text1_[2],  Text1_[3],  Text1_[4]};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    setTabOrder(Text1_[4], Combo2_);
    Command1_->setFocus();
}

void frmMain::Check1_Click(int index)
{
    const auto k = static_cast<std::size_t>(index);
    Text1_.at(k)->setEnabled(Check1_.at(k)->isChecked());
}

void frmMain::SetControls(const StartInputs& in)
{
    for (std::size_t k = 0; k < 5; ++k) {
        Check1_[k]->setChecked(in.ticked[k]);
        Check1_Click(static_cast<int>(k));
        Text1_[k]->setText(ToQString(in.boxes[k]));
    }
    Combo1_->setCurrentText(ToQString(in.numberRange));
    Combo2_->setCurrentText(ToQString(in.problemCount));
}

StartInputs frmMain::ReadControls() const
{
    StartInputs in;
    for (std::size_t k = 0; k < 5; ++k) {
        in.ticked[k] = Check1_[k]->isChecked();
        in.boxes[k] = ToU16(Text1_[k]->text());
    }
    in.numberRange = ToU16(Combo1_->currentText());
    in.problemCount = ToU16(Combo2_->currentText());
    return in;
}

void frmMain::Command1_Click()
{
    const StartOutcome outcome = ReadSettings(ReadControls());
    if (!outcome.settings) {
        Hooks().messageBox(RefusalMessage(*outcome.refusal), windowTitle());
        return;
    }
    // The lesson is read with the other settings; until its window is opened it is the default.
    const Math::Lesson lesson =
        lessonSettings_ != nullptr ? lessonSettings_->lesson() : Math::Lesson{};
    const ProblemShape shape =
        lessonSettings_ != nullptr ? lessonSettings_->shape() : ProblemShape::OneOperation;
    const VerticalKind vertical =
        lessonSettings_ != nullptr ? lessonSettings_->vertical() : VerticalKind::None;
    if (vertical != VerticalKind::None) {
        // A 竖式 takes its numbers from its kind, not from the range: only the tables can
        // leave it nothing.
        PartSpec part = PartSpecFor(*outcome.settings, lesson);
        part.vertical = vertical;
        if (DifferentVerticalProblems(part) == 0) {
            Hooks().messageBox(NoVerticalText(vertical, lesson) + StartAgain, windowTitle());
            return;
        }
    }
    const CountInputs counted = CountInputsFor(*outcome.settings, lesson, shape);
    const LessonRefusal refused =
        vertical == VerticalKind::None ? CheckLesson(counted) : LessonRefusal::None;
    if (refused != LessonRefusal::None) {
        Hooks().messageBox(LessonRefusalText(refused, counted) + StartAgain, windowTitle());
        return;
    }
    CommitSettings(*outcome.settings);
    Math::lesson = lesson;
    Math::shape = shape;
    Math::vertical = vertical;
    Math::verticalPaper = lessonSettings_ != nullptr ? lessonSettings_->paper() : VerticalPaper{};
    Math::presetParts =
        lessonSettings_ != nullptr ? lessonSettings_->presetParts() : std::vector<PartSpec>{};
    Math::partsMixed = lessonSettings_ != nullptr && lessonSettings_->mixed();
    ShowDisplay();
}

void frmMain::ShowDisplay()
{
    // A worksheet window that was given up is hidden at once but deleted only when the event
    // loop comes round; it is no longer loaded, so a Start before then opens a new window
    // rather than raising the one that is going.
    if (display_ && display_->isVisible()) {
        display_->raise();
        display_->activateWindow();
        return;
    }
    // No owner window: the worksheet window deletes itself when it is closed, and this
    // window's destructor deletes it if it is still open at the end of the program.
    display_ = new frmDisplay();
    CenterOnScreen(*display_);
    display_->show();
    // The keys go to the new window, also where no window manager hands it the focus.
    display_->activateWindow();
}

void frmMain::Command2_Click()
{
    Hooks().exitProgram();
}

} // namespace sumvarl
