#pragma once

// 今日练习: a short round made for one child from their history. The 错题本's items that are due
// come first; then a few facts of the child's current lesson never met before, each set among
// facts the child already knows, so that a new fact is never met alone.

#include "core/Sheet.h"

#include <QDate>

namespace sumvarl {
class RandomSource;
}

namespace sumvarl::history {

class Store;

inline constexpr int TodaysProblems = 20;
inline constexpr int TodaysNewFacts = 4;

// The child's lesson is the first part of their last round's recipe, or lesson where they have
// none yet. The sheet's recipe is that part with the round's count.
Sheet MakeTodaysSheet(const Store& store, qint64 child, const PartSpec& lesson, const QDate& today,
                      RandomSource& random, int count = TodaysProblems);

} // namespace sumvarl::history
