#pragma once

// The settings window: which operations, their weights, the fill-in-the-blank share, the
// number range and the number of problems. Start turns the boxes into the settings in Math
// and opens the worksheet window; Exit ends the program.

#include <QPointer>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;

namespace sumvarl {

class frmDisplay;
class LessonSettingsWindow;
struct Refusal;
struct StartInputs;

class frmMain final : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // A tick box and its text box change together: ticked means the box can be edited.
    void Check1_Click(int index);
    // Start.
    void Command1_Click();
    // Exit.
    void Command2_Click();

    // The worksheet window while it is loaded, else null.
    frmDisplay* Display() const;

    // 更多设置: opens the lesson window (made on first use, then kept with its choices).
    void openLessonSettings();
    // The lesson window once it has been opened, else null.
    LessonSettingsWindow* lessonSettings() const;

protected:
    // Right click, the Menu key or Shift+F10 anywhere a control does not take it: 更多设置….
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateControls();
    void SetFocusOrder();
    StartInputs ReadControls() const;
    // Puts a preset's settings into the boxes (更多设置's 年级与单元).
    void SetControls(const StartInputs& in);
    void ShowDisplay();
    void createLessonSettingsAccess();

    std::array<QCheckBox*, 5> Check1_{};
    std::array<QLineEdit*, 5> Text1_{};
    QComboBox* Combo1_ = nullptr;
    QComboBox* Combo2_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPointer<frmDisplay> display_;
    QAction* lessonSettingsAction_ = nullptr;
    LessonSettingsWindow* lessonSettings_ = nullptr;
};

// Start's refusal as the window words it: "加法、减法的占用比例之和超出了 -32768 到 32767 的范围，
// 请改正后再按“开始”。"
QString RefusalMessage(const Refusal& refusal);

// Centres a top-level window on the screen it is on.
void CenterOnScreen(QWidget& window);

// Places a dialog within the screen's free area beside its owner (right, left, below, above),
// or else just above or below `keepClear`, a control of the owner it must not cover; centred
// when nothing fits.
void PlaceBeside(QWidget& dialog, const QWidget& owner, const QWidget& keepClear);

} // namespace sumvarl
