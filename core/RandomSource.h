#pragma once

#include <cstdint>
#include <functional>

namespace sumvarl {

// The two operations the program needs from a pseudo-random generator. An interface so that
// tests can script draws exactly.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Mix the current clock reading into the state.
    virtual void Reseed() = 0;
    // Uniform 0 <= u < 1.
    virtual float Draw() = 0;
};

// The top 24 bits of a 64-bit word as a float in [0, 1): 24 bits fill a float's mantissa exactly,
// so the largest value is 1 - 2^-24 and a draw never rounds up to 1.
float UnitInterval(std::uint64_t bits);

// A Weyl sequence with the SplitMix64 output function. Every operation moves the state forward
// along a sequence of period 2^64: a draw by one step, a re-seed by 1 + (mixed clock reading
// mod 2^32) steps. So re-seeds within one clock tick can never bring the state back to where
// it was, yet a new clock reading still moves the state somewhere unpredictable.
class ClockRandom final : public RandomSource
{
public:
    using Clock = std::function<std::uint64_t()>;

    // The clock defaults to the system clock in nanoseconds.
    explicit ClockRandom(std::uint64_t seed, Clock clock = {});

    void Reseed() override;
    float Draw() override;

    std::uint64_t State() const { return state_; }

private:
    std::uint64_t state_;
    Clock clock_;
};

// The program-wide generator, seeded from the system clock on first use.
RandomSource& SharedRandom();

} // namespace sumvarl
