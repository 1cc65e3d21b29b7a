#pragma once
// A random source that returns a given list of draws, over and over, and
// counts how it was used.

#include "toolkit/random_source.h"

#include <vector>

class ScriptedRandom final : public toolkit::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws = {0.5f}) : m_draws(std::move(draws)) {}

    void reseed() override { ++m_reseeds; }
    float next() override
    {
        const float draw = m_draws[m_next % m_draws.size()];
        ++m_next;
        return draw;
    }

    void setDraws(std::vector<float> draws)
    {
        m_draws = std::move(draws);
        m_next = 0;
    }
    std::size_t drawsTaken() const { return m_next; }
    int reseeds() const { return m_reseeds; }

private:
    std::vector<float> m_draws;
    std::size_t m_next = 0;
    int m_reseeds = 0;
};
