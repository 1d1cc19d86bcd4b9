#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace travoli::assets {

struct BuiltRecord {
    std::string name;  // the EmbeddedRecord enumerator
    std::vector<std::uint8_t> bytes;
};

// The five item records in list order: tile sheet, background sheet, three sounds.
std::vector<BuiltRecord> BuildRecords(const std::vector<std::uint8_t>& tileSheet,
                                      const std::vector<std::uint8_t>& backgroundSheet,
                                      const std::vector<std::uint8_t>& solved,
                                      const std::vector<std::uint8_t>& move,
                                      const std::vector<std::uint8_t>& refused);

// C++ source with the records as byte arrays behind EmbeddedRecordBytes.
std::string EmbeddedRecordsSource(const std::vector<BuiltRecord>& records);

}  // namespace travoli::assets
