#pragma once

// How the slices of a large frame are shared out between the threads that draw it.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace QOR::render {

/// Slices 0 to n - 1 of a list, each with an estimated cost, shared out in stretches: runs of slices one
/// thread draws front to back into one surface. The list starts cut into stretches of about equal cost.
/// A thread takes a stretch no thread has taken yet, or else steals the back half of the stretch with the
/// most cost left, which then becomes a stretch of its own; it claims a few slices at a time from the front
/// of its stretch. Every stretch but the first costs a layer, so stealing stops once half of what is left
/// would not pay for one. Safe to use from several threads at once.
class WorkShares {
public:
    /// A run of slices; `next` is the first not yet claimed.
    struct Stretch {
        int first = 0;
        int next = 0;
        int end = 0;
        bool taken = false;
    };

    /// Slices claimed at a time.
    static constexpr int kClaim = 8;

    /// costs holds the estimated cost of each slice; the list is cut into `stretches` stretches (at least
    /// one), counting layerCost for every one but the first; at most maxStolen stretches are stolen.
    WorkShares(std::span<const std::int64_t> costs, int stretches, std::int64_t layerCost, int maxStolen) {
        reset(costs, stretches, layerCost, maxStolen);
    }
    WorkShares() = default;
    /// Starts over as the constructor does, keeping the storage of the frame before.
    void reset(std::span<const std::int64_t> costs, int stretches, std::int64_t layerCost, int maxStolen);

    /// Stretches so far, the first ones in list order and stolen ones after them. Not to be called while
    /// threads still claim.
    const std::vector<Stretch>& stretches() const noexcept { return m_stretches; }
    /// Most stretches there can ever be: a thread may keep per-stretch data in an array of this size.
    int maxStretches() const noexcept { return m_maxStretches; }

    /// A stretch no thread has taken yet, marked taken; -1 when every one is.
    int takeUntaken();
    /// Whether a steal would succeed now; worth asking before making its layer.
    bool worthStealing();
    /// The back half of the stretch with the most cost left, by cost, as a new stretch taken by the
    /// caller; -1 when no half would pay for its layer.
    int steal();
    /// The next slices first to last - 1 of stretch s for the thread that took it; false when none is left.
    bool claim(int s, int& first, int& last);

private:
    std::int64_t cost(int first, int end) const {
        return m_sums[std::size_t(end)] - m_sums[std::size_t(first)];
    }
    /// The stretch with the most cost left and that cost, under the lock; -1 when stealing is over.
    int richest(std::int64_t& left) const;

    std::mutex m_mutex;
    std::vector<std::int64_t> m_sums; ///< m_sums[i]: cost of slices 0 to i - 1
    std::vector<Stretch> m_stretches; ///< reserved in full: never reallocated while threads run
    int m_maxStretches = 1;
    std::int64_t m_layerCost = 0;
};

} // namespace QOR::render
