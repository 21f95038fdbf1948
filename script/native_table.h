// The host functions a script calls, found by signature key ("DoExit@i", "Show@i"): one row type
// for every host's table (the base library's, the skin's, the installer's) and one look-up.
// Rows keep their table order, which is the functions' numbering; the index is sorted once.
#pragma once

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace qorin {

template <typename Handler>
struct XNativeRow {
  std::u16string_view key;
  Handler handler;
};

template <typename Handler>
class XNativeTable {
 public:
  explicit XNativeTable(std::span<const XNativeRow<Handler>> rows) : rows_(rows) {
    index_.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) index_.emplace_back(rows[i].key, static_cast<int>(i));
    std::sort(index_.begin(), index_.end());
  }

  // The row's number in table order, or -1.
  int Number(std::u16string_view key) const {
    auto found = std::lower_bound(index_.begin(), index_.end(), std::pair{key, -1});
    return found != index_.end() && found->first == key ? found->second : -1;
  }
  const XNativeRow<Handler>* Find(std::u16string_view key) const {
    int number = Number(key);
    return number < 0 ? nullptr : &rows_[static_cast<size_t>(number)];
  }
  std::span<const XNativeRow<Handler>> Rows() const { return rows_; }

 private:
  std::span<const XNativeRow<Handler>> rows_;
  std::vector<std::pair<std::u16string_view, int>> index_;
};

}  // namespace qorin
