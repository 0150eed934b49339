#include "forms/LessonSettingsWindow.h"

#include "core/Sheet.h"
#include "core/StartSettings.h"
#include "core/Vertical.h"
#include "forms/ClassicControls.h"
#include "forms/HelpWindow.h"
#include "forms/Twips.h"
#include "wording/Messages.h"
#include "wording/Presets.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace sumvarl {

namespace {

constexpr int ClientWidth = 6600;
constexpr int ClientHeight = 5520;
constexpr int ShapeRow = 1500; // the rows under 题型 and 年级与单元 stand this much lower
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
    // A dialog of the settings window: kept above it by the window manager, without the
    // buttons of a main window.
    : QWidget(owner, Qt::Dialog), mainInputs_(std::move(mainInputs))
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
    // Off by default: the textbooks pose every such division with a remainder of 1 or more.
    remainderZero_ = new QCheckBox(QStringLiteral("余数可以为 0"), this);
    remainderZero_->setObjectName(QStringLiteral("RemainderZero"));
    remainderZero_->setEnabled(false);
    PlaceTwips(*remainderZero_, 3240, 1740, 2400, 300);
    MakeLabel(this, QStringLiteral("RemainderNote"),
              QStringLiteral("有余数的除法只出求商的题，如 17÷5＝3……2"), {480, 2100, 5880, 255});

    MakeLabel(this, QStringLiteral("ShapeLabel"), QStringLiteral("题型"),
              {LabelLeft, 2580, 1695, 255});
    QStringList shapes;
    for (int k = 0; k < ProblemShapeCount; ++k) {
        shapes << ShapeEntry(static_cast<ProblemShape>(k));
    }
    for (int k = 1; k < VerticalKindCount; ++k) {
        shapes << VerticalEntry(static_cast<VerticalKind>(k));
    }
    shape_ = MakeList(this, QStringLiteral("Shape"), shapes, {BoxLeft, 2520, 3600, 360});

    MakeLabel(this, QStringLiteral("PresetLabel"), QStringLiteral("年级与单元"),
              {LabelLeft, 3060, 1695, 255});
    QStringList presets{QStringLiteral("（自己设置）")};
    for (const Preset& preset : GradePresets()) {
        presets << preset.FullName();
    }
    preset_ = MakeList(this, QStringLiteral("Preset"), presets, {BoxLeft, 3000, 4320, 360});
    // Two lines: a preset of several parts says what each part is.
    presetNote_ = MakeLabel(this, QStringLiteral("PresetNote"), QString(), {480, 3420, 5880, 600});
    presetNote_->setWordWrap(true);
    presetNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
        connect(box, &QComboBox::currentIndexChanged, this, &LessonSettingsWindow::dropPreset);
        connect(box, &QComboBox::currentIndexChanged, this, &LessonSettingsWindow::updateCount);
    }
    InstallHelpKey(*this);
    connect(remainder_, &QCheckBox::toggled, remainderZero_, &QWidget::setEnabled);
    for (QCheckBox* box : {remainder_, remainderZero_}) {
        connect(box, &QCheckBox::toggled, this, &LessonSettingsWindow::updateCount);
        connect(box, &QCheckBox::toggled, this, &LessonSettingsWindow::dropPreset);
    }
    connect(preset_, &QComboBox::activated, this, &LessonSettingsWindow::choosePreset);
    // Carrying and borrowing are rules of one-operation problems and of 竖式 of ＋ and －;
    // chains leave them aside.
    connect(shape_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const VerticalKind kind = vertical();
        const bool rules = index == 0 || kind == VerticalKind::TwoDigitAddSubtract ||
                           kind == VerticalKind::ThreeDigitAddSubtract;
        carry_->setEnabled(rules);
        borrow_->setEnabled(rules);
    });
}

sumvarl::Lesson LessonSettingsWindow::lesson() const
{
    sumvarl::Lesson shown;
    shown.carry = RuleAt(*carry_);
    shown.borrow = RuleAt(*borrow_);
    shown.tableFrom = static_cast<std::int16_t>(tableFrom_->currentIndex());
    shown.tableTo = static_cast<std::int16_t>(tableTo_->currentIndex());
    shown.remainder = remainder_->isChecked();
    shown.remainderZero = shown.remainder && remainderZero_->isChecked();
    return shown;
}

void LessonSettingsWindow::setMainApplier(std::function<void(const StartInputs&)> apply)
{
    applyToMain_ = std::move(apply);
}

void LessonSettingsWindow::mainSettingsChanged()
{
    dropPreset();
    updateCount();
}

std::vector<PartSpec> LessonSettingsWindow::presetParts() const
{
    return presetParts_;
}

namespace {

// The settings window's boxes for a part: its operations' shares, fill-in-the-blank, the range,
// and the whole preset's count.
StartInputs InputsOf(const PartSpec& part, int count)
{
    StartInputs in;
    int before = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const int share = part.cumulativeWeight.at(k) - before;
        before = part.cumulativeWeight.at(k);
        in.ticked.at(k) = share > 0;
        in.boxes.at(k) = ToU16(QString::number(share > 0 ? share : 25));
    }
    in.ticked[4] = part.fillBlankOn == 1;
    in.boxes[4] = ToU16(QString::number(part.fillBlankOn == 1 ? part.fillBlankPercent : 20));
    in.numberRange = ToU16(QString::number(part.numberRange));
    in.problemCount = ToU16(QString::number(count));
    return in;
}

// What a preset set, part by part: "连加 15 题、连减 15 题、加减混合 20 题，100以内".
QString PresetNote(const Preset& preset)
{
    static const std::array<QString, 4> operations{QStringLiteral("加法"), QStringLiteral("减法"),
                                                   QStringLiteral("乘法"), QStringLiteral("除法")};
    QStringList parts;
    for (const PartSpec& part : preset.parts) {
        QString what;
        if (part.shape == ProblemShape::OneOperation) {
            QStringList ticked;
            int before = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                if (part.cumulativeWeight.at(k) > before) {
                    ticked << operations.at(k);
                }
                before = part.cumulativeWeight.at(k);
            }
            what = ticked.join(QStringLiteral("、"));
        } else {
            what = ShapeName(part.shape);
        }
        parts << QStringLiteral("%1以内%2 %3 题")
                     .arg(part.numberRange)
                     .arg(what)
                     .arg(part.problemCount);
    }
    return QStringLiteral("已设置：") + parts.join(QStringLiteral("＋"));
}

} // namespace

void LessonSettingsWindow::choosePreset(int index)
{
    if (index <= 0 || index > static_cast<int>(GradePresets().size())) {
        dropPreset();
        return;
    }
    const Preset& preset = GradePresets()[static_cast<std::size_t>(index - 1)];
    const PartSpec& first = preset.parts.front();
    applying_ = true;
    if (applyToMain_) {
        applyToMain_(InputsOf(first, preset.ProblemCount()));
    }
    carry_->setCurrentIndex(static_cast<int>(first.lesson.carry));
    borrow_->setCurrentIndex(static_cast<int>(first.lesson.borrow));
    tableFrom_->setCurrentIndex(first.lesson.tableFrom);
    tableTo_->setCurrentIndex(first.lesson.tableTo);
    remainder_->setChecked(first.lesson.remainder);
    shape_->setCurrentIndex(static_cast<int>(first.shape));
    applying_ = false;
    presetParts_ = preset.parts;
    presetNote_->setText(PresetNote(preset));
    updateCount();
}

void LessonSettingsWindow::dropPreset()
{
    if (applying_ || presetParts_.empty()) {
        return;
    }
    presetParts_.clear();
    preset_->setCurrentIndex(0);
    presetNote_->clear();
}

ProblemShape LessonSettingsWindow::shape() const
{
    const int index = shape_->currentIndex();
    return index < ProblemShapeCount ? static_cast<ProblemShape>(index)
                                     : ProblemShape::OneOperation;
}

VerticalKind LessonSettingsWindow::vertical() const
{
    const int index = shape_->currentIndex();
    return index < ProblemShapeCount ? VerticalKind::None
                                     : static_cast<VerticalKind>(index - ProblemShapeCount + 1);
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
    PartSpec columns = PartSpecFor(*read.settings, lesson());
    columns.vertical = vertical();
    const bool worked = columns.vertical != VerticalKind::None && presetParts_.empty();
    long long different = !presetParts_.empty() ? 0
                          : worked              ? DifferentVerticalProblems(columns)
                                                : DifferentProblems(in);
    for (const PartSpec& part : presetParts_) {
        CountInputs each;
        each.weightTotal = part.weightTotal;
        std::copy(part.cumulativeWeight.begin(), part.cumulativeWeight.end(),
                  each.cumulativeWeight.begin());
        each.numberRange = part.numberRange;
        each.lesson = part.lesson;
        each.shape = part.shape;
        different += DifferentProblems(each);
    }
    QString count = QStringLiteral("共 %1 道不同的题").arg(different);
    if (different < read.settings->ProblemCount) {
        count += QStringLiteral("，不够出 %1 题").arg(read.settings->ProblemCount);
    }
    count_->setText(count);
    if (worked) {
        refusal_->setText(different == 0 ? NoVerticalText(columns.vertical, columns.lesson)
                                         : QString());
    } else {
        refusal_->setText(LessonRefusalText(CheckLesson(in), in));
    }
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
