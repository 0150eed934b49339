#pragma once

// 批改纸质练习: a sheet done on paper is marked on the screen. The 卷号 printed on it brings back
// the very same problems (a kept sheet's from the history, any other from its recipe); the parent
// clicks the wrong ones or types what the child wrote, and the marks are kept for the child like
// a round on the screen, without times.

#include "core/Sheet.h"

#include <QDialog>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sumvarl {

class PaperMarkingWindow final : public QDialog
{
    Q_OBJECT
public:
    // child: whose marks a sheet of a recipe is for at first (a kept sheet knows its child).
    explicit PaperMarkingWindow(std::optional<qint64> child = std::nullopt,
                                QWidget* parent = nullptr);

    // Reads the 卷号 typed and shows its sheet; tells the user where it reads as none.
    void openSheet();
    // Keeps the marks for the chosen child.
    void record();

    const Sheet& sheet() const { return sheet_; }

private:
    struct Item
    {
        QPushButton* problem = nullptr; // checked: marked wrong
        QLineEdit* answer = nullptr;
    };

    void showSheet(Sheet sheet, std::optional<qint64> paper, std::optional<qint64> child);
    void clearItems();
    void markTyped(std::size_t index);
    static void showMark(QPushButton& problem);

    Sheet sheet_;
    std::optional<qint64> paper_; // the kept sheet's number
    std::vector<Item> items_;

    QLineEdit* code_ = nullptr;
    QComboBox* child_ = nullptr;
    QLabel* note_ = nullptr;
    QWidget* grid_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
    QPushButton* record_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace sumvarl
