#include "utf.h"

#include <cstdint>
#include <cstring>

namespace qorin {
namespace {

char16_t* PutUtf16(char16_t* out, char32_t c) {
  if (c < 0x10000) {
    *out++ = static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

// Sixteen bytes at a time while they are all ASCII: a loop the compiler widens with vector
// instructions.
size_t CopyAscii(const uint8_t* in, size_t length, char16_t* out) {
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    uint64_t low, high;
    std::memcpy(&low, in + i, 8);
    std::memcpy(&high, in + i + 8, 8);
    if ((low | high) & 0x8080808080808080u) break;
    for (size_t k = 0; k < 16; ++k) out[i + k] = in[i + k];
  }
  while (i < length && in[i] < 0x80) {
    out[i] = in[i];
    ++i;
  }
  return i;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  Utf8ToUtf16(text, &out);
  return out;
}

void Utf8ToUtf16(std::string_view text, std::u16string* out) {
  // A byte never becomes more than one UTF-16 unit, nor four bytes more than two.
  out->resize(text.size());
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  char16_t* start = out->data();
  char16_t* put = start;
  size_t i = 0;
  while (i < text.size()) {
    size_t ascii = CopyAscii(in + i, text.size() - i, put);
    i += ascii;
    put += ascii;
    if (i == text.size()) break;
    unsigned char lead = in[i];
    unsigned extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
    if (extra == 0 || i + extra >= text.size()) {
      *put++ = u'\xFFFD';
      ++i;
      continue;
    }
    char32_t c = lead & (0x3F >> extra);
    bool ok = true;
    for (unsigned k = 1; k <= extra; ++k) {
      unsigned char next = in[i + k];
      if ((next & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
      *put++ = u'\xFFFD';
      ++i;
      continue;
    }
    put = PutUtf16(put, c);
    i += extra + 1;
  }
  out->resize(static_cast<size_t>(put - start));
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string AsciiToUtf16(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

std::u16string DecodeTextFile(const uint8_t* data, size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    std::u16string text;
    text.reserve((size - 2) / 2);
    for (size_t i = 2; i + 1 < size; i += 2) {
      char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
      if (c == 0) break;
      text += c;
    }
    return text;
  }
  size_t start = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
  std::string_view bytes(reinterpret_cast<const char*>(data) + start, size - start);
  bytes = bytes.substr(0, bytes.find('\0'));
  return Utf8ToUtf16(bytes);
}

}  // namespace qorin
