#pragma once
// A window's changes, cycle by cycle, and the picture messages made of them for its pages. A page
// asks for what changed since the cycle it was last sent; every page asking for the same rectangles
// at the same cycle gets the same message, copied and encoded once. A page that lags is sent the
// union of what it missed, and pages that lag alike share that message too. All calls but
// SharedFrame::bytes are made under the server's lock.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/result.h"
#include "web/frame_message.h"
#include "web/picture.h"

namespace web {

// One picture message: its pixels copied when it is made, encoded by the first page that sends it
// while the others wait for those bytes.
class SharedFrame {
public:
    SharedFrame(int width, int height, std::vector<PicturePiece> pieces, std::atomic<std::uint64_t>& encodings)
        : width_(width), height_(height), pieces_(std::move(pieces)), encodings_(encodings) {}

    const plat::Result<std::vector<std::uint8_t>>& bytes();

private:
    const int width_, height_;
    std::vector<PicturePiece> pieces_;
    std::atomic<std::uint64_t>& encodings_;
    std::once_flag once_;
    plat::Result<std::vector<std::uint8_t>> bytes_ = plat::Error{"not encoded"};
};

class FrameHistory {
public:
    // Changes remembered; a page further behind than this is sent the whole window.
    static constexpr std::size_t kCycles = 64;

    // `encodings` counts the messages encoded (for the server's figures); it must outlive this.
    explicit FrameHistory(std::atomic<std::uint64_t>& encodings) : encodings_(encodings) {}

    // A cycle that changed the window: the whole of it, or these rectangles.
    void record(bool whole, std::span<const Area> rects);
    // The latest cycle recorded (0 before any).
    std::uint64_t cycle() const { return cycle_; }
    // The message that brings a page from the cycle it was last sent (none: nothing yet, so the whole
    // window) to the latest, with the pixels of `mirror`, the window now; null when nothing changed.
    std::shared_ptr<SharedFrame> frame_since(std::optional<std::uint64_t> sent, PictureView mirror);

private:
    struct Change {
        bool whole = false;
        std::vector<Area> rects;
    };
    struct Made {
        std::vector<Area> areas;
        std::shared_ptr<SharedFrame> frame;
    };

    std::atomic<std::uint64_t>& encodings_;
    std::uint64_t cycle_ = 0;
    std::deque<Change> changes_;  // the latest cycles' changes, the last one cycle_'s
    std::vector<Made> made_;      // the messages made at cycle_
};

}  // namespace web
