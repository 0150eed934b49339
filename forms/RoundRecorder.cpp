#include "forms/RoundRecorder.h"

#include "forms/ChildMemory.h"
#include "forms/FormHooks.h"
#include "wording/HistoryMessages.h"

#include <QTimer>

namespace sumvarl {

RoundRecorder::RoundRecorder(history::Store& store, qint64 child, history::RoundKind kind,
                             const Sheet& sheet, QObject* parent)
    : QObject(parent), store_(store), child_(child), kind_(kind), recipe_(sheet.recipe),
      problems_(sheet.problems), generation_(SharedHistoryGeneration()), told_(!store.Writable())
{
    const std::vector<int> counts = PartCounts(recipe_);
    for (std::size_t part = 0; part < counts.size(); ++part) {
        lessons_.insert(lessons_.end(), static_cast<std::size_t>(counts[part]),
                        recipe_.parts[part].lesson);
    }
    // Problems past the parts' counts take the last part's lesson.
    lessons_.resize(problems_.size(),
                    recipe_.parts.empty() ? Lesson{} : recipe_.parts.back().lesson);
}

void RoundRecorder::enter(std::size_t problem)
{
    if (current_ != problem) {
        current_ = problem;
        enteredAt_ = Hooks().now();
    }
}

void RoundRecorder::leave(std::size_t problem, const QString& given, bool right)
{
    const bool timed = current_ == problem && enteredAt_.isValid();
    const QDateTime now = Hooks().now();
    if (current_ == problem) {
        current_.reset();
    }
    if (given.isEmpty() || problem >= problems_.size() || !current()) {
        return;
    }
    if (const auto k = kept_.find(problem); k != kept_.end() && k->second == given) {
        return;
    }
    if (!round_) {
        const history::WriteResult started =
            store_.StartRound(child_, kind_, recipe_, static_cast<int>(problems_.size()), now);
        if (!started.Ok()) {
            tell(started);
            return;
        }
        round_ = started.id;
    }
    std::optional<int> ms;
    if (timed) {
        ms = static_cast<int>(
            std::clamp<qint64>(enteredAt_.msecsTo(now), 0, qint64{24} * 3600 * 1000));
    }
    const history::WriteResult kept = store_.RecordAnswer(
        *round_, child_, {problems_[problem], lessons_[problem], given, right, ms, now});
    if (kept.Ok()) {
        kept_[problem] = given;
    } else {
        tell(kept);
    }
}

void RoundRecorder::handIn(int right, int score, int seconds)
{
    if (ended_ || !round_ || !current()) {
        return;
    }
    ended_ = true;
    tell(store_.EndRound(*round_, Hooks().now(), right, score, seconds));
}

bool RoundRecorder::current()
{
    if (generation_ == SharedHistoryGeneration()) {
        return true;
    }
    if (round_) {
        tellOnce(QStringLiteral("已经恢复了备份，这一轮练习从这里起不再记录。"));
    }
    return false;
}

void RoundRecorder::tell(const history::WriteResult& result)
{
    if (!result.Ok()) {
        tellOnce(HistoryWriteText(result));
    }
}

void RoundRecorder::tellOnce(const QString& text)
{
    if (told_) {
        return;
    }
    told_ = true;
    // Once the focus change that wrote has been handled: a modal box in the middle of it would
    // move the focus again half-way.
    QTimer::singleShot(0, this, [text] { Hooks().messageBox(text, QStringLiteral("练习")); });
}

} // namespace sumvarl
