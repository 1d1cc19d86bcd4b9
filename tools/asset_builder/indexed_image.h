#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

namespace travoli::assets {

// A palette image as a BMP file holds it: one palette index per pixel, top row first.
struct IndexedImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;  // 4 or 8
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels;

    std::uint8_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Maps every pixel of `image` to the nearest palette colour (weighted for the eye).
IndexedImage Quantize(const QImage& image, const std::vector<QRgb>& palette, int bitsPerPixel);

// The BMP file: BITMAPINFOHEADER, full palette, uncompressed bottom-up rows padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image);

// Back to true colour, for previews.
QImage ToQImage(const IndexedImage& image);

}  // namespace travoli::assets
