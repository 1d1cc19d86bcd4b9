#include "media/container/custom_container.h"

#include <stdexcept>
#include <string>

namespace travoli {

TListItem& TCustomContainer::Item(std::size_t index) {
    if (index >= items_.size()) {
        throw std::out_of_range("list position " + std::to_string(index) + " out of range (" +
                                std::to_string(items_.size()) + " entries)");
    }
    return *items_[index];
}

const TListItem& TCustomContainer::Item(std::size_t index) const {
    return const_cast<TCustomContainer*>(this)->Item(index);
}

TListItem& TCustomContainer::Append(std::unique_ptr<TListItem> item) {
    items_.push_back(std::move(item));
    return *items_.back();
}

TListItem& TCustomContainer::AddItem() {
    auto item = CreateItem();
    item->SetCompressed(defaultCompressed_);
    return Append(std::move(item));
}

TListItem& TCustomContainer::ReadItem(ByteReader& in) {
    auto item = CreateItem();
    item->ReadRecord(in);
    return Append(std::move(item));
}

}  // namespace travoli
