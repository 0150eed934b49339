#pragma once

// Keeps a practice round in the child's history as it is done. The rules:
// - an answer is given when the child leaves a problem (the focus goes to another problem, to
//   交卷 or to another control of the window; Return and Tab do that) and at 交卷 for the problem
//   in focus, if it is not empty and differs from what was last kept for that problem;
// - its time runs from the problem's box getting the focus to the answer being left; a trip to
//   another window does not restart it;
// - the round is started in the store with its first answer and ended at the first 交卷 with that
//   round's score; 再练错题 adds its answers to the same round;
// - after a backup has been restored, the round records nothing more (its round is not in the
//   restored file), and says so once;
// - a write that fails is told once for the round (not at all where the store said at opening
//   that it would keep nothing), and the next answers are tried again.

#include "core/Sheet.h"
#include "history/HistoryStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace sumvarl {

class RoundRecorder final : public QObject
{
    Q_OBJECT
public:
    RoundRecorder(history::Store& store, qint64 child, history::RoundKind kind, const Sheet& sheet,
                  QObject* parent = nullptr);

    qint64 child() const { return child_; }
    // True once an answer of this round has been kept.
    bool started() const { return round_.has_value(); }

    // Problem (an index into the sheet's problems) got the focus.
    void enter(std::size_t problem);
    // The child left the problem with this answer; right as marked.
    void leave(std::size_t problem, const QString& given, bool right);
    // 交卷 of the first round.
    void handIn(int right, int score, int seconds);

private:
    void tell(const history::WriteResult& result);
    void tellOnce(const QString& text);
    // False once a backup has been restored since the round began.
    bool current();

    history::Store& store_;
    qint64 child_;
    history::RoundKind kind_;
    SheetSpec recipe_;
    std::vector<model::Problem> problems_;
    std::vector<Lesson> lessons_; // of each problem, from its part
    std::optional<qint64> round_;
    std::optional<std::size_t> current_;
    QDateTime enteredAt_;
    std::map<std::size_t, QString> kept_;
    bool ended_ = false;
    int generation_; // of the shared history when the round began
    bool told_;
};

} // namespace sumvarl
