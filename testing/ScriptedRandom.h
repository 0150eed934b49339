#pragma once

#include "core/RandomSource.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace sumvarl::testing {

// Hands out the given draws in order (cycling), and counts what it was asked for.
class ScriptedRandom final : public RandomSource
{
public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}

    void Reseed() override { ++reseeds; }
    float Draw() override
    {
        if (draws_.empty()) {
            throw std::logic_error("ScriptedRandom has no draws");
        }
        const float u = draws_[next_ % draws_.size()];
        ++next_;
        ++draws;
        return u;
    }

    int reseeds = 0;
    int draws = 0;

private:
    std::vector<float> draws_;
    std::size_t next_ = 0;
};

} // namespace sumvarl::testing
