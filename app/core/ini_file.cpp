#include "ini_file.h"

#include "utf.h"

namespace qorin {
namespace {

std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

uint64_t LeadingNumber(std::u16string_view text) {
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    unsigned digit = c - u'0';
    if (value > (UINT64_MAX - digit) / 10) return UINT64_MAX;  // saturates
    value = value * 10 + digit;
  }
  return value;
}

bool XIniFile::Parse(const uint8_t* data, size_t size) {
  sections_.clear();
  if (data == nullptr || size < 2) return false;
  ParseText(DecodeTextFile(data, size));
  return true;
}

void XIniFile::ParseText(std::u16string_view text) {
  sections_.clear();
  Section* current = nullptr;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = TrimSpace(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
      sections_.push_back({std::u16string(TrimSpace(line.substr(1, line.size() - 2))), {}});
      current = &sections_.back();
      continue;
    }
    size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos || current == nullptr) continue;
    std::u16string_view key = TrimSpace(line.substr(0, equals));
    std::u16string_view value = Unquote(TrimSpace(line.substr(equals + 1)));
    current->keys.emplace_back(std::u16string(key), std::u16string(value));
  }
}

const std::u16string* XIniFile::Find(std::u16string_view section, std::u16string_view key) const {
  for (const Section& s : sections_) {
    if (!EqualsIgnoreAsciiCase(s.name, section)) continue;
    for (const auto& [name, value] : s.keys) {
      if (EqualsIgnoreAsciiCase(name, key)) return &value;
    }
  }
  return nullptr;
}

bool XIniFile::HasKey(std::u16string_view section, std::u16string_view key) const {
  return Find(section, key) != nullptr;
}

std::u16string XIniFile::GetText(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view fallback) const {
  const std::u16string* value = Find(section, key);
  return value ? *value : std::u16string(fallback);
}

uint64_t XIniFile::GetNumber(std::u16string_view section, std::u16string_view key) const {
  const std::u16string* value = Find(section, key);
  return value ? LeadingNumber(*value) : 0;
}

}  // namespace qorin
