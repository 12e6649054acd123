#include "qor/render/work_shares_p.h"

#include <algorithm>

namespace QOR::render {

void WorkShares::reset(std::span<const std::int64_t> costs, int stretches, std::int64_t layerCost,
                       int maxStolen) {
    m_sums.assign(costs.size() + 1, 0);
    m_stretches.clear();
    m_layerCost = layerCost;
    stretches = std::max(stretches, 1);
    m_maxStretches = stretches + std::max(maxStolen, 0);
    m_stretches.reserve(std::size_t(m_maxStretches));
    for (std::size_t i = 0; i < costs.size(); ++i)
        m_sums[i + 1] = m_sums[i] + std::max<std::int64_t>(costs[i], 0);
    const int n = int(costs.size());

    // Equal shares, a layer counted with every stretch but the first.
    const std::int64_t share = (cost(0, n) + (stretches - 1) * layerCost) / stretches;
    int first = 0;
    for (int k = 0; k < stretches; ++k) {
        int end = n;
        if (k + 1 < stretches) {
            const std::int64_t through = share + k * std::max<std::int64_t>(share - layerCost, 0);
            end = int(std::lower_bound(m_sums.begin(), m_sums.end(), through) - m_sums.begin());
            end = std::clamp(end, first, n);
        }
        m_stretches.push_back(Stretch{first, first, end, false});
        first = end;
    }
}

int WorkShares::takeUntaken() {
    const std::lock_guard lock(m_mutex);
    for (std::size_t s = 0; s < m_stretches.size(); ++s)
        if (!m_stretches[s].taken) {
            m_stretches[s].taken = true;
            return int(s);
        }
    return -1;
}

int WorkShares::richest(std::int64_t& left) const {
    left = 0;
    if (int(m_stretches.size()) == m_maxStretches) return -1;
    int best = -1;
    for (std::size_t s = 0; s < m_stretches.size(); ++s) {
        const Stretch& stretch = m_stretches[s];
        const std::int64_t c = cost(stretch.next, stretch.end);
        if (stretch.end - stretch.next >= 2 && c > left) {
            left = c;
            best = int(s);
        }
    }
    // Drawing less than a layer costs elsewhere gains nothing.
    return left / 2 >= m_layerCost ? best : -1;
}

bool WorkShares::worthStealing() {
    const std::lock_guard lock(m_mutex);
    std::int64_t left = 0;
    return richest(left) >= 0;
}

int WorkShares::steal() {
    const std::lock_guard lock(m_mutex);
    std::int64_t left = 0;
    const int victim = richest(left);
    if (victim < 0) return -1;
    Stretch& from = m_stretches[std::size_t(victim)];
    const auto half = std::lower_bound(m_sums.begin() + from.next, m_sums.begin() + from.end,
                                       m_sums[std::size_t(from.next)] + left / 2);
    const int middle = std::clamp(int(half - m_sums.begin()), from.next + 1, from.end - 1);
    m_stretches.push_back(Stretch{middle, middle, from.end, true});
    from.end = middle;
    return int(m_stretches.size()) - 1;
}

bool WorkShares::claim(int s, int& first, int& last) {
    const std::lock_guard lock(m_mutex);
    Stretch& stretch = m_stretches[std::size_t(s)];
    first = stretch.next;
    last = std::min(stretch.end, stretch.next + kClaim);
    stretch.next = last;
    return first < last;
}

} // namespace QOR::render
