#pragma once

// Sheet recipes drawn at random for property tests: usual settings as the settings window makes
// them, and anything 16 bits and 64 bits allow.

#include "core/SheetSpec.h"

#include <random>

namespace sumvarl::testing {

class RandomSpecs
{
public:
    explicit RandomSpecs(std::uint64_t seed) : engine_(seed) {}

    // One part of usual settings, the default lesson, a seed below 2^seedBits.
    SheetSpec Usual(int seedBits)
    {
        PartSpec p;
        int total = 0;
        for (std::int16_t& cw : p.cumulativeWeight) {
            total += Between(0, 100);
            cw = static_cast<std::int16_t>(total);
        }
        p.weightTotal = p.cumulativeWeight[3];
        p.fillBlankOn = static_cast<std::int16_t>(Between(0, 1));
        p.fillBlankPercent = static_cast<std::int16_t>(p.fillBlankOn == 1 ? Between(0, 100) : 0);
        p.numberRange = static_cast<std::int16_t>(Between(0, 1000));
        p.problemCount = static_cast<std::int16_t>(Between(0, 200));
        return SheetSpec{{p}, engine_() >> (64 - seedBits)};
    }

    // Up to maxParts parts, each field now usual, now any 16-bit value; any seed.
    SheetSpec Extreme(int maxParts)
    {
        SheetSpec recipe;
        recipe.seed = Between(0, 3) == 0 ? engine_() >> Between(0, 63) : engine_();
        recipe.mixed = Between(0, 3) == 0;
        const int parts = Between(0, maxParts);
        for (int k = 0; k < parts; ++k) {
            PartSpec p;
            for (std::int16_t& cw : p.cumulativeWeight) {
                cw = Value(100);
            }
            p.weightTotal = Between(0, 1) == 0 ? p.cumulativeWeight[3] : Value(400);
            p.fillBlankOn = Value(1);
            p.fillBlankPercent = Value(100);
            p.numberRange = Value(1000);
            p.problemCount = Value(200);
            p.lesson.carry = static_cast<CarryRule>(Between(0, 2));
            p.lesson.borrow = static_cast<CarryRule>(Between(0, 2));
            p.lesson.remainder = Between(0, 1) == 1;
            p.lesson.remainderZero = Between(0, 1) == 1;
            p.lesson.tableFrom = Value(9);
            p.lesson.tableTo = Value(9);
            p.shape = static_cast<ProblemShape>(Between(0, ProblemShapeCount - 1));
            recipe.parts.push_back(p);
        }
        return recipe;
    }

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(engine_); }

private:
    // 0..usual or -1..usual + 1 mostly, otherwise any 16-bit value.
    std::int16_t Value(int usual)
    {
        switch (Between(0, 3)) {
        case 0:
            return static_cast<std::int16_t>(Between(-32768, 32767));
        case 1:
            return static_cast<std::int16_t>(Between(-1, usual + 1));
        default:
            return static_cast<std::int16_t>(Between(0, usual));
        }
    }

    std::mt19937_64 engine_;
};

} // namespace sumvarl::testing
