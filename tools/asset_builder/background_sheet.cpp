#include "tools/asset_builder/background_sheet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace travoli::assets {

namespace {

constexpr int RampSize = 42;  // six ramps of 42 colours fill 252 of the 256 entries
constexpr double Pi = std::numbers::pi;

// A small fixed generator, so the textures are the same on every build.
class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ & 0xFFFFFF) / double(0x1000000);
    }

  private:
    std::uint32_t state_;
};

// Value noise on a lattice whose period divides the texture, so every texture tiles.
class TileNoise {
  public:
    TileNoise(int cells, std::uint32_t seed) : cells_(cells), values_(cells * cells) {
        Random random(seed);
        for (double& v : values_) {
            v = random.Next();
        }
    }
    double At(double x, double y) const {
        const double fx = x * cells_ / TextureSize, fy = y * cells_ / TextureSize;
        const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
        const double tx = Smooth(fx - x0), ty = Smooth(fy - y0);
        const double a = Value(x0, y0), b = Value(x0 + 1, y0);
        const double c = Value(x0, y0 + 1), d = Value(x0 + 1, y0 + 1);
        return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
    }

  private:
    static double Smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
    double Value(int x, int y) const {
        x = ((x % cells_) + cells_) % cells_;
        y = ((y % cells_) + cells_) % cells_;
        return values_[y * cells_ + x];
    }
    int cells_;
    std::vector<double> values_;
};

// Fractal noise, 0..1, from `first` lattice cells upwards.
class Fractal {
  public:
    Fractal(int first, int octaves, std::uint32_t seed) {
        for (int i = 0; i < octaves; ++i) {
            layers_.emplace_back(first << i, seed * 31 + i);
        }
    }
    double At(double x, double y) const {
        double sum = 0, weight = 1, total = 0;
        for (const TileNoise& layer : layers_) {
            sum += layer.At(x, y) * weight;
            total += weight;
            weight *= 0.5;
        }
        return sum / total;
    }

  private:
    std::vector<TileNoise> layers_;
};

struct Key {
    double at;
    QRgb colour;
};

// A ramp of RampSize colours through the key colours.
std::vector<QRgb> Ramp(std::initializer_list<Key> keys) {
    std::vector<Key> k(keys);
    std::vector<QRgb> out;
    for (int i = 0; i < RampSize; ++i) {
        const double t = i / double(RampSize - 1);
        std::size_t j = 1;
        while (j + 1 < k.size() && t > k[j].at) {
            ++j;
        }
        const double u = std::clamp((t - k[j - 1].at) / (k[j].at - k[j - 1].at), 0.0, 1.0);
        auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * u)); };
        const QRgb a = k[j - 1].colour, b = k[j].colour;
        out.push_back(
            qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b))));
    }
    return out;
}

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// Stretches noise (which gathers around 0.5) to use most of the ramp.
double Spread(double v, double gain) {
    return Clamp01(0.5 + (v - 0.5) * gain);
}

// Each texture maps a pixel to a ramp position 0..1.
double RedTexture(double x, double y) {
    static const Fractal grain(4, 5, 11);
    static const Fractal fine(32, 2, 12);
    return Spread(grain.At(x, y) * 0.8 + fine.At(x, y) * 0.2, 2.2);
}

double GreenOnBlack(double x, double y) {
    static const Fractal warp(4, 4, 21);
    static const Fractal veins(4, 4, 22);
    // Ridges of a warped noise: thin green lines on black.
    const double w = warp.At(x, y) * 30.0;
    const double n = veins.At(x + w, y - w);
    const double ridge = 1.0 - std::abs(std::sin(n * 6.0 * Pi));
    return Clamp01(std::pow(ridge, 5.0) * 0.9 + veins.At(y, x) * 0.15);
}

double BlueAndWhite(double x, double y) {
    static const Fractal clouds(4, 5, 31);
    return Spread(clouds.At(x, y), 1.9);
}

double YellowTexture(double x, double y) {
    static const Fractal dunes(2, 4, 41);
    static const Fractal sand(64, 1, 42);
    const double ripples =
        0.5 +
        0.5 * std::sin(2 * Pi * (3 * y / TextureSize + 1 * x / TextureSize) + dunes.At(x, y) * 9.0);
    return Spread(ripples * 0.45 + dunes.At(x, y) * 0.35 + sand.At(x, y) * 0.2, 1.6);
}

double PurpleAndWhite(double x, double y) {
    static const Fractal turbulence(4, 5, 51);
    // Marble: veins from a sine across the tile (whole periods, so it tiles) bent by noise.
    const double phase = 2 * Pi * (x + y) / TextureSize * 2 + turbulence.At(x, y) * 14.0;
    const double vein = std::pow(0.5 + 0.5 * std::sin(phase), 3.0);
    return Clamp01(0.2 + vein * 0.65 + (turbulence.At(y, x) - 0.5) * 0.2);
}

double BlueAndRed(double x, double y) {
    static const Fractal blend(2, 5, 61);
    static const Fractal fine(16, 3, 62);
    return Spread(blend.At(x, y) * 0.75 + fine.At(x, y) * 0.25, 2.6);
}

}  // namespace

IndexedImage DrawBackgroundSheet(int scale) {
    using TextureFn = double (*)(double, double);
    const std::array<TextureFn, TextureCount> textures = {
        RedTexture, GreenOnBlack, BlueAndWhite, YellowTexture, PurpleAndWhite, BlueAndRed};
    const std::array<std::vector<QRgb>, TextureCount> ramps = {
        Ramp({{0, qRgb(92, 14, 16)}, {0.6, qRgb(150, 30, 28)}, {1, qRgb(196, 60, 48)}}),
        Ramp({{0, qRgb(0, 0, 0)}, {0.3, qRgb(4, 30, 10)}, {1, qRgb(40, 170, 70)}}),
        Ramp({{0, qRgb(46, 74, 150)}, {0.5, qRgb(112, 146, 204)}, {1, qRgb(206, 218, 240)}}),
        Ramp({{0, qRgb(170, 128, 24)}, {0.5, qRgb(214, 176, 50)}, {1, qRgb(246, 222, 120)}}),
        Ramp({{0, qRgb(74, 36, 104)}, {0.5, qRgb(128, 88, 160)}, {1, qRgb(218, 204, 230)}}),
        Ramp({{0, qRgb(30, 50, 140)}, {0.5, qRgb(96, 50, 120)}, {1, qRgb(176, 40, 48)}}),
    };

    IndexedImage sheet;
    sheet.width = TextureSize * TextureCount * scale;
    sheet.height = TextureSize * scale;
    sheet.bitsPerPixel = 8;
    for (const auto& ramp : ramps) {
        sheet.palette.insert(sheet.palette.end(), ramp.begin(), ramp.end());
    }
    // The four spare entries: black, greys and white.
    for (QRgb spare : {qRgb(0, 0, 0), qRgb(96, 96, 96), qRgb(192, 192, 192), qRgb(255, 255, 255)}) {
        sheet.palette.push_back(spare);
    }
    sheet.pixels.resize(static_cast<std::size_t>(sheet.width) * sheet.height);
    const int size = TextureSize * scale;
    for (int t = 0; t < TextureCount; ++t) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double v =
                    textures[t](static_cast<double>(x) / scale, static_cast<double>(y) / scale);
                const int step = static_cast<int>(std::lround(v * (RampSize - 1)));
                sheet.At(t * size + x, y) = static_cast<std::uint8_t>(t * RampSize + step);
            }
        }
    }
    return sheet;
}

}  // namespace travoli::assets
