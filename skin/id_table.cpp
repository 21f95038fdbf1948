#include "id_table.h"

#include "skin_values.h"
#include "text.h"

namespace qorin {
namespace {

// The next blank-separated word of a line.
std::u16string_view NextWord(std::u16string_view* line) {
  size_t start = 0;
  while (start < line->size() && IsAsciiSpace((*line)[start])) ++start;
  size_t end = start;
  while (end < line->size() && !IsAsciiSpace((*line)[end])) ++end;
  std::u16string_view word = line->substr(start, end - start);
  line->remove_prefix(end);
  return word;
}

bool IsDecimal(std::u16string_view text) {
  size_t i = !text.empty() && text[0] == u'-' ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
  }
  return true;
}

}  // namespace

void XIdTable::LoadHeader(std::u16string_view text) {
  while (!text.empty()) {
    size_t end = text.find(u'\n');
    std::u16string_view line = text.substr(0, end);
    text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);
    if (NextWord(&line) != u"#define") continue;
    std::u16string_view name = NextWord(&line);
    std::u16string_view value = NextWord(&line);
    if (name.empty() || name[0] == u'_' || !IsDecimal(value)) continue;
    int number = ParseInt(value);
    if (number != -1) Add(name, number);
  }
}

const std::pair<std::u16string, int>* XIdTable::Find(std::u16string_view name) const {
  auto found = index_.find(std::u16string(name));
  return found == index_.end() ? nullptr : &entries_[found->second];
}

void XIdTable::Append(std::u16string_view name, int number) {
  index_.emplace(name, entries_.size());
  entries_.emplace_back(name, number);
}

void XIdTable::Add(std::u16string_view name, int number) {
  auto found = index_.find(std::u16string(name));
  if (found != index_.end()) {
    entries_[found->second].second = number;
  } else {
    Append(name, number);
  }
}

bool XIdTable::Resolve(std::u16string_view name, int* number) {
  if (const auto* entry = Find(name)) {
    *number = entry->second;
    return true;
  }
  if (!automatic_ || name.empty()) return false;
  *number = ++lastAutomatic_;
  Append(name, *number);
  return true;
}

bool XIdTable::ResolveValue(std::u16string_view value, int* number) {
  if (IsDecimal(value)) {
    *number = ParseInt(value);
    return true;
  }
  return Resolve(value, number);
}

std::optional<int> XIdTable::Lookup(std::u16string_view name) const {
  const auto* entry = Find(name);
  return entry != nullptr ? std::optional<int>(entry->second) : std::nullopt;
}

std::u16string XIdTable::NameOf(int number) const {
  for (const auto& entry : entries_) {
    if (entry.second == number) return entry.first;
  }
  return {};
}

}  // namespace qorin
