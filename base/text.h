// Small text helpers shared by every layer: ASCII case folding and comparison (as the C
// library's case-insensitive comparison of 8-bit texts does), white-space trimming.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

char16_t AsciiLower(char16_t c);
std::u16string AsciiLower(std::u16string_view text);
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Space, tab, CR, LF, VT and FF.
bool IsAsciiSpace(char16_t c);
// The text without white space at either end.
std::u16string_view TrimSpace(std::u16string_view text);

// Replaces every occurrence of from, left to right, in one pass: a replacement is not searched
// again. Linear in the text's length.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);

}  // namespace qorin
