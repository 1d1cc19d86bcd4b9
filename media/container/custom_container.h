#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "media/container/byte_stream.h"
#include "media/container/list_item.h"

namespace travoli {

// The base of the lists: an ordered list owning entries of one kind, addressed by position.
class TCustomContainer {
  public:
    virtual ~TCustomContainer() = default;
    TCustomContainer(const TCustomContainer&) = delete;
    TCustomContainer& operator=(const TCustomContainer&) = delete;

    // The Compressed setting that new entries start with.
    bool DefaultCompressed() const { return defaultCompressed_; }
    void SetDefaultCompressed(bool compressed) { defaultCompressed_ = compressed; }

    std::size_t Count() const { return items_.size(); }
    // Throws std::out_of_range for a position past the end.
    TListItem& Item(std::size_t index);
    const TListItem& Item(std::size_t index) const;

    // Appends an empty entry.
    TListItem& AddItem();
    // Appends an entry read from `in`; on error nothing is appended and `in` stays put.
    TListItem& ReadItem(ByteReader& in);
    void Clear() { items_.clear(); }

  protected:
    TCustomContainer() = default;
    virtual std::unique_ptr<TListItem> CreateItem() const = 0;
    TListItem& Append(std::unique_ptr<TListItem> item);

  private:
    std::vector<std::unique_ptr<TListItem>> items_;
    bool defaultCompressed_ = true;
};

}  // namespace travoli
