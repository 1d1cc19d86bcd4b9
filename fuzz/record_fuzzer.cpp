// Reads arbitrary bytes as an item record of both kinds. A record that loads must write back
// to a record that loads to the same thing; one that fails must leave the item as it was.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "media/container/bitmap_list.h"
#include "media/container/byte_stream.h"
#include "media/container/wave_list.h"

namespace {

template <typename Item>
void Exercise(std::span<const std::uint8_t> bytes) {
    Item item;
    item.SetIdent(77);
    const std::vector<std::uint8_t> before = item.SaveRecord();
    travoli::ByteReader reader(bytes);
    try {
        item.ReadRecord(reader);
    } catch (const travoli::ERecordError&) {
        if (item.SaveRecord() != before || reader.Position() != 0) {
            std::abort();  // a failed load changed something
        }
        return;
    }
    const std::vector<std::uint8_t> saved = item.SaveRecord();
    Item again;
    again.LoadRecord(saved);
    if (again.SaveRecord() != saved) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    Exercise<travoli::TWaveListItem>(bytes);
    Exercise<travoli::TBitmapListItem>(bytes);
    return 0;
}
