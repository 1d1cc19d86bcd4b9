// The generated assets and the embedded records: exact sizes, formats and the records table.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "assets/embedded_records.h"
#include "assets/pictures.h"
#include "media/container/bitmap_list.h"
#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"
#include "media/container/list_item.h"
#include "media/container/wave_list.h"
#include "tests/media/container/test_support.h"

namespace travoli {
namespace {

using test::Bytes;

Bytes ReadAsset(const std::string& name) {
    std::ifstream in(std::string(TRAVOLI_ASSET_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::span<const std::uint8_t> Record(EmbeddedRecord id) {
    return EmbeddedRecordBytes(id);
}

TEST(Assets, SheetsHaveTheirExactBmpLayout) {
    struct Case {
        const char* file;
        std::size_t size;
        int width, height, bits;
        std::uint32_t offset, colours;
    };
    const Case cases[] = {
        {"tile_sheet.bmp", 65530, 546, 237, 4, 118, 16},
        {"background_sheet.bmp", 99382, 768, 128, 8, 1078, 256},
    };
    for (const Case& c : cases) {
        const Bytes bmp = ReadAsset(c.file);
        ASSERT_EQ(bmp.size(), c.size) << c.file;
        const BitmapInfo info = ParseBitmap(bmp);
        EXPECT_EQ(info.fileSizeField, c.size) << c.file;
        EXPECT_EQ(info.width, c.width) << c.file;
        EXPECT_EQ(info.height, c.height) << c.file;
        EXPECT_FALSE(info.topDown) << c.file;
        EXPECT_EQ(info.bitsPerPixel, c.bits) << c.file;
        EXPECT_EQ(info.compression, 0u) << c.file;
        EXPECT_EQ(info.headerSize, 40u) << c.file;
        EXPECT_EQ(info.pixelOffset, c.offset) << c.file;
        EXPECT_EQ(info.paletteColors, c.colours) << c.file;
    }
}

double Luma(QRgb c) {
    return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
}

TEST(Assets, TileSheetFieldsDifferClearlyInBrightness) {
    const Bytes bmp = ReadAsset("tile_sheet.bmp");
    const QImage sheet = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    ASSERT_FALSE(sheet.isNull());
    // The middle of the bare field (column 6) shows each row's field colour.
    const double red = Luma(sheet.pixel(6 * 78 + 39, 39));
    const double white = Luma(sheet.pixel(6 * 78 + 39, 79 + 39));
    const double blue = Luma(sheet.pixel(6 * 78 + 39, 2 * 79 + 39));
    EXPECT_GT(white - red, 60);
    EXPECT_GT(red - blue, 30);
    EXPECT_GT(qRed(sheet.pixel(6 * 78 + 39, 39)), 2 * qBlue(sheet.pixel(6 * 78 + 39, 39)));
    EXPECT_GT(qBlue(sheet.pixel(6 * 78 + 39, 2 * 79 + 39)),
              2 * qRed(sheet.pixel(6 * 78 + 39, 2 * 79 + 39)));
    // Every cross tile draws something on its field; the bare field is empty inside its frame.
    for (int row = 0; row < 3; ++row) {
        const QRgb field = sheet.pixel(6 * 78 + 39, row * 79 + 39);
        for (int kind = 0; kind < 7; ++kind) {
            int other = 0;
            for (int y = 4; y < 75; ++y) {
                for (int x = 4; x < 74; ++x) {
                    other += sheet.pixel(kind * 78 + x, row * 79 + y) != field;
                }
            }
            if (kind == 6) {
                EXPECT_EQ(other, 0) << "row " << row;
            } else {
                EXPECT_GT(other, 800) << "kind " << kind << " row " << row;
            }
        }
    }
}

TEST(Assets, BackgroundTexturesTileWithoutSeams) {
    const Bytes bmp = ReadAsset("background_sheet.bmp");
    const QImage sheet = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    ASSERT_FALSE(sheet.isNull());
    auto diff = [&](int x0, int y0, int x1, int y1) {
        const QRgb a = sheet.pixel(x0, y0), b = sheet.pixel(x1, y1);
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b));
    };
    for (int t = 0; t < 6; ++t) {
        const int left = t * 128;
        double inside = 0, acrossX = 0, acrossY = 0;
        for (int i = 0; i < 128; ++i) {
            inside += diff(left + 63, i, left + 64, i) + diff(left + i, 63, left + i, 64);
            acrossX += diff(left + 127, i, left, i);
            acrossY += diff(left + i, 127, left + i, 0);
        }
        // The wrap-around edges change no more than neighbouring pixels inside do.
        EXPECT_LE(acrossX, inside + 128 * 6) << "texture " << t;
        EXPECT_LE(acrossY, inside + 128 * 6) << "texture " << t;
    }
}

struct WaveChunk {
    std::string tag;
    std::size_t offset;  // of its body
    std::uint32_t size;
};

std::vector<WaveChunk> WaveChunks(const Bytes& wave) {
    std::vector<WaveChunk> chunks;
    std::size_t at = 12;
    while (at + 8 <= wave.size()) {
        const std::uint32_t size = LoadU32(wave, at + 4);
        chunks.push_back({std::string(wave.begin() + at, wave.begin() + at + 4), at + 8, size});
        at += 8 + size + (size % 2);
    }
    EXPECT_EQ(at, wave.size());
    return chunks;
}

TEST(Assets, SoundsAreEightBitMonoPcmOfTheirExactSizes) {
    struct Case {
        const char* file;
        std::size_t size;
        std::uint32_t rate, samples, fmtSize;
        std::vector<std::string> tags;
    };
    const Case cases[] = {
        {"sound_solved.wav", 9110, 11025, 9051, 18, {"fmt ", "fact", "data"}},
        {"sound_move.wav", 1614, 5512, 1570, 16, {"fmt ", "data"}},
        {"sound_refused.wav", 6830, 11025, 6691, 16, {"fmt ", "data", "LIST"}},
    };
    for (const Case& c : cases) {
        const Bytes wave = ReadAsset(c.file);
        ASSERT_EQ(wave.size(), c.size) << c.file;
        EXPECT_NO_THROW(CheckWave(wave)) << c.file;
        EXPECT_EQ(LoadU32(wave, 4), c.size - 8) << c.file;
        const auto chunks = WaveChunks(wave);
        std::vector<std::string> tags;
        for (const auto& chunk : chunks) {
            tags.push_back(chunk.tag);
        }
        ASSERT_EQ(tags, c.tags) << c.file;
        const WaveChunk& fmt = chunks[0];
        EXPECT_EQ(fmt.size, c.fmtSize) << c.file;
        EXPECT_EQ(LoadU16(wave, fmt.offset), 1) << c.file;      // PCM
        EXPECT_EQ(LoadU16(wave, fmt.offset + 2), 1) << c.file;  // mono
        EXPECT_EQ(LoadU32(wave, fmt.offset + 4), c.rate) << c.file;
        EXPECT_EQ(LoadU32(wave, fmt.offset + 8), c.rate) << c.file;
        EXPECT_EQ(LoadU16(wave, fmt.offset + 12), 1) << c.file;
        EXPECT_EQ(LoadU16(wave, fmt.offset + 14), 8) << c.file;
        for (const auto& chunk : chunks) {
            if (chunk.tag == "fact") {
                EXPECT_EQ(LoadU32(wave, chunk.offset), c.samples) << c.file;
            }
            if (chunk.tag != "data") {
                continue;
            }
            ASSERT_EQ(chunk.size, c.samples) << c.file;
            const auto first = wave.begin() + chunk.offset;
            // No click at either end, no clipping, and something to hear.
            EXPECT_LE(std::abs(first[0] - 128), 2) << c.file;
            EXPECT_LE(std::abs(first[c.samples - 1] - 128), 2) << c.file;
            int loudest = 0;
            for (std::size_t i = 0; i < c.samples; ++i) {
                EXPECT_GT(first[i], 0);
                EXPECT_LT(first[i], 255);
                loudest = std::max(loudest, std::abs(first[i] - 128));
            }
            EXPECT_GT(loudest, 40) << c.file;
        }
    }
}

TEST(Assets, EmbeddedRecordsFollowTheRecordsTable) {
    struct Case {
        EmbeddedRecord id;
        const char* file;
        std::uint8_t flags;
        std::uint16_t ident;
        std::size_t payload;
        std::size_t chunks;
    };
    const Case cases[] = {
        {EmbeddedRecord::TileSheet, "tile_sheet.bmp", 0x09, 0, 65530, 2},
        {EmbeddedRecord::BackgroundSheet, "background_sheet.bmp", 0x0D, 1, 99382, 4},
        {EmbeddedRecord::SolvedSound, "sound_solved.wav", 0x0D, 4, 9110, 1},
        {EmbeddedRecord::MoveSound, "sound_move.wav", 0x0D, 5, 1614, 1},
        {EmbeddedRecord::RefusedSound, "sound_refused.wav", 0x0C, 6, 6830, 0},
    };
    for (const Case& c : cases) {
        const auto bytes = Record(c.id);
        ASSERT_FALSE(bytes.empty()) << c.file;
        EXPECT_EQ(bytes[0], c.flags) << c.file;
        ByteReader reader(bytes);
        const ItemRecord record = ReadItemRecord(reader);
        EXPECT_TRUE(reader.AtEnd()) << c.file;
        EXPECT_EQ(record.ident, c.ident) << c.file;
        EXPECT_TRUE(record.description.empty()) << c.file;
        EXPECT_EQ(record.payload.size(), c.payload) << c.file;
        EXPECT_EQ(record.chunks.size(), c.chunks) << c.file;
        EXPECT_EQ(record.payload, ReadAsset(c.file)) << c.file;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()),
                  ReadAsset(std::string("records/") +
                            std::string(c.file).replace(std::string(c.file).find('.'), 4, ".rec")))
            << c.file;
    }
}

TEST(Assets, EveryRecordRoundTripsAndEveryPieceReencodesToItsChunk) {
    TBitmapList bitmaps;
    TWaveList waves;
    for (const EmbeddedRecordEntry& entry : EmbeddedRecords) {
        const auto bytes = Record(entry.id);
        ByteReader in(bytes);
        const auto& item = entry.sound ? static_cast<const TListItem&>(waves.Read(in))
                                       : static_cast<const TListItem&>(bitmaps.Read(in));
        EXPECT_EQ(item.SaveRecord(), Bytes(bytes.begin(), bytes.end())) << entry.file;
    }

    // Walk the chunks by hand: each decoded piece, coded again, is the stored chunk.
    for (EmbeddedRecord id : {EmbeddedRecord::TileSheet, EmbeddedRecord::BackgroundSheet,
                              EmbeddedRecord::SolvedSound, EmbeddedRecord::MoveSound}) {
        ByteReader in(Record(id));
        const std::uint8_t flags = in.ReadU8("flags");
        if (flags & RecordFlag::Ident) {
            in.ReadU32("ident");
        }
        std::uint32_t left = in.ReadU32("total");
        while (left > 0) {
            const std::uint32_t length = in.ReadU32("length");
            const auto chunk = in.ReadBytes(length, "chunk");
            const Bytes piece = DecodeChunk(chunk);
            EXPECT_EQ(EncodePiece(piece), Bytes(chunk.begin(), chunk.end()));
            left -= 4 + length;
        }
    }
}

TEST(Assets, PicturesHaveTheirExactSizesWithAlphaAndAreBundled) {
    InitPictures();
    const std::pair<const char*, QSize> pictures[] = {
        {"icon", {32, 32}},
        {"restart", {18, 18}},
        {"hint", {18, 18}},
        {"hint_disabled", {18, 18}},
        {"sound", {16, 16}},
        {"sound_disabled", {16, 16}},
        {"exit", {18, 18}},
        {"prev", {13, 13}},
        {"next", {13, 13}},
        {"info", {18, 18}},
        {"tongue", {15, 15}},
        {"smile", {17, 17}},
        {"bomb", {18, 18}},
        {"cross", {18, 18}},
        {"tick", {18, 18}},
        {"flags_en", {53, 20}},
        {"flags_de", {80, 20}},
        {"logo_maker", {101, 77}},
        {"logo_association", {121, 69}},
    };
    for (const auto& [name, size] : pictures) {
        const QString base = QStringLiteral(":/pictures/") + QLatin1String(name);
        const QImage normal(base + ".png");
        const QImage dense(base + "@2x.png");
        ASSERT_FALSE(normal.isNull()) << name;
        EXPECT_EQ(normal.size(), size) << name;
        EXPECT_TRUE(normal.hasAlphaChannel()) << name;
        EXPECT_EQ(dense.size(), size * 2) << name;
        // Something is drawn, and not over the whole picture for the toolbar's small ones.
        int opaque = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                opaque += qAlpha(normal.pixel(x, y)) > 128;
            }
        }
        EXPECT_GT(opaque, normal.width() * normal.height() / 8) << name;
    }
    for (int size : {TRAVOLI_ICON_SIZES}) {
        const QImage icon(QString(TRAVOLI_ASSET_DIR) + "/pictures/icon-" + QString::number(size) +
                          ".png");
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
}

}  // namespace
}  // namespace travoli
