#include "tools/asset_builder/indexed_image.h"

#include <limits>
#include <stdexcept>

namespace travoli::assets {

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace

IndexedImage Quantize(const QImage& source, const std::vector<QRgb>& palette, int bitsPerPixel) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    IndexedImage out;
    out.width = image.width();
    out.height = image.height();
    out.bitsPerPixel = bitsPerPixel;
    out.palette = palette;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            const QRgb c = line[x];
            int best = 0;
            long bestDistance = std::numeric_limits<long>::max();
            for (std::size_t i = 0; i < palette.size(); ++i) {
                const long dr = qRed(c) - qRed(palette[i]);
                const long dg = qGreen(c) - qGreen(palette[i]);
                const long db = qBlue(c) - qBlue(palette[i]);
                const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = static_cast<int>(i);
                }
            }
            out.At(x, y) = static_cast<std::uint8_t>(best);
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image) {
    if (image.bitsPerPixel != 4 && image.bitsPerPixel != 8) {
        throw std::invalid_argument("EncodeBmp: only 4 or 8 bits per pixel");
    }
    const std::size_t colours = std::size_t{1} << image.bitsPerPixel;
    if (image.palette.size() > colours) {
        throw std::invalid_argument("EncodeBmp: palette too large");
    }
    const std::size_t stride =
        ((static_cast<std::size_t>(image.width) * image.bitsPerPixel + 31) / 32) * 4;
    const std::size_t offset = 14 + 40 + 4 * colours;
    const std::size_t size = offset + stride * image.height;

    std::vector<std::uint8_t> out;
    out.reserve(size);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(image.width));
    PutU32(out, static_cast<std::uint32_t>(image.height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
    PutU32(out, 0);  // uncompressed rows
    PutU32(out, static_cast<std::uint32_t>(stride * image.height));
    PutU32(out, 3780);  // 96 dpi
    PutU32(out, 3780);
    PutU32(out, static_cast<std::uint32_t>(colours));
    PutU32(out, 0);
    for (std::size_t i = 0; i < colours; ++i) {
        const QRgb c = i < image.palette.size() ? image.palette[i] : qRgb(0, 0, 0);
        out.push_back(static_cast<std::uint8_t>(qBlue(c)));
        out.push_back(static_cast<std::uint8_t>(qGreen(c)));
        out.push_back(static_cast<std::uint8_t>(qRed(c)));
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t index = image.At(x, y);
            if (image.bitsPerPixel == 8) {
                row[x] = index;
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index & 0x0F);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

QImage ToQImage(const IndexedImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            line[x] = image.palette[image.At(x, y)];
        }
    }
    return out;
}

}  // namespace travoli::assets
