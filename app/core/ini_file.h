// The installer's INI reader: package trailer, developer side file, configuration, language
// files, version file.
//
//   FF FE ...      UTF-16LE          [section]          ; comment
//   EF BB BF ...   UTF-8             key = value        "quoted" or 'quoted' values lose the quotes
//   anything else  UTF-8
//
// The text ends at its first zero character. Section and key names compare without regard to
// ASCII letter case; of duplicates the first wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text.h"

namespace qorin {

class XIniFile {
 public:
  // False for a text shorter than two bytes.
  bool Parse(const uint8_t* data, size_t size);
  void ParseText(std::u16string_view text);

  size_t SectionCount() const { return sections_.size(); }
  bool HasKey(std::u16string_view section, std::u16string_view key) const;
  std::u16string GetText(std::u16string_view section, std::u16string_view key,
                         std::u16string_view fallback = u"") const;
  // The value's leading decimal digits; 0 when missing.
  uint64_t GetNumber(std::u16string_view section, std::u16string_view key) const;

 private:
  struct Section {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> keys;
  };
  const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;

  std::vector<Section> sections_;
};

// Helpers shared with the other text rules of the installer.
uint64_t LeadingNumber(std::u16string_view text);

}  // namespace qorin
