#pragma once

// How one child stands with one fact, and how an answer moves it: fluency counted in days, and the
// 错题本's ladder of days before a fact comes back. No database here: the rules alone, so that
// they are exact and quick to test.

#include <array>
#include <cstdint>
#include <optional>

namespace sumvarl::history {

// Days after which an item of the 错题本 comes back: the first after it went in, then one step
// further for each right answer given when it was due.
inline constexpr std::array<int, 5> ReviewLadderDays{1, 3, 7, 14, 30};
// A fact is fluent when answered right within the time limit on this many different days since
// it was last wrong or slow.
inline constexpr int FluentDays = 3;
// Faster than this the child typed before reading: the answer proves nothing.
inline constexpr int ReflexMs = 300;

// The time limit a child's answers are held to when the parent has set none.
int DefaultLimitMs(int grade);

struct FactState
{
    int answers = 0;
    int wrong = 0;
    int goodDays = 0;       // days with a right answer within the limit, since the last slip
    int lastGoodDay = 0;    // a Julian day number; 0 for never
    bool inBook = false;    // in the 错题本
    int step = 0;           // index into ReviewLadderDays
    std::optional<int> due; // Julian day the item comes back; set while in the book

    bool Fluent() const { return goodDays >= FluentDays; }
    bool operator==(const FactState&) const = default;
};

struct AnswerEvidence
{
    bool right = false;
    std::optional<int> ms; // no time for a paper sheet
    int day = 0;           // Julian day of the answer
    int limitMs = 0;
};

// The state after one more answer.
FactState Advance(FactState state, const AnswerEvidence& answer);

} // namespace sumvarl::history
