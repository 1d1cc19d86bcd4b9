#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace travoli::tool {

using Bytes = std::vector<std::uint8_t>;

// Reads the file at `path` only when it is a regular file of at most `limit` bytes. Anything
// else (a directory, a device, a FIFO, a socket) is refused without being read from, and a
// longer file is refused once `limit` bytes have been read. False with a one-line reason.
bool ReadRegularFile(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error);

// Reads standard input to its end, refusing it as soon as it holds more than `limit` bytes.
bool ReadInput(std::size_t limit, Bytes& bytes, std::string& error);

// Writes `bytes` to a new file made exclusively in the folder of `path` (never a fixed name,
// never through a link) and renames it over `path`. A `path` that exists and is not a regular
// file is refused. On failure `path` is left as it was and nothing stays behind.
bool WriteRegularFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      std::string& error);

}  // namespace travoli::tool
