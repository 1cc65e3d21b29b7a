#include "toolkit/random_source.h"

#include <chrono>

namespace toolkit {

namespace {

// SplitMix64's finaliser: a bijective mix, so distinct inputs give distinct outputs.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// A float has 24 significant bits: the top 24 bits of a draw, scaled by 2^-24,
// give every multiple of 2^-24 in [0, 1) and never 1.
constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;

} // namespace

std::uint64_t ClockSeededRandom::systemNanoseconds()
{
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count());
}

ClockSeededRandom::ClockSeededRandom(TimeSource time) : m_time(std::move(time))
{
    reseed();
}

void ClockSeededRandom::reseed()
{
    ++m_counter;
    m_seed = mix(m_time() ^ mix(m_seed));
}

float ClockSeededRandom::next()
{
    ++m_counter;
    const std::uint64_t bits = mix(m_seed + mix(m_counter));
    return static_cast<float>(bits >> 40) * kTwoToMinus24;
}

} // namespace toolkit
