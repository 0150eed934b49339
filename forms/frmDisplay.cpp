#include "forms/frmDisplay.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Vertical.h"
#include "forms/ChildMemory.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "forms/HelpWindow.h"
#include "forms/PaperMarkingWindow.h"
#include "forms/PracticeWindow.h"
#include "forms/PrintJobWatch.h"
#include "forms/SheetPicture.h"
#include "forms/Twips.h"
#include "print/PainterSurface.h"
#include "print/VerticalSheet.h"
#include "wording/Messages.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"
#include "worksheet/WorksheetBuilder.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace sumvarl {

namespace {

// A 竖式 sheet on paper, or its worked key, as the window prints and saves it: set out as Start
// committed, its 卷号 at the foot so that the paper can be marked later.
VerticalOptions VerticalPage(const Sheet& sheet, bool answerKey)
{
    VerticalOptions options;
    options.answerKey = answerKey;
    options.paper = Math::verticalPaper;
    options.footer = SheetCodeFooter(sheet.recipe);
    return options;
}

constexpr int ClientWidth = 10845;
constexpr int ClientHeight = 8775;
constexpr int DesignInterval = 100;
constexpr int RecalculateInterval = 200;

const QString PrintPreviewText = QStringLiteral("打印预览…");
const QString PrintToText = QStringLiteral("打印到…");
const QString PrintAnswersText = QStringLiteral("打印答案");
const QString SavePdfText = QStringLiteral("保存为 PDF…");
const QString SaveAnswersPdfText = QStringLiteral("答案保存为 PDF…");
const QString SaveWorkingPdfText = QStringLiteral("脱式和答案保存为 PDF…");
const QString PractiseText = QStringLiteral("在屏幕上练习…");
const QKeySequence PractiseKeys(Qt::CTRL | Qt::Key_L);

QPushButton* MakeButton(QWidget* parent, const QString& objectName, const QString& text, int left)
{
    auto* button = new PushButton(text, parent);
    button->setObjectName(objectName);
    PlaceTwips(*button, left, 8160, 2175, 495);
    return button;
}

} // namespace

frmDisplay::frmDisplay(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDisplay"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("题目"));
    setFont(FormFont());
    resize(TwipsSize(*this, ClientWidth, ClientHeight));
    CreateControls();
    Form_Load();
}

void frmDisplay::CreateControls()
{
    Command1_ = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("打印"), 1200);
    printing_ = new PrintJobWatch(*this, *Command1_);
    Command3_ = MakeButton(this, QStringLiteral("Command3"), QStringLiteral("重算"), 4200);
    Command2_ = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("放弃"), 7440);

    Picture2_ = new QFrame(this);
    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2_->setLineWidth(2);
    Picture2_->setFocusPolicy(Qt::StrongFocus);
    PlaceTwips(*Picture2_, 120, 240, 10575, 7695);
    // The sheet and the scroll bar are placed inside the viewport's border and clipped to it.
    auto* inside = new QWidget(Picture2_);
    inside->setObjectName(QStringLiteral("Picture2_inside"));
    inside->setGeometry(Picture2_->contentsRect());

    Picture1_ = new SheetPicture(inside);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFocusPolicy(Qt::StrongFocus);
    QFont sheetFont(QFont::substitute(QStringLiteral("宋体")));
    sheetFont.setPointSizeF(12);
    sheetFont.setBold(false); // not inherited from the window's bold font
    Picture1_->setFont(sheetFont);
    PlaceTwips(*Picture1_, 0, 0, 10455, SheetHeightTwips);
    Picture1_->ResetSheet();

    VScroll1_ = new QScrollBar(Qt::Vertical, inside);
    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    VScroll1_->setFocusPolicy(Qt::StrongFocus);
    VScroll1_->setRange(0, 32767);
    VScroll1_->setSingleStep(10);
    VScroll1_->setPageStep(100);
    VScroll1_->setValue(0);
    // The sheet moves when a thumb drag ends, not while the thumb is dragged.
    VScroll1_->setTracking(false);
    PlaceTwips(*VScroll1_, 10320, 0, 255, 7695);
    VScroll1_->raise();
    // The scroll bar's own wheel step is its small change, 10 twips; wheels over the sheet
    // reach the viewport, since the sheet takes none.
    VScroll1_->installEventFilter(this);
    Picture2_->installEventFilter(this);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));

    setTabOrder(Command1_, Command2_);
    setTabOrder(Command2_, Picture2_);
    setTabOrder(Picture2_, Picture1_);
    setTabOrder(Picture1_, VScroll1_);
    setTabOrder(VScroll1_, Command3_);
    Command1_->setFocus();
    // The viewport, the sheet and the scroll bar take the focus but would show nothing of it.
    new FocusRing(*this, {Picture2_, Picture1_, VScroll1_});
    InstallHelpKey(*this);
    // A visible way to the sheet menu, right of 放弃 where no control lies; a link, so the
    // focus order stays as it is.
    auto* more = new LinkLabel(QStringLiteral("更多…"), this);
    more->setObjectName(QStringLiteral("MoreLink"));
    QFont small = font();
    small.setPointSizeF(9);
    small.setBold(false);
    more->setFont(small);
    more->setFocusPolicy(Qt::NoFocus);
    more->setToolTip(QStringLiteral("打印答案、保存为 PDF、在屏幕上练习（右键、Shift+F10）"));
    PlaceTwips(*more, 9840, 8280, 900, 300);
    connect(more, &LinkLabel::activated, this,
            [this, more] { showSheetMenu(more->mapToGlobal(QPoint(0, more->height()))); });

    connect(Command1_, &QPushButton::clicked, this, &frmDisplay::Command1_Click);
    connect(Command2_, &QPushButton::clicked, this, &frmDisplay::Command2_Click);
    connect(Command3_, &QPushButton::clicked, this, &frmDisplay::Command3_Click);
    connect(VScroll1_, &QScrollBar::valueChanged, this, &frmDisplay::VScroll1_Change);
    connect(Timer1_, &QTimer::timeout, this, &frmDisplay::Timer1_Timer);
    connect(Picture1_, &SheetPicture::menuRequested, this, &frmDisplay::showSheetMenu);

    auto* practiseAction = new QAction(this);
    practiseAction->setShortcut(PractiseKeys);
    connect(practiseAction, &QAction::triggered, this, &frmDisplay::practise);
    addAction(practiseAction);

    // Designed enabled with 100 ms: the first build follows the loading.
    SetTimer1Interval(DesignInterval);
}

void frmDisplay::Form_Load()
{
    // Half the sheet's height, rounded half to even: 12815 / 2 = 6407.5 gives 6408.
    VScroll1_->setMaximum(ToInt16(static_cast<float>(SheetHeightTwips) / 2.0F).value_or(0));
}

int frmDisplay::Timer1Interval() const
{
    return Timer1_->isActive() ? Timer1_->interval() : 0;
}

void frmDisplay::SetTimer1Interval(int milliseconds)
{
    // A QTimer with interval 0 fires at every pass of the event loop, so 0 stops it instead.
    if (milliseconds == 0) {
        Timer1_->stop();
    } else {
        // Repeating, as the old timer did while its interval stayed non-zero; the build's last
        // step sets the interval to 0.
        Timer1_->start(milliseconds);
    }
}

void frmDisplay::Timer1_Timer()
{
    // The builder's message box runs an event loop while the timer is still armed; a tick
    // then must not start a second build inside the first.
    if (building_) {
        return;
    }
    const QScopedValueRollback guard(building_, true);
    // Closed while the build waits in its message box, the window would be deleted inside the
    // message's event loop and the build would go on drawing on a sheet that is gone: it is
    // deleted once the build has ended instead.
    setAttribute(Qt::WA_DeleteOnClose, false);
    {
        QPainter painter(&Picture1_->Sheet());
        PainterSurface surface(painter);
        BuildHooks hooks = DefaultBuildHooks();
        hooks.messageBox = [this](std::u16string_view prompt, std::u16string_view title) {
            // The problems found so far stay visible behind the message.
            Picture1_->update();
            const DialogOwnerScope owner(*this);
            Hooks().messageBox(ToQString(prompt), ToQString(title));
        };
        hooks.timerOff = [this] { SetTimer1Interval(0); };
        if (Hooks().adjustBuild) {
            Hooks().adjustBuild(hooks);
        }
        sheet_ = BuildWorksheet(surface, hooks);
    }
    Picture1_->update();
    emit worksheetBuilt();
    setAttribute(Qt::WA_DeleteOnClose, true);
    if (closedDuringBuild_) {
        deleteLater();
    }
}

void frmDisplay::closeEvent(QCloseEvent* event)
{
    if (building_) {
        closedDuringBuild_ = true;
    }
    QWidget::closeEvent(event);
}

void frmDisplay::VScroll1_Change()
{
    SetPicture1Top(-VScroll1_->value());
}

bool frmDisplay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && (watched == VScroll1_ || watched == Picture2_)) {
        scrollByWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmDisplay::scrollByWheel(int angleDelta)
{
    // A notch is 120 eighths of a degree and moves as many lines of the sheet's text as the
    // system's wheel setting says (three by default).
    constexpr int Notch = 120;
    wheelRemainder_ += angleDelta;
    const int notches = wheelRemainder_ / Notch;
    wheelRemainder_ %= Notch;
    if (notches == 0) {
        return;
    }
    const int lineTwips = qRound(QFontMetrics(Picture1_->font()).lineSpacing() * TwipsPerInch /
                                 Picture1_->logicalDpiY());
    const int step = QApplication::wheelScrollLines() * lineTwips;
    VScroll1_->setValue(VScroll1_->value() - notches * step);
}

void frmDisplay::SetPicture1Top(int twips)
{
    picture1Top_ = twips;
    Picture1_->move(0, TwipsToPixelsY(*Picture1_, twips));
}

void frmDisplay::Command1_Click()
{
    if (!printing_->Busy()) {
        const QString title = Command1_->text();
        // A 竖式 sheet goes to paper set out in columns; the screen shows it across.
        printing_->Follow(IsVerticalSheet(sheet_.recipe) ? Hooks().printPages(VerticalSheetPages(
                                                               sheet_, VerticalPage(sheet_, false)))
                                                         : Hooks().print(),
                          title, [this] { savePdf(); });
    }
}

void frmDisplay::Command2_Click()
{
    close();
}

void frmDisplay::Command3_Click()
{
    SetTimer1Interval(RecalculateInterval);
}

void frmDisplay::showSheetMenu(const QPoint& globalPos)
{
    // Made for each opening and gone after it, so the window's children stay its controls.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("Picture1Menu"));
    const auto add = [&menu](const QString& name, const QString& text) {
        QAction* action = menu.addAction(text);
        action->setObjectName(name);
        return action;
    };
    connect(add(QStringLiteral("PrintPreview"), PrintPreviewText), &QAction::triggered, this,
            &frmDisplay::printPreview);
    connect(add(QStringLiteral("PrintTo"), PrintToText), &QAction::triggered, this,
            &frmDisplay::printTo);
    QAction* printAnswersAction = add(QStringLiteral("PrintAnswers"), PrintAnswersText);
    // One job at a time: the answer key waits until the print button is back.
    printAnswersAction->setEnabled(!printing_->Busy());
    connect(printAnswersAction, &QAction::triggered, this, &frmDisplay::printAnswers);
    connect(add(QStringLiteral("SavePdf"), SavePdfText), &QAction::triggered, this,
            &frmDisplay::savePdf);
    connect(add(QStringLiteral("SaveAnswersPdf"), SaveAnswersPdfText), &QAction::triggered, this,
            &frmDisplay::saveAnswersPdf);
    connect(add(QStringLiteral("SaveWorkingPdf"), SaveWorkingPdfText), &QAction::triggered, this,
            &frmDisplay::saveWorkingPdf);
    QAction* practiseAction = add(QStringLiteral("Practise"), PractiseText);
    practiseAction->setShortcut(PractiseKeys);
    connect(practiseAction, &QAction::triggered, this, &frmDisplay::practise);
    connect(add(QStringLiteral("Today"), QStringLiteral("今日练习…")), &QAction::triggered, this,
            &frmDisplay::practiseToday);
    connect(add(QStringLiteral("MarkPaper"), QStringLiteral("批改纸质练习…")), &QAction::triggered,
            this, [this] {
                PaperMarkingWindow window(std::nullopt, this);
                window.exec();
            });
    menu.exec(globalPos);
}

void frmDisplay::printPreview()
{
    reportDialogJob(Hooks().printPreview(*this, FrozenWorksheetDocument({})), PrintPreviewText);
}

void frmDisplay::printTo()
{
    reportDialogJob(Hooks().printWithDialog(*this, FrozenWorksheetDocument({})), PrintToText);
}

void frmDisplay::reportDialogJob(const std::optional<PrintOutcome>& outcome, const QString& title)
{
    if (outcome && !outcome->Ok()) {
        QString caption = title;
        caption.remove(QChar(u'…'));
        Hooks().messageBox(PrintFailureMessage(outcome->result, outcome->reason), caption);
    }
}

void frmDisplay::printAnswers()
{
    if (!printing_->Busy()) {
        printing_->Follow(
            IsVerticalSheet(sheet_.recipe)
                ? Hooks().printPages(VerticalSheetPages(sheet_, VerticalPage(sheet_, true)))
                : Hooks().printDocument({.answerKey = true, .pupilName = {}}),
            PrintAnswersText, [this] { saveAnswersPdf(); });
    }
}

void frmDisplay::practise()
{
    // No owner window: the round goes on when this window recalculates or is given up.
    auto* practice = new PracticeWindow(sheet_);
    practice->show();
    practice->activateWindow();
}

void frmDisplay::practiseToday()
{
    // The history is opened here, on the first call, never when the window is made.
    const std::optional<history::Child> child =
        ChildOrAsk(SharedHistory().LastChild(), QStringLiteral("今日练习"));
    if (child) {
        StartTodaysRound(*child,
                         sheet_.recipe.parts.empty() ? PartSpec{} : sheet_.recipe.parts.front());
    }
}

void frmDisplay::savePdf()
{
    askAndSavePdf(false, SavePdfText);
}

void frmDisplay::saveAnswersPdf()
{
    askAndSavePdf(true, SaveAnswersPdfText);
}

void frmDisplay::saveWorkingPdf()
{
    QString caption = SaveWorkingPdfText;
    caption.remove(QChar(u'…'));
    const QString path = Hooks().saveFileName(
        caption, SuggestedPdfPath(QStringLiteral("脱式"), Hooks().now().date()));
    if (path.isEmpty()) {
        return;
    }
    const SaveOutcome saved = SaveWorkingPdf(path, sheet_);
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

void frmDisplay::askAndSavePdf(bool answerKey, const QString& title)
{
    // The dialog's caption without the ellipsis of the menu entry.
    QString caption = title;
    caption.remove(QChar(u'…'));
    const QString stem = answerKey ? QStringLiteral("答案") : QStringLiteral("练习题");
    const QString path =
        Hooks().saveFileName(caption, SuggestedPdfPath(stem, Hooks().now().date()));
    if (path.isEmpty()) {
        return;
    }
    const SaveOutcome saved =
        IsVerticalSheet(sheet_.recipe)
            ? SaveVerticalPdf(path, sheet_, VerticalPage(sheet_, answerKey))
            : SaveWorksheetPdf(path, {.answerKey = answerKey, .pupilName = {}});
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

} // namespace sumvarl
