#include "history/TodaysRound.h"

#include "core/RandomSource.h"
#include "history/HistoryStore.h"

#include <algorithm>

namespace sumvarl::history {

namespace {

bool Contains(const std::vector<model::Problem>& problems, const model::Problem& p)
{
    return std::find(problems.begin(), problems.end(), p) != problems.end();
}

std::size_t Pick(RandomSource& random, std::size_t size)
{
    return std::min(size - 1, static_cast<std::size_t>(random.Draw() * static_cast<float>(size)));
}

} // namespace

Sheet MakeTodaysSheet(const Store& store, qint64 child, const PartSpec& lesson, const QDate& today,
                      RandomSource& random, int count)
{
    PartSpec part = lesson;
    if (const std::optional<SheetSpec> last = store.LastRecipe(child);
        last && !last->parts.empty()) {
        part = last->parts.front();
    }
    const auto wanted = static_cast<std::size_t>(std::clamp(count, 0, MaxSheetProblems));

    std::vector<model::Problem> problems = store.DueFacts(child, today, static_cast<int>(wanted));

    // Candidates of the lesson: the sheet maker's own draws, so they follow the lesson's rules.
    PartSpec drawn = part;
    drawn.problemCount = static_cast<std::int16_t>(MaxSheetProblems);
    const std::vector<model::Problem> candidates =
        DrawSheetProblems(SheetSpec{{drawn}, 0}, random).problems;

    std::vector<model::Problem> fresh;
    for (const model::Problem& p : candidates) {
        if (fresh.size() < TodaysNewFacts && !Contains(problems, p) && !store.HasSeen(child, p)) {
            fresh.push_back(p);
        }
    }
    const std::size_t room = wanted - std::min(wanted, problems.size());
    fresh.resize(std::min(fresh.size(), room));

    // Known facts around the new ones. A child who knows too few gets a shorter round rather
    // than more new facts at once.
    std::vector<model::Problem> known;
    for (const model::Problem& p : store.KnownFacts(child, 500)) {
        if (!Contains(problems, p) && !Contains(fresh, p)) {
            known.push_back(p);
        }
    }
    std::vector<model::Problem> mix;
    const std::size_t aroundCount = room - fresh.size();
    while (mix.size() < aroundCount && !known.empty()) {
        const std::size_t i = Pick(random, known.size());
        mix.push_back(known[i]);
        known.erase(known.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // The new facts spread evenly through the known ones, never first or last.
    const std::size_t total = mix.size() + fresh.size();
    std::size_t f = 0;
    std::size_t k = 0;
    for (std::size_t i = 0; i < total; ++i) {
        const bool freshHere =
            f < fresh.size() &&
            (k >= mix.size() || i + 1 >= (f + 1) * (total + 1) / (fresh.size() + 1));
        problems.push_back(freshHere ? fresh[f++] : mix[k++]);
    }

    part.problemCount = static_cast<std::int16_t>(problems.size());
    const bool fellShort = problems.size() < wanted;
    return Sheet{SheetSpec{{part}, 0}, std::move(problems), fellShort, 0};
}

} // namespace sumvarl::history
