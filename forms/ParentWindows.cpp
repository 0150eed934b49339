#include "forms/ParentWindows.h"

#include "forms/BookWindow.h"
#include "forms/ChildMemory.h"
#include "forms/ClassicControls.h"
#include "forms/FormHooks.h"
#include "print/MarkedWorksheet.h"
#include "print/PrintedWorksheet.h"
#include "wording/Messages.h"
#include "wording/Text.h"
#include "worksheet/Marking.h"
#include "worksheet/TableRow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

namespace sumvarl {

namespace {

struct GridLook
{
    QString name; // above the grid
    QString sign; // in its corner
};

const std::array<GridLook, 4> Grids{{
    {QStringLiteral("加法（a＋b）"), QStringLiteral("＋")},
    {QStringLiteral("减法（(a＋b)－b＝a）"), QStringLiteral("－")},
    {QStringLiteral("乘法（a×b）"), QStringLiteral("×")},
    {QStringLiteral("除法（(a×b)÷b＝a）"), QStringLiteral("÷")},
}};

// Each state in a word of its own as well as a colour.
QString StateWord(history::CellState s)
{
    switch (s) {
    case history::CellState::Unseen:
        return {};
    case history::CellState::Practising:
        return QStringLiteral("练");
    case history::CellState::Fluent:
        return QStringLiteral("熟");
    case history::CellState::InBook:
        return QStringLiteral("错");
    }
    return {};
}

QColor StateColour(history::CellState s)
{
    switch (s) {
    case history::CellState::Unseen:
        return {Qt::white};
    case history::CellState::Practising:
        return {0xff, 0xf1, 0xb8};
    case history::CellState::Fluent:
        return {0xc8, 0xec, 0xc8};
    case history::CellState::InBook:
        return {0xf8, 0xc8, 0xc8};
    }
    return {Qt::white};
}

QString ChildName(qint64 child)
{
    const std::optional<history::Child> c = SharedHistory().ChildById(child);
    return c ? c->name : QString();
}

QTableWidget* GridTable(const history::FactGrid& grid, const GridLook& look, QWidget* parent)
{
    auto* table = new QTableWidget(10, 10, parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList numbers;
    for (int n = 0; n <= 9; ++n) {
        numbers << QString::number(n);
    }
    table->setHorizontalHeaderLabels(numbers);
    table->setVerticalHeaderLabels(numbers);
    table->setCornerButtonEnabled(false);
    for (QHeaderView* header : {table->horizontalHeader(), table->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultSectionSize(26);
        header->setMinimumSectionSize(20);
    }
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            const history::CellState s =
                grid.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(StateWord(s));
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(StateColour(s));
            item->setToolTip(QStringLiteral("%1 %2 %3").arg(r).arg(look.sign).arg(c));
            table->setItem(r, c, item);
        }
    }
    const int side = 26 * 10 + table->verticalHeader()->sizeHint().width() + 4;
    table->setFixedSize(side, 26 * 10 + table->horizontalHeader()->sizeHint().height() + 4);
    return table;
}

QString OutsideText(const history::FactGrids& grids)
{
    QStringList parts;
    const std::array<QString, 4> names{QStringLiteral("加法"), QStringLiteral("减法"),
                                       QStringLiteral("乘法"), QStringLiteral("除法")};
    for (std::size_t op = 0; op < 4; ++op) {
        const history::OutsideCount& o = grids.outside[op];
        if (o.seen > 0) {
            parts << QStringLiteral("%1 %2 道（熟练 %3，在错题本 %4）")
                         .arg(names[op])
                         .arg(o.seen)
                         .arg(o.fluent)
                         .arg(o.inBook);
        }
    }
    return parts.isEmpty() ? QString()
                           : QStringLiteral("表外的题：") + parts.join(QStringLiteral("；"));
}

QString AnswerLine(const history::KeptAnswer& a)
{
    const QString seconds =
        a.ms ? QStringLiteral("　%1 秒").arg(*a.ms / 1000.0, 0, 'f', 1) : QStringLiteral("　纸上");
    return QStringLiteral("%1　%2　答 %3 %4%5")
        .arg(a.at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             ToQString(TextsOf(a.fact).key), a.given, ToQString(a.right ? RightMark : WrongMark),
             seconds);
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n'))) {
        return text;
    }
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Every number of a fact, for the cache of its texts.
using FactKey = std::array<int, 13>;
FactKey KeyOf(const model::Problem& f)
{
    return {f.operands[0],
            f.operands[1],
            f.operands[2],
            f.operands[3],
            static_cast<int>(f.operators[0]),
            static_cast<int>(f.operators[1]),
            static_cast<int>(f.operators[2]),
            f.operandCount,
            static_cast<int>(f.brackets),
            static_cast<int>(f.open),
            f.withRemainder ? 1 : 0,
            f.result,
            f.remainder};
}

QString KindText(history::RoundKind kind)
{
    switch (kind) {
    case history::RoundKind::Practice:
        return QStringLiteral("练习");
    case history::RoundKind::Today:
        return QStringLiteral("今日练习");
    case history::RoundKind::Paper:
        return QStringLiteral("纸上");
    }
    return {};
}

} // namespace

SaveOutcome ExportAnswersCsv(qint64 child, const QString& path)
{
    if (!IsReplaceableTarget(path)) {
        return {SaveResult::NotAFile, {}};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {SaveResult::CannotCreate, file.errorString()};
    }
    QByteArray out("\xEF\xBB\xBF");
    out += QStringLiteral("时间,轮次,来源,题目,正确答案,孩子的答案,对错,用时（秒）\r\n").toUtf8();
    // The line is put together in UTF-8 from pieces made once: each fact's texts (a year holds
    // hundreds of thousands of answers to a few hundred facts), the kinds, and each minute's time
    // (answers come in time order, several a minute; a zone's offset is whole minutes, so the
    // seconds are the same in every zone).
    std::map<FactKey, QByteArray> texts;
    const std::array<QByteArray, 3> kinds{KindText(history::RoundKind::Practice).toUtf8(),
                                          KindText(history::RoundKind::Today).toUtf8(),
                                          KindText(history::RoundKind::Paper).toUtf8()};
    const QByteArray right = QStringLiteral(",对,").toUtf8();
    const QByteArray wrong = QStringLiteral(",错,").toUtf8();
    qint64 minute = -1;
    QByteArray minuteText;
    history::ForEachAnswer(SharedHistory(), child, [&](const history::KeptAnswer& a) {
        auto known = texts.find(KeyOf(a.fact));
        if (known == texts.end()) {
            const QString text =
                BookProblemText(a.fact) + QLatin1Char(',') + ToQString(RightAnswer(a.fact));
            known = texts.emplace(KeyOf(a.fact), text.toUtf8()).first;
        }
        const qint64 ms = a.at.toMSecsSinceEpoch();
        if (ms / 60000 != minute) {
            minute = ms / 60000;
            minuteText = a.at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:")).toUtf8();
        }
        const qint64 second = ms / 1000 % 60;
        out += minuteText;
        out += static_cast<char>('0' + second / 10);
        out += static_cast<char>('0' + second % 10);
        out += ',';
        out += QByteArray::number(a.round);
        out += ',';
        const auto kind = static_cast<std::size_t>(a.kind);
        out += kind < kinds.size() ? kinds.at(kind) : QByteArray();
        out += ',';
        out += known->second;
        out += ',';
        out += CsvField(a.given).toUtf8();
        out += a.right ? right : wrong;
        if (a.ms) {
            out += QByteArray::number(*a.ms / 1000.0, 'f', 1);
        }
        out += "\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    });
    file.write(out);
    if (!file.commit()) {
        return {SaveResult::NotWritten, file.errorString()};
    }
    return {SaveResult::Saved, {}};
}

FactGridWindow::FactGridWindow(qint64 child, QWidget* parent) : QDialog(parent), child_(child)
{
    setObjectName(QStringLiteral("FactGridWindow"));
    setWindowTitle(QStringLiteral("掌握情况"));
    setFont(FormFont());
    const history::FactGrids grids = history::GridsOf(SharedHistory(), child);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("孩子：%1").arg(ChildName(child)), this));
    auto* legend =
        new QLabel(QStringLiteral("空白＝还没做过　练＝练习中　熟＝熟练　错＝在错题本里。"
                                  "点一格（或按回车）看这道题的每次答案。"),
                   this);
    legend->setWordWrap(true);
    layout->addWidget(legend);
    auto* grid = new QGridLayout;
    for (std::size_t op = 0; op < 4; ++op) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(Grids[op].name, this));
        QTableWidget* table = GridTable(grids.grids[op], Grids[op], this);
        table->setObjectName(QStringLiteral("Grid%1").arg(op));
        box->addWidget(table);
        grid->addLayout(box, static_cast<int>(op / 2), static_cast<int>(op % 2));
        const auto operation = static_cast<Operation>(op);
        connect(table, &QTableWidget::cellActivated, this,
                [this, operation](int r, int c) { showCell(operation, r, c); });
        connect(table, &QTableWidget::cellClicked, this,
                [this, operation](int r, int c) { showCell(operation, r, c); });
    }
    layout->addLayout(grid);
    auto* outside = new QLabel(OutsideText(grids), this);
    outside->setObjectName(QStringLiteral("Outside"));
    outside->setWordWrap(true);
    layout->addWidget(outside);
    cellTitle_ = new QLabel(this);
    layout->addWidget(cellTitle_);
    answers_ = new QListWidget(this);
    answers_->setObjectName(QStringLiteral("Answers"));
    answers_->setMinimumHeight(120);
    layout->addWidget(answers_, 1);
}

void FactGridWindow::showCell(Operation operation, int row, int column)
{
    answers_->clear();
    const std::vector<history::KeptAnswer> kept =
        history::AnswersOfCell(SharedHistory(), child_, operation, row, column);
    cellTitle_->setText(kept.empty()
                            ? QStringLiteral("这道题还没做过。")
                            : QStringLiteral("共 %1 次答案（最新的在前）：").arg(kept.size()));
    for (const history::KeptAnswer& a : kept) {
        answers_->addItem(AnswerLine(a));
    }
}

ProgressWindow::ProgressWindow(qint64 child, QWidget* parent) : QDialog(parent), child_(child)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("进步"));
    setFont(FormFont());
    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("Period"));
    for (int days : {7, 30, 365}) {
        period_->addItem(QStringLiteral("最近 %1 天").arg(days), days);
    }
    measure_ = new QComboBox(this);
    measure_->setObjectName(QStringLiteral("Measure"));
    measure_->addItem(QStringLiteral("每分钟答对几题"));
    measure_->addItem(QStringLiteral("正确率"));
    auto* save = new PushButton(QStringLiteral("保存为 PDF…"), this);
    save->setObjectName(QStringLiteral("SavePdf"));
    save->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("孩子：%1").arg(ChildName(child)), this));
    top->addStretch();
    top->addWidget(period_);
    top->addWidget(measure_);
    top->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    chartArea_ = new QWidget(this);
    chartArea_->setMinimumSize(560, 320);
    layout->addWidget(chartArea_, 1);
    layout->addWidget(new QLabel(QStringLiteral("没有练习的日子是空着的，不算零。"), this));

    connect(period_, &QComboBox::currentIndexChanged, this, &ProgressWindow::refresh);
    connect(measure_, &QComboBox::currentIndexChanged, this, &ProgressWindow::refresh);
    connect(save, &QPushButton::clicked, this, &ProgressWindow::savePdf);
    refresh();
    resize(760, 480);
}

void ProgressWindow::refresh()
{
    const int days = period_->currentData().toInt();
    const QDate last = Hooks().now().date();
    const QDate first = last.addDays(1 - days);
    picture_ = ProgressPicture(history::ProgressByDay(SharedHistory(), child_, first, last), first,
                               days, static_cast<ProgressMeasure>(measure_->currentIndex()));
    update();
}

void ProgressWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(chartArea_->geometry(), Qt::white);
    DrawChart(painter, QRectF(chartArea_->geometry()).adjusted(8, 8, -8, -8), picture_);
}

void ProgressWindow::savePdf()
{
    const QString caption = QStringLiteral("保存为 PDF");
    const QString path =
        Hooks().saveFileName(caption, SuggestedPdfPath(QStringLiteral("进步-") + ChildName(child_),
                                                       Hooks().now().date()));
    if (path.isEmpty()) {
        return;
    }
    // The chart across the top half of an A4 page, in a face the size of the window's.
    const ChartPicture chart = picture_;
    const SaveOutcome saved = SavePaintingPdf(path, [&chart](QPainter& painter,
                                                             const QRectF& page) {
        QFont font = painter.font();
        font.setPointSizeF(11);
        painter.setFont(font);
        DrawChart(painter, QRectF(page.topLeft(), QSizeF(page.width(), page.height() / 2)), chart);
    });
    if (!saved.Ok()) {
        Hooks().messageBox(SaveFailureMessage(saved.result, path, saved.reason), caption);
    }
}

} // namespace sumvarl
