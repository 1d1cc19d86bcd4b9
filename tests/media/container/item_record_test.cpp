#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/container/bitmap_list.h"
#include "media/container/chunk_codec.h"
#include "media/container/list_item.h"
#include "media/container/wave_list.h"
#include "tests/media/container/test_support.h"

namespace travoli {
namespace {

using test::Bytes;
using test::Join;
using test::Text;
using test::U32;

TEST(ItemRecord, FlagsZeroIsAOneByteEmptyItem) {
    TWaveListItem wave;
    wave.LoadRecord(Bytes{0x00});
    EXPECT_TRUE(wave.IsEmpty());
    EXPECT_EQ(wave.Ident(), 0);
    EXPECT_EQ(wave.Description(), "");
    EXPECT_FALSE(wave.Compressed());
    EXPECT_EQ(wave.SaveRecord(), Bytes{0x00});

    TBitmapListItem image;
    image.LoadRecord(Bytes{0x00});
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.SaveRecord(), Bytes{0x00});
}

TEST(ItemRecord, HeaderFieldsAreWrittenAsTheFlagsSay) {
    struct Case {
        const char* name;
        bool compressed;
        std::string description;
        std::uint16_t ident;
        bool withSound;
        Bytes header;  // the record up to its payload
    };
    const std::string longText(300, 'd');
    const Case cases[] = {
        {"nothing", false, "", 0, false, {0x00}},
        {"compressed but empty", true, "", 0, false, {0x01}},
        {"description", false, "Hi", 0, false, {0x02, 2, 'H', 'i'}},
        {"ident", false, "", 6, false, Join({{0x04}, U32(6)})},
        {"ident 0xFFFF", false, "", 0xFFFF, false, Join({{0x04}, U32(0xFFFF)})},
        {"both", false, "Ab", 5, false, Join({{0x06, 2, 'A', 'b'}, U32(5)})},
        {"sound, stored", false, "", 6, true, Join({{0x0C}, U32(6)})},
        {"sound, compressed", true, "", 4, true, Join({{0x0D}, U32(4)})},
        {"description cut to 255", false, longText, 0, false, Join({{0x02, 255}, Bytes(255, 'd')})},
    };
    for (const Case& c : cases) {
        TWaveListItem item;
        item.SetCompressed(c.compressed);
        item.SetDescription(c.description);
        item.SetIdent(c.ident);
        if (c.withSound) {
            item.Wave().LoadFromBytes(test::MinimalWave());
        }
        const Bytes record = item.SaveRecord();
        ASSERT_GE(record.size(), c.header.size()) << c.name;
        EXPECT_EQ(Bytes(record.begin(), record.begin() + c.header.size()), c.header) << c.name;
        if (!c.withSound) {
            EXPECT_EQ(record.size(), c.header.size()) << c.name;
        }

        TWaveListItem back;
        back.LoadRecord(record);
        EXPECT_EQ(back.Compressed(), c.compressed) << c.name;
        EXPECT_EQ(back.Description(), c.description.substr(0, 255)) << c.name;
        EXPECT_EQ(back.Ident(), c.ident) << c.name;
        EXPECT_EQ(Bytes(back.Wave().Bytes().begin(), back.Wave().Bytes().end()),
                  Bytes(item.Wave().Bytes().begin(), item.Wave().Bytes().end()))
            << c.name;
    }
}

TEST(ItemRecord, OnlyTheLowSixteenBitsOfTheIdentCount) {
    TWaveListItem item;
    item.LoadRecord(Join({{0x04}, U32(0x00012345)}));
    EXPECT_EQ(item.Ident(), 0x2345);
}

TEST(ItemRecord, CompressedPayloadIsCutIntoPiecesOf32781) {
    Bytes wave = test::MinimalWave(70000);
    for (std::size_t i = 44; i < wave.size(); ++i) {
        wave[i] = static_cast<std::uint8_t>(i * 7 / 3);
    }
    TWaveListItem item;
    item.SetCompressed(true);
    item.Wave().LoadFromBytes(wave);
    const Bytes record = item.SaveRecord();

    ByteReader reader(record);
    const ItemRecord parsed = ReadItemRecord(reader);
    ASSERT_EQ(parsed.chunks.size(), 3u);
    EXPECT_EQ(parsed.chunks[0].pieceLength, MaxPieceSize);
    EXPECT_EQ(parsed.chunks[1].pieceLength, MaxPieceSize);
    EXPECT_EQ(parsed.chunks[2].pieceLength, wave.size() - 2 * MaxPieceSize);
    std::uint32_t total = 0;
    for (const auto& chunk : parsed.chunks) {
        total += 4 + chunk.codedLength;
    }
    EXPECT_EQ(parsed.storedLength, total);
    EXPECT_EQ(parsed.payload, wave);
}

TEST(ItemRecord, CompressedSoundWithTotalZeroIsEmpty) {
    test::FakeOutput output;
    TWaveListItem item;
    item.Wave().SetOutput(&output);
    item.Wave().LoadFromBytes(test::MinimalWave());
    item.LoadRecord(Join({{0x0D}, U32(4), U32(0)}));
    EXPECT_TRUE(item.IsEmpty());
    EXPECT_EQ(item.Ident(), 4);
    EXPECT_EQ(output.stops, 1);  // the old block is stopped before it is freed
}

TEST(ItemRecord, ImageWithoutPayloadKeepsItsImage) {
    TBitmapListItem item;
    item.LoadRecord(Join({{0x08},
                          U32(static_cast<std::uint32_t>(test::MinimalBitmap().size())),
                          test::MinimalBitmap()}));
    ASSERT_FALSE(item.IsEmpty());
    item.LoadRecord(Join({{0x26, 1, 'x'}, U32(9)}));
    EXPECT_EQ(item.Bitmap().size(), test::MinimalBitmap().size());
    EXPECT_EQ(item.Ident(), 9);
    EXPECT_EQ(item.Description(), "x");
    EXPECT_EQ(item.Depth(), BitmapDepth::Colors16);
}

TEST(ItemRecord, DepthChoiceIsReadLowestBitFirstAndWrittenBack) {
    const std::pair<std::uint8_t, BitmapDepth> cases[] = {
        {0x00, BitmapDepth::AsIs},      {0x10, BitmapDepth::Colors2},
        {0x30, BitmapDepth::Colors2},   {0x20, BitmapDepth::Colors16},
        {0x40, BitmapDepth::Colors256}, {0xC0, BitmapDepth::Colors256},
        {0x80, BitmapDepth::Other},
    };
    for (const auto& [flags, depth] : cases) {
        TBitmapListItem item;
        item.LoadRecord(Bytes{flags});
        EXPECT_EQ(item.Depth(), depth) << int(flags);
    }
    TBitmapListItem item;
    item.SetDepth(BitmapDepth::Colors256);
    EXPECT_EQ(item.RecordFlags(), 0x40);
}

// A coded chunk of run items only: `size` bytes of 7 from a few dozen coded bytes.
Bytes RunChunk(std::size_t size) {
    Bytes items;
    int count = 0;
    while (size > 0) {
        std::size_t run = std::min<std::size_t>(size, 4095);
        if (size - run > 0 && size - run < 16) {
            run = size - 16;
        }
        items.insert(items.end(), {0x00, static_cast<std::uint8_t>((run - 16) >> 8),
                                   static_cast<std::uint8_t>((run - 16) & 0xFF), 7});
        size -= run;
        ++count;
    }
    const auto control = static_cast<std::uint16_t>(0xFFFF << (16 - count));
    return Join(
        {{0x40, static_cast<std::uint8_t>(control >> 8), static_cast<std::uint8_t>(control & 0xFF)},
         items});
}

// A compressed record whose chunks decode to the given pieces.
Bytes RunRecord(std::uint8_t flags, const std::vector<std::size_t>& pieces) {
    Bytes chunks;
    for (std::size_t piece : pieces) {
        const Bytes chunk = RunChunk(piece);
        chunks = Join({chunks, U32(static_cast<std::uint32_t>(chunk.size())), chunk});
    }
    return Join({{flags}, U32(static_cast<std::uint32_t>(chunks.size())), chunks});
}

TEST(ItemRecord, PayloadUpToTheLimitIsRead) {
    std::vector<std::size_t> pieces(MaxChunkCount - 1, MaxPieceSize);
    pieces.push_back(MaxPayloadSize - (MaxChunkCount - 1) * MaxPieceSize);
    const Bytes record = RunRecord(0x09, pieces);
    ByteReader reader(record);
    const ItemRecord read = ReadItemRecord(reader);
    EXPECT_EQ(read.payload.size(), MaxPayloadSize);
    EXPECT_EQ(read.chunks.size(), MaxChunkCount);
    EXPECT_TRUE(reader.AtEnd());
}

struct BadRecord {
    const char* name;
    Bytes record;
    const char* message;
};

template <typename Item>
void ExpectRefusedAndUnchanged(const BadRecord& c, const Bytes& goodRecord) {
    Item item;
    item.LoadRecord(goodRecord);
    const Bytes before = item.SaveRecord();
    ByteReader reader(c.record);
    try {
        item.ReadRecord(reader);
        ADD_FAILURE() << c.name << ": no error";
    } catch (const ERecordError& error) {
        EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
            << c.name << ": " << error.what();
    }
    EXPECT_EQ(reader.Position(), 0u) << c.name;
    EXPECT_EQ(item.SaveRecord(), before) << c.name << ": item changed";
}

TEST(ItemRecord, MalformedSoundRecordsFailAndLoseNothing) {
    const Bytes wave = test::MinimalWave();
    TWaveListItem source;
    source.SetIdent(5);
    source.SetDescription("kept");
    source.Wave().LoadFromBytes(wave);
    source.SetCompressed(true);
    const Bytes good = source.SaveRecord();

    const Bytes stored = Join({{0x80}, wave});
    const auto len = [](const Bytes& b) { return U32(static_cast<std::uint32_t>(b.size())); };
    Bytes huge = Join({{0x09}, U32(MaxChunkSize + 1 + 4), U32(MaxChunkSize + 1)});
    huge.resize(huge.size() + MaxChunkSize + 1, 0x80);
    // 31 KB of run items that would decode to 16.8 MB; and chunks of nothing, one too many.
    const Bytes pastTheLimit =
        RunRecord(0x09, std::vector<std::size_t>(MaxChunkCount, MaxPieceSize));
    Bytes emptyChunks = Join({{0x09}, U32(static_cast<std::uint32_t>(5 * (MaxChunkCount + 1)))});
    for (std::size_t i = 0; i <= MaxChunkCount; ++i) {
        emptyChunks = Join({emptyChunks, U32(1), {0x80}});
    }

    const BadRecord cases[] = {
        {"empty", {}, "inside its flags"},
        {"no description length", {0x02}, "inside its description length"},
        {"short description", {0x02, 5, 'a', 'b'}, "inside its description"},
        {"short ident", {0x04, 1, 0}, "inside its ident"},
        {"short payload length", {0x08, 1, 0}, "inside its payload length"},
        {"short payload", Join({{0x08}, U32(100), wave}), "inside its payload"},
        {"short total", {0x09, 0}, "inside its compressed total"},
        {"short chunk length", Join({{0x09}, U32(10), {1, 0}}), "inside its chunk length"},
        {"short chunk", Join({{0x09}, U32(4 + 60), U32(60), stored}), "inside its chunk"},
        {"chunk longer than 32782", huge, "exceeds 32782"},
        {"announced payload past the limit", Join({{0x08}, U32(MaxPayloadSize + 1)}),
         "payload length 16777217 exceeds the limit of 16777216 bytes"},
        {"announced total past the limit",
         Join({{0x09}, U32(static_cast<std::uint32_t>(MaxCompressedTotal + 1))}),
         "exceeds the limit"},
        {"decoded past the limit", pastTheLimit, "decodes past the limit of 16777216 bytes"},
        {"more chunks than the limit needs", emptyChunks, "more than 512 chunks"},
        {"total smaller than its chunk", Join({{0x09}, U32(10), len(stored), stored}),
         "disagrees with its chunks"},
        {"total with bytes left over",
         Join({{0x09}, U32(4 + stored.size() + 2), len(stored), stored}),
         "disagrees with its chunks"},
        {"copy before the start", Join({{0x09}, U32(9), U32(5), {0x40, 0x80, 0x00, 0x00, 0x30}}),
         "copy reaches"},
        {"not RIFF", Join({{0x08}, U32(4), Text("RIFX")}), "\"RIFF\""},
        {"not WAVE", Join({{0x08}, U32(12), Text("RIFF"), U32(4), Text("AVI ")}), "\"WAVE\""},
        {"no fmt", Join({{0x08}, U32(16), Text("RIFF"), U32(4), Text("WAVEdata")}), "\"fmt \""},
        {"empty stored sound", Join({{0x08}, U32(0)}), "invalid wave"},
        {"sound cut in its header", Join({{0x08}, U32(20), Bytes(wave.begin(), wave.begin() + 20)}),
         "error checking wave"},
        {"sound cut in its signature", Join({{0x08}, U32(2), Text("RI")}), "error checking wave"},
    };
    for (const BadRecord& c : cases) {
        ExpectRefusedAndUnchanged<TWaveListItem>(c, good);
    }
}

TEST(ItemRecord, SoundValidationErrorsHaveTheirOwnKinds) {
    EXPECT_THROW(CheckWave(Text("RIFX")), EInvalidWave);
    EXPECT_THROW(CheckWave(Bytes{}), EInvalidWave);
    EXPECT_THROW(CheckWave(Text("RIF")), EErrorCheckingWave);
    const Bytes wave = test::MinimalWave();
    EXPECT_THROW(CheckWave(Bytes(wave.begin(), wave.begin() + 33)), EErrorCheckingWave);
    EXPECT_NO_THROW(CheckWave(Bytes(wave.begin(), wave.begin() + 34)));
}

TEST(ItemRecord, MalformedImageRecordsFailAndLoseNothing) {
    const Bytes bmp = test::MinimalBitmap();
    TBitmapListItem source;
    source.SetBitmap(bmp);
    const Bytes good = source.SaveRecord();
    auto withPayload = [](const Bytes& payload) {
        return Join({{0x08}, U32(static_cast<std::uint32_t>(payload.size())), payload});
    };
    Bytes badPlanes = bmp;
    badPlanes[26] = 2;
    Bytes badDepth = bmp;
    badDepth[28] = 3;
    Bytes shortPixels(bmp.begin(), bmp.end() - 1);
    Bytes badOffset = bmp;
    badOffset[10] = 20;

    const BadRecord cases[] = {
        {"not BM", withPayload(Join({Text("XM"), Bytes(bmp.begin() + 2, bmp.end())})), "\"BM\""},
        {"too short", withPayload(Text("BM")), "too short"},
        {"two planes", withPayload(badPlanes), "colour planes"},
        {"3 bits per pixel", withPayload(badDepth), "bits per pixel"},
        {"pixels cut short", withPayload(shortPixels), "pixel data needs"},
        {"offset inside the palette", withPayload(badOffset), "pixel data offset"},
    };
    for (const BadRecord& c : cases) {
        ExpectRefusedAndUnchanged<TBitmapListItem>(c, good);
    }
}

TEST(ItemRecord, StrayBytesAfterARecordAreReported) {
    TWaveListItem item;
    EXPECT_THROW(item.LoadRecord(Bytes{0x00, 0x00}), ERecordError);
    // Reading from a stream leaves it just after the record instead.
    const Bytes two = {0x04, 7, 0, 0, 0, 0x00};
    ByteReader reader(two);
    item.ReadRecord(reader);
    EXPECT_EQ(item.Ident(), 7);
    EXPECT_EQ(reader.Position(), 5u);
}

TEST(MediaLists, EntriesAreAppendedInReadingOrderAndAddressedByPosition) {
    test::FakeOutput output;
    TWaveList waves;
    waves.SetOutput(&output);
    Bytes stream;
    for (std::uint16_t ident : {4, 5, 6}) {
        TWaveListItem item;
        item.SetIdent(ident);
        item.Wave().LoadFromBytes(test::MinimalWave(ident));
        const Bytes record = item.SaveRecord();
        stream.insert(stream.end(), record.begin(), record.end());
    }
    stream.push_back(0x02);  // a fourth record that ends inside its description length
    ByteReader reader(stream);
    for (int i = 0; i < 3; ++i) {
        waves.Read(reader);
    }
    EXPECT_THROW(waves.Read(reader), ERecordError);
    ASSERT_EQ(waves.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(waves.Items(i).Ident(), 4 + i);
        EXPECT_EQ(waves.Items(i).Wave().Output(), &output);
    }
    EXPECT_TRUE(waves.Items(1).Wave().Play());
    EXPECT_EQ(output.lastPlayed, test::MinimalWave(5));
    EXPECT_THROW(waves.Items(3), std::out_of_range);

    test::FakeOutput other;
    waves.SetOutput(&other);
    EXPECT_EQ(waves.Items(0).Wave().Output(), &other);
    EXPECT_EQ(waves.Add().Wave().Output(), &other);

    waves.Clear();
    EXPECT_EQ(waves.Count(), 0u);
}

TEST(MediaLists, NewEntriesTakeTheDefaultCompressedSetting) {
    TBitmapList bitmaps;
    bitmaps.SetDefaultCompressed(false);
    EXPECT_FALSE(bitmaps.Add().Compressed());
    bitmaps.SetDefaultCompressed(true);
    EXPECT_TRUE(bitmaps.Add().Compressed());
    EXPECT_EQ(bitmaps.Count(), 2u);
}

}  // namespace
}  // namespace travoli
