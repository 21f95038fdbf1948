// The user-interface languages the installer knows: identifier, the language file's name, and
// an alternate name (the upper-case sublanguage name, such as "ENGLISH_US").
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qorin {

struct UiLanguageRow {
  uint16_t id;
  std::u16string_view name;
  std::u16string_view alternate;
};

std::span<const UiLanguageRow> UiLanguageRows();
// The first row with the identifier, or null.
const UiLanguageRow* FindUiLanguage(uint16_t languageId);

}  // namespace qorin
