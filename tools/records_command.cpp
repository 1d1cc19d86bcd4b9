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

enum RecordOption {
    CompressedOption = 256,
    IdentOption,
    DescriptionOption,
    ImageOption,
    SoundOption
};

int Pack(const ParsedArgs& parsed) {
    bool compressed = false;
    bool image = false;
    bool sound = false;
    std::uint16_t ident = 0;
    std::string description;
    for (const auto& [id, value] : parsed.options) {
        if (id == CompressedOption) {
            compressed = true;
        } else if (id == ImageOption) {
            image = true;
        } else if (id == SoundOption) {
            sound = true;
        } else if (id == DescriptionOption) {
            if (value.size() > MaxDescriptionLength) {
                return WrongCall("records",
                                 "records pack: the description is longer than 255 characters");
            }
            description = value;
        } else {
            std::size_t used = 0;
            unsigned long number = 0;
            try {
                number = std::stoul(value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != value.size() || value.empty() || value[0] == '-' || number > 0xFFFF) {
                return WrongCall(
                    "records", "records pack: --ident takes a number 0-65535, not '" + value + "'");
            }
            ident = static_cast<std::uint16_t>(number);
        }
    }
    if (image == sound) {
        return WrongCall("records", "records pack: one of --image and --sound is needed");
    }
    const Args files(parsed.operands.begin() + 1, parsed.operands.end());
    if (files.size() != 2) {
        return WrongCall("records", "records pack: IN and OUT are needed");
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

}  // namespace

int RunRecords(const Args& args) {
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("records", args,
                   {{"compressed", false, CompressedOption},
                    {"ident", true, IdentOption},
                    {"description", true, DescriptionOption},
                    {"image", false, ImageOption},
                    {"sound", false, SoundOption}},
                   parsed, status)) {
        return status;
    }
    const Args& words = parsed.operands;
    if (words.empty()) {
        return WrongCall("records", "records: no action given");
    }
    const std::string& action = words[0];
    if (action != "info" && action != "unpack" && action != "pack") {
        return WrongCall("records", "records: unknown action '" + action + "'");
    }
    if (action != "pack" && !parsed.options.empty()) {
        return WrongCall("records", "records " + action + " takes no options");
    }
    if ((action == "info" && words.size() != 2) || (action == "unpack" && words.size() != 3)) {
        return WrongCall("records", "records " + action + ": wrong number of arguments");
    }
    try {
        if (action == "info") {
            return Info(words[1]);
        }
        if (action == "unpack") {
            return Unpack(words[1], words[2]);
        }
        return Pack(parsed);
    } catch (const std::exception& error) {
        return Fail("records " + action + ": " + error.what());
    }
}

int RunChunk(const Args& args) {
    ParsedArgs parsed;
    int status = 0;
    if (!ParseArgs("chunk", args, {}, parsed, status)) {
        return status;
    }
    const Args& words = parsed.operands;
    if (words.size() != 1 || (words[0] != "encode" && words[0] != "decode")) {
        return WrongCall("chunk", "chunk: encode or decode is needed");
    }
    // A piece, or a chunk with its tag: anything longer is refused while it is read.
    Bytes input;
    if (std::string error; !ReadInput(MaxChunkSize, input, error)) {
        return Fail("chunk " + args[0] + ": " + error);
    }
    try {
        if (words[0] == "encode") {
            if (input.size() > MaxPieceSize) {
                return Fail("chunk encode: a piece holds at most 32781 bytes, got " +
                            std::to_string(input.size()));
            }
            WriteStdout(EncodePiece(input));
        } else {
            WriteStdout(DecodeChunk(input));
        }
    } catch (const std::exception& error) {
        return Fail("chunk " + words[0] + ": " + error.what());
    }
    return 0;
}

}  // namespace travoli::tool
