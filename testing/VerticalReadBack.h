#pragma once

// 竖式 sheets read back from the PDF: pdftotext's boxes of every glyph, sorted into problems
// (under the problem's number and the text written across) and, within each, into rows and
// columns of digits. The tests recompute the working from these digits alone.

#include "testing/PrintTestSupport.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <tuple>

namespace printtest {

struct ReadGlyph
{
    QRectF box;
    QString text;
    double Centre() const { return box.center().x(); }
};

struct ReadProblem
{
    int page = 0;
    int number = 0;
    QString across;          // "46＋38＝84", "157÷3＝52……1"
    QRectF header;           // the box of "1."
    QList<ReadGlyph> digits; // the working's digits and signs set at full size
    QList<ReadGlyph> small;  // carried digits
    // Rows of full-size glyphs, top down, each sorted left to right.
    QList<QList<ReadGlyph>> Rows() const
    {
        QList<ReadGlyph> sorted = digits;
        // By the middle of their boxes: each glyph is centred in its square, whatever its size.
        std::sort(sorted.begin(), sorted.end(), [](const ReadGlyph& a, const ReadGlyph& b) {
            return a.box.center().y() < b.box.center().y();
        });
        QList<QList<ReadGlyph>> rows;
        for (const ReadGlyph& g : sorted) {
            if (rows.isEmpty() || g.box.center().y() - rows.last().first().box.center().y() > 3) {
                rows.append(QList<ReadGlyph>());
            }
            rows.last().append(g);
        }
        for (QList<ReadGlyph>& row : rows) {
            std::sort(row.begin(), row.end(), [](const ReadGlyph& a, const ReadGlyph& b) {
                return a.box.left() < b.box.left();
            });
        }
        return rows;
    }
};

// The number a row's digits spell, and whether it is a number at all.
inline long long RowValue(const QList<ReadGlyph>& row, bool* ok = nullptr)
{
    QString text;
    for (const ReadGlyph& g : row) {
        text += g.text;
    }
    return text.toLongLong(ok);
}

// Every problem of the PDF, page by page, by its number. Glyph words of one character are the
// working (the sheet sets each digit in its own square, far enough apart for pdftotext to keep them
// apart); a word "N." opens problem N and the word after it on its line is the text across. A glyph
// belongs to the problem whose header is the nearest above it and to its left. Carried digits are
// told by their size.
inline QList<ReadProblem> ReadVerticalProblems(const QString& pdf)
{
    const QList<Word> words = PdfWords(pdf);
    static const QRegularExpression number(QStringLiteral("^(\\d+)\\.$"));
    QList<ReadProblem> problems;
    for (qsizetype k = 0; k + 1 < words.size(); ++k) {
        const QRegularExpressionMatch m = number.match(words[k].text);
        if (m.hasMatch() && words[k + 1].page == words[k].page &&
            qAbs(words[k + 1].box.top() - words[k].box.top()) < 2) {
            problems.append(
                {words[k].page, m.captured(1).toInt(), words[k + 1].text, words[k].box, {}, {}});
        }
    }
    std::sort(problems.begin(), problems.end(), [](const ReadProblem& a, const ReadProblem& b) {
        return std::tie(a.page, a.number) < std::tie(b.page, b.number);
    });
    double fullHeight = 0;
    for (const Word& w : words) {
        if (w.text.size() == 1 && w.text.front().isDigit()) {
            fullHeight = std::max(fullHeight, w.box.height());
        }
    }
    for (const Word& w : words) {
        if (w.text.size() != 1) {
            continue;
        }
        ReadProblem* owner = nullptr;
        for (ReadProblem& p : problems) {
            if (p.page == w.page && p.header.top() < w.box.top() - 5 &&
                p.header.left() <= w.box.left() &&
                (owner == nullptr || p.header.top() > owner->header.top() + 5 ||
                 (qAbs(p.header.top() - owner->header.top()) <= 5 &&
                  p.header.left() > owner->header.left()))) {
                owner = &p;
            }
        }
        if (owner != nullptr) {
            const ReadGlyph g{w.box, w.text};
            (w.box.height() < fullHeight * 0.7 ? owner->small : owner->digits).append(g);
        }
    }
    return problems;
}

} // namespace printtest
