#pragma once

// The problems of a printed PDF as pdftotext reads them, one text per problem, page by page;
// and the page count from pdfinfo. For checking an answer key against its sheet from the PDFs'
// text alone.

#include "testing/AnswerCheck.h"
#include "testing/PrintTestSupport.h"

#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <tuple>

namespace printtest {

// pdftotext lists words in no reading order and splits them at spaces, so the words are sorted by
// page, line and column, and the sheet's marker "(  )", which comes as "(" and ")…", is joined
// again. Words that do not read as a problem (the heading) are left out. A line is the words
// whose tops lie within 1 pt of its first: a key item set smaller stands a fraction higher.
inline QList<QStringList> ProblemsByPage(const QString& pdf)
{
    QList<Word> words = PdfWords(pdf);
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return std::make_tuple(a.page, a.box.top()) < std::make_tuple(b.page, b.box.top());
    });
    const auto sameLine = [](const Word& a, const Word& b) {
        return a.page == b.page && qAbs(a.box.top() - b.box.top()) < 1;
    };
    for (auto first = words.begin(); first != words.end();) {
        const auto end = std::find_if_not(first, words.end(),
                                          [&](const Word& w) { return sameLine(*first, w); });
        std::sort(first, end,
                  [](const Word& a, const Word& b) { return a.box.left() < b.box.left(); });
        first = end;
    }
    QList<QStringList> pages;
    for (qsizetype k = 0; k < words.size(); ++k) {
        const int page = words[k].page;
        QString text = words[k].text;
        while (text.endsWith(QLatin1Char('(')) && k + 1 < words.size() &&
               sameLine(words[k], words[k + 1])) {
            text += words[++k].text;
        }
        while (pages.size() < page) {
            pages.append(QStringList());
        }
        if (sumvarl::answercheck::ParseItem(text.toStdU16String())) {
            pages[page - 1].append(text);
        }
    }
    return pages;
}

inline QStringList ProblemsOf(const QString& pdf)
{
    QStringList all;
    for (const QStringList& page : ProblemsByPage(pdf)) {
        all += page;
    }
    return all;
}

// -1 when pdfinfo cannot read the file.
inline int PageCount(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitStatus() != QProcess::NormalExit ||
        info.exitCode() != 0) {
        return -1;
    }
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Empty when every problem of key answers the problem of sheet at the same place, else the
// first one that does not, for the failure message.
inline QString CheckKey(const QStringList& sheet, const QStringList& key)
{
    if (sheet.size() != key.size()) {
        return QStringLiteral("%1 problems on the sheet, %2 in the key")
            .arg(sheet.size())
            .arg(key.size());
    }
    for (qsizetype k = 0; k < sheet.size(); ++k) {
        const std::string why =
            sumvarl::answercheck::CheckAnswer(sheet[k].toStdU16String(), key[k].toStdU16String());
        if (!why.empty()) {
            return QStringLiteral("problem %1: %2 / %3: %4")
                .arg(k + 1)
                .arg(sheet[k], key[k], QString::fromStdString(why));
        }
    }
    return {};
}

} // namespace printtest
