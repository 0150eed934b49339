#pragma once

// 孩子: the children whose practice is kept. The boxes show the child chosen in the list: 添加
// makes a new child of what they hold, 保存修改 gives it to the chosen child (name, grade and the
// time an answer may take to count as fluent, the grade's own by default: 6 秒 in 一、二年级, 3 秒
// from 三年级 on), 删除… removes the chosen child after saying what goes with them.

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace sumvarl {

class PrintJobWatch;

inline constexpr int MaxChildNameLength = 30;

class ChildrenWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit ChildrenWindow(QWidget* parent = nullptr);

    void addChild();
    void saveChild();
    void removeChild();
    // 导出答案…: the chosen child's answers as CSV; 备份全部记录…: a copy of the whole history.
    void exportAnswers();
    // 本周报告…: this week's report as a PDF.
    void saveWeeklyReport();
    // 打印本周报告: the same page on the default printer.
    void printWeeklyReport();
    void backUp();
    // 恢复备份…: a backup in place of the whole history, the history as it was kept aside.
    void restoreBackup();

private:
    void fill(qint64 select);
    void showChosen();
    void showGradeLimit();
    std::optional<int> limitMs() const;
    qint64 chosen() const;
    // The name typed, trimmed; empty with a message when it cannot be a child's name.
    QString checkedName(qint64 renaming);

    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* grade_ = nullptr;
    QSpinBox* limit_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* grid_ = nullptr;
    QPushButton* progress_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* report_ = nullptr;
    QPushButton* printReport_ = nullptr;
    PrintJobWatch* reportPrinting_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace sumvarl
