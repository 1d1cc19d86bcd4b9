// Decoding the five embedded records and coding one 32781-byte piece of each kind of content.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "assets/embedded_records.h"
#include "media/container/bitmap_list.h"
#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"
#include "media/container/wave_list.h"

namespace {

using travoli::EmbeddedRecord;

void BM_DecodeAllRecords(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        travoli::TBitmapList bitmaps;
        travoli::TWaveList waves;
        bytes = 0;
        for (EmbeddedRecord id : {EmbeddedRecord::TileSheet, EmbeddedRecord::BackgroundSheet}) {
            travoli::ByteReader in(travoli::EmbeddedRecordBytes(id));
            bytes += bitmaps.Read(in).Bitmap().size();
        }
        for (EmbeddedRecord id : {EmbeddedRecord::SolvedSound, EmbeddedRecord::MoveSound,
                                  EmbeddedRecord::RefusedSound}) {
            travoli::ByteReader in(travoli::EmbeddedRecordBytes(id));
            bytes += waves.Read(in).Wave().Bytes().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_DecodeAllRecords)->Unit(benchmark::kMicrosecond);

std::vector<std::uint8_t> Payload(EmbeddedRecord id) {
    travoli::ByteReader in(travoli::EmbeddedRecordBytes(id));
    if (id == EmbeddedRecord::TileSheet || id == EmbeddedRecord::BackgroundSheet) {
        travoli::TBitmapListItem item;
        item.ReadRecord(in);
        return {item.Bitmap().begin(), item.Bitmap().end()};
    }
    travoli::TWaveListItem item;
    item.ReadRecord(in);
    return {item.Wave().Bytes().begin(), item.Wave().Bytes().end()};
}

// A full piece: the payload's first 32781 bytes, repeated when it is shorter.
std::vector<std::uint8_t> Piece(int kind) {
    std::vector<std::uint8_t> source;
    switch (kind) {
        case 0:
            source = Payload(EmbeddedRecord::TileSheet);
            break;
        case 1:
            source = Payload(EmbeddedRecord::BackgroundSheet);
            break;
        case 2:
            source = Payload(EmbeddedRecord::SolvedSound);
            break;
        default: {
            std::mt19937 engine(7);
            source.resize(travoli::MaxPieceSize);
            for (auto& b : source) {
                b = static_cast<std::uint8_t>(engine());
            }
        }
    }
    std::vector<std::uint8_t> piece;
    while (piece.size() < travoli::MaxPieceSize) {
        piece.insert(piece.end(), source.begin(), source.end());
    }
    piece.resize(travoli::MaxPieceSize);
    return piece;
}

void BM_EncodePiece(benchmark::State& state) {
    const auto piece = Piece(static_cast<int>(state.range(0)));
    std::size_t coded = 0;
    for (auto _ : state) {
        coded = travoli::EncodePiece(piece).size();
        benchmark::DoNotOptimize(coded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * piece.size()));
    state.counters["coded_bytes"] = static_cast<double>(coded);
}
BENCHMARK(BM_EncodePiece)
    ->ArgName("content")  // 0 tile sheet, 1 background, 2 sound, 3 random
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
