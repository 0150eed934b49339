#include "forms/PracticeWindow.h"

#include "core/NumberText.h"
#include "forms/BookWindow.h"
#include "forms/ChildMemory.h"
#include "forms/ChildrenWindow.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "forms/HelpWindow.h"
#include "forms/PrintJobWatch.h"
#include "forms/RoundRecorder.h"
#include "wording/HistoryMessages.h"
#include "wording/Messages.h"
#include "wording/Text.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/TableRow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace sumvarl {

namespace {

const QString PrintMarkedText = QStringLiteral("打印成绩");
const QString SaveMarkedPdfText = QStringLiteral("成绩保存为 PDF…");

// The boxes say plainly which one is in focus, and after marking which answers were right.
const QString BoxStyle = QStringLiteral(
    "QLineEdit { border: 2px solid #8a8a8a; border-radius: 4px; padding: 1px 4px;"
    " background: white; }"
    "QLineEdit:focus { border: 4px solid #1560d4; background: #fff6c2; }"
    "QLineEdit[mark=\"right\"] { border-color: #2e8b3a; color: #1d7a2b; background: #eaf7ea; }"
    "QLineEdit[mark=\"wrong\"] { border-color: #d22f2f; color: #c21f1f; background: #fdeaea; }");

const QString RightColour = QStringLiteral("color: #1d7a2b;");
const QString WrongColour = QStringLiteral("color: #c21f1f;");

// Digits only, full-width ones from an input method turned into the plain ones, a minus in front
// where the sheet has negative numbers.
class AnswerValidator final : public QValidator
{
public:
    AnswerValidator(bool negativeAllowed, QObject* parent)
        : QValidator(parent), negativeAllowed_(negativeAllowed)
    {}

    State validate(QString& input, int& /*pos*/) const override
    {
        input = ToQString(FoldFullWidth(ToU16(input)));
        input.replace(QChar(u'−'), QLatin1Char('-'));
        static const QRegularExpression signedNumber(QStringLiteral("^-?[0-9]{0,6}$"));
        static const QRegularExpression number(QStringLiteral("^[0-9]{0,6}$"));
        if (!(negativeAllowed_ ? signedNumber : number).match(input).hasMatch()) {
            return Invalid;
        }
        return input == QLatin1String("-") ? Intermediate : Acceptable;
    }

private:
    bool negativeAllowed_;
};

// The parts around the answer box: "12＋5＝" [ ], "(" [ ] ")＋5＝17", "12＋(" [ ] ")＝17". The
// numbers are shown whole, even where the printed sheet cuts a long problem.
std::pair<QString, QString> AroundTheBox(const model::Problem& problem)
{
    const TableRow p = RowOf(problem);
    const QString op = ToQString(p.op);
    const QString eq = ToQString(EqualsSign);
    const QString a = ToQString(p.operand1);
    const QString b = ToQString(p.operand2);
    const QString r = ToQString(p.result);
    switch (p.blankKind) {
    case 1:
        return {QStringLiteral("("), QStringLiteral(")") + op + b + eq + r};
    case 2:
        return {a + op + QStringLiteral("("), QStringLiteral(")") + eq + r};
    case ChainBlankKind: { // 8＋( )－6＝7
        const QString chain = a + op + b;
        return {chain.left(chain.indexOf(QChar(OpenStart))) + QStringLiteral("("),
                QStringLiteral(")") + chain.mid(chain.indexOf(QChar(OpenEnd)) + 1) + eq + r};
    }
    default:
        return {a + op + b + eq, QString()};
    }
}

// The width of cells of these widths laid out in rows of `columns`, each column as wide as its
// widest cell.
int WidthInColumns(const std::vector<int>& widths, int columns, int spacing)
{
    std::vector<int> column(static_cast<std::size_t>(columns), 0);
    for (std::size_t n = 0; n < widths.size(); ++n) {
        int& widest = column[n % column.size()];
        widest = std::max(widest, widths[n]);
    }
    int total = spacing * (columns - 1);
    for (const int w : column) {
        total += w;
    }
    return total;
}

QString Elapsed(int seconds)
{
    return ToQString(ElapsedText(seconds));
}

} // namespace

PracticeWindow::PracticeWindow(const Sheet& sheet, QWidget* parent, history::RoundKind kind,
                               std::optional<qint64> child)
    : QWidget(parent), problems_(sheet.problems),
      negativeAllowed_(NegativeAnswersPossible(problems_)), recipe_(sheet.recipe), kind_(kind),
      todaysChild_(kind == history::RoundKind::Today ? child : std::nullopt)
{
    for (const model::Problem& p : problems_) {
        const std::u16string answer = RightAnswer(p);
        const auto quotient = answer.substr(0, answer.find(RemainderSign));
        answerDigits_ = std::max(answerDigits_, static_cast<int>(quotient.size()));
    }
    setObjectName(QStringLiteral("PracticeWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kind == history::RoundKind::Today ? QStringLiteral("今日练习")
                                                     : QStringLiteral("练习"));
    setFont(FormFont());
    createControls();
    connect(qApp, &QApplication::focusChanged, this, &PracticeWindow::noteFocus);

    std::vector<std::size_t> all(problems_.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    startRound(all);
}

void PracticeWindow::showEvent(QShowEvent* event)
{
    if (!placed_) {
        placed_ = true;
        fitToScreen();
    }
    QWidget::showEvent(event);
}

void PracticeWindow::fitToScreen()
{
    const QRect area = screen()->availableGeometry();
    // Before the window manager has framed the window its frame is unknown: room for a border
    // and a title bar.
    QSize frame = frameGeometry().size() - size();
    frame = frame.expandedTo(QSize(16, 48));
    // Four columns at the starting size where the screen has room for them.
    const QSize wanted = sizeHint().expandedTo(QSize(1200, 760));
    const QSize size =
        wanted.boundedTo(area.size() - frame).expandedTo(minimumSizeHint()).boundedTo(wanted);
    resize(size);
    move(area.left() + std::max(0, (area.width() - size.width() - frame.width()) / 2),
         area.top() + std::max(0, (area.height() - size.height() - frame.height()) / 2));
}

// The application's focus signal would otherwise still reach this window while QWidget's own
// destructor hides it, when this part of it is already gone.
PracticeWindow::~PracticeWindow()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void PracticeWindow::createControls()
{
    clock_ = new QLabel(this);
    clock_->setObjectName(QStringLiteral("Clock"));
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("Result"));
    result_->setWordWrap(true);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("Problems"));
    scroll_->setWidgetResizable(true);
    scroll_->setFocusPolicy(Qt::NoFocus);
    // Always there, so that its coming and going cannot change the number of columns.
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll_->viewport()->installEventFilter(this);

    const auto button = [this](const QString& name, const QString& text) {
        auto* b = new PushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    handIn_ = button(QStringLiteral("HandIn"), QStringLiteral("交卷"));
    retry_ = button(QStringLiteral("Retry"), QStringLiteral("再练错题"));
    printMarked_ = button(QStringLiteral("PrintMarked"), PrintMarkedText);
    saveMarkedPdf_ = button(QStringLiteral("SaveMarkedPdf"), SaveMarkedPdfText);
    retry_->setEnabled(false);
    printMarked_->setEnabled(false);
    saveMarkedPdf_->setEnabled(false);
    printing_ = new PrintJobWatch(*this, *printMarked_);

    auto* top = new QHBoxLayout;
    top->addWidget(clock_);
    top->addStretch();
    addMemoryControls(*top);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {handIn_, retry_, printMarked_, saveMarkedPdf_}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll_, 1);
    layout->addWidget(result_);
    layout->addLayout(buttons);

    connect(handIn_, &QPushButton::clicked, this, &PracticeWindow::handIn);
    connect(retry_, &QPushButton::clicked, this, &PracticeWindow::practiseMistakes);
    connect(printMarked_, &QPushButton::clicked, this, &PracticeWindow::printMarked);
    connect(saveMarkedPdf_, &QPushButton::clicked, this, &PracticeWindow::saveMarkedPdf);

    const auto zoom = [this](const QList<QKeySequence>& keys, int step) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, step] { setFontPoints(fontPoints_ + step); });
        addAction(action);
    };
    // Ctrl+= as well: on most keyboards plus is Shift+=.
    zoom({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 2);
    zoom({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, -2);

    InstallHelpKey(*this);

    tick_ = new QTimer(this);
    tick_->setInterval(200);
    connect(tick_, &QTimer::timeout, this, &PracticeWindow::showClock);
}

void PracticeWindow::startRound(const std::vector<std::size_t>& problems)
{
    ++rounds_;
    items_.clear();
    started_.reset();
    stoppedSeconds_.reset();
    handedIn_ = false;

    // A new sheet for the round; the old one goes with its boxes.
    sheet_ = new QWidget;
    sheet_->setObjectName(QStringLiteral("Sheet"));
    sheet_->setStyleSheet(BoxStyle);
    // The grid in the top left corner, whatever room is left beside and below it.
    auto* down = new QVBoxLayout(sheet_);
    auto* across = new QHBoxLayout;
    grid_ = new QGridLayout;
    grid_->setHorizontalSpacing(20);
    grid_->setVerticalSpacing(18);
    across->addLayout(grid_);
    across->addStretch();
    down->addLayout(across);
    down->addStretch();
    columns_ = 0;
    QFont problemFont(QFont::substitute(QStringLiteral("宋体")));
    problemFont.setPointSize(fontPoints_);
    sheet_->setFont(problemFont);

    for (std::size_t n = 0; n < problems.size(); ++n) {
        const model::Problem& p = problems_[problems[n]];
        auto* cell = new QWidget(sheet_);
        auto* row = new QHBoxLayout(cell);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
        const auto [before, after] = AroundTheBox(p);
        const QString number = QString::number(n + 1);
        QLineEdit* box = makeBox(cell, QStringLiteral("Answer") + number, negativeAllowed_);
        auto* mark = new QLabel(cell);
        mark->setObjectName(QStringLiteral("Mark") + number);
        auto* beforeLabel = new QLabel(before, cell);
        beforeLabel->setObjectName(QStringLiteral("Before") + number);
        auto* afterLabel = new QLabel(after, cell);
        afterLabel->setObjectName(QStringLiteral("After") + number);
        row->addWidget(beforeLabel);
        row->addWidget(box);
        QLineEdit* remainder = nullptr;
        if (HasRemainder(p)) {
            row->addWidget(new QLabel(ToQString(RemainderSign), cell));
            remainder = makeBox(cell, QStringLiteral("Remainder") + number, false);
            row->addWidget(remainder);
        }
        row->addWidget(afterLabel);
        row->addWidget(mark);
        row->addStretch();
        items_.push_back({problems[n], box, remainder, mark, cell});
    }
    scroll_->setWidget(sheet_);
    // The boxes in reading order, then the buttons.
    QWidget* previous = nullptr;
    for (const Item& item : items_) {
        for (QLineEdit* box : {item.box, item.remainder}) {
            if (box != nullptr && previous != nullptr) {
                setTabOrder(previous, box);
            }
            previous = box != nullptr ? box : previous;
        }
    }
    if (previous != nullptr) {
        setTabOrder(previous, handIn_);
    }
    setTabOrder(handIn_, retry_);
    setTabOrder(retry_, printMarked_);
    setTabOrder(printMarked_, saveMarkedPdf_);
    setFontPoints(fontPoints_);

    handIn_->setEnabled(true);
    retry_->setEnabled(false);
    showClock();
    moveTo(0);
}

QLineEdit* PracticeWindow::makeBox(QWidget* cell, const QString& name, bool negativeAllowed)
{
    auto* box = new QLineEdit(cell);
    box->setObjectName(name);
    box->setValidator(new AnswerValidator(negativeAllowed, box));
    box->setAlignment(Qt::AlignCenter);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, &PracticeWindow::startClock);
    return box;
}

void PracticeWindow::setFontPoints(int points)
{
    fontPoints_ = std::clamp(points, PracticeSmallestPoints, PracticeLargestPoints);
    QFont problemFont = sheet_->font();
    problemFont.setPointSize(fontPoints_);
    sheet_->setFont(problemFont);
    // Under the sheet's style sheet the controls do not take its font, so each is given it.
    for (QWidget* control : sheet_->findChildren<QWidget*>()) {
        control->setFont(problemFont);
    }
    // Room for a digit more than the longest answer (at least three) and a sign where answers
    // may be negative; longer text scrolls in its box. A remainder is below 10.
    const QFontMetrics metrics(problemFont);
    const int digits = std::max(3, answerDigits_ + 1);
    const QString widest =
        QString(negativeAllowed_ ? 1 : 0, QLatin1Char('-')) + QString(digits, QLatin1Char('0'));
    const int boxWidth = metrics.horizontalAdvance(widest) + 16;
    const int remainderWidth = metrics.horizontalAdvance(QStringLiteral("00")) + 16;
    QFont markFont = problemFont;
    markFont.setBold(true);
    const QFontMetrics markMetrics(markFont);
    for (const Item& item : items_) {
        item.box->setFixedWidth(boxWidth);
        if (item.remainder != nullptr) {
            item.remainder->setFixedWidth(remainderWidth);
        }
        item.mark->setFont(markFont);
        // Room for the mark from the start, so that marking widens no problem out of view.
        const QString wrong = ToQString(WrongMark) + QLatin1Char(' ') +
                              ToQString(RightAnswer(problems_[item.problem]));
        item.mark->setMinimumWidth(markMetrics.horizontalAdvance(wrong));
    }
    reflow();
}

void PracticeWindow::reflow()
{
    if (items_.empty()) {
        return;
    }
    std::vector<int> widths;
    for (const Item& item : items_) {
        item.cell->layout()->invalidate();
        widths.push_back(item.cell->sizeHint().width());
    }
    const QMargins margins = sheet_->layout()->contentsMargins();
    const int room = scroll_->viewport()->width() - margins.left() - margins.right();
    int columns = ProblemsPerRow;
    while (columns > 1 && WidthInColumns(widths, columns, grid_->horizontalSpacing()) > room) {
        --columns;
    }
    if (columns != columns_) {
        columns_ = columns;
        for (const Item& item : items_) {
            grid_->removeWidget(item.cell);
        }
        for (std::size_t n = 0; n < items_.size(); ++n) {
            const int place = static_cast<int>(n);
            grid_->addWidget(items_[n].cell, place / columns, place % columns);
        }
    }
    // Once the sheet has taken its new shape.
    QTimer::singleShot(0, this, &PracticeWindow::showFocused);
}

void PracticeWindow::showFocused()
{
    showProblemOf(QApplication::focusWidget());
}

void PracticeWindow::showProblemOf(QWidget* focused)
{
    for (const Item& item : items_) {
        if (focused != nullptr && (focused == item.box || focused == item.remainder)) {
            sheet_->layout()->activate();
            // The whole problem first, so that its text stays in view beside the box.
            scroll_->ensureWidgetVisible(item.cell, 0, 8);
            scroll_->ensureWidgetVisible(focused, 0, 8);
            return;
        }
    }
}

void PracticeWindow::moveTo(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
        return;
    }
    items_[static_cast<std::size_t>(index)].box->setFocus(Qt::TabFocusReason);
}

bool PracticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        reflow();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        showProblemOf(qobject_cast<QLineEdit*>(watched));
    }
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    int index = -1;
    bool inQuotient = false;
    for (std::size_t n = 0; n < items_.size(); ++n) {
        if (items_[n].box == watched || items_[n].remainder == watched) {
            index = static_cast<int>(n);
            inQuotient = items_[n].remainder != nullptr && items_[n].box == watched;
        }
    }
    if (index < 0 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return QWidget::eventFilter(watched, event);
    }
    const int last = static_cast<int>(items_.size()) - 1;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // From the last box on to 交卷, which Return then presses.
        if (inQuotient) {
            items_[static_cast<std::size_t>(index)].remainder->setFocus(Qt::TabFocusReason);
        } else if (index == last) {
            handIn_->setFocus(Qt::TabFocusReason);
        } else {
            moveTo(index + 1);
        }
        return true;
    case Qt::Key_Up:
        moveTo(index - columns_);
        return true;
    case Qt::Key_Down:
        moveTo(std::min(index + columns_, last));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void PracticeWindow::closeEvent(QCloseEvent* event)
{
    if (roundUnderWay() &&
        !Hooks().confirm(QStringLiteral("这一轮还没有交卷，关掉窗口，已经写的答案就没有了。"
                                        "确定关闭吗？"),
                         QStringLiteral("练习"), QStringLiteral("关闭"),
                         QStringLiteral("继续做题"))) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void PracticeWindow::startClock()
{
    if (!started_ && !handedIn_) {
        started_ = Hooks().now();
        tick_->start();
        showClock();
    }
}

int PracticeWindow::elapsedSeconds() const
{
    if (stoppedSeconds_) {
        return *stoppedSeconds_;
    }
    if (!started_) {
        return 0;
    }
    return static_cast<int>(std::max<qint64>(0, started_->msecsTo(Hooks().now()) / 1000));
}

void PracticeWindow::showClock()
{
    clock_->setText(QStringLiteral("用时 ") + Elapsed(elapsedSeconds()));
}

int PracticeWindow::unanswered() const
{
    return static_cast<int>(
        std::ranges::count_if(items_, [](const Item& item) { return item.box->text().isEmpty(); }));
}

bool PracticeWindow::roundUnderWay() const
{
    return !handedIn_ && unanswered() < static_cast<int>(items_.size());
}

void PracticeWindow::handIn()
{
    if (handedIn_) {
        return;
    }
    if (const int missing = unanswered(); missing > 0) {
        if (!Hooks().confirm(QStringLiteral("还有 %1 题没有做，确定交卷吗？").arg(missing),
                             QStringLiteral("交卷"), QStringLiteral("交卷"),
                             QStringLiteral("继续做题"))) {
            const auto empty = std::ranges::find_if(
                items_, [](const Item& item) { return item.box->text().isEmpty(); });
            moveTo(static_cast<int>(empty - items_.begin()));
            return;
        }
    }
    tick_->stop();
    stoppedSeconds_ = elapsedSeconds();
    handedIn_ = true;
    showClock();

    std::vector<std::u16string> answers;
    for (const Item& item : items_) {
        const QString remainder = item.remainder != nullptr ? item.remainder->text() : QString();
        answers.push_back(JoinRemainder(ToU16(item.box->text()), ToU16(remainder)));
    }
    showMarks(answers);

    int right = 0;
    wrong_.clear();
    for (std::size_t n = 0; n < items_.size(); ++n) {
        if (IsRightAnswer(problems_[items_[n].problem], answers[n])) {
            ++right;
        } else {
            wrong_.push_back(items_[n].problem);
        }
    }
    const int count = static_cast<int>(items_.size());
    if (recorder_ != nullptr) {
        // The problem in focus is left by handing in; a 交卷 clicked has taken the focus already.
        if (const Item* item = itemOf(QApplication::focusWidget())) {
            recorder_->leave(item->problem, answerOf(*item),
                             IsRightAnswer(problems_[item->problem], ToU16(answerOf(*item))));
        }
        if (rounds_ == 1) {
            recorder_->handIn(right, Score(right, count), *stoppedSeconds_);
        }
    }
    if (!first_) {
        first_ = MarkedRound{problems_, answers, Hooks().now().date(), *stoppedSeconds_};
    }
    const QString firstScore =
        QStringLiteral("用时 %1　得分 %2").arg(Elapsed(first_->seconds)).arg(first_->Score());
    QString text;
    if (rounds_ == 1) {
        text = QStringLiteral("%1　答对 %2 题，共 %3 题。").arg(firstScore).arg(right).arg(count);
    } else {
        text = QStringLiteral("这一轮答对 %1 题，共 %2 题。第一次：%3。")
                   .arg(right)
                   .arg(count)
                   .arg(firstScore);
    }
    if (wrong_.empty()) {
        text += QStringLiteral("全部做对了！");
    }
    result_->setText(text);

    handIn_->setEnabled(false);
    retry_->setEnabled(!wrong_.empty());
    // A job under way turns it back on when it ends.
    printMarked_->setEnabled(!printing_->Busy());
    saveMarkedPdf_->setEnabled(true);
    (wrong_.empty() ? printMarked_ : retry_)->setFocus(Qt::TabFocusReason);
}

void PracticeWindow::showMarks(const std::vector<std::u16string>& answers)
{
    for (std::size_t n = 0; n < items_.size(); ++n) {
        const Item& item = items_[n];
        const model::Problem& p = problems_[item.problem];
        const bool right = IsRightAnswer(p, answers[n]);
        for (QLineEdit* box : {item.box, item.remainder}) {
            if (box != nullptr) {
                box->setReadOnly(true);
                setBoxState(*box, right ? "right" : "wrong");
            }
        }
        item.mark->setText(right ? ToQString(RightMark)
                                 : ToQString(WrongMark) + QLatin1Char(' ') +
                                       ToQString(RightAnswer(p)));
        item.mark->setStyleSheet(right ? RightColour : WrongColour);
    }
}

void PracticeWindow::setBoxState(QLineEdit& box, const char* state)
{
    box.setProperty("mark", QString::fromLatin1(state));
    box.style()->unpolish(&box);
    box.style()->polish(&box);
}

void PracticeWindow::practiseMistakes()
{
    if (!handedIn_ || wrong_.empty()) {
        return;
    }
    result_->clear();
    const std::vector<std::size_t> again = wrong_;
    startRound(again);
}

void PracticeWindow::printMarked()
{
    if (!first_) {
        return;
    }
    if (printing_->Busy()) {
        return;
    }
    // A copy: the job is painted after the printer has been found, when this window may be gone.
    printing_->Follow(Hooks().printDrawing(
                          [round = *first_](PrintSurface& s) { PrintMarkedWorksheet(s, round); }),
                      PrintMarkedText, [this] { saveMarkedPdf(); });
}

void PracticeWindow::saveMarkedPdf()
{
    if (!first_) {
        return;
    }
    QString caption = SaveMarkedPdfText;
    caption.remove(QChar(u'…'));
    const QString path =
        Hooks().saveFileName(caption, SuggestedPdfPath(QStringLiteral("成绩"), first_->date));
    if (path.isEmpty()) {
        return;
    }
    const MarkedRound round = *first_;
    const SaveOutcome saved =
        SaveDocumentPdf(path, [&round](PrintSurface& s) { PrintMarkedWorksheet(s, round); });
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

void PracticeWindow::addMemoryControls(QHBoxLayout& top)
{
    auto* label = new QLabel(QStringLiteral("练习的孩子："), this);
    childBox_ = new QComboBox(this);
    childBox_->setObjectName(QStringLiteral("Child"));
    childBox_->setMinimumContentsLength(8);
    label->setBuddy(childBox_);
    const auto button = [this](const QString& name, const QString& text) {
        auto* b = new PushButton(text, this);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    QPushButton* children = button(QStringLiteral("Children"), QStringLiteral("孩子…"));
    QPushButton* book = button(QStringLiteral("Book"), QStringLiteral("错题本"));
    QPushButton* today = button(QStringLiteral("Today"), QStringLiteral("今日练习"));
    for (QWidget* w : std::initializer_list<QWidget*>{label, childBox_, children, book, today}) {
        top.addWidget(w);
    }
    if (kind_ == history::RoundKind::Today) {
        QPushButton* review = button(QStringLiteral("PrintReview"), QStringLiteral("打印错题卷"));
        review->setShortcut(QKeySequence::Print);
        review->setToolTip(QStringLiteral("Ctrl+P"));
        top.addWidget(review);
        reviewPrinting_ = new PrintJobWatch(*this, *review);
        connect(review, &QPushButton::clicked, this, &PracticeWindow::printReviewSheet);
    }
    connect(children, &QPushButton::clicked, this, [this] {
        ChildrenWindow window(this);
        window.exec();
        fillChildren();
    });
    connect(book, &QPushButton::clicked, this, [this] {
        auto* window = new BookWindow(child());
        window->show();
    });
    connect(today, &QPushButton::clicked, this, &PracticeWindow::openTodaysRound);
    fillChildren();
    connect(childBox_, &QComboBox::activated, this, &PracticeWindow::chooseChild);
}

// （不记录） first, then the children; the child of a 今日练习 round, or the last one chosen.
void PracticeWindow::fillChildren()
{
    history::Store& store = SharedHistory();
    const std::optional<qint64> shown = recorder_ != nullptr
                                            ? std::optional(recorder_->child())
                                            : (todaysChild_ ? todaysChild_ : store.LastChild());
    const QSignalBlocker quiet(childBox_);
    childBox_->clear();
    childBox_->addItem(QStringLiteral("（不记录）"), QVariant());
    for (const history::Child& c : store.Children()) {
        childBox_->addItem(c.name, c.id);
        if (shown == c.id) {
            childBox_->setCurrentIndex(childBox_->count() - 1);
        }
    }
    // A child removed meanwhile: the round is no longer kept for anyone.
    if (childBox_->currentIndex() == 0 && recorder_ != nullptr) {
        delete recorder_;
        recorder_ = nullptr;
    }
    if (recorder_ == nullptr && childBox_->currentIndex() > 0) {
        chooseChild();
    }
    // The round's answers stay with the child they were kept for.
    childBox_->setEnabled(todaysChild_ == std::nullopt &&
                          (recorder_ == nullptr || !recorder_->started()));
}

void PracticeWindow::chooseChild()
{
    const QVariant id = childBox_->currentData();
    delete recorder_;
    recorder_ = nullptr;
    if (id.isValid()) {
        recorder_ = new RoundRecorder(SharedHistory(), id.toLongLong(), kind_,
                                      Sheet{recipe_, problems_, false, 0}, this);
        if (const Item* item = itemOf(QApplication::focusWidget())) {
            recorder_->enter(item->problem);
        }
    }
    const qint64 chosen = id.isValid() ? id.toLongLong() : 0;
    if (kind_ == history::RoundKind::Practice &&
        SharedHistory().LastChild().value_or(0) != chosen) {
        SharedHistory().SetLastChild(chosen);
    }
}

std::optional<qint64> PracticeWindow::child() const
{
    const QVariant id = childBox_->currentData();
    return id.isValid() ? std::optional(id.toLongLong()) : std::nullopt;
}

const PracticeWindow::Item* PracticeWindow::itemOf(const QWidget* box) const
{
    if (box == nullptr) {
        return nullptr;
    }
    for (const Item& item : items_) {
        if (item.box == box || item.remainder == box) {
            return &item;
        }
    }
    return nullptr;
}

QString PracticeWindow::answerOf(const Item& item) const
{
    if (item.remainder == nullptr) {
        return item.box->text();
    }
    return ToQString(JoinRemainder(ToU16(item.box->text()), ToU16(item.remainder->text())));
}

// Leaving a problem for anything else in this window gives its answer; the focus going to
// another window (a message, the 错题本) does not.
void PracticeWindow::noteFocus(QWidget* old, QWidget* now)
{
    if (recorder_ == nullptr || handedIn_ || now == nullptr || now->window() != this) {
        return;
    }
    const Item* from = itemOf(old);
    const Item* to = itemOf(now);
    if (from != nullptr && (to == nullptr || to->problem != from->problem)) {
        const QString given = answerOf(*from);
        recorder_->leave(from->problem, given,
                         IsRightAnswer(problems_[from->problem], ToU16(given)));
    }
    if (to != nullptr) {
        recorder_->enter(to->problem);
    }
    if (recorder_->started()) {
        childBox_->setEnabled(false);
    }
}

void PracticeWindow::openTodaysRound()
{
    const std::optional<history::Child> who = ChildOrAsk(child(), QStringLiteral("今日练习"));
    if (who) {
        StartTodaysRound(*who, recipe_.parts.empty() ? PartSpec{} : recipe_.parts.front());
    }
}

void PracticeWindow::printReviewSheet()
{
    if (reviewPrinting_ == nullptr || reviewPrinting_->Busy()) {
        return;
    }
    const std::optional<history::Child> who =
        todaysChild_ ? SharedHistory().ChildById(*todaysChild_) : std::nullopt;
    const QString name = who ? who->name : QString();
    const Sheet sheet{recipe_, problems_, false, 0};
    // Kept once for the child, so that the paper can be marked later by the 卷号 in its footer;
    // where the history cannot keep it, the sheet still prints, without one.
    if (who && !reviewPaper_) {
        const history::WriteResult kept = SharedHistory().KeepPaper(who->id, sheet, Hooks().now());
        if (kept.Ok()) {
            reviewPaper_ = kept.id;
        }
    }
    reviewPrinting_->Follow(
        Hooks().printDrawing(ReviewSheetDocument(
            sheet, name.toStdU16String(), reviewPaper_ ? KeptSheetFooter(*reviewPaper_) : u"")),
        QStringLiteral("打印错题卷"));
}

} // namespace sumvarl
