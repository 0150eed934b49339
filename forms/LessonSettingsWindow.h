#pragma once

// 更多设置: what this week's lesson asks of the problems (carrying, borrowing, the times
// tables, remainders, the shape: one operation or a chain such as 8＋5－6), with the number of
// different problems the settings allow shown as they change. Start reads the lesson from here
// together with the settings window's boxes.

#include "core/Lesson.h"
#include "core/SheetSpec.h"

#include <QWidget>
#include <functional>

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

    // Counts again from the settings window's boxes and this window's controls.
    void updateCount();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();

    std::function<StartInputs()> mainInputs_;
    QComboBox* carry_ = nullptr;
    QComboBox* borrow_ = nullptr;
    QComboBox* tableFrom_ = nullptr;
    QComboBox* tableTo_ = nullptr;
    QCheckBox* remainder_ = nullptr;
    QComboBox* shape_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* refusal_ = nullptr;
};

} // namespace sumvarl
