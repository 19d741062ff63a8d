#include "web/frame_history.h"

#include <algorithm>

#include "web/dirty_region.h"

namespace web {

const plat::Result<std::vector<std::uint8_t>>& SharedFrame::bytes() {
    std::call_once(once_, [&] {
        bytes_ = encode_frame(width_, height_, pieces_);
        pieces_ = {};
        ++encodings_;
    });
    return bytes_;
}

void FrameHistory::record(bool whole, std::span<const Area> rects) {
    if (!whole && rects.empty()) return;
    ++cycle_;
    changes_.push_back({whole, whole ? std::vector<Area>{} : std::vector<Area>(rects.begin(), rects.end())});
    if (changes_.size() > kCycles) changes_.pop_front();
    made_.clear();
}

std::shared_ptr<SharedFrame> FrameHistory::frame_since(std::optional<std::uint64_t> sent, PictureView mirror) {
    if (sent && *sent >= cycle_) return nullptr;
    DirtyRegion missed;
    const std::uint64_t behind = sent ? cycle_ - *sent : 0;
    if (!sent || behind > changes_.size()) {
        missed.add_whole();
    } else {
        for (auto c = changes_.end() - static_cast<std::ptrdiff_t>(behind); c != changes_.end(); ++c) {
            if (c->whole) missed.add_whole();
            for (const Area& r : c->rects) missed.add(r);
        }
    }
    std::vector<Area> areas = missed.take(mirror.width, mirror.height);
    if (areas.empty()) return nullptr;
    for (const Made& m : made_)
        if (m.areas == areas) return m.frame;
    std::vector<PicturePiece> pieces;
    pieces.reserve(areas.size());
    for (const Area& a : areas) pieces.push_back(copy_piece(mirror, a));
    auto frame = std::make_shared<SharedFrame>(mirror.width, mirror.height, std::move(pieces), encodings_);
    made_.push_back({std::move(areas), frame});
    return frame;
}

}  // namespace web
