#pragma once

// 错题本: the facts a child got wrong and has not yet made fluent again, each with how often it
// was wrong, the last wrong answers, when it was last met and when it comes back. An item can be
// taken out (a typing slip). A table model over the store's list, so ten thousand items cost
// ten thousand rows of data, not ten thousand widgets.

#include "history/HistoryStore.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QWidget>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace sumvarl {

// "12＋（ ）＝17": the problem as the sheet writes it, the open place as （ ）.
QString BookProblemText(const model::Problem& problem);

class BookModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column : std::int8_t { Problem, Wrong, LastWrong, LastSeen, Due, Columns };

    explicit BookModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setItems(std::vector<history::BookItem> items, const QDate& today);
    const history::BookItem* itemAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<history::BookItem> items_;
    QDate today_;
};

class BookWindow final : public QWidget
{
    Q_OBJECT
public:
    // The book of child, or of the last child chosen. The window deletes itself when closed.
    explicit BookWindow(std::optional<qint64> child = std::nullopt, QWidget* parent = nullptr);

    // 删除这一条: the chosen item out of the book, after asking.
    void removeItem();

private:
    void fillChildren(std::optional<qint64> select);
    void showBook();

    QComboBox* child_ = nullptr;
    QTableView* table_ = nullptr;
    BookModel* model_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace sumvarl
