#pragma once

// 孩子: the children whose practice is kept. Add one with a name and a grade, rename, remove (after
// saying what goes with them), and set the grade and the time an answer may take to count as
// fluent (the grade's own by default: 6 秒 in 一、二年级, 3 秒 from 三年级 on).

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace sumvarl {

inline constexpr int MaxChildNameLength = 30;

class ChildrenWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit ChildrenWindow(QWidget* parent = nullptr);

    // 添加, 改名, 删除…: from the name, grade and time limit boxes, on the child chosen in the list.
    void addChild();
    void renameChild();
    void removeChild();

private:
    void fill(qint64 select);
    void showChosen();
    void setGrade();
    void setLimit();
    qint64 chosen() const;
    // The name typed, trimmed; empty with a message when it cannot be a child's name.
    QString checkedName(qint64 renaming);

    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* grade_ = nullptr;
    QSpinBox* limit_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace sumvarl
