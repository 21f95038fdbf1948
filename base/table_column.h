// One column of a constant table as a list, for the tools' listings:
//   ColumnOf(kTags, &TagRow::tag)
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace qorin {

template <typename Row, typename Field>
std::vector<std::u16string_view> ColumnOf(std::span<const Row> rows, Field Row::*field) {
  std::vector<std::u16string_view> column;
  for (const Row& row : rows) column.push_back(row.*field);
  return column;
}

template <typename Row, size_t N, typename Field>
std::vector<std::u16string_view> ColumnOf(const Row (&rows)[N], Field Row::*field) {
  return ColumnOf(std::span<const Row>(rows), field);
}

}  // namespace qorin
