#include "forms/PaperMarkingWindow.h"

#include "core/SheetCode.h"
#include "forms/ChildMemory.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "wording/HistoryMessages.h"
#include "wording/Messages.h"
#include "wording/ParentReports.h"
#include "worksheet/Marking.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace sumvarl {

namespace {

const QString Title = QStringLiteral("批改纸质练习");
constexpr int Columns = 4;
const QString MarkText = QStringLiteral("  ✗");

// What the parent typed, as the answer key writes it: a remainder division's two numbers may be
// typed apart by anything ("3 2", "3…2", "3,2").
QString AnswerAsKeyed(const model::Problem& problem, const QString& typed)
{
    QString text = typed.trimmed();
    if (!HasRemainder(problem)) {
        return text;
    }
    static const QRegularExpression numbers(QStringLiteral("^\\s*(\\d+)\\D+(\\d+)\\s*$"));
    const QRegularExpressionMatch m = numbers.match(text);
    return m.hasMatch() ? QString::fromStdU16String(JoinRemainder(m.captured(1).toStdU16String(),
                                                                  m.captured(2).toStdU16String()))
                        : text;
}

} // namespace

PaperMarkingWindow::PaperMarkingWindow(std::optional<qint64> child, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PaperMarkingWindow"));
    setWindowTitle(Title);
    setFont(FormFont());

    code_ = new QLineEdit(this);
    code_->setObjectName(QStringLiteral("SheetCode"));
    code_->setPlaceholderText(QStringLiteral("印在卷子右下角，例如 U234-567X"));
    code_->setMinimumWidth(260);
    auto* codeLabel = new QLabel(QStringLiteral("卷号(&J)："), this);
    codeLabel->setBuddy(code_);
    QPushButton* open = new PushButton(QStringLiteral("打开"), this);
    open->setObjectName(QStringLiteral("Open"));
    child_ = new QComboBox(this);
    child_->setObjectName(QStringLiteral("Child"));
    child_->setMinimumContentsLength(8);
    auto* childLabel = new QLabel(QStringLiteral("孩子："), this);
    childLabel->setBuddy(child_);
    note_ = new QLabel(QStringLiteral("输入卷子上的卷号，按回车。"), this);
    note_->setObjectName(QStringLiteral("Note"));
    note_->setWordWrap(true);

    grid_ = new QWidget;
    gridLayout_ = new QGridLayout(grid_);
    gridLayout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(grid_);
    scroll->setWidgetResizable(true);

    record_ = new PushButton(QStringLiteral("记录批改结果"), this);
    record_->setObjectName(QStringLiteral("Record"));
    record_->setEnabled(false);
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("Result"));
    QPushButton* close = new PushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("Close"));

    auto* top = new QHBoxLayout;
    top->addWidget(codeLabel);
    top->addWidget(code_);
    top->addWidget(open);
    top->addSpacing(24);
    top->addWidget(childLabel);
    top->addWidget(child_);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(record_);
    bottom->addWidget(result_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(note_);
    layout->addWidget(scroll, 1);
    layout->addLayout(bottom);

    connect(code_, &QLineEdit::returnPressed, this, &PaperMarkingWindow::openSheet);
    connect(open, &QPushButton::clicked, this, &PaperMarkingWindow::openSheet);
    connect(record_, &QPushButton::clicked, this, &PaperMarkingWindow::record);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // Return in an answer box moves on; it must not close the window through a default button.
    for (QPushButton* b : {open, record_, close}) {
        b->setAutoDefault(false);
    }

    const std::optional<qint64> last = child ? child : SharedHistory().LastChild();
    for (const history::Child& c : SharedHistory().Children()) {
        child_->addItem(c.name, c.id);
        if (last == c.id) {
            child_->setCurrentIndex(child_->count() - 1);
        }
    }
    resize(960, 620);
}

void PaperMarkingWindow::openSheet()
{
    const QString typed = code_->text().trimmed();
    const DecodedSheetCode read = DecodeSheetCode(typed.toStdU16String());
    if (read.error != SheetCodeError::None) {
        Hooks().messageBox(SheetCodeRefusalText(read.error, typed), Title);
        return;
    }
    if (read.recipe) {
        Sheet sheet = MakeSheet(*read.recipe);
        showSheet(std::move(sheet), std::nullopt, std::nullopt);
        return;
    }
    const std::optional<history::KeptPaper> paper = SharedHistory().PaperById(*read.keptSheet);
    if (!paper) {
        Hooks().messageBox(QStringLiteral("历史记录里没有卷号“%1”的卷子：它不是在这台电脑上为孩子"
                                          "出的，或者抄错了，请核对卷号")
                               .arg(typed),
                           Title);
        return;
    }
    if (paper->round) {
        Hooks().messageBox(
            QStringLiteral("卷号“%1”的卷子已经批改并记录过了，不再重复记录").arg(typed), Title);
        return;
    }
    showSheet(paper->sheet, paper->id, paper->child);
}

void PaperMarkingWindow::showSheet(Sheet sheet, std::optional<qint64> paper,
                                   std::optional<qint64> child)
{
    clearItems();
    sheet_ = std::move(sheet);
    paper_ = paper;
    if (child) {
        const int at = child_->findData(*child);
        if (at >= 0) {
            child_->setCurrentIndex(at);
        }
    }
    // A kept sheet was made for its child: its marks go to no one else.
    child_->setEnabled(!child.has_value());
    note_->setText(QStringLiteral("共 %1 题。点一下做错的题（再点一下取消），或者填上孩子写的答案；"
                                  "没有点也没有填的题算做对。")
                       .arg(sheet_.problems.size()));
    for (std::size_t i = 0; i < sheet_.problems.size(); ++i) {
        const int n = static_cast<int>(i);
        Item item;
        item.problem = new QPushButton(
            QStringLiteral("%1. %2").arg(n + 1).arg(PosedText(sheet_.problems[i])), grid_);
        item.problem->setObjectName(QStringLiteral("Problem%1").arg(n + 1));
        item.problem->setCheckable(true);
        // Return in an answer box must not press the problem last clicked.
        item.problem->setAutoDefault(false);
        // Room for the mark from the start, so that marking moves nothing.
        item.problem->setMinimumWidth(
            item.problem->fontMetrics().horizontalAdvance(item.problem->text() + MarkText) + 24);
        item.problem->setStyleSheet(
            QStringLiteral("QPushButton { text-align: left; padding: 2px 6px; }"
                           " QPushButton:checked { color: #b00000; background: #ffe4e4; }"));
        item.answer = new QLineEdit(grid_);
        item.answer->setObjectName(QStringLiteral("Answer%1").arg(n + 1));
        item.answer->setMaximumWidth(90);
        item.answer->setAccessibleName(QStringLiteral("第 %1 题孩子写的答案").arg(n + 1));
        connect(item.problem, &QPushButton::toggled, this,
                [button = item.problem] { showMark(*button); });
        connect(item.answer, &QLineEdit::editingFinished, this, [this, i] { markTyped(i); });
        // Return goes on to the next answer, as on the practice sheet.
        connect(item.answer, &QLineEdit::returnPressed, this, [this, i] {
            if (i + 1 < items_.size()) {
                items_[i + 1].answer->setFocus();
            } else {
                record_->setFocus();
            }
        });
        gridLayout_->addWidget(item.problem, n / Columns, (n % Columns) * 2);
        gridLayout_->addWidget(item.answer, n / Columns, (n % Columns) * 2 + 1);
        // Shown now rather than by the layout's queued call, so that the first box takes the
        // focus before the next key arrives.
        item.problem->show();
        item.answer->show();
        items_.push_back(item);
    }
    record_->setEnabled(!items_.empty());
    result_->clear();
    if (!items_.empty()) {
        items_.front().answer->setFocus();
    }
}

void PaperMarkingWindow::clearItems()
{
    for (const Item& item : items_) {
        delete item.problem;
        delete item.answer;
    }
    items_.clear();
}

void PaperMarkingWindow::showMark(QPushButton& problem)
{
    const QString text = problem.text();
    if (problem.isChecked() && !text.endsWith(MarkText)) {
        problem.setText(text + MarkText);
    } else if (!problem.isChecked() && text.endsWith(MarkText)) {
        problem.setText(text.chopped(MarkText.size()));
    }
}

// A typed answer marks its problem; the parent may still click to overrule it.
void PaperMarkingWindow::markTyped(std::size_t index)
{
    const Item& item = items_[index];
    const QString typed = AnswerAsKeyed(sheet_.problems[index], item.answer->text());
    if (!typed.isEmpty()) {
        item.problem->setChecked(!IsRightAnswer(sheet_.problems[index], typed.toStdU16String()));
    }
}

void PaperMarkingWindow::record()
{
    const QVariant child = child_->currentData();
    if (!child.isValid()) {
        Hooks().messageBox(QStringLiteral("先在“孩子”窗口里添加孩子，再批改"), Title);
        return;
    }
    const QDateTime now = Hooks().now();
    std::vector<history::GivenAnswer> answers;
    const std::vector<int> counts = PartCounts(sheet_.recipe);
    std::size_t part = 0;
    int leftInPart = counts.empty() ? 0 : counts.front();
    int wrong = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        while (leftInPart == 0 && part + 1 < counts.size()) {
            leftInPart = counts[++part];
        }
        --leftInPart;
        const model::Problem& problem = sheet_.problems[i];
        const QString typed = AnswerAsKeyed(problem, items_[i].answer->text());
        const bool right = !items_[i].problem->isChecked();
        wrong += right ? 0 : 1;
        // An answer not typed and not clicked was right on paper: the key's answer stands for it.
        const QString given = !typed.isEmpty() ? typed
                              : right          ? QString::fromStdU16String(RightAnswer(problem))
                                               : QString();
        const Lesson lesson = part < sheet_.recipe.parts.size() && !sheet_.recipe.mixed
                                  ? sheet_.recipe.parts[part].lesson
                                  : Lesson{};
        answers.push_back({problem, lesson, given, right, std::nullopt, now});
    }
    const history::WriteResult kept =
        SharedHistory().RecordPaper(child.toLongLong(), sheet_, answers, now, paper_);
    if (!kept.Ok()) {
        Hooks().messageBox(PaperWriteText(kept), Title);
        return;
    }
    const int total = static_cast<int>(answers.size());
    result_->setText(QStringLiteral("已记录给%1：对 %2 题，错 %3 题，得分 %4。")
                         .arg(child_->currentText())
                         .arg(total - wrong)
                         .arg(wrong)
                         .arg(Score(total - wrong, total)));
    for (const Item& item : items_) {
        item.problem->setEnabled(false);
        item.answer->setReadOnly(true);
    }
    record_->setEnabled(false);
    child_->setEnabled(false);
}

} // namespace sumvarl
