#include "platform/canvas/region.h"

#include <algorithm>
#include <cstdlib>

#include "platform/canvas/ellipse_rows.h"

namespace plat {

Region::Region(const Rect& r) {
    if (r.empty()) return;
    bands_.push_back({r.top, r.bottom, 0, 1});
    spans_.push_back({r.left, r.right});
}

Region Region::round_rect(const Rect& r, int ellipse_w, int ellipse_h) {
    const Rect box = normalized(r);
    if (box.empty()) return {};
    const int ew = std::min(std::abs(ellipse_w), box.width());
    const int eh = std::min(std::abs(ellipse_h), box.height());
    if (ew < 2 || eh < 2) return Region(box);

    const Rect corner{0, 0, ew, eh};
    const int zone = eh / 2;
    RegionBuilder out;
    auto corner_row = [&](int y, int ellipse_row) {
        const Span e = detail::ellipse_row(corner, ellipse_row);
        const Span s{box.left + e.x0, box.right - (ew - e.x1)};
        out.add_rows(y, y + 1, std::span<const Span>(&s, 1));
    };
    for (int i = 0; i < zone; ++i) corner_row(box.top + i, i);
    const Span full{box.left, box.right};
    out.add_rows(box.top + zone, box.bottom - zone, std::span<const Span>(&full, 1));
    for (int j = 0; j < zone; ++j) corner_row(box.bottom - zone + j, eh - zone + j);
    return out.finish();
}

Region Region::ellipse(const Rect& r) {
    const Rect box = normalized(r);
    RegionBuilder out;
    for (int y = box.top; y < box.bottom; ++y) {
        const Span s = detail::ellipse_row(box, y - box.top);
        out.add_rows(y, y + 1, std::span<const Span>(&s, 1));
    }
    return out.finish();
}

Rect Region::bounds() const {
    if (bands_.empty()) return {};
    Rect r{spans_.front().x0, bands_.front().top, spans_.front().x1, bands_.back().bottom};
    for (const Band& b : bands_) {
        r.left = std::min(r.left, spans_[b.first].x0);
        r.right = std::max(r.right, spans_[b.first + b.count - 1].x1);
    }
    return r;
}

std::size_t Region::find_band(int y, std::size_t hint) const {
    const std::size_t n = bands_.size();
    if (hint < n && bands_[hint].bottom > y && (hint == 0 || bands_[hint - 1].bottom <= y))
        return hint;
    if (hint + 1 < n && bands_[hint].bottom <= y && bands_[hint + 1].bottom > y) return hint + 1;
    auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int v, const Band& b) { return v < b.bottom; });
    return static_cast<std::size_t>(it - bands_.begin());
}

bool Region::contains(int x, int y) const {
    const std::size_t i = find_band(y);
    if (i == bands_.size() || bands_[i].top > y) return false;
    const auto row = spans(bands_[i]);
    auto it = std::upper_bound(row.begin(), row.end(), x,
                               [](int v, const Span& s) { return v < s.x1; });
    return it != row.end() && it->x0 <= x;
}

void Region::offset(int dx, int dy) {
    for (Band& b : bands_) {
        b.top += dy;
        b.bottom += dy;
    }
    for (Span& s : spans_) {
        s.x0 += dx;
        s.x1 += dx;
    }
}

std::int64_t Region::area() const {
    std::int64_t total = 0;
    for (const Band& b : bands_)
        for (const Span& s : spans(b)) total += std::int64_t{b.bottom - b.top} * (s.x1 - s.x0);
    return total;
}

void RegionBuilder::add_rows(int top, int bottom, std::span<const Span> spans) {
    if (bottom <= top || spans.empty()) return;
    auto& bands = region_.bands_;
    auto& all = region_.spans_;
    if (!bands.empty()) {
        Region::Band& last = bands.back();
        if (last.bottom == top && last.count == spans.size() &&
            std::equal(spans.begin(), spans.end(), all.begin() + last.first)) {
            last.bottom = bottom;
            return;
        }
    }
    bands.push_back({top, bottom, static_cast<std::uint32_t>(all.size()),
                     static_cast<std::uint32_t>(spans.size())});
    all.insert(all.end(), spans.begin(), spans.end());
}

Region RegionBuilder::finish() { return std::move(region_); }

}  // namespace plat
