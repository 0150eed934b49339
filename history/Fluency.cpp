#include "history/Fluency.h"

#include <algorithm>

namespace sumvarl::history {

int DefaultLimitMs(int grade)
{
    return grade <= 2 ? 6000 : 3000;
}

namespace {

int LadderDays(int step)
{
    const auto last = static_cast<int>(ReviewLadderDays.size()) - 1;
    return ReviewLadderDays[static_cast<std::size_t>(std::clamp(step, 0, last))];
}

// Into the 错题本 at the foot of the ladder; fluency starts over.
void Slip(FactState& s, int day)
{
    s.goodDays = 0;
    s.inBook = true;
    s.step = 0;
    s.due = day + LadderDays(0);
}

} // namespace

FactState Advance(FactState s, const AnswerEvidence& answer)
{
    ++s.answers;
    if (!answer.right) {
        ++s.wrong;
        Slip(s, answer.day);
        return s;
    }
    // Without a time (a paper sheet) a right answer says nothing of speed: it climbs the ladder
    // but is no evidence of fluency.
    const bool timed = answer.ms.has_value();
    if (timed && *answer.ms > answer.limitMs) {
        if (!s.inBook) {
            Slip(s, answer.day);
            return s;
        }
        s.goodDays = 0;
    }
    const bool due = s.inBook && s.due && answer.day >= *s.due;
    if (due) {
        ++s.step;
        s.due = answer.day + LadderDays(s.step);
    }
    const bool evidence = timed && *answer.ms >= ReflexMs && *answer.ms <= answer.limitMs;
    if (evidence && answer.day != s.lastGoodDay) {
        ++s.goodDays;
        s.lastGoodDay = answer.day;
    }
    if (s.inBook && s.Fluent()) {
        s.inBook = false;
        s.step = 0;
        s.due.reset();
    }
    return s;
}

} // namespace sumvarl::history
