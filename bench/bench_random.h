#pragma once

// A small seeded generator (xorshift64) for benchmark inputs: the same seed gives the same shapes in
// every run and to every library compared.

#include <cstdint>

class BenchRandom {
public:
    explicit BenchRandom(std::uint64_t seed) : m_state(seed) {}
    /// A number in [0, n).
    int below(int n) {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return int(m_state % std::uint64_t(n));
    }

private:
    std::uint64_t m_state;
};
