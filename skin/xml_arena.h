// Storage for a parsed XML tree: nodes, attribute and child lists and changed texts are carved
// from large blocks and freed together with the document, so parsing allocates a block per
// thousands of nodes instead of several allocations per node. Only trivially destructible
// objects live here; nothing in it is ever destroyed one by one.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <vector>

namespace qorin {

class XXmlArena {
 public:
  template <typename T>
  T* New() {
    static_assert(std::is_trivially_destructible_v<T>);
    return new (Allocate(sizeof(T), alignof(T))) T();
  }

  // A copy of the items, contiguous; an empty list takes no storage.
  template <typename T>
  std::span<const T> Copy(std::span<const T> items) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (items.empty()) return {};
    T* copy = static_cast<T*>(Allocate(items.size_bytes(), alignof(T)));
    std::uninitialized_copy(items.begin(), items.end(), copy);
    return {copy, items.size()};
  }

  // Room for count characters.
  char16_t* Characters(size_t count) {
    return static_cast<char16_t*>(Allocate(count * sizeof(char16_t), alignof(char16_t)));
  }

 private:
  static constexpr size_t kBlockBytes = 64 * 1024;

  void* Allocate(size_t bytes, size_t alignment) {
    size_t at = (used_ + alignment - 1) & ~(alignment - 1);
    if (blocks_.empty() || at + bytes > capacity_) {
      capacity_ = bytes > kBlockBytes ? bytes : kBlockBytes;
      blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(capacity_));
      at = 0;
    }
    used_ = at + bytes;
    return blocks_.back().get() + at;
  }

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  size_t used_ = 0, capacity_ = 0;
};

}  // namespace qorin
