// Writes the window switch's click sound: a 686-byte RIFF WAVE image, PCM, 2 channels, 22050
// samples per second, 8 bits, which the module embeds as its resource 3001.
//
// The click is a push button's two knocks: the plunger hitting its stop (a burst of noise that
// rings briefly at the housing's pitch) and, a few milliseconds later, the softer latch. The noise
// comes from a fixed generator so every build embeds the same bytes.
//
//   make_click <out.wav>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kChannels = 2;
constexpr int kBits = 8;
constexpr int kImageSize = 686;
constexpr int kHeaderSize = 44;
constexpr int kDataSize = kImageSize - kHeaderSize;
constexpr int kFrames = kDataSize / kChannels;
constexpr double kPi = 3.14159265358979323846;

struct Knock {
    int start;         // frame
    double level;      // of full scale
    double noise_ms;   // decay time of the noise burst
    double ring_ms;    // decay time of the ringing
    double ring_hz;
};
constexpr Knock kKnocks[] = {
    {0, 0.85, 1.2, 2.5, 2900.0},
    {150, 0.40, 0.8, 1.8, 3400.0},
};

std::uint32_t noise_state = 0x2545F491u;
double noise() {
    noise_state = noise_state * 1664525u + 1013904223u;
    return static_cast<double>(noise_state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
}

double knock(const Knock& k, int frame) {
    if (frame < k.start) return 0.0;
    const double t_ms = (frame - k.start) * 1000.0 / kRate;
    const double burst = noise() * std::exp(-t_ms / k.noise_ms);
    const double ring = std::sin(2.0 * kPi * k.ring_hz * t_ms / 1000.0) * std::exp(-t_ms / k.ring_ms);
    return k.level * (0.55 * burst + 0.45 * ring);
}

std::vector<std::uint8_t> samples() {
    std::vector<std::uint8_t> out;
    out.reserve(kDataSize);
    for (int f = 0; f < kFrames; ++f) {
        double v = 0.0;
        for (const Knock& k : kKnocks) v += knock(k, f);
        // The last millisecond fades to the silent level, so the clip ends without a step.
        const int left = kFrames - 1 - f;
        if (left < 22) v *= left / 22.0;
        const long level = std::lround(128.0 + 127.0 * std::fmax(-1.0, std::fmin(1.0, v)));
        const auto sample = static_cast<std::uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level);
        // The button sits slightly left of centre on the panel.
        out.push_back(sample);
        out.push_back(static_cast<std::uint8_t>(128 + (sample - 128) * 7 / 8));
    }
    return out;
}

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put_id(std::vector<std::uint8_t>& b, const char* id) { b.insert(b.end(), id, id + 4); }

std::vector<std::uint8_t> image() {
    std::vector<std::uint8_t> b;
    put_id(b, "RIFF");
    put32(b, kImageSize - 8);
    put_id(b, "WAVE");
    put_id(b, "fmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, kChannels);
    put32(b, kRate);
    put32(b, kRate * kChannels * kBits / 8);
    put16(b, kChannels * kBits / 8);
    put16(b, kBits);
    put_id(b, "data");
    put32(b, kDataSize);
    const auto data = samples();
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_click <out.wav>\n");
        return 2;
    }
    const auto bytes = image();
    if (bytes.size() != kImageSize) {
        std::fprintf(stderr, "make_click: image of %zu bytes instead of %d\n", bytes.size(), kImageSize);
        return 1;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::fprintf(stderr, "make_click: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) {
        std::fprintf(stderr, "make_click: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
