#pragma once

// The practice window: the child does the worksheet on the screen, timed from the first key, and
// hands it in to be marked; the wrong problems can be practised again until all are right, and
// the first round's marked sheet printed or saved. It holds its own copy of the problems, so the
// worksheet window may recalculate or close while a round goes on.

#include "core/Sheet.h"
#include "history/HistoryStore.h"
#include "print/MarkedWorksheet.h"
#include "worksheet/Marking.h"

#include <QDateTime>
#include <QWidget>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;

namespace sumvarl {

class PrintJobWatch;
class RoundRecorder;

inline constexpr int PracticeFontPoints = 18;
inline constexpr int PracticeSmallestPoints = 16;
inline constexpr int PracticeLargestPoints = 40;

class PracticeWindow final : public QWidget
{
    Q_OBJECT
public:
    // A round of all the problems, in their order. The window deletes itself when closed.
    // A Today round is kept for child, who is shown and cannot be changed; a Practice round for
    // the child chosen at the top of the window, the last one chosen at first.
    explicit PracticeWindow(const Sheet& sheet, QWidget* parent = nullptr,
                            history::RoundKind kind = history::RoundKind::Practice,
                            std::optional<qint64> child = std::nullopt);
    ~PracticeWindow() override;

    // 交卷: stop the clock and mark every answer.
    void handIn();
    // 再练错题: a new round of the problems still wrong.
    void practiseMistakes();
    // 打印成绩 and 成绩保存为 PDF…: the first round marked on the printed worksheet.
    void printMarked();
    void saveMarkedPdf();

    // 今日练习 for the chosen child, in a new window; asks for a child where none is chosen.
    void openTodaysRound();
    // The 错题卷 of a 今日练习 round with its answer key, on the default printer.
    void printReviewSheet();
    // The child the answers are kept for; none for （不记录）.
    std::optional<qint64> child() const;

    // The problems' size in points (Ctrl+plus, Ctrl+minus).
    int fontPoints() const { return fontPoints_; }
    void setFontPoints(int points);

    // Problems to a row: as many as the width holds, four where there is room.
    int columns() const { return columns_; }

    // The first round as handed in; empty before.
    const std::optional<MarkedRound>& firstRound() const { return first_; }

protected:
    // Return, Enter and the arrow keys in the answer boxes.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A round with answers in it is not thrown away without asking.
    void closeEvent(QCloseEvent* event) override;
    // The first show sizes and places the window within the screen's free area.
    void showEvent(QShowEvent* event) override;

private:
    struct Item
    {
        std::size_t problem = 0; // index into problems_
        QLineEdit* box = nullptr;
        QLineEdit* remainder = nullptr; // a remainder division's second box
        QLabel* mark = nullptr;
        QWidget* cell = nullptr; // the problem's text, its boxes and its mark
    };

    void createControls();
    void startRound(const std::vector<std::size_t>& problems);
    void startClock();
    int elapsedSeconds() const;
    void showClock();
    void moveTo(int index);
    void fitToScreen();
    // Lays the problems out in as many columns as the width holds.
    void reflow();
    // The focused problem wholly in view, its text with it.
    void showFocused();
    void showProblemOf(QWidget* focused);
    // The problems of the round whose box is still empty.
    int unanswered() const;
    bool roundUnderWay() const;
    void showMarks(const std::vector<std::u16string>& answers);
    QLineEdit* makeBox(QWidget* cell, const QString& name, bool negativeAllowed);
    void setBoxState(QLineEdit& box, const char* state);
    // The child's memory: the chooser, the windows it opens, and the answers kept as given.
    void addMemoryControls(QHBoxLayout& top);
    void fillChildren();
    void chooseChild();
    void noteFocus(QWidget* old, QWidget* now);
    const Item* itemOf(const QWidget* box) const;
    QString answerOf(const Item& item) const;

    std::vector<model::Problem> problems_;
    bool negativeAllowed_ = false;
    int answerDigits_ = 0; // of the longest answer, a quotient without its remainder
    std::vector<Item> items_;
    // Problems not yet answered right, after the last round handed in.
    std::vector<std::size_t> wrong_;
    std::optional<MarkedRound> first_;
    int rounds_ = 0;
    int fontPoints_ = PracticeFontPoints;
    int columns_ = 0;
    bool placed_ = false;

    std::optional<QDateTime> started_;
    std::optional<int> stoppedSeconds_;
    bool handedIn_ = false;

    QLabel* clock_ = nullptr;
    QLabel* result_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* sheet_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QPushButton* handIn_ = nullptr;
    QPushButton* retry_ = nullptr;
    QPushButton* printMarked_ = nullptr;
    QPushButton* saveMarkedPdf_ = nullptr;
    QTimer* tick_ = nullptr;
    PrintJobWatch* printing_ = nullptr;

    SheetSpec recipe_;
    history::RoundKind kind_;
    std::optional<qint64> todaysChild_;
    std::optional<qint64> reviewPaper_; // the 错题卷 as kept for the child, once printed
    QComboBox* childBox_ = nullptr;
    RoundRecorder* recorder_ = nullptr;
    PrintJobWatch* reviewPrinting_ = nullptr;
};

} // namespace sumvarl
