#include "media/container/chunk_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "media/container/byte_stream.h"
#include "tests/media/container/test_support.h"

namespace travoli {
namespace {

using test::Bytes;

struct DecodeCase {
    const char* name;
    Bytes chunk;
    Bytes piece;
};

Bytes Repeat(std::uint8_t value, std::size_t count) {
    return Bytes(count, value);
}

TEST(ChunkDecode, ItemsDecodeAsLaidOut) {
    Bytes seventeenLiterals = {0x40, 0x00, 0x00};
    Bytes seventeen;
    for (std::uint8_t i = 0; i < 16; ++i) {
        seventeenLiterals.push_back(i + 1);
        seventeen.push_back(i + 1);
    }
    seventeenLiterals.insert(seventeenLiterals.end(), {0x00, 0x00, 0x77});
    seventeen.push_back(0x77);

    Bytes xs = Repeat('x', 19);
    const DecodeCase cases[] = {
        {"stored", {0x80, 'a', 'b', 'c'}, {'a', 'b', 'c'}},
        {"stored empty", {0x80}, {}},
        {"coded empty", {0x40, 0x00, 0x00}, {}},
        // literal 'x', then a copy of distance 1 and length 18
        {"distance-1 copy of 18", {0x40, 0x40, 0x00, 'x', 0x00, 0x1F}, xs},
        {"run of 4095", {0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'v'}, Repeat('v', 4095)},
        {"run of 16", {0x40, 0x80, 0x00, 0x00, 0x00, 0x00, 'v'}, Repeat('v', 16)},
        {"overlapping copy",
         {0x40, 0x20, 0x00, 'a', 'b', 0x00, 0x24},
         {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a'}},
        {"last word with one item", seventeenLiterals, seventeen},
        // copy 'abc' from 3 back after three literals; tags other than 0x80 decode as coded
        {"copy distance 3",
         {0x00, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x30},
         {'a', 'b', 'c', 'a', 'b', 'c'}},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeChunk(c.chunk), c.piece) << c.name;
    }
}

struct MalformedCase {
    const char* name;
    Bytes chunk;
    const char* message;
};

TEST(ChunkDecode, MalformedChunksFailWithTheirReason) {
    Bytes tooLong(MaxChunkSize + 1, 0);
    tooLong[0] = 0x80;
    // Nine runs of 4095 would give 36855 bytes.
    Bytes manyRuns = {0x40, 0xFF, 0x80};
    for (int i = 0; i < 9; ++i) {
        manyRuns.insert(manyRuns.end(), {0x00, 0x0F, 0xEF, 'r'});
    }
    Bytes noSecondWord = {0x40, 0x00, 0x00};
    noSecondWord.insert(noSecondWord.end(), 16, 'l');
    noSecondWord.push_back(0x00);

    const MalformedCase cases[] = {
        {"empty", {}, "coded length 0"},
        {"longer than 32782", tooLong, "exceeds 32782"},
        {"no control word", {0x40, 0x00}, "first control word"},
        {"copy before the start", {0x40, 0x80, 0x00, 0x00, 0x10}, "copy reaches 1 bytes back"},
        {"copy too far back", {0x40, 0x40, 0x00, 'a', 0x00, 0x20}, "copy reaches 2 bytes back"},
        {"run past the piece's end", manyRuns, "grow past 32781"},
        {"truncated copy", {0x40, 0x40, 0x00, 'a', 0x01}, "inside a copy item"},
        {"truncated run", {0x40, 0x80, 0x00, 0x00, 0x00, 0x00}, "inside a run item"},
        {"truncated control word", noSecondWord, "inside a control word"},
    };
    for (const MalformedCase& c : cases) {
        try {
            DecodeChunk(c.chunk);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ERecordError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

TEST(ChunkDecode, LiteralsPastTheLargestPieceAreRefused) {
    // A copy of 18 repeated 1822 times gives 32797 bytes: more than a piece may hold.
    Bytes chunk = {0x40, 0x7F, 0xFF, 'z'};
    std::size_t items = 1;
    while (items < 1 + 1822) {
        if (items % 16 == 0) {
            chunk.insert(chunk.end(), {0xFF, 0xFF});
        }
        chunk.insert(chunk.end(), {0x00, 0x1F});
        ++items;
    }
    EXPECT_THROW(DecodeChunk(chunk), ERecordError);
}

TEST(ChunkEncode, RunsAndStoredChunksAreWrittenAsTheRulesSay) {
    struct Case {
        const char* name;
        Bytes piece;
        Bytes chunk;
    };
    const Case cases[] = {
        {"empty piece is stored", {}, {0x80}},
        {"two bytes are stored", {1, 2}, {0x80, 1, 2}},
        {"16 equal bytes make a run", Repeat(7, 16), {0x40, 0x80, 0x00, 0x00, 0x00, 0x00, 7}},
        {"4095 equal bytes make one run", Repeat(9, 4095), {0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 9}},
        {"4096 equal bytes: a run and a literal",
         Repeat(9, 4096),
         {0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 9, 9}},
        {"15 equal bytes: a literal and an overlapping copy",
         Repeat(5, 15),
         {0x40, 0x40, 0x00, 5, 0x00, 0x1B}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodePiece(c.piece), c.chunk) << c.name;
    }
}

TEST(ChunkEncode, IncompressiblePieceIsStoredAsSPlusOne) {
    const Bytes piece = test::Random(MaxPieceSize, 1);
    const Bytes chunk = EncodePiece(piece);
    ASSERT_EQ(chunk.size(), MaxPieceSize + 1);
    EXPECT_EQ(chunk[0], StoredChunkTag);
    EXPECT_TRUE(std::equal(piece.begin(), piece.end(), chunk.begin() + 1));
}

TEST(ChunkEncode, RoundTripsEveryKindOfPiece) {
    std::string prose;
    while (prose.size() < MaxPieceSize) {
        prose += "Move the arrow crosses until red fills the top row and blue the bottom. ";
    }
    prose.resize(MaxPieceSize);
    Bytes ramp(MaxPieceSize);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<std::uint8_t>((i / 7) ^ (i % 5));
    }
    Bytes mixed = test::Random(5000, 2);
    mixed.insert(mixed.end(), 5000, 0);
    mixed.insert(mixed.end(), prose.begin(), prose.begin() + 5000);
    mixed.insert(mixed.end(), 4111, 0xAA);

    const std::pair<const char*, Bytes> pieces[] = {
        {"zeros", Bytes(MaxPieceSize, 0)},
        {"prose", test::Text(prose)},
        {"ramp", ramp},
        {"mixed", mixed},
        {"random small", test::Random(100, 3)},
        {"one byte", {42}},
        {"three bytes", {1, 1, 1}},
        {"seventeen equal", Repeat(3, 17)},
        {"4111 equal", Repeat(3, 4111)},
    };
    for (const auto& [name, piece] : pieces) {
        const Bytes chunk = EncodePiece(piece);
        EXPECT_LE(chunk.size(), piece.size() + 1) << name;
        EXPECT_EQ(DecodeChunk(chunk), piece) << name;
    }
}

TEST(ChunkEncode, RefusesPiecesLargerThanAPiece) {
    EXPECT_THROW(EncodePiece(Bytes(MaxPieceSize + 1, 0)), std::invalid_argument);
}

}  // namespace
}  // namespace travoli
