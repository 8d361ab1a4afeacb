// Column measures and the sharing of a table's width among its columns.

#include "layout/TableWidths.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace {

using Int64 = std::int64_t;

int Clamp(Int64 value) {
    return static_cast<int>(std::clamp<Int64>(value, -kMaxTableLength, kMaxTableLength));
}

int Sum(const std::vector<int>& values, int first, int count) {
    Int64 total = 0;
    for (int i = first; i < first + count; ++i) total += values[static_cast<std::size_t>(i)];
    return Clamp(total);
}

// Adds `amount` to values[first, first + count) in proportion to the weights; what the
// division leaves goes to the first column, and everything does when the weights are
// all 0.
void Spread(std::vector<int>& values, int first, int count, int amount,
            const std::vector<Int64>& weights) {
    if (count <= 0 || amount <= 0) return;
    Int64 total = 0;
    for (Int64 w : weights) total += std::max<Int64>(0, w);
    if (total <= 0) {
        values[static_cast<std::size_t>(first)] += amount;
        return;
    }
    Int64 given = 0;
    for (int k = 0; k < count; ++k) {
        const Int64 share =
            amount * std::max<Int64>(0, weights[static_cast<std::size_t>(k)]) / total;
        values[static_cast<std::size_t>(first + k)] += static_cast<int>(share);
        given += share;
    }
    values[static_cast<std::size_t>(first)] += static_cast<int>(amount - given);
}

std::vector<Int64> Weights(const std::vector<int>& values, int first, int count) {
    return {values.begin() + first, values.begin() + first + count};
}

// A spanning cell without percentages: shortfalls follow the columns' own widths.
void SpreadByWidths(TColumnMeasures& m, int first, int count, int cellMin, int cellMax) {
    Spread(m.min, first, count, cellMin - Sum(m.min, first, count), Weights(m.min, first, count));
    Spread(m.max, first, count, cellMax - Sum(m.max, first, count), Weights(m.max, first, count));
}

// A spanning cell when the cell or its columns have percentages.
void SpreadWithPercents(TColumnMeasures& m, int first, int count, int cellMin, int cellMax, int p) {
    int withoutPercent = 0;
    Int64 P = 0;
    std::vector<Int64> isFree(static_cast<std::size_t>(count), 0);
    for (int k = 0; k < count; ++k) {
        const int percent = m.percent[static_cast<std::size_t>(first + k)];
        if (percent == 0) {
            ++withoutPercent;
            isFree[static_cast<std::size_t>(k)] = 1;
        }
        P += percent;
    }
    if (p <= 0 && P <= 0) {
        SpreadByWidths(m, first, count, cellMin, cellMax);
        return;
    }
    if (withoutPercent == 0 && P < p) {
        // The columns' percentages grow to the cell's, keeping their proportions.
        Int64 given = 0;
        for (int k = 0; k < count; ++k) {
            int& percent = m.percent[static_cast<std::size_t>(first + k)];
            const Int64 scaled = Int64{percent} * p / P;
            given += scaled - percent;
            percent = static_cast<int>(scaled);
        }
        m.percent[static_cast<std::size_t>(first)] += static_cast<int>(p - P - given);
    } else if (withoutPercent > 0) {
        const int each = static_cast<int>(std::max<Int64>(0, (p - P) / withoutPercent));
        for (int k = 0; k < count; ++k)
            if (isFree[static_cast<std::size_t>(k)])
                m.percent[static_cast<std::size_t>(first + k)] = each;
    }
    const std::vector<Int64> byPercent = Weights(m.percent, first, count);
    Spread(m.min, first, count, cellMin - Sum(m.min, first, count),
           withoutPercent == 0 ? byPercent : Weights(m.max, first, count));
    Spread(m.max, first, count, cellMax - Sum(m.max, first, count),
           withoutPercent == 0 ? byPercent : isFree);
}

// Every column at least as wide at its maximum as at its minimum.
void KeepOrder(TColumnMeasures& m, int first, int count) {
    for (int k = first; k < first + count; ++k)
        m.max[static_cast<std::size_t>(k)] =
            std::max(m.max[static_cast<std::size_t>(k)], m.min[static_cast<std::size_t>(k)]);
}

// Min_i + (Max_i - Min_i) * (room - total Min) / (total Max - total Min), the rounding
// remainder to the column with the most to give.
std::vector<int> Interpolate(const std::vector<int>& min, const std::vector<int>& max, int room) {
    const int n = static_cast<int>(min.size());
    const Int64 totalMin = Sum(min, 0, n);
    const Int64 totalMax = Sum(max, 0, n);
    std::vector<int> widths(min);
    const Int64 spread = totalMax - totalMin;
    if (n == 0 || spread == 0) return widths;
    Int64 used = 0;
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        const Int64 flexibility =
            Int64{max[static_cast<std::size_t>(i)]} - min[static_cast<std::size_t>(i)];
        widths[static_cast<std::size_t>(i)] += Clamp(flexibility * (room - totalMin) / spread);
        used += widths[static_cast<std::size_t>(i)];
        if (flexibility >
            Int64{max[static_cast<std::size_t>(widest)]} - min[static_cast<std::size_t>(widest)])
            widest = i;
    }
    widths[static_cast<std::size_t>(widest)] += static_cast<int>(room - used);
    return widths;
}

// Without an imposed width and without percentages that settle it.
std::vector<int> Classic(const std::vector<int>& min, const std::vector<int>& max, int room) {
    const int n = static_cast<int>(min.size());
    const int totalMin = Sum(min, 0, n);
    const int totalMax = Sum(max, 0, n);
    if (room < totalMin) return min;
    if (room < totalMax && totalMax != totalMin) return Interpolate(min, max, room);
    return max;
}

// The simple measure's widths.
std::vector<int> SimpleWidths(const TColumnMeasures& m, int room, bool imposed) {
    const int n = m.Count();
    const int totalMin = m.TotalMin();
    const int totalMax = m.TotalMax();
    if (room < totalMin) return m.min;
    if (room >= totalMax && !imposed) return m.max;
    if (totalMax != totalMin) return Interpolate(m.min, m.max, room);
    // No column can give: each grows with its minimum (equally when all are 0).
    std::vector<int> widths(m.min);
    std::vector<Int64> weights(m.min.begin(), m.min.end());
    if (totalMin == 0) std::fill(weights.begin(), weights.end(), 1);
    Spread(widths, 0, n, room - totalMin, weights);
    return widths;
}

// An imposed width: percentage columns get their share, the others their minimum,
// and what is left over or missing is settled among them.
std::vector<int> PercentDistribution(const TColumnMeasures& m, int room) {
    const int n = m.Count();
    std::vector<int> widths(m.min);
    std::vector<bool> fixed(static_cast<std::size_t>(n), false);
    std::vector<int> others;
    for (int i = 0; i < n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (m.percent[k] > 0) {
            const int share = Clamp(Int64{room} * m.percent[k] / 1000);
            if (m.min[k] >= share)
                fixed[k] = true;
            else
                widths[k] = share;
        } else {
            others.push_back(i);
        }
    }
    auto total = [&] { return Sum(widths, 0, n); };
    auto freePercentSum = [&] {
        Int64 sum = 0;
        for (int i = 0; i < n; ++i)
            if (m.percent[static_cast<std::size_t>(i)] > 0 && !fixed[static_cast<std::size_t>(i)])
                sum += m.percent[static_cast<std::size_t>(i)];
        return sum;
    };
    if (total() < room) {
        const int remainder = room - total();
        if (others.empty()) {
            const Int64 S = freePercentSum();
            if (S > 0) {
                Int64 given = 0;
                int first = -1;
                for (int i = 0; i < n; ++i) {
                    const std::size_t k = static_cast<std::size_t>(i);
                    if (m.percent[k] <= 0 || fixed[k]) continue;
                    if (first < 0) first = i;
                    const Int64 share = remainder * Int64{m.percent[k]} / S;
                    widths[k] += static_cast<int>(share);
                    given += share;
                }
                widths[static_cast<std::size_t>(first)] += static_cast<int>(remainder - given);
            }
        } else {
            Int64 flexibility = 0;
            for (int i : others)
                flexibility +=
                    m.max[static_cast<std::size_t>(i)] - m.min[static_cast<std::size_t>(i)];
            const bool equally = flexibility <= 0 || flexibility * 4 < remainder;
            Int64 given = 0;
            for (int i : others) {
                const std::size_t k = static_cast<std::size_t>(i);
                const Int64 share = equally
                                        ? remainder / static_cast<Int64>(others.size())
                                        : remainder * (Int64{m.max[k]} - m.min[k]) / flexibility;
                widths[k] += static_cast<int>(share);
                given += share;
            }
            widths[static_cast<std::size_t>(others.front())] += static_cast<int>(remainder - given);
        }
    } else if (total() > room) {
        // Percentage columns give back the excess in proportion to their percentages,
        // except those that would fall below their minimum: they stop there.
        for (int round = 0; round < 4; ++round) {
            const Int64 excess = total() - room;
            const Int64 S = freePercentSum();
            if (excess <= 0 || S <= 0) break;
            bool clamped = false;
            for (int i = 0; i < n; ++i) {
                const std::size_t k = static_cast<std::size_t>(i);
                if (m.percent[k] <= 0 || fixed[k]) continue;
                if (widths[k] - excess * m.percent[k] / S < m.min[k]) {
                    widths[k] = m.min[k];
                    fixed[k] = true;
                    clamped = true;
                }
            }
            if (!clamped) break;
        }
        const Int64 excess = total() - room;
        const Int64 S = freePercentSum();
        if (excess > 0 && S > 0)
            for (int i = 0; i < n; ++i) {
                const std::size_t k = static_cast<std::size_t>(i);
                if (m.percent[k] > 0 && !fixed[k])
                    widths[k] -= static_cast<int>(excess * m.percent[k] / S);
            }
    }
    const int difference = room - total();
    if (n > 0 && difference > 0) {
        widths[0] += difference;
    } else if (difference < 0) {
        for (int i = 0; i < n; ++i)
            if (!fixed[static_cast<std::size_t>(i)]) {
                widths[static_cast<std::size_t>(i)] =
                    std::max(0, widths[static_cast<std::size_t>(i)] + difference);
                break;
            }
    }
    return widths;
}

// Percentages that sum to at most 100 % without an imposed width.
std::vector<int> PercentWidths(const TColumnMeasures& m, int room) {
    const int n = m.Count();
    const int psum = m.PercentSum();
    const int T = PercentTableWidth(m);
    if (room >= T) {
        std::vector<int> widths(static_cast<std::size_t>(n), 0);
        std::vector<int> others;
        Int64 othersMax = 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            if (m.percent[k] > 0) {
                widths[k] = Clamp(Int64{T} * m.percent[k] / 1000);
            } else {
                others.push_back(i);
                othersMax += m.max[k];
            }
        }
        const Int64 rest = Int64{T} * (1000 - psum) / 1000;
        Int64 given = 0;
        for (int i : others) {
            const Int64 share = othersMax > 0
                                    ? rest * m.max[static_cast<std::size_t>(i)] / othersMax
                                    : rest / static_cast<Int64>(others.size());
            widths[static_cast<std::size_t>(i)] = static_cast<int>(share);
            given += share;
        }
        if (!others.empty())
            widths[static_cast<std::size_t>(others.front())] += static_cast<int>(rest - given);
        // No column narrower than what it holds, however little the percentages leave.
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            widths[k] = std::max(widths[k], m.min[k]);
        }
        return widths;
    }
    // Too narrow for the percentages: those that cannot keep their minimum lose their
    // percentage, and the rest shrink until they fit beside the other columns' minimums.
    std::vector<int> percent(m.percent), min(m.min), max(m.max);
    int target = INT_MAX;
    for (int pass = 0; pass < 2 * n + 4; ++pass) {
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            if (percent[k] > 0 && Int64{room} * percent[k] / 1000 < min[k]) percent[k] = 0;
        }
        Int64 percentPixels = 0, othersMin = 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            if (percent[k] > 0)
                percentPixels += Int64{room} * percent[k] / 1000;
            else
                othersMin += min[k];
        }
        if (percentPixels + othersMin <= room) break;
        target = static_cast<int>(std::min<Int64>(room - othersMin, Int64{target} - 1));
        if (target <= 0 || percentPixels <= 0) {
            std::fill(percent.begin(), percent.end(), 0);
            break;
        }
        for (int& p : percent) p = static_cast<int>(Int64{p} * target / percentPixels);
    }
    for (int i = 0; i < n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (percent[k] > 0) min[k] = max[k] = Clamp(Int64{room} * percent[k] / 1000);
    }
    return Classic(min, max, room);
}

}  // namespace

int TColumnMeasures::TotalMin() const {
    return Sum(min, 0, Count());
}
int TColumnMeasures::TotalMax() const {
    return Sum(max, 0, Count());
}
int TColumnMeasures::PercentSum() const {
    return Sum(percent, 0, Count());
}

void MeasureColumns(const std::vector<TCellMeasure>& cells, int columnCount, int spacing,
                    bool percentAware, int tableWidth, TColumnMeasures& out) {
    const std::size_t n = static_cast<std::size_t>(std::max(0, columnCount));
    out.min.assign(n, 0);
    out.max.assign(n, 0);
    out.percent.assign(n, 0);
    out.percentAware = percentAware;
    // Cells by the number of columns they span, fewest first, each group in order.
    std::vector<int> bySpan(n + 1, 0);
    for (const TCellMeasure& c : cells)
        if (c.column >= 0 && static_cast<std::size_t>(c.column) < n && c.span >= 1)
            ++bySpan[std::min<std::size_t>(static_cast<std::size_t>(c.span),
                                           n - static_cast<std::size_t>(c.column))];
    std::vector<int> start(n + 2, 0);
    for (std::size_t s = 1; s <= n; ++s) start[s + 1] = start[s] + bySpan[s];
    std::vector<const TCellMeasure*> order(static_cast<std::size_t>(start[n + 1]));
    for (const TCellMeasure& c : cells)
        if (c.column >= 0 && static_cast<std::size_t>(c.column) < n && c.span >= 1) {
            const std::size_t s = std::min<std::size_t>(static_cast<std::size_t>(c.span),
                                                        n - static_cast<std::size_t>(c.column));
            order[static_cast<std::size_t>(start[s]++)] = &c;
        }
    for (const TCellMeasure* c : order) {
        const int first = c->column;
        const int count = std::min(c->span, static_cast<int>(n) - first);
        const bool pixels = c->width > 0 && !c->widthIsPercent;
        int cellMin = c->min, cellMax = c->max;
        int p = 0;
        if (percentAware) {
            if (c->width > 0 && c->widthIsPercent)
                p = c->width;
            else if (pixels && tableWidth > 0)
                p = static_cast<int>(std::min<Int64>(1000, Int64{c->width} * 1000 / tableWidth));
        }
        if (count == 1) {
            const std::size_t k = static_cast<std::size_t>(first);
            if (pixels) cellMax = std::max(cellMin, c->width + spacing);
            out.min[k] = std::max(out.min[k], cellMin);
            out.max[k] = std::max(out.max[k], cellMax);
            if (percentAware) out.percent[k] = std::max(out.percent[k], p);
        } else {
            if (pixels) cellMin = cellMax = std::max(cellMin, c->width);
            if (percentAware)
                SpreadWithPercents(out, first, count, cellMin, cellMax, p);
            else
                SpreadByWidths(out, first, count, cellMin, cellMax);
        }
        KeepOrder(out, first, count);
    }
}

int PercentTableWidth(const TColumnMeasures& m) {
    const int psum = m.PercentSum();
    if (!m.percentAware || psum <= 0 || psum > 1000) return 0;
    Int64 T = 0;
    Int64 othersMax = 0;
    bool others = false;
    for (int i = 0; i < m.Count(); ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (m.percent[k] > 0) {
            T = std::max<Int64>(T, Int64{m.max[k]} * 1000 / m.percent[k]);
        } else {
            others = true;
            othersMax += m.max[k];
        }
    }
    if (psum == 1000)
        T = std::max<Int64>(T, others ? 30000 : 0);
    else
        T = std::max<Int64>(T, othersMax * 1000 / (1000 - psum));
    return Clamp(T);
}

int PreferredWidth(const TColumnMeasures& m) {
    return std::max(m.TotalMax(), PercentTableWidth(m));
}

std::vector<int> ColumnWidths(const TColumnMeasures& m, int room, bool imposed) {
    if (!m.percentAware) return SimpleWidths(m, room, imposed);
    if (m.TotalMin() >= room) return m.min;
    if (imposed) return PercentDistribution(m, room);
    const int psum = m.PercentSum();
    if (psum > 0 && psum <= 1000) return PercentWidths(m, room);
    return Classic(m.min, m.max, room);
}
