// Boolean operations on regions: both operands are cut at every band edge of either, and each
// resulting strip combines the two span lists of that strip with one sweep.

#include <algorithm>

#include "platform/canvas/region.h"

namespace plat {
namespace {

enum class Op { unite, intersect, subtract };

bool keep(Op op, bool in_a, bool in_b) {
    switch (op) {
    case Op::unite: return in_a || in_b;
    case Op::intersect: return in_a && in_b;
    case Op::subtract: return in_a && !in_b;
    }
    return false;
}

// Walks the x edges of both lists in order and emits a span edge wherever the result of `op`
// changes, so the output is sorted and touching spans come out merged.
void combine_spans(Op op, std::span<const Span> a, std::span<const Span> b,
                   std::vector<Span>& out) {
    out.clear();
    std::size_t ia = 0, ib = 0;  // edge counters: span k's start is edge 2k, its end 2k + 1
    const std::size_t na = a.size() * 2, nb = b.size() * 2;
    auto edge = [](std::span<const Span> s, std::size_t e) {
        return e % 2 == 0 ? s[e / 2].x0 : s[e / 2].x1;
    };
    bool inside = false;
    int start = 0;
    while (ia < na || ib < nb) {
        const int xa = ia < na ? edge(a, ia) : 0;
        const int xb = ib < nb ? edge(b, ib) : 0;
        int x;
        if (ia < na && (ib >= nb || xa <= xb)) {
            x = xa;
        } else {
            x = xb;
        }
        while (ia < na && edge(a, ia) == x) ++ia;
        while (ib < nb && edge(b, ib) == x) ++ib;
        const bool now = keep(op, ia % 2 == 1, ib % 2 == 1);
        if (now && !inside) start = x;
        if (!now && inside) out.push_back({start, x});
        inside = now;
    }
}

Region combine(Op op, const Region& a, const Region& b) {
    std::vector<int> edges;
    edges.reserve((a.bands().size() + b.bands().size()) * 2);
    for (const auto& band : a.bands()) edges.insert(edges.end(), {band.top, band.bottom});
    for (const auto& band : b.bands()) edges.insert(edges.end(), {band.top, band.bottom});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    RegionBuilder out;
    std::vector<Span> row;
    std::size_t ia = 0, ib = 0;
    const auto bands_a = a.bands();
    const auto bands_b = b.bands();
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        const int y0 = edges[k];
        while (ia < bands_a.size() && bands_a[ia].bottom <= y0) ++ia;
        while (ib < bands_b.size() && bands_b[ib].bottom <= y0) ++ib;
        const bool has_a = ia < bands_a.size() && bands_a[ia].top <= y0;
        const bool has_b = ib < bands_b.size() && bands_b[ib].top <= y0;
        if (!has_a && !has_b) continue;
        combine_spans(op, has_a ? a.spans(bands_a[ia]) : std::span<const Span>{},
                      has_b ? b.spans(bands_b[ib]) : std::span<const Span>{}, row);
        out.add_rows(y0, edges[k + 1], row);
    }
    return out.finish();
}

}  // namespace

Region unite(const Region& a, const Region& b) { return combine(Op::unite, a, b); }
Region intersect(const Region& a, const Region& b) { return combine(Op::intersect, a, b); }
Region subtract(const Region& a, const Region& b) { return combine(Op::subtract, a, b); }

}  // namespace plat
