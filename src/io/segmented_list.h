#pragma once

// A list of T over a SegmentedArray whose first segment lives inside the list: elements never
// move once placed, and the first `InlineCount` of them need no allocation. It constructs and
// destroys the elements that the array only holds as raw storage.

#include <cstdint>
#include <new>
#include <utility>

#include "io/segmented_array.h"

template <typename T, uint32_t InlineCount = 1>
class SegmentedList {
  public:
    static_assert(InlineCount > 0, "the first segment must hold at least one element");

    SegmentedList() : array_(sizeof(T), inline_, inline_ + sizeof inline_) {}
    ~SegmentedList() {
        // Last placed, first destroyed.
        for (uint32_t index = array_.count(); index > 0; --index) at(index - 1).~T();
    }
    // The first segment lives inside the list, so the elements cannot follow a move of it.
    SegmentedList(const SegmentedList&) = delete;
    SegmentedList& operator=(const SegmentedList&) = delete;

    uint32_t count() const { return array_.count(); }
    T& at(uint32_t index) { return *static_cast<T*>(array_.ElementAt(index)); }
    const T& at(uint32_t index) const { return *static_cast<const T*>(array_.ElementAt(index)); }

    // Constructs one more element at the end; when the construction throws, the list is as before.
    template <typename... Args>
    T& Emplace(Args&&... args) {
        void* slot = array_.AppendSlot();
        try {
            return *new (slot) T(std::forward<Args>(args)...);
        } catch (...) {
            // The slot holds no element: it must not be destroyed as one.
            array_.RemoveLast();
            throw;
        }
    }

    const SegmentedArray& storage() const { return array_; }

  private:
    alignas(T) unsigned char inline_[sizeof(T) * InlineCount];
    SegmentedArray array_;
};
