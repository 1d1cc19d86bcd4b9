#include "tools/asset_builder/sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace travoli::assets {

namespace {

constexpr double Pi = std::numbers::pi;

class RiffWriter {
  public:
    void Tag(const char* tag) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(tag[i]));
        }
    }
    void U16(std::uint32_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Chunk(const char* tag, const std::vector<std::uint8_t>& body) {
        Tag(tag);
        U32(static_cast<std::uint32_t>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (body.size() % 2 != 0) {
            bytes.push_back(0);  // chunks start on even offsets
        }
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> FormatBody(std::uint32_t rate, bool withExtensionSize) {
    RiffWriter w;
    w.U16(1);     // PCM
    w.U16(1);     // mono
    w.U32(rate);  // samples per second
    w.U32(rate);  // bytes per second
    w.U16(1);     // block alignment
    w.U16(8);     // bits per sample
    if (withExtensionSize) {
        w.U16(0);
    }
    return w.bytes;
}

// Floating samples in -1..1 to unsigned 8-bit; the synthesis keeps well inside the range.
std::vector<std::uint8_t> ToPcm8(const std::vector<double>& samples) {
    std::vector<std::uint8_t> out;
    out.reserve(samples.size());
    for (double s : samples) {
        if (s < -1.0 || s > 1.0) {
            throw std::logic_error("sound synthesis clipped");
        }
        out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(128 + s * 127), 0L, 255L)));
    }
    return out;
}

// Short linear fades at both ends, so playback starts and stops without a click.
void Fade(std::vector<double>& s, std::size_t in, std::size_t out) {
    for (std::size_t i = 0; i < in && i < s.size(); ++i) {
        s[i] *= double(i) / in;
    }
    for (std::size_t i = 0; i < out && i < s.size(); ++i) {
        s[s.size() - 1 - i] *= double(i) / out;
    }
}

std::vector<std::uint8_t> Wave(const std::vector<std::uint8_t>& fmt,
                               const std::vector<std::uint8_t>& pcm, std::uint32_t factSamples,
                               const std::vector<std::uint8_t>& list) {
    RiffWriter body;
    body.Tag("WAVE");
    body.Chunk("fmt ", fmt);
    if (factSamples != 0) {
        RiffWriter fact;
        fact.U32(factSamples);
        body.Chunk("fact", fact.bytes);
    }
    body.Chunk("data", pcm);
    if (!list.empty()) {
        body.Chunk("LIST", list);
    }
    RiffWriter file;
    file.Tag("RIFF");
    file.U32(static_cast<std::uint32_t>(body.bytes.size()));
    file.bytes.insert(file.bytes.end(), body.bytes.begin(), body.bytes.end());
    return file.bytes;
}

// A soft bell-like voice: a few harmonics that fade faster the higher they are.
double Voice(double frequency, double t) {
    double v = 0;
    const double partials[][2] = {{1, 1.0}, {2, 0.35}, {3, 0.18}, {4, 0.08}};
    for (const auto& p : partials) {
        v += p[1] * std::exp(-t * 3.0 * p[0]) * std::sin(2 * Pi * frequency * p[0] * t);
    }
    return v / 1.61;
}

std::vector<std::uint8_t> Terminated(const std::string& text) {
    return {text.c_str(), text.c_str() + text.size() + 1};
}

void CheckSize(const std::vector<std::uint8_t>& wave, std::size_t expected, const char* name) {
    if (wave.size() != expected) {
        throw std::logic_error(std::string(name) + ": " + std::to_string(wave.size()) +
                               " bytes instead of " + std::to_string(expected));
    }
}

}  // namespace

std::vector<std::uint8_t> SolvedSound() {
    constexpr std::uint32_t Rate = 11025;
    constexpr std::size_t Count = 9051;
    // A rising major arpeggio, the last note held: C5 E5 G5 C6.
    struct Note {
        double start, frequency, length;
    };
    const Note notes[] = {
        {0.00, 523.25, 0.30}, {0.10, 659.25, 0.30}, {0.20, 783.99, 0.30}, {0.30, 1046.5, 0.52}};
    std::vector<double> s(Count, 0.0);
    for (const Note& n : notes) {
        for (std::size_t i = 0; i < Count; ++i) {
            const double t = i / double(Rate) - n.start;
            if (t < 0 || t > n.length) {
                continue;
            }
            const double attack = std::min(1.0, t / 0.006);
            const double release = std::min(1.0, (n.length - t) / 0.05);
            s[i] += 0.36 * attack * release * Voice(n.frequency, t);
        }
    }
    Fade(s, 40, 400);
    const auto wave = Wave(FormatBody(Rate, true), ToPcm8(s), Count, {});
    CheckSize(wave, 9110, "solved sound");
    return wave;
}

std::vector<std::uint8_t> MoveSound() {
    constexpr std::uint32_t Rate = 5512;
    constexpr std::size_t Count = 1570;
    // A soft wooden "tock": a low sine with a quick pitch drop and a fast decay.
    std::vector<double> s(Count, 0.0);
    double phase = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        const double t = i / double(Rate);
        const double frequency = 420.0 + 260.0 * std::exp(-t * 60.0);
        phase += 2 * Pi * frequency / Rate;
        const double envelope = std::min(1.0, t / 0.002) * std::exp(-t * 38.0);
        s[i] = 0.55 * envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
    Fade(s, 8, 200);
    const auto wave = Wave(FormatBody(Rate, false), ToPcm8(s), 0, {});
    CheckSize(wave, 1614, "move sound");
    return wave;
}

std::vector<std::uint8_t> RefusedSound() {
    constexpr std::uint32_t Rate = 11025;
    constexpr std::size_t Count = 6691;
    // Two short low buzzes, a band-limited sawtooth softened by its envelope.
    std::vector<double> s(Count, 0.0);
    const double starts[] = {0.0, 0.27};
    const double length = 0.24;
    for (double start : starts) {
        for (std::size_t i = 0; i < Count; ++i) {
            const double t = i / double(Rate) - start;
            if (t < 0 || t > length) {
                continue;
            }
            const double frequency = 140.0 - 30.0 * t / length;
            double v = 0;
            for (int h = 1; h <= 9; ++h) {
                v += std::sin(2 * Pi * frequency * h * t) / h;
            }
            const double attack = std::min(1.0, t / 0.012);
            const double release = std::min(1.0, (length - t) / 0.06);
            s[i] += 0.6 * attack * release * v / 1.9;
        }
    }
    Fade(s, 40, 300);

    // INFO metadata that players skip; its size makes the file 6830 bytes.
    RiffWriter info;
    info.Tag("INFO");
    const std::string name = "Refused";
    info.Chunk("INAM", Terminated(name));
    std::string software = "Travoli asset builder, 8-bit mono PCM";
    constexpr std::size_t InfoSize = 86;
    const std::size_t used = info.bytes.size() + 8;
    software.resize(InfoSize - used - 1, ' ');
    info.Chunk("ISFT", Terminated(software));
    const auto wave = Wave(FormatBody(Rate, false), ToPcm8(s), 0, info.bytes);
    CheckSize(wave, 6830, "refused sound");
    return wave;
}

}  // namespace travoli::assets
