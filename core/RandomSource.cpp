#include "core/RandomSource.h"

#include <chrono>

namespace sumvarl {

namespace {

constexpr std::uint64_t Golden = 0x9E3779B97F4A7C15ULL; // odd: the Weyl sequence has period 2^64

std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t SystemClockNanoseconds()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

} // namespace

float UnitInterval(std::uint64_t bits)
{
    return static_cast<float>(bits >> 40) * 0x1.0p-24F;
}

ClockRandom::ClockRandom(std::uint64_t seed, Clock clock)
    : state_(seed), clock_(clock ? std::move(clock) : Clock(SystemClockNanoseconds))
{}

void ClockRandom::Reseed()
{
    // The step count depends on the clock reading and on the state, and is never 0.
    const std::uint64_t steps = 1 + (Mix(clock_() ^ state_) >> 32);
    state_ += steps * Golden;
}

float ClockRandom::Draw()
{
    state_ += Golden;
    return UnitInterval(Mix(state_));
}

RandomSource& SharedRandom()
{
    static ClockRandom shared(SystemClockNanoseconds());
    return shared;
}

} // namespace sumvarl
