#include "io/data_receiver.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

void DataFilter::Transform(ConstByteRange& source, ByteRange& destination) const {
    const size_t room = static_cast<size_t>(destination.last - destination.first);
    const size_t available = static_cast<size_t>(source.last - source.first);
    const size_t count = std::min(room, available);
    if (count == 0) return;
    // The ranges may overlap; memmove copies backwards when the source lies below.
    std::memmove(destination.first, source.first, count);
    source.first += count;
    destination.first += count;
}

const DataFilter& CopyFilter() {
    static const DataFilter filter;
    return filter;
}

void BufferFiller::Start() {
    if (target_ != nullptr) target_->cursor = target_->begin;
}

void BufferFiller::Receive(const uint8_t* first, const uint8_t* last) {
    // A detached filler has nowhere to put bytes; it drops them like any excess.
    if (first == last || target_ == nullptr || filter_ == nullptr) return;
    ConstByteRange source{first, last};
    ByteRange destination{target_->cursor, target_->end};
    filter_->Transform(source, destination);
    target_->cursor = destination.first;
}

void BufferFiller::Finish() {
    target_ = nullptr;
    filter_ = nullptr;
}
