#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/canvas/pixel_ops.h"

namespace plat {
namespace {

// Far beyond any panel picture; keeps width * height * 4 well inside a signed 32-bit pitch product.
constexpr int max_dimension = 1 << 15;

void check_size(int width, int height) {
    if (width < 0 || height < 0 || width > max_dimension || height > max_dimension)
        throw std::invalid_argument("bitmap size out of range");
}

int squared_distance(ColorRef a, ColorRef b) {
    const int dr = int{get_r(a)} - int{get_r(b)};
    const int dg = int{get_g(a)} - int{get_g(b)};
    const int db = int{get_b(a)} - int{get_b(b)};
    return dr * dr + dg * dg + db * db;
}

Bitmap::Palette make_default_palette() {
    Bitmap::Palette p{};
    constexpr std::uint8_t vga[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
        {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::size_t i = 0;
    for (const auto& c : vga) p[i++] = rgb(c[0], c[1], c[2]);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p[i++] = rgb(static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                             static_cast<std::uint8_t>(b * 51));
    for (int k = 0; k < 24; ++k) {
        const auto v = static_cast<std::uint8_t>(8 + k * 10);
        p[i++] = rgb(v, v, v);
    }
    return p;
}

}  // namespace

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format), ops_(&detail::pixel_ops(format)) {
    check_size(width, height);
    pitch_ = width * ops_->bytes;
    storage_.assign(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height), 0);
    pixels_ = storage_.data();
    if (format == PixelFormat::indexed8) palette_ = default_palette();
}

Bitmap Bitmap::wrap(std::span<std::uint8_t> memory, int width, int height, int pitch,
                    PixelFormat format) {
    check_size(width, height);
    const int bpp = bytes_per_pixel(format);
    if (pitch < width * bpp) throw std::invalid_argument("bitmap pitch shorter than a row");
    if (height > 0 && static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height - 1) +
                              static_cast<std::size_t>(width * bpp) > memory.size())
        throw std::invalid_argument("bitmap memory smaller than its rows");
    Bitmap b;
    b.width_ = width;
    b.height_ = height;
    b.pitch_ = pitch;
    b.format_ = format;
    b.ops_ = &detail::pixel_ops(format);
    b.pixels_ = memory.data();
    b.owned_ = false;
    if (format == PixelFormat::indexed8) b.palette_ = default_palette();
    return b;
}

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pitch_ = std::exchange(other.pitch_, 0);
    format_ = other.format_;
    ops_ = other.ops_;
    storage_ = std::move(other.storage_);
    other.storage_.clear();
    pixels_ = std::exchange(other.pixels_, nullptr);
    owned_ = std::exchange(other.owned_, true);
    palette_ = other.palette_;
    palette_serial_ = std::max(palette_serial_, other.palette_serial_) + 1;
    nearest_ = std::move(other.nearest_);
    other.nearest_.clear();
    return *this;
}

Bitmap Bitmap::clone() const {
    Bitmap b(width_, height_, format_);
    for (int y = 0; y < height_; ++y)
        std::copy_n(scanline(y), static_cast<std::size_t>(width_ * ops_->bytes), b.scanline(y));
    b.palette_ = palette_;
    return b;
}

std::uint32_t Bitmap::pixel(int x, int y) const {
    if (!bounds().contains(x, y)) return 0;
    return ops_->get(scanline(y), x);
}

void Bitmap::set_pixel(int x, int y, std::uint32_t value) {
    if (bounds().contains(x, y)) ops_->put(scanline(y), x, value);
}

void Bitmap::fill(const Rect& r, std::uint32_t value) {
    const Rect c = intersect(r, bounds());
    for (int y = c.top; y < c.bottom; ++y) ops_->fill(scanline(y), c.left, c.right, value);
}

void Bitmap::set_palette(std::span<const ColorRef> colors) {
    palette_.fill(0);
    std::copy_n(colors.begin(), std::min(colors.size(), palette_.size()), palette_.begin());
    nearest_.clear();
    recent_.fill(RecentColor{});
    ++palette_serial_;
}

std::uint32_t Bitmap::map_color(ColorRef c) const {
    c &= 0xFFFFFF;
    if (format_ != PixelFormat::indexed8) return ops_->encode(c);
    RecentColor& recent = recent_[(c ^ (c >> 8) ^ (c >> 16)) & (recent_.size() - 1)];
    if (recent.color == c) return recent.index;
    if (auto it = nearest_.find(c); it != nearest_.end()) {
        recent = {c, it->second};
        return it->second;
    }
    std::size_t best = 0;
    int best_distance = squared_distance(c, palette_[0]);
    for (std::size_t i = 1; i < palette_.size() && best_distance > 0; ++i) {
        const int d = squared_distance(c, palette_[i]);
        if (d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    nearest_.emplace(c, static_cast<std::uint8_t>(best));
    recent = {c, static_cast<std::uint8_t>(best)};
    return static_cast<std::uint32_t>(best);
}

ColorRef Bitmap::color_of(std::uint32_t value) const {
    if (format_ == PixelFormat::indexed8) return palette_[value & 0xFF] & 0xFFFFFF;
    return ops_->decode(value);
}

const Bitmap::Palette& Bitmap::default_palette() {
    static const Palette palette = make_default_palette();
    return palette;
}

}  // namespace plat
