// travoli-tool records / chunk: look into, unpack and pack item records; code single pieces.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "media/container/bitmap_list.h"
#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"
#include "media/container/list_item.h"
#include "media/container/wave_list.h"
#include "tools/commands.h"
#include "tools/file_access.h"

namespace travoli::tool {

namespace {

void WriteStdout(const Bytes& bytes) {
    std::cout.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
}

std::string FlagNames(std::uint8_t flags) {
    static const char* names[] = {"compressed", "description", "ident",       "payload",
                                  "2 colours",  "16 colours",  "256 colours", "other depth"};
    std::string out;
    for (int bit = 0; bit < 8; ++bit) {
        if (flags & (1 << bit)) {
            out += (out.empty() ? "" : ", ") + std::string(names[bit]);
        }
    }
    return out.empty() ? "none" : out;
}

bool IsImage(const Bytes& payload) {
    return payload.size() >= 2 && payload[0] == 'B' && payload[1] == 'M';
}

bool IsSound(const Bytes& payload) {
    return payload.size() >= 4 && std::equal(payload.begin(), payload.begin() + 4, "RIFF");
}

// Reads a file that must be exactly one item record.
ItemRecord LoadRecordFile(const std::string& path) {
    // Flags, description, ident, total, then the payload: a longer file is no record, and
    // is refused before it is read into memory.
    constexpr std::size_t LongestRecord = 1 + 1 + MaxDescriptionLength + 4 + 4 + MaxCompressedTotal;
    Bytes bytes;
    std::string error;
    if (!ReadRegularFile(path, LongestRecord, bytes, error)) {
        throw ERecordError(error);
    }
    ByteReader reader(bytes);
    ItemRecord record = ReadItemRecord(reader);
    if (!reader.AtEnd()) {
        throw ERecordError(std::to_string(reader.Remaining()) +
                           " stray bytes after the item record");
    }
    return record;
}

int Info(const std::string& path) {
    const ItemRecord record = LoadRecordFile(path);
    std::ostringstream out;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", record.flags);
    out << "flags: " << hex << " (" << FlagNames(record.flags) << ")\n";
    out << "description: "
        << (record.description.empty() ? "(none)" : "\"" + record.description + "\"") << '\n';
    out << "ident: " << record.ident << '\n';
    if (!record.HasPayload()) {
        out << "payload: none\n";
        std::cout << out.str();
        return 0;
    }
    if (record.payload.empty()) {
        out << "payload: empty\n";
    } else if (IsImage(record.payload)) {
        const BitmapInfo bmp = ParseBitmap(record.payload);
        out << "payload: image, " << record.payload.size() << " bytes (BMP " << bmp.width << " x "
            << bmp.height << ", " << bmp.bitsPerPixel << " bits per pixel)\n";
    } else if (IsSound(record.payload)) {
        CheckWave(record.payload);
        out << "payload: sound, " << record.payload.size() << " bytes (RIFF WAVE)\n";
    } else {
        throw ERecordError("the payload is neither a BMP file nor a RIFF WAVE file");
    }
    if (!record.IsCompressed()) {
        out << "stored: uncompressed, " << record.storedLength << " bytes\n";
    } else {
        out << "stored: compressed, total " << record.storedLength << " in " << record.chunks.size()
            << " chunks\n";
        for (std::size_t i = 0; i < record.chunks.size(); ++i) {
            const auto& chunk = record.chunks[i];
            out << "chunk " << i + 1 << ": " << (chunk.stored ? "stored" : "coded") << ", "
                << chunk.codedLength << " bytes -> " << chunk.pieceLength << " bytes\n";
        }
    }
    std::cout << out.str();
    return 0;
}

int Unpack(const std::string& path, const std::string& target) {
    const ItemRecord record = LoadRecordFile(path);
    if (!record.HasPayload()) {
        return Fail("records unpack: " + path + " holds no payload");
    }
    if (std::string error; !WriteRegularFile(target, record.payload, error)) {
        return Fail("records unpack: " + error);
    }
    return 0;
}

int Pack(const Args& args) {
    bool compressed = false;
    bool image = false;
    bool sound = false;
    std::uint16_t ident = 0;
    std::string description;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--compressed") {
            compressed = true;
        } else if (arg == "--image") {
            image = true;
        } else if (arg == "--sound") {
            sound = true;
        } else if (arg == "--ident" || arg == "--description") {
            if (i + 1 == args.size()) {
                return Fail("records pack: " + arg + " needs a value");
            }
            const std::string& value = args[++i];
            if (arg == "--description") {
                if (value.size() > MaxDescriptionLength) {
                    return Fail("records pack: the description is longer than 255 characters");
                }
                description = value;
                continue;
            }
            std::size_t used = 0;
            unsigned long number = 0;
            try {
                number = std::stoul(value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != value.size() || value.empty() || value[0] == '-' || number > 0xFFFF) {
                return Fail("records pack: --ident takes a number 0-65535, not '" + value + "'");
            }
            ident = static_cast<std::uint16_t>(number);
        } else if (arg.starts_with("--")) {
            return Fail("records pack: unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (image == sound || files.size() != 2) {
        return Fail(
            "usage: records pack [--compressed] [--ident N] [--description TEXT] "
            "(--image|--sound) IN OUT");
    }
    Bytes payload;
    if (std::string error; !ReadRegularFile(files[0], MaxPayloadSize, payload, error)) {
        return Fail("records pack: " + error);
    }
    Bytes record;
    if (image) {
        TBitmapListItem item;
        item.SetBitmap(payload);
        item.SetCompressed(compressed);
        item.SetIdent(ident);
        item.SetDescription(description);
        record = item.SaveRecord();
    } else {
        CheckWave(payload);
        TWaveListItem item;
        item.Wave().LoadFromBytes(payload);
        item.SetCompressed(compressed);
        item.SetIdent(ident);
        item.SetDescription(description);
        record = item.SaveRecord();
    }
    if (std::string error; !WriteRegularFile(files[1], record, error)) {
        return Fail("records pack: " + error);
    }
    return 0;
}

constexpr const char* RecordsUsage =
    "usage: records info FILE | records unpack FILE OUT | records pack [--compressed] "
    "[--ident N] [--description TEXT] (--image|--sound) IN OUT";

}  // namespace

int RunRecords(const Args& args) {
    try {
        if (args.size() == 2 && args[0] == "info") {
            return Info(args[1]);
        }
        if (args.size() == 3 && args[0] == "unpack") {
            return Unpack(args[1], args[2]);
        }
        if (!args.empty() && args[0] == "pack") {
            return Pack(Args(args.begin() + 1, args.end()));
        }
    } catch (const std::exception& error) {
        return Fail("records " + args[0] + ": " + error.what());
    }
    return Fail(RecordsUsage);
}

int RunChunk(const Args& args) {
    if (args.size() != 1 || (args[0] != "encode" && args[0] != "decode")) {
        return Fail("usage: chunk encode|decode  (stdin to stdout)");
    }
    // A piece, or a chunk with its tag: anything longer is refused while it is read.
    Bytes input;
    if (std::string error; !ReadInput(MaxChunkSize, input, error)) {
        return Fail("chunk " + args[0] + ": " + error);
    }
    try {
        if (args[0] == "encode") {
            if (input.size() > MaxPieceSize) {
                return Fail("chunk encode: a piece holds at most 32781 bytes, got " +
                            std::to_string(input.size()));
            }
            WriteStdout(EncodePiece(input));
        } else {
            WriteStdout(DecodeChunk(input));
        }
    } catch (const std::exception& error) {
        return Fail("chunk " + args[0] + ": " + error.what());
    }
    return 0;
}

}  // namespace travoli::tool
