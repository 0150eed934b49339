#include "print/VerticalSheet.h"

#include "core/NumberText.h"
#include "core/Sheet.h"
#include "core/Vertical.h"
#include "print/PrintedWorksheet.h"
#include "wording/Text.h"
#include "worksheet/StepByStep.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <utility>

namespace sumvarl {

namespace {

// ---- Layout in squares ----

class Builder
{
public:
    // The digits of value with the last one in column `last`, then `zeros` zeros after it.
    void Number(int value, int last, int row, bool keyOnly, int zeros = 0)
    {
        const std::u16string digits = DecimalText(value);
        const int first = last - static_cast<int>(digits.size()) + 1;
        for (std::size_t k = 0; k < digits.size(); ++k) {
            Put(first + static_cast<int>(k), row, digits[k], keyOnly);
        }
        for (int z = 1; z <= zeros; ++z) {
            Put(last + z, row, u'0', keyOnly);
        }
    }

    void Put(int column, int row, char16_t text, bool keyOnly, bool small = false)
    {
        layout_.glyphs.push_back({column, row, text, small, keyOnly});
        Grow(column, row);
    }

    void Rule(int row, int from, int to, bool keyOnly)
    {
        layout_.rules.push_back({row, from, to, keyOnly});
        Grow(to, row);
    }

    VerticalLayout& Layout() { return layout_; }

private:
    void Grow(int column, int row)
    {
        layout_.columns = std::max(layout_.columns, column + 1);
        layout_.rows = std::max(layout_.rows, row + 1);
    }

    VerticalLayout layout_;
};

char16_t OperatorSign(Operation op)
{
    return OperatorText(op).front();
}

//    4 6      the operator left of the widest number, a line under the lower one, the result
//  ＋3 8¹     under the line; a carried 1 small at the foot of its column's lower square, a
//  ————       borrow dot over the digit that lent.
//    8 4
void LayOutColumns(Builder& b, const model::Problem& p)
{
    const ColumnWork w = WorkColumns(p.operators[0], p.operands[0], p.operands[1]);
    const int width = std::max({DigitCount(w.top), DigitCount(w.bottom), DigitCount(w.result)});
    b.Number(w.top, width, 0, false);
    b.Put(0, 1, OperatorSign(w.op), false);
    b.Number(w.bottom, width, 1, false);
    b.Rule(1, 0, width, false);
    b.Number(w.result, width, 2, true);
    for (const int c : w.carries) {
        b.Put(width - c, 1, u'1', true, true);
    }
    for (const int c : w.borrowDots) {
        b.Layout().dots.push_back({width - c, 0});
    }
}

// 120×30: 12 over 3 in the columns, the zeros outside them on the right; 23×12: a partial
// product for each digit of 12, the second one column further left, a line, their sum.
void LayOutProduct(Builder& b, const model::Problem& p)
{
    const MultiplyWork w = WorkProduct(p.operands[0], p.operands[1]);
    int width = std::max({DigitCount(w.top), DigitCount(w.bottom), DigitCount(w.product)});
    for (std::size_t k = 0; k < w.partials.size(); ++k) {
        width = std::max(width, DigitCount(w.partials[k]) + static_cast<int>(k));
    }
    const int zeros = w.topZeros + w.bottomZeros;
    b.Number(w.top, width, 0, false, w.topZeros);
    b.Put(0, 1, OperatorSign(Operation::Multiply), false);
    b.Number(w.bottom, width, 1, false, w.bottomZeros);
    b.Rule(1, 0, width + zeros, false);
    int row = 2;
    if (!w.partials.empty()) {
        for (std::size_t k = 0; k < w.partials.size(); ++k) {
            b.Number(w.partials[k], width - static_cast<int>(k), row++, true);
        }
        b.Rule(row - 1, 0, width + zeros, true);
    }
    b.Number(w.product, width, row, true, zeros);
}

//      5 2       the divisor left of the bracket, the dividend under its bar, each quotient
//   3)1 5 6      digit over the dividend digit it belongs to; under it each product with its
//     1 5        line, and what is left with the next digit brought down beside it.
//     ———
//         6
//         6
//     ———
//         0
void LayOutDivision(Builder& b, const model::Problem& p)
{
    const DivisionWork w = WorkDivision(p.operands[0], p.operands[1]);
    const int start = DigitCount(w.divisor); // the dividend's first column
    b.Number(w.divisor, start - 1, 1, false);
    b.Number(w.dividend, start + DigitCount(w.dividend) - 1, 1, false);
    b.Rule(0, start, start + DigitCount(w.dividend) - 1, false);
    b.Layout().bracketColumn = start;
    int row = 2;
    bool first = true;
    std::pair<int, int> pending{w.dividend, 0}; // value and the column of its last digit
    for (const DivisionStep& s : w.steps) {
        const int column = start + s.position;
        b.Put(column, 0, static_cast<char16_t>(u'0' + s.digit), true);
        if (s.digit == 0) {
            pending = {s.number, column};
            continue;
        }
        if (!first) {
            b.Number(s.number, column, row++, true);
        }
        first = false;
        b.Number(s.product, column, row, true);
        const int from = column - std::max(DigitCount(s.number), DigitCount(s.product)) + 1;
        b.Rule(row++, from, column, true);
        pending = {s.left, column};
    }
    b.Number(pending.first, pending.second, row, true);
}

// ---- Pages ----

constexpr double MmPerInch = 25.4;
constexpr double HeadingMm = 24;
constexpr double FooterMm = 8;
constexpr double AcrossMm = 12; // the problem written across, above its 竖式
constexpr double CheckBoxGapMm = 4;
constexpr double CheckBoxMinMm = 20;
constexpr int RowsOfProblems = 2;

struct PageGrid
{
    int across = 3;
    double squareMm = 9;
};

PageGrid GridFor(int perPage)
{
    switch (perPage) {
    case 4:
        return {2, 10};
    case 8:
        return {4, 8};
    default:
        return {3, 9};
    }
}

class Page
{
public:
    Page(QPainter& painter, const VerticalOptions& options)
        : painter_(painter), options_(options), grid_(GridFor(options.paper.perPage)),
          pxPerMm_(painter.device()->logicalDpiX() / MmPerInch),
          widthMm_(painter.device()->width() / pxPerMm_),
          heightMm_(painter.device()->height() / pxPerMm_)
    {}

    int PerPage() const { return grid_.across * RowsOfProblems; }

    void Heading(int count, int page, int pages)
    {
        painter_.setPen(QPen(Qt::black));
        SetFont(20);
        const QString title =
            ToQString(options_.answerKey ? std::u16string_view(AnswerKeyTitle) : PrintTitle);
        painter_.drawText(Rect(0, 2, widthMm_, 10), Qt::AlignHCenter | Qt::AlignTop, title);
        SetFont(11);
        const QString name =
            options_.pupilName.empty() ? QStringLiteral("________") : ToQString(options_.pupilName);
        const QString line =
            QStringLiteral("姓名：%1    共 %2 题    日期：__年__月__日    用时：_______    "
                           "得分：_______")
                .arg(name)
                .arg(count);
        painter_.drawText(Rect(0, 14, widthMm_, 7), Qt::AlignHCenter | Qt::AlignTop, line);
        SetFont(9);
        const QRectF foot = Rect(4, heightMm_ - FooterMm + 2, widthMm_ - 8, 5);
        painter_.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, ToQString(options_.footer));
        painter_.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("第%1页，共%2页").arg(page).arg(pages));
    }

    // Problem `number` (from 1) in place `place` of the page.
    void Problem(int number, int place, const model::Problem& problem, int workRows)
    {
        const double slotW = widthMm_ / grid_.across;
        const double slotH = (heightMm_ - HeadingMm - FooterMm) / RowsOfProblems;
        const double x0 = slotW * (place % grid_.across);
        const int row = place / grid_.across;
        const double y0 = HeadingMm + slotH * row;
        const double cell = grid_.squareMm;

        painter_.setPen(QPen(Qt::black));
        painter_.setBrush(Qt::NoBrush);
        SetFont(13);
        QString across = QStringLiteral("%1. ").arg(number) +
                         ToQString(ProblemWithoutAnswer(problem)) + ToQString(EqualsSign);
        if (options_.answerKey) {
            across += ToQString(TextsOf(problem).result);
        }
        painter_.drawText(Rect(x0 + 3, y0 + 2, slotW - 4, AcrossMm - 2),
                          Qt::AlignLeft | Qt::AlignTop, across);

        const VerticalLayout layout = LayOutVertical(problem);
        const double left = x0 + (slotW - layout.columns * cell) / 2;
        const double top = y0 + AcrossMm;
        if (options_.paper.grid) {
            Squares(left, top, layout.columns, workRows, cell);
        }
        Working(layout, left, top, cell);
        const double boxTop = top + workRows * cell + CheckBoxGapMm;
        const double boxBottom = y0 + slotH - 3;
        if (options_.paper.checkBox && boxBottom - boxTop >= CheckBoxMinMm) {
            painter_.setPen(Pen(0.25, Qt::black));
            painter_.setBrush(Qt::NoBrush);
            painter_.drawRect(Rect(x0 + 3, boxTop, slotW - 6, boxBottom - boxTop));
            SetFont(10);
            painter_.drawText(Rect(x0 + 5, boxTop + 1, 20, 6), Qt::AlignLeft | Qt::AlignTop,
                              QStringLiteral("验算"));
        }
    }

private:
    QRectF Rect(double x, double y, double w, double h) const
    {
        return {x * pxPerMm_, y * pxPerMm_, w * pxPerMm_, h * pxPerMm_};
    }

    QPen Pen(double widthMm, const QColor& color) const
    {
        QPen pen(color);
        pen.setWidthF(widthMm * pxPerMm_);
        return pen;
    }

    void SetFont(double points)
    {
        QFont font(QFont::substitute(QStringLiteral("宋体")));
        font.setPointSizeF(points);
        painter_.setFont(QFont(font, painter_.device()));
    }

    void Squares(double left, double top, int columns, int rows, double cell)
    {
        painter_.setPen(Pen(0.15, QColor(150, 150, 150)));
        painter_.setBrush(Qt::NoBrush);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                painter_.drawRect(Rect(left + c * cell, top + r * cell, cell, cell));
            }
        }
    }

    void Working(const VerticalLayout& layout, double left, double top, double cell)
    {
        const bool key = options_.answerKey;
        painter_.setPen(QPen(Qt::black));
        for (const VerticalGlyph& g : layout.glyphs) {
            if ((key || !g.keyOnly) && !g.small) {
                // The face's × is a small Latin sign beside its full-width ＋ and －.
                SetFont(g.text == TimesSign.front() ? cell * 3 : cell * 2);
                painter_.drawText(Rect(left + g.column * cell, top + g.row * cell, cell, cell),
                                  Qt::AlignCenter, QString(QChar(g.text)));
            }
        }
        SetFont(cell * 0.85);
        for (const VerticalGlyph& g : layout.glyphs) {
            if ((key || !g.keyOnly) && g.small) {
                // Under the lower number's digit, just above the line.
                painter_.drawText(
                    Rect(left + g.column * cell, top + (g.row + 0.72) * cell, cell, 0.28 * cell),
                    Qt::AlignCenter, QString(QChar(g.text)));
            }
        }
        painter_.setPen(Pen(0.35, Qt::black));
        for (const VerticalRule& r : layout.rules) {
            if (key || !r.keyOnly) {
                const double y = top + (r.row + 1) * cell;
                painter_.drawLine(
                    QPointF((left + r.from * cell + 0.1 * cell) * pxPerMm_, y * pxPerMm_),
                    QPointF((left + (r.to + 1) * cell - 0.05 * cell) * pxPerMm_, y * pxPerMm_));
            }
        }
        if (layout.bracketColumn >= 0) {
            // The 厂: from the bar's left end down and bending to the left, past row 1.
            const double x = left + layout.bracketColumn * cell;
            QPainterPath stroke(QPointF(x * pxPerMm_, (top + cell) * pxPerMm_));
            stroke.quadTo(QPointF((x + 0.12 * cell) * pxPerMm_, (top + 1.6 * cell) * pxPerMm_),
                          QPointF((x - 0.18 * cell) * pxPerMm_, (top + 2 * cell) * pxPerMm_));
            painter_.setBrush(Qt::NoBrush);
            painter_.drawPath(stroke);
        }
        if (key) {
            painter_.setPen(Qt::NoPen);
            painter_.setBrush(Qt::black);
            for (const auto& [column, row] : layout.dots) {
                const QPointF centre((left + (column + 0.5) * cell) * pxPerMm_,
                                     (top + (row + 0.12) * cell) * pxPerMm_);
                painter_.drawEllipse(centre, 0.06 * cell * pxPerMm_, 0.06 * cell * pxPerMm_);
            }
        }
    }

    QPainter& painter_;
    const VerticalOptions& options_;
    PageGrid grid_;
    double pxPerMm_;
    double widthMm_;
    double heightMm_;
};

} // namespace

VerticalLayout LayOutVertical(const model::Problem& problem)
{
    Builder b;
    switch (problem.operators[0]) {
    case Operation::Add:
    case Operation::Subtract:
        LayOutColumns(b, problem);
        break;
    case Operation::Multiply:
        LayOutProduct(b, problem);
        break;
    case Operation::Divide:
        LayOutDivision(b, problem);
        break;
    }
    return std::move(b.Layout());
}

bool PaintVerticalSheet(QPainter& painter, QPagedPaintDevice& pages, const Sheet& sheet,
                        const VerticalOptions& options)
{
    Page page(painter, options);
    const int perPage = page.PerPage();
    const auto count = static_cast<int>(sheet.problems.size());
    // Every problem gets as many rows as the longest working, so the 验算 boxes line up.
    int workRows = 1;
    for (const model::Problem& p : sheet.problems) {
        workRows = std::max(workRows, LayOutVertical(p).rows);
    }
    const int pageCount = VerticalSheetPageCount(sheet, options);
    for (int n = 0; n < pageCount; ++n) {
        if (n > 0 && !pages.newPage()) {
            return false;
        }
        page.Heading(count, n + 1, pageCount);
        for (int place = 0; place < perPage && n * perPage + place < count; ++place) {
            const int i = n * perPage + place;
            page.Problem(i + 1, place, sheet.problems[static_cast<std::size_t>(i)], workRows);
        }
    }
    return true;
}

int VerticalSheetPageCount(const Sheet& sheet, const VerticalOptions& options)
{
    const int perPage = GridFor(options.paper.perPage).across * RowsOfProblems;
    const auto count = static_cast<int>(sheet.problems.size());
    return std::max(1, (count + perPage - 1) / perPage);
}

PaintPages VerticalSheetPages(Sheet sheet, VerticalOptions options)
{
    return [sheet = std::move(sheet), options = std::move(options)](QPainter& painter,
                                                                    QPagedPaintDevice& pages) {
        return PaintVerticalSheet(painter, pages, sheet, options);
    };
}

SaveOutcome SaveVerticalPdf(const QString& path, const Sheet& sheet, const VerticalOptions& options)
{
    WorksheetPdf pdf(path);
    pdf.AddPages(VerticalSheetPages(sheet, options), VerticalSheetPageCount(sheet, options));
    const SaveResult result = pdf.Commit();
    return {result, pdf.ErrorString()};
}

} // namespace sumvarl
