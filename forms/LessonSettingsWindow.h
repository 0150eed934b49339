#pragma once

// 更多设置: what this week's lesson asks of the problems (carrying, borrowing, the times
// tables, remainders, the shape: one operation or a chain such as 8＋5－6), with the number of
// different problems the settings allow shown as they change. Start reads the lesson from here
// together with the settings window's boxes.

#include "core/Lesson.h"
#include "core/SheetSpec.h"
#include "wording/Presets.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;

namespace sumvarl {

struct StartInputs;

class LessonSettingsWindow final : public QWidget
{
    Q_OBJECT
public:
    // mainInputs gives the settings window's boxes as they stand, for the count.
    explicit LessonSettingsWindow(std::function<StartInputs()> mainInputs,
                                  QWidget* owner = nullptr);

    // The lesson as the controls show it.
    sumvarl::Lesson lesson() const;
    // The problems' shape chosen under 题型: one operation or a chain.
    ProblemShape shape() const;
    // The kind of 竖式 chosen under 题型, whose entries follow the shapes'; None for a shape.
    VerticalKind vertical() const;
    // How a 竖式 sheet is set out on paper, as 竖式的纸 shows it.
    VerticalPaper paper() const;

    // Counts again from the settings window's boxes and this window's controls.
    void updateCount();

    // 年级与单元: a chosen preset puts its settings into the settings window through this.
    void setMainApplier(std::function<void(const StartInputs&)> apply);
    // The settings window's boxes changed: a preset no longer stands as chosen; counts again.
    void mainSettingsChanged();
    // The parts of the preset chosen, while every control still shows it; else empty.
    std::vector<PartSpec> presetParts() const;
    // 各部分的题混在一起: the parts' problems shuffled together (only where parts stand).
    bool mixed() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void createPaperControls();
    void showShapeRules();
    void createOwnPresetControls();
    void fillPresetList();
    void choosePreset(int index);
    void applyPreset(const Preset& preset);
    void dropPreset();
    void updateOwnButtons();
    // The own preset chosen in 年级与单元, or -1.
    int chosenOwn() const;
    void selectOwn(int index);
    // The settings both windows show, as a preset without a name; none where the settings
    // window holds a value Start would refuse (the message is shown).
    std::optional<Preset> presetOfControls();
    // Writes these as the own presets; on success they are the list's.
    bool storeOwn(std::vector<Preset> presets);
    void saveOwnPreset();
    void renameOwnPreset();
    void deleteOwnPreset();
    void exportOwnPresets();
    void importOwnPresets();

    std::function<StartInputs()> mainInputs_;
    QComboBox* carry_ = nullptr;
    QComboBox* borrow_ = nullptr;
    QComboBox* tableFrom_ = nullptr;
    QComboBox* tableTo_ = nullptr;
    QCheckBox* remainder_ = nullptr;
    QCheckBox* remainderZero_ = nullptr;
    QComboBox* shape_ = nullptr;
    QWidget* paperLabel_ = nullptr;
    QComboBox* perPage_ = nullptr;
    QCheckBox* grid_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
    QComboBox* preset_ = nullptr;
    QLabel* presetNote_ = nullptr;
    QCheckBox* mixed_ = nullptr;
    QWidget* renameOwn_ = nullptr;
    QWidget* deleteOwn_ = nullptr;
    QWidget* exportOwn_ = nullptr;
    std::vector<Preset> own_;
    QString ownPath_;
    // False where the file could be neither read nor set aside: it is not written over.
    bool ownWritable_ = true;
    std::function<void(const StartInputs&)> applyToMain_;
    std::vector<PartSpec> presetParts_;
    bool applying_ = false; // a preset is being put into the controls
    QLabel* count_ = nullptr;
    QLabel* refusal_ = nullptr;
};

} // namespace sumvarl
