#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/embedded_records.h"

namespace travoli::assets {

struct BuiltRecord {
    std::string name;  // the EmbeddedRecord enumerator
    std::vector<std::uint8_t> bytes;
};

// The item record of one embedded picture or sound, with the ident, compression and flags
// that the records table gives it. `payload` is its BMP or RIFF WAVE file.
BuiltRecord BuildRecord(const EmbeddedRecordEntry& entry, const std::vector<std::uint8_t>& payload);

// C++ source with the records as byte arrays behind EmbeddedRecordBytes.
std::string EmbeddedRecordsSource(const std::vector<BuiltRecord>& records);

}  // namespace travoli::assets
