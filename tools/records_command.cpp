// travoli-tool records / chunk: look into, unpack and pack item records; code single pieces.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "media/container/bitmap_list.h"
#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"
#include "media/container/list_item.h"
#include "media/container/wave_list.h"
#include "tools/commands.h"

namespace travoli::tool {

namespace {

using Bytes = std::vector<std::uint8_t>;

bool ReadWholeFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes beside the target and renames, so a failure never leaves a torn file behind.
bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

Bytes ReadStdin() {
    std::istreambuf_iterator<char> begin(std::cin.rdbuf()), end;
    return Bytes(begin, end);
}

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
    constexpr std::uintmax_t LongestRecord =
        1 + 1 + MaxDescriptionLength + 4 + 4 + MaxCompressedTotal;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > LongestRecord) {
        throw ERecordError(path + " holds " + std::to_string(size) +
                           " bytes, more than any item record within the payload limit");
    }
    Bytes bytes;
    if (!ReadWholeFile(path, bytes)) {
        throw ERecordError("cannot read " + path);
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
    if (!WriteWholeFile(target, record.payload)) {
        return Fail("records unpack: cannot write " + target);
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
    if (!ReadWholeFile(files[0], payload)) {
        return Fail("records pack: cannot read " + files[0]);
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
    if (!WriteWholeFile(files[1], record)) {
        return Fail("records pack: cannot write " + files[1]);
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
    const Bytes input = ReadStdin();
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
