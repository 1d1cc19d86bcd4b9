#pragma once

// Test sounds made on the spot, and a small analysis of what a device really wrote.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace travoli::test {

struct ToneSpec {
    int rate = 11025;
    double hertz = 440.0;
    double seconds = 0.5;
    bool factChunk = false;     // 18-byte "fmt " chunk followed by a "fact" chunk
    bool trailingList = false;  // a "LIST" chunk after the samples
};

inline void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// An 8-bit mono PCM RIFF WAVE image of a sine tone.
inline std::vector<std::uint8_t> MakeTone(const ToneSpec& tone) {
    const auto count = static_cast<std::size_t>(tone.rate * tone.seconds);
    std::vector<std::uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double v = std::sin(2.0 * M_PI * tone.hertz * static_cast<double>(i) / tone.rate);
        samples[i] = static_cast<std::uint8_t>(std::lround(128.0 + 100.0 * v));
    }

    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    PutLe(out, 0, 4);  // patched below
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, tone.factChunk ? 18 : 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, static_cast<std::uint32_t>(tone.rate), 4);
    PutLe(out, static_cast<std::uint32_t>(tone.rate), 4);  // bytes per second
    PutLe(out, 1, 2);                                      // block align
    PutLe(out, 8, 2);                                      // bits
    if (tone.factChunk) {
        PutLe(out, 0, 2);  // no extra format bytes
        PutTag(out, "fact");
        PutLe(out, 4, 4);
        PutLe(out, static_cast<std::uint32_t>(count), 4);
    }
    PutTag(out, "data");
    PutLe(out, static_cast<std::uint32_t>(count), 4);
    out.insert(out.end(), samples.begin(), samples.end());
    if (count % 2 != 0) {
        out.push_back(0);  // chunks are word aligned
    }
    if (tone.trailingList) {
        PutTag(out, "LIST");
        PutLe(out, 16, 4);
        PutTag(out, "INFO");
        PutTag(out, "ICMT");
        PutLe(out, 4, 4);
        PutTag(out, "beep");
    }
    const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    }
    return out;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One short stretch of the written stream: how loud, and how often it crossed zero.
struct Window {
    double rms = 0;
    double hertz = 0;  // estimated from zero crossings
};

// Splits 16-bit little-endian interleaved samples (first channel only) into windows.
inline std::vector<Window> AnalyseS16(const std::vector<std::uint8_t>& bytes, int rate,
                                      int channels, double windowSeconds) {
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(channels);
    const std::size_t frames = bytes.size() / frameBytes;
    const auto perWindow = static_cast<std::size_t>(rate * windowSeconds);
    std::vector<Window> windows;
    for (std::size_t start = 0; start + perWindow <= frames; start += perWindow) {
        double sum = 0;
        int crossings = 0;
        int previous = 0;
        for (std::size_t i = start; i < start + perWindow; ++i) {
            std::int16_t s;
            std::memcpy(&s, &bytes[i * frameBytes], 2);
            sum += static_cast<double>(s) * s;
            if (i > start && ((previous < 0) != (s < 0))) {
                ++crossings;
            }
            previous = s;
        }
        Window w;
        w.rms = std::sqrt(sum / static_cast<double>(perWindow));
        w.hertz = crossings / (2.0 * windowSeconds);
        windows.push_back(w);
    }
    return windows;
}

// The windows filled with a tone near `hertz`, as indexes. A window only partly filled (where
// a sound starts or stops) is left out: its crossing count would pass for a lower tone.
inline std::vector<std::size_t> ToneWindows(const std::vector<Window>& windows, double hertz) {
    constexpr double kFullRms = 100.0 / 128.0 * 32768.0 / 1.41421356;  // MakeTone's sine
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].rms > 0.8 * kFullRms && std::abs(windows[i].hertz - hertz) < 0.15 * hertz) {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace travoli::test
