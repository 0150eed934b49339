#pragma once

// The worksheet window: the sheet in a fixed viewport with a vertical scroll bar, and print,
// recalculate and give up. Its timer runs the worksheet builder once per arming.

#include "core/Sheet.h"
#include "print/PrintResult.h"

#include <QWidget>
#include <optional>

class QFrame;
class QPushButton;
class QScrollBar;
class QTimer;

namespace sumvarl {

class PrintJobWatch;
class SheetPicture;

inline constexpr int SheetHeightTwips = 12815;

class frmDisplay final : public QWidget
{
    Q_OBJECT
public:
    // Creates the window in its design state and loads it. It deletes itself when closed.
    explicit frmDisplay(QWidget* parent = nullptr);

    void Form_Load();
    // The worksheet builder, on Picture1.
    void Timer1_Timer();
    void VScroll1_Change();
    // Print.
    void Command1_Click();
    // Give up.
    void Command2_Click();
    // Recalculate.
    void Command3_Click();

    // The sheet's context menu: print the answer key, save the worksheet or its answer key as
    // a PDF, practise on the screen, 今日练习. Opened by a right click, the Menu key or Shift+F10
    // on Picture1.
    void showSheetMenu(const QPoint& globalPos);
    // Qt's preview of the pages 打印 prints, and Qt's print dialog for them.
    void printPreview();
    void printTo();
    void printAnswers();
    void savePdf();
    void saveAnswersPdf();
    // 脱式: the sheet written out step by step and its key, one PDF.
    void saveWorkingPdf();
    // Opens a practice window on the problems the sheet shows.
    void practise();
    // 今日练习 for the last child chosen (asking where there is none) in a practice window.
    void practiseToday();

    // 0 means idle; any other value means one build after that many milliseconds.
    int Timer1Interval() const;
    void SetTimer1Interval(int milliseconds);

    // Picture1.Top in twips.
    int Picture1Top() const { return picture1Top_; }

signals:
    // A build has ended and its drawing is on the sheet.
    void worksheetBuilt(); // NOLINT(readability-identifier-naming): Qt's signal style

protected:
    void closeEvent(QCloseEvent* event) override;
    // The wheel over the sheet or its scroll bar.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetPicture1Top(int twips);
    void askAndSavePdf(bool answerKey, const QString& title);
    void reportDialogJob(const std::optional<PrintOutcome>& outcome, const QString& title);
    void scrollByWheel(int angleDelta);

    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QFrame* Picture2_ = nullptr;
    QScrollBar* VScroll1_ = nullptr;
    SheetPicture* Picture1_ = nullptr;
    // The sheet the table was last filled from, for practice.
    Sheet sheet_;
    QTimer* Timer1_ = nullptr;
    PrintJobWatch* printing_ = nullptr;
    int picture1Top_ = 0;
    bool building_ = false;
    bool closedDuringBuild_ = false;
    // The part of a wheel notch not yet scrolled (fine-grained wheels send fractions).
    int wheelRemainder_ = 0;
};

} // namespace sumvarl
