#include "forms/LessonSettingsWindow.h"

#include "core/Sheet.h"
#include "core/StartSettings.h"
#include "core/Vertical.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "forms/HelpWindow.h"
#include "forms/Twips.h"
#include "wording/Messages.h"
#include "wording/OwnPresets.h"
#include "wording/Text.h"
#include "wording/VerticalWords.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>

namespace sumvarl {

namespace {

constexpr int ClientWidth = 6600;
constexpr int ClientHeight = 6180;
constexpr int PaperTop = 2940; // 竖式的纸, under 题型
// 年级与单元 and what follows stand one row lower for 竖式的纸.
constexpr int PaperRow = 420;
// The rows under 题型, 年级与单元 and the own presets' buttons stand this much lower.
constexpr int ShapeRow = 2220 + PaperRow;
constexpr int OwnTop = 4360 + PaperRow; // the own presets' buttons
// In the list's item data: 0 for （自己设置）, k + 1 for grade preset k, -(k + 1) for own preset k.
constexpr int EntryRole = Qt::UserRole;
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
    ownPath_ = Hooks().ownPresetsPath ? Hooks().ownPresetsPath() : DefaultOwnPresetsPath();
    PresetFile file = LoadOwnPresets(ownPath_, Hooks().now ? Hooks().now() : QDateTime());
    own_ = std::move(file.presets);
    fillPresetList();
    updateCount();
    if (file.state == PresetFileState::Damaged) {
        Hooks().messageBox(DamagedOwnPresetsText(file.setAsideTo), windowTitle());
    } else if (file.state == PresetFileState::Failed) {
        ownWritable_ = false;
        Hooks().messageBox(UnreadableOwnPresetsText(ownPath_), windowTitle());
    }
}

void LessonSettingsWindow::createOwnPresetControls()
{
    struct Button
    {
        const char* name;
        QString text;
        int width;
        void (LessonSettingsWindow::*act)();
    };
    const Button buttons[] = {
        {"SaveOwn", QStringLiteral("保存为我的设置…"), 2100, &LessonSettingsWindow::saveOwnPreset},
        {"RenameOwn", QStringLiteral("改名…"), 960, &LessonSettingsWindow::renameOwnPreset},
        {"DeleteOwn", QStringLiteral("删除"), 840, &LessonSettingsWindow::deleteOwnPreset},
        {"ExportOwn", QStringLiteral("导出…"), 960, &LessonSettingsWindow::exportOwnPresets},
        {"ImportOwn", QStringLiteral("导入…"), 960, &LessonSettingsWindow::importOwnPresets},
    };
    int left = LabelLeft;
    for (const Button& b : buttons) {
        auto* button = new PushButton(b.text, this);
        button->setObjectName(QString::fromLatin1(b.name));
        PlaceTwips(*button, left, OwnTop, b.width, 400);
        connect(button, &QPushButton::clicked, this, b.act);
        left += b.width + 60;
    }
    renameOwn_ = findChild<QWidget*>(QStringLiteral("RenameOwn"));
    deleteOwn_ = findChild<QWidget*>(QStringLiteral("DeleteOwn"));
    exportOwn_ = findChild<QWidget*>(QStringLiteral("ExportOwn"));
}

void LessonSettingsWindow::fillPresetList()
{
    const QString chosen = preset_->currentText();
    preset_->clear();
    preset_->addItem(QStringLiteral("（自己设置）"), 0);
    const std::span<const Preset> grades = GradePresets();
    for (std::size_t k = 0; k < grades.size(); ++k) {
        preset_->addItem(grades[k].FullName(), static_cast<int>(k) + 1);
    }
    if (!own_.empty()) {
        preset_->insertSeparator(preset_->count());
        for (std::size_t k = 0; k < own_.size(); ++k) {
            preset_->addItem(own_[k].FullName(), -static_cast<int>(k) - 1);
        }
    }
    preset_->setCurrentIndex(std::max(0, preset_->findText(chosen)));
    updateOwnButtons();
}

int LessonSettingsWindow::chosenOwn() const
{
    const int entry = preset_->currentData(EntryRole).toInt();
    return entry < 0 && !presetParts_.empty() ? -entry - 1 : -1;
}

void LessonSettingsWindow::selectOwn(int index)
{
    preset_->setCurrentIndex(preset_->findData(-index - 1, EntryRole));
    choosePreset(preset_->currentIndex());
}

void LessonSettingsWindow::updateOwnButtons()
{
    renameOwn_->setEnabled(chosenOwn() >= 0);
    deleteOwn_->setEnabled(chosenOwn() >= 0);
    exportOwn_->setEnabled(!own_.empty());
}

std::optional<Preset> LessonSettingsWindow::presetOfControls()
{
    if (!presetParts_.empty()) {
        return Preset{OwnPresetTerm(), {}, presetParts_, mixed()};
    }
    const StartOutcome read = ReadSettings(mainInputs_ ? mainInputs_() : StartInputs{});
    if (!read.settings) {
        Hooks().messageBox(RefusalText(*read.refusal), windowTitle());
        return std::nullopt;
    }
    PartSpec part = PartSpecFor(*read.settings, lesson(), shape());
    part.vertical = vertical();
    return Preset{OwnPresetTerm(), {}, {part}, false};
}

bool LessonSettingsWindow::storeOwn(std::vector<Preset> presets)
{
    if (!ownWritable_) {
        Hooks().messageBox(UnreadableOwnPresetsText(ownPath_), windowTitle());
        return false;
    }
    const QString failed = WritePresetFile(ownPath_, presets);
    if (!failed.isEmpty()) {
        Hooks().messageBox(PresetsNotSavedText(failed), windowTitle());
        return false;
    }
    own_ = std::move(presets);
    fillPresetList();
    return true;
}

namespace {

int IndexOfName(const std::vector<Preset>& presets, const QString& name)
{
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const Preset& p) { return p.name == name; });
    return found == presets.end() ? -1 : static_cast<int>(found - presets.begin());
}

QString DocumentsFile(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(name);
}

} // namespace

void LessonSettingsWindow::saveOwnPreset()
{
    std::optional<Preset> preset = presetOfControls();
    if (!preset) {
        return;
    }
    const QString title = QStringLiteral("保存为我的设置");
    const QString name = Hooks()
                             .askName(QStringLiteral("这组设置的名称："), title,
                                      FreePresetName(QStringLiteral("我的设置"), own_))
                             .trimmed();
    if (name.isEmpty()) {
        return;
    }
    preset->name = name;
    std::vector<Preset> next = own_;
    const int same = IndexOfName(next, name);
    if (same >= 0) {
        if (!Hooks().confirm(
                QStringLiteral("已经有名为“%1”的设置，用现在的设置替换它吗？").arg(name), title,
                QStringLiteral("替换"), QStringLiteral("取消"))) {
            return;
        }
        next[static_cast<std::size_t>(same)] = *preset;
    } else {
        next.push_back(*preset);
    }
    if (storeOwn(std::move(next))) {
        selectOwn(IndexOfName(own_, name));
    }
}

void LessonSettingsWindow::renameOwnPreset()
{
    const int k = chosenOwn();
    if (k < 0) {
        return;
    }
    const QString old = own_[static_cast<std::size_t>(k)].name;
    const QString name =
        Hooks().askName(QStringLiteral("新的名称："), QStringLiteral("改名"), old).trimmed();
    if (name.isEmpty() || name == old) {
        return;
    }
    if (IndexOfName(own_, name) >= 0) {
        Hooks().messageBox(QStringLiteral("已经有名为“%1”的设置，请换一个名称。").arg(name),
                           windowTitle());
        return;
    }
    std::vector<Preset> next = own_;
    next[static_cast<std::size_t>(k)].name = name;
    if (storeOwn(std::move(next))) {
        selectOwn(k);
    }
}

void LessonSettingsWindow::deleteOwnPreset()
{
    const int k = chosenOwn();
    if (k < 0 ||
        !Hooks().confirm(QStringLiteral("删除“%1”吗？").arg(own_[static_cast<std::size_t>(k)].name),
                         windowTitle(), QStringLiteral("删除"), QStringLiteral("保留"))) {
        return;
    }
    std::vector<Preset> next = own_;
    next.erase(next.begin() + k);
    if (storeOwn(std::move(next))) {
        preset_->setCurrentIndex(0);
        dropPreset();
        updateOwnButtons();
    }
}

void LessonSettingsWindow::exportOwnPresets()
{
    const QString path = Hooks().settingsFileName(
        QStringLiteral("导出我的设置"), DocumentsFile(QStringLiteral("我的设置.json")), true);
    if (path.isEmpty()) {
        return;
    }
    const QString failed = WritePresetFile(path, own_);
    if (!failed.isEmpty()) {
        Hooks().messageBox(PresetsNotSavedText(failed), windowTitle());
    }
}

void LessonSettingsWindow::importOwnPresets()
{
    const QString path =
        Hooks().settingsFileName(QStringLiteral("导入设置"), DocumentsFile(QString()), false);
    if (path.isEmpty()) {
        return;
    }
    const PresetFile read = ReadPresetFile(path);
    if (read.state != PresetFileState::Read) {
        Hooks().messageBox(NotAPresetFileText(path), windowTitle());
        return;
    }
    std::vector<Preset> next = own_;
    for (Preset preset : read.presets) {
        const int same = IndexOfName(next, preset.name);
        if (same < 0) {
            next.push_back(std::move(preset));
            continue;
        }
        // The second answer, which Escape gives, keeps both.
        const QString other = FreePresetName(preset.name, next);
        if (Hooks().confirm(QStringLiteral("已经有名为“%1”的设置。").arg(preset.name),
                            QStringLiteral("导入设置"), QStringLiteral("替换"),
                            QStringLiteral("改名为“%1”").arg(other))) {
            next[static_cast<std::size_t>(same)] = std::move(preset);
        } else {
            preset.name = other;
            next.push_back(std::move(preset));
        }
    }
    storeOwn(std::move(next));
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
    // As wide as 年级与单元: the 竖式 entries are long.
    shape_ = MakeList(this, QStringLiteral("Shape"), shapes, {BoxLeft, 2520, 4320, 360});

    createPaperControls();

    MakeLabel(this, QStringLiteral("PresetLabel"), QStringLiteral("年级与单元"),
              {LabelLeft, 3060 + PaperRow, 1695, 255});
    preset_ = MakeList(this, QStringLiteral("Preset"), {}, {BoxLeft, 3000 + PaperRow, 4320, 360});
    // Two lines: a preset of several parts says what each part is.
    presetNote_ =
        MakeLabel(this, QStringLiteral("PresetNote"), QString(), {480, 3420 + PaperRow, 5880, 600});
    presetNote_->setWordWrap(true);
    presetNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mixed_ = new QCheckBox(QStringLiteral("各部分的题混在一起"), this);
    mixed_->setObjectName(QStringLiteral("Mixed"));
    mixed_->setEnabled(false);
    PlaceTwips(*mixed_, 480, 4020 + PaperRow, 3600, 300);
    createOwnPresetControls();

    // The count beside 关闭, a refusal on the whole line under them.
    count_ = MakeLabel(this, QStringLiteral("Count"), QString(),
                       {LabelLeft, 2640 + ShapeRow, 4440, 255});
    refusal_ = MakeLabel(this, QStringLiteral("Refusal"), QString(),
                         {LabelLeft, 3120 + ShapeRow, 6120, 255});
    QPalette red = refusal_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    refusal_->setPalette(red);

    auto* close = new PushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("Close"));
    PlaceTwips(*close, 4800, 2580 + ShapeRow, 1455, 495);
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
    connect(preset_, &QComboBox::currentIndexChanged, this,
            &LessonSettingsWindow::updateOwnButtons);
    connect(shape_, &QComboBox::currentIndexChanged, this, &LessonSettingsWindow::showShapeRules);
    showShapeRules();
}

void LessonSettingsWindow::createPaperControls()
{
    paperLabel_ = MakeLabel(this, QStringLiteral("PaperLabel"), QStringLiteral("竖式的纸"),
                            {LabelLeft, PaperTop + 60, 1695, 255});
    QStringList counts;
    for (const int n : VerticalPerPageChoices) {
        counts << QStringLiteral("每页 %1 题").arg(n);
    }
    perPage_ = MakeList(this, QStringLiteral("PerPage"), counts, {BoxLeft, PaperTop, 1440, 360});
    perPage_->setCurrentIndex(1);
    grid_ = new QCheckBox(QStringLiteral("方格"), this);
    grid_->setObjectName(QStringLiteral("Grid"));
    PlaceTwips(*grid_, 3660, PaperTop + 30, 1000, 300);
    checkBox_ = new QCheckBox(QStringLiteral("验算框"), this);
    checkBox_->setObjectName(QStringLiteral("CheckBox"));
    PlaceTwips(*checkBox_, 4740, PaperTop + 30, 1500, 300);
}

// Carrying and borrowing are rules of one-operation problems and of 竖式 of ＋ and －; chains
// leave them aside. Only a 竖式 is set out on paper in columns.
void LessonSettingsWindow::showShapeRules()
{
    const VerticalKind kind = vertical();
    const bool rules = shape_->currentIndex() == 0 || kind == VerticalKind::TwoDigitAddSubtract ||
                       kind == VerticalKind::ThreeDigitAddSubtract;
    carry_->setEnabled(rules);
    borrow_->setEnabled(rules);
    for (QWidget* paper : {paperLabel_, static_cast<QWidget*>(perPage_),
                           static_cast<QWidget*>(grid_), static_cast<QWidget*>(checkBox_)}) {
        paper->setEnabled(kind != VerticalKind::None);
    }
}

VerticalPaper LessonSettingsWindow::paper() const
{
    VerticalPaper shown;
    shown.grid = grid_->isChecked();
    shown.checkBox = checkBox_->isChecked();
    shown.perPage = VerticalPerPageChoices.at(static_cast<std::size_t>(perPage_->currentIndex()));
    return shown;
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

bool LessonSettingsWindow::mixed() const
{
    return presetParts_.size() > 1 && mixed_->isChecked();
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
        if (part.vertical != VerticalKind::None) {
            parts << QStringLiteral("竖式 %1 %2 题")
                         .arg(VerticalName(part.vertical))
                         .arg(part.problemCount);
            continue;
        }
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
    const int entry = preset_->itemData(index, EntryRole).toInt();
    const auto grade = static_cast<std::size_t>(entry - 1);
    const auto own = static_cast<std::size_t>(-entry - 1);
    if (entry > 0 && grade < GradePresets().size()) {
        applyPreset(GradePresets()[grade]);
    } else if (entry < 0 && own < own_.size()) {
        applyPreset(own_[own]);
    } else {
        dropPreset();
    }
}

void LessonSettingsWindow::applyPreset(const Preset& preset)
{
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
    remainderZero_->setChecked(first.lesson.remainderZero);
    shape_->setCurrentIndex(first.vertical != VerticalKind::None
                                ? ProblemShapeCount + static_cast<int>(first.vertical) - 1
                                : static_cast<int>(first.shape));
    applying_ = false;
    presetParts_ = preset.parts;
    presetNote_->setText(PresetNote(preset));
    mixed_->setEnabled(presetParts_.size() > 1);
    mixed_->setChecked(preset.mixed);
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
    mixed_->setChecked(false);
    mixed_->setEnabled(false);
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
        if (part.vertical != VerticalKind::None) {
            different += DifferentVerticalProblems(part);
            continue;
        }
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
