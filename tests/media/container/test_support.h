#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "media/container/wave_output.h"

namespace travoli::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes U32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

inline Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

inline Bytes Random(std::size_t size, unsigned seed) {
    std::mt19937 engine(seed);
    Bytes out(size);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(engine());
    }
    return out;
}

// The smallest RIFF WAVE image the reader accepts: its 34-byte header and some samples.
inline Bytes MinimalWave(std::size_t samples = 8) {
    Bytes data(samples, 0x80);
    return Join({Text("RIFF"),
                 U32(static_cast<std::uint32_t>(28 + samples)),
                 Text("WAVE"),
                 Text("fmt "),
                 U32(16),
                 {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0},
                 Text("data"),
                 U32(static_cast<std::uint32_t>(samples)),
                 data});
}

// A small 4-bit BMP file, 3 x 2 pixels.
inline Bytes MinimalBitmap() {
    Bytes palette(16 * 4, 0);
    Bytes rows(2 * 4, 0x12);
    return Join({Text("BM"),
                 U32(14 + 40 + 64 + 8),
                 U32(0),
                 U32(14 + 40 + 64),
                 U32(40),
                 U32(3),
                 U32(2),
                 {1, 0, 4, 0},
                 U32(0),
                 U32(8),
                 U32(0),
                 U32(0),
                 U32(16),
                 U32(0),
                 palette,
                 rows});
}

// Records what the sound seam was asked to do.
class FakeOutput : public WaveOutput {
  public:
    bool device = true;
    bool refuse = false;
    int plays = 0;
    int stops = 0;
    Bytes lastPlayed;

    bool HasDevice() override { return device; }
    void Play(std::span<const std::uint8_t> wave) override {
        if (refuse) {
            throw ESoundError("System Error.  Code: 5.\r\nAccess is denied.");
        }
        ++plays;
        lastPlayed.assign(wave.begin(), wave.end());
    }
    void Stop() override { ++stops; }
};

}  // namespace travoli::test
