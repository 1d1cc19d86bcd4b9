#include "media/container/chunk_codec.h"

#include <array>
#include <stdexcept>
#include <string>

#include "media/container/byte_stream.h"

namespace travoli {

namespace {

constexpr std::size_t MinCopy = 3;
constexpr std::size_t MaxCopy = 18;
constexpr std::size_t MinRun = 16;
constexpr std::size_t MaxRun = 4095;
constexpr std::size_t MaxDistance = 4095;
constexpr std::uint16_t EmptySlot = 0xFFFF;

[[noreturn]] void Malformed(const std::string& what, std::size_t offset) {
    throw ERecordError("malformed chunk: " + what + " at offset " + std::to_string(offset));
}

void CheckGrowth(const std::vector<std::uint8_t>& piece, std::size_t count, std::size_t offset) {
    if (piece.size() + count > MaxPieceSize) {
        Malformed("piece would grow past " + std::to_string(MaxPieceSize) + " bytes", offset);
    }
}

std::size_t Hash(std::span<const std::uint8_t> piece, std::size_t x) {
    auto at = [&](std::size_t i) -> std::uint32_t { return i < piece.size() ? piece[i] : 0; };
    const std::uint32_t mixed = (((at(x) << 4) ^ at(x + 1)) << 4) ^ at(x + 2);
    return ((mixed * 40543u) >> 4) & 0x0FFF;
}

}  // namespace

std::vector<std::uint8_t> DecodeChunk(std::span<const std::uint8_t> chunk) {
    const std::size_t length = chunk.size();
    if (length == 0) {
        throw ERecordError("malformed chunk: coded length 0");
    }
    if (length > MaxChunkSize) {
        throw ERecordError("malformed chunk: coded length " + std::to_string(length) + " exceeds " +
                           std::to_string(MaxChunkSize));
    }
    if (chunk[0] == StoredChunkTag) {
        return {chunk.begin() + 1, chunk.end()};
    }
    if (length < 3) {
        Malformed("chunk ends inside its first control word", length);
    }

    std::vector<std::uint8_t> piece;
    piece.reserve(MaxPieceSize);
    std::uint16_t control = static_cast<std::uint16_t>((chunk[1] << 8) | chunk[2]);
    std::size_t p = 3;
    int itemsLeft = 16;
    while (p < length) {
        if (itemsLeft == 0) {
            if (p + 2 > length) {
                Malformed("chunk ends inside a control word", p);
            }
            control = static_cast<std::uint16_t>((chunk[p] << 8) | chunk[p + 1]);
            p += 2;
            itemsLeft = 16;
            // A control word that is the chunk's last bytes describes nothing.
            if (p == length) {
                break;
            }
        }
        if (control & 0x8000) {
            if (p + 2 > length) {
                Malformed("chunk ends inside a copy item", p);
            }
            const std::size_t distance = chunk[p] * 16u + (chunk[p + 1] >> 4);
            if (distance != 0) {
                const std::size_t count = (chunk[p + 1] & 0x0F) + MinCopy;
                if (distance > piece.size()) {
                    Malformed("copy reaches " + std::to_string(distance) + " bytes back, only " +
                                  std::to_string(piece.size()) + " decoded",
                              p);
                }
                CheckGrowth(piece, count, p);
                // Byte by byte: the source may overlap what is being produced.
                for (std::size_t i = 0; i < count; ++i) {
                    piece.push_back(piece[piece.size() - distance]);
                }
                p += 2;
            } else {
                if (p + 4 > length) {
                    Malformed("chunk ends inside a run item", p);
                }
                const std::size_t count = chunk[p + 1] * 256u + chunk[p + 2] + MinRun;
                CheckGrowth(piece, count, p);
                piece.insert(piece.end(), count, chunk[p + 3]);
                p += 4;
            }
        } else {
            CheckGrowth(piece, 1, p);
            piece.push_back(chunk[p]);
            p += 1;
        }
        control = static_cast<std::uint16_t>(control << 1);
        --itemsLeft;
    }
    return piece;
}

std::vector<std::uint8_t> EncodePiece(std::span<const std::uint8_t> piece) {
    const std::size_t size = piece.size();
    if (size > MaxPieceSize) {
        throw std::invalid_argument("EncodePiece: piece of " + std::to_string(size) +
                                    " bytes exceeds " + std::to_string(MaxPieceSize));
    }
    std::array<std::uint16_t, 4096> table;
    table.fill(EmptySlot);

    // Room for one control word and one item written past S before the coder gives up.
    std::vector<std::uint8_t> out(size + 6);
    out[0] = CodedChunkTag;
    std::size_t slot = 1;
    std::size_t y = 3;
    std::size_t x = 0;
    int items = 0;
    std::uint32_t accumulator = 0;

    auto writeControl = [&]() {
        out[slot] = static_cast<std::uint8_t>(accumulator >> 8);
        out[slot + 1] = static_cast<std::uint8_t>(accumulator);
    };

    while (x < size && y <= size) {
        if (items == 16) {
            writeControl();
            slot = y;
            y += 2;
            items = 0;
        }
        std::uint32_t bit = 0;
        std::size_t run = 1;
        while (run < MaxRun && x + run < size && piece[x + run] == piece[x]) {
            ++run;
        }
        if (run >= MinRun) {
            out[y] = 0x00;
            out[y + 1] = static_cast<std::uint8_t>((run - MinRun) >> 8);
            out[y + 2] = static_cast<std::uint8_t>((run - MinRun) & 0xFF);
            out[y + 3] = piece[x];
            y += 4;
            x += run;
            bit = 1;
        } else {
            const std::size_t h = Hash(piece, x);
            const std::size_t candidate = table[h];
            table[h] = static_cast<std::uint16_t>(x);
            std::size_t match = 0;
            if (candidate != EmptySlot && candidate < 32768 && x - candidate <= MaxDistance) {
                while (match < MaxCopy && x + match < size &&
                       piece[x + match] == piece[candidate + match]) {
                    ++match;
                }
            }
            if (match >= MinCopy) {
                const std::uint32_t code =
                    static_cast<std::uint32_t>((x - candidate) * 16 + (match - MinCopy));
                out[y] = static_cast<std::uint8_t>(code >> 8);
                out[y + 1] = static_cast<std::uint8_t>(code);
                y += 2;
                x += match;
                bit = 1;
            } else {
                out[y] = piece[x];
                y += 1;
                x += 1;
            }
        }
        accumulator = ((accumulator << 1) | bit) & 0xFFFF;
        ++items;
    }
    accumulator = (accumulator << (16 - items)) & 0xFFFF;
    writeControl();

    if (y > size) {
        std::vector<std::uint8_t> stored;
        stored.reserve(size + 1);
        stored.push_back(StoredChunkTag);
        stored.insert(stored.end(), piece.begin(), piece.end());
        return stored;
    }
    out.resize(y);
    return out;
}

}  // namespace travoli
