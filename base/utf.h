// Conversions between the core's UTF-16 text and UTF-8 bytes. Ill-formed input becomes U+FFFD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qorin {

std::u16string Utf8ToUtf16(std::string_view text);
// The same into *out, whose storage is reused.
void Utf8ToUtf16(std::string_view text, std::u16string* out);
std::string Utf16ToUtf8(std::u16string_view text);
// Widens the leading ASCII bytes (sixteen at a time) into out; returns how many there were.
size_t CopyAscii(const uint8_t* in, size_t length, char16_t* out);

// A text file's bytes as text: UTF-16LE after the byte-order mark FF FE, otherwise UTF-8 (with or
// without its mark); the text ends at the first zero.
std::u16string DecodeTextFile(const uint8_t* data, size_t size);

// Literal helper for tests and tables: u"..." is already UTF-16; this turns ASCII bytes into it.
std::u16string AsciiToUtf16(std::string_view text);

}  // namespace qorin
