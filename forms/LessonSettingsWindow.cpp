#include "forms/LessonSettingsWindow.h"

#include "core/StartSettings.h"
#include "forms/ClassicControls.h"
#include "forms/Twips.h"
#include "wording/Messages.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace sumvarl {

namespace {

constexpr int ClientWidth = 6600;
constexpr int ClientHeight = 4500;
constexpr int ShapeRow = 480; // the rows under 题型 stand this much lower
constexpr int LabelLeft = 240;
constexpr int BoxLeft = 2040;

// A list to pick from, not to type into: every entry is a rule the generator knows.
QComboBox* MakeList(QWidget* parent, const QString& name, const QStringList& items, QRect twips)
{
    auto* box = new DropDownBox(parent);
    box->setEditable(false);
    box->setObjectName(name);
    box->addItems(items);
    PlaceTwips(*box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

CarryRule RuleAt(const QComboBox& box)
{
    return static_cast<CarryRule>(box.currentIndex());
}

} // namespace

LessonSettingsWindow::LessonSettingsWindow(std::function<StartInputs()> mainInputs, QWidget* owner)
    : QWidget(owner, Qt::Window), mainInputs_(std::move(mainInputs))
{
    setObjectName(QStringLiteral("LessonSettingsWindow"));
    setWindowTitle(QStringLiteral("更多设置"));
    // The settings window's face, so the two read as one set of settings.
    if (owner != nullptr) {
        setFont(owner->font());
        setWindowIcon(owner->windowIcon());
    }
    setFixedSize(TwipsSize(*this, ClientWidth, ClientHeight));
    createControls();
    updateCount();
}

void LessonSettingsWindow::createControls()
{
    MakeLabel(this, QStringLiteral("CarryLabel"), QStringLiteral("加法进位"),
              {LabelLeft, 300, 1695, 255});
    carry_ =
        MakeList(this, QStringLiteral("Carry"),
                 {QStringLiteral("不限"), QStringLiteral("必须进位"), QStringLiteral("不进位")},
                 {BoxLeft, 240, 1695, 360});
    MakeLabel(this, QStringLiteral("BorrowLabel"), QStringLiteral("减法退位"),
              {LabelLeft, 780, 1695, 255});
    borrow_ =
        MakeList(this, QStringLiteral("Borrow"),
                 {QStringLiteral("不限"), QStringLiteral("必须退位"), QStringLiteral("不退位")},
                 {BoxLeft, 720, 1695, 360});

    QStringList digits;
    for (int d = 0; d <= 9; ++d) {
        digits << QString::number(d);
    }
    MakeLabel(this, QStringLiteral("TablesLabel"), QStringLiteral("乘法口诀"),
              {LabelLeft, 1260, 1695, 255});
    tableFrom_ = MakeList(this, QStringLiteral("TableFrom"), digits, {BoxLeft, 1200, 735, 360});
    MakeLabel(this, QStringLiteral("TablesTo"), QStringLiteral("到"), {2880, 1260, 300, 255});
    tableTo_ = MakeList(this, QStringLiteral("TableTo"), digits, {3240, 1200, 735, 360});
    tableTo_->setCurrentIndex(9);

    remainder_ = new QCheckBox(QStringLiteral("有余数的除法"), this);
    remainder_->setObjectName(QStringLiteral("Remainder"));
    PlaceTwips(*remainder_, LabelLeft, 1740, 2400, 300);
    MakeLabel(this, QStringLiteral("RemainderNote"),
              QStringLiteral("有余数的除法只出求商的题，如 17÷5＝3……2"), {480, 2100, 5880, 255});

    MakeLabel(this, QStringLiteral("ShapeLabel"), QStringLiteral("题型"),
              {LabelLeft, 2580, 1695, 255});
    QStringList shapes;
    for (int k = 0; k < ProblemShapeCount; ++k) {
        shapes << ShapeEntry(static_cast<ProblemShape>(k));
    }
    shape_ = MakeList(this, QStringLiteral("Shape"), shapes, {BoxLeft, 2520, 3600, 360});

    count_ = MakeLabel(this, QStringLiteral("Count"), QString(),
                       {LabelLeft, 2640 + ShapeRow, 6120, 255});
    refusal_ = MakeLabel(this, QStringLiteral("Refusal"), QString(),
                         {LabelLeft, 3000 + ShapeRow, 6120, 255});
    QPalette red = refusal_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    refusal_->setPalette(red);

    auto* close = new PushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("Close"));
    PlaceTwips(*close, 4800, 3360 + ShapeRow, 1455, 495);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    WidenLabelsToText(*this);

    for (QComboBox* box : {carry_, borrow_, tableFrom_, tableTo_, shape_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &LessonSettingsWindow::updateCount);
    }
    // Carrying and borrowing are rules of one-operation problems; chains leave them aside.
    connect(shape_, &QComboBox::currentIndexChanged, this, [this](int index) {
        carry_->setEnabled(index == 0);
        borrow_->setEnabled(index == 0);
    });
    connect(remainder_, &QCheckBox::toggled, this, &LessonSettingsWindow::updateCount);
}

sumvarl::Lesson LessonSettingsWindow::lesson() const
{
    sumvarl::Lesson shown;
    shown.carry = RuleAt(*carry_);
    shown.borrow = RuleAt(*borrow_);
    shown.tableFrom = static_cast<std::int16_t>(tableFrom_->currentIndex());
    shown.tableTo = static_cast<std::int16_t>(tableTo_->currentIndex());
    shown.remainder = remainder_->isChecked();
    return shown;
}

ProblemShape LessonSettingsWindow::shape() const
{
    return static_cast<ProblemShape>(shape_->currentIndex());
}

void LessonSettingsWindow::updateCount()
{
    const StartOutcome read = ReadSettings(mainInputs_ ? mainInputs_() : StartInputs{});
    if (!read.settings) {
        count_->setText(QStringLiteral("设置窗口里有不能接受的数，算不出有多少道题"));
        refusal_->clear();
        return;
    }
    const CountInputs in = CountInputsFor(*read.settings, lesson(), shape());
    const long long different = DifferentProblems(in);
    QString count = QStringLiteral("共 %1 道不同的题").arg(different);
    if (different < read.settings->ProblemCount) {
        count += QStringLiteral("，不够出 %1 题").arg(read.settings->ProblemCount);
    }
    count_->setText(count);
    refusal_->setText(LessonRefusalText(CheckLesson(in), in));
    WidenToText(*count_);
    WidenToText(*refusal_);
}

void LessonSettingsWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape closes it, as it closes a dialog; the controls pass it on when they have no use
    // for it (a drop-down list that is open closes itself first).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace sumvarl
