#include "forms/BookWindow.h"

#include "forms/ChildMemory.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "wording/HistoryMessages.h"
#include "wording/ParentReports.h"
#include "wording/Text.h"
#include "worksheet/TableRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace sumvarl {

namespace {

const QString Title = QStringLiteral("错题本");

} // namespace

QString BookProblemText(const model::Problem& problem)
{
    return PosedText(problem);
}

void BookModel::setItems(std::vector<history::BookItem> items, const QDate& today)
{
    beginResetModel();
    items_ = std::move(items);
    today_ = today;
    endResetModel();
}

const history::BookItem* BookModel::itemAt(int row) const
{
    return row >= 0 && row < rowCount() ? &items_[static_cast<std::size_t>(row)] : nullptr;
}

int BookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int BookModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant BookModel::data(const QModelIndex& index, int role) const
{
    const history::BookItem* item = itemAt(index.row());
    if (item == nullptr) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return index.column() == Wrong ? QVariant(Qt::AlignCenter) : QVariant();
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case Problem:
        return BookProblemText(item->fact);
    case Wrong:
        return QStringLiteral("%1 次").arg(item->wrong);
    case LastWrong:
        return item->lastWrong.join(QStringLiteral("，"));
    case LastSeen:
        return item->lastSeen.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Due:
        return item->due ? DueText(*item->due, today_) : QString();
    default:
        return {};
    }
}

QVariant BookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Problem:
        return QStringLiteral("题目");
    case Wrong:
        return QStringLiteral("错了");
    case LastWrong:
        return QStringLiteral("最近的错误答案");
    case LastSeen:
        return QStringLiteral("最近一次");
    case Due:
        return QStringLiteral("下次复习");
    default:
        return {};
    }
}

BookWindow::BookWindow(std::optional<qint64> child, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BookWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Title);
    setFont(FormFont());

    child_ = new QComboBox(this);
    child_->setObjectName(QStringLiteral("Child"));
    child_->setMinimumContentsLength(8);
    auto* label = new QLabel(QStringLiteral("孩子："), this);
    label->setBuddy(child_);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    model_ = new BookModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("Items"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured over all rows.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] :
         {std::pair{BookModel::Problem, 200}, std::pair{BookModel::Wrong, 80},
          std::pair{BookModel::LastWrong, 200}, std::pair{BookModel::LastSeen, 170}}) {
        table_->setColumnWidth(column, width);
    }
    remove_ = new PushButton(QStringLiteral("删除这一条"), this);
    remove_->setObjectName(QStringLiteral("RemoveItem"));
    auto* close = new PushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("Close"));

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(child_);
    top->addWidget(summary_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(child_, &QComboBox::currentIndexChanged, this, &BookWindow::showBook);
    connect(remove_, &QPushButton::clicked, this, &BookWindow::removeItem);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    fillChildren(child ? child : SharedHistory().LastChild());
    resize(900, 560);
}

void BookWindow::fillChildren(std::optional<qint64> select)
{
    const QSignalBlocker quiet(child_);
    for (const history::Child& c : SharedHistory().Children()) {
        child_->addItem(c.name, c.id);
        if (select == c.id) {
            child_->setCurrentIndex(child_->count() - 1);
        }
    }
    showBook();
}

void BookWindow::showBook()
{
    const QVariant id = child_->currentData();
    std::vector<history::BookItem> items =
        id.isValid() ? SharedHistory().Book(id.toLongLong()) : std::vector<history::BookItem>{};
    const QDate today = Hooks().now().date();
    int due = 0;
    for (const history::BookItem& item : items) {
        due += item.due && *item.due <= today ? 1 : 0;
    }
    summary_->setText(
        id.isValid() ? QStringLiteral("共 %1 道题，今天要复习 %2 道。").arg(items.size()).arg(due)
                     : QStringLiteral("还没有孩子。"));
    model_->setItems(std::move(items), today);
    remove_->setEnabled(model_->rowCount() > 0);
    if (model_->rowCount() > 0) {
        table_->selectRow(0);
    }
}

void BookWindow::removeItem()
{
    const QModelIndex current = table_->currentIndex();
    const history::BookItem* item = model_->itemAt(current.row());
    if (item == nullptr) {
        return;
    }
    const QString question = QStringLiteral("把“%1”从错题本里删除吗？（例如只是按错了键）")
                                 .arg(BookProblemText(item->fact));
    if (!Hooks().confirm(question, Title, QStringLiteral("删除"), QStringLiteral("不删除"))) {
        return;
    }
    const int row = current.row();
    const history::WriteResult removed =
        SharedHistory().RemoveFromBook(child_->currentData().toLongLong(), item->factId);
    if (!removed.Ok()) {
        Hooks().messageBox(ChildWriteText(removed, child_->currentText()), Title);
    }
    showBook();
    table_->selectRow(std::min(row, model_->rowCount() - 1));
}

} // namespace sumvarl
