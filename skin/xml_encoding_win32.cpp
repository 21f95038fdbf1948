// Code pages for the stub: MultiByteToWideChar with UTF-8 or the system's ANSI code page.
#include <windows.h>

#include "xml_document.h"

namespace qorin {

bool DecodeCodePage(unsigned codePage, const uint8_t* bytes, size_t length, std::u16string* text) {
  text->clear();
  if (length == 0) return true;
  UINT page = codePage == 65001 ? CP_UTF8 : CP_ACP;
  const char* input = reinterpret_cast<const char*>(bytes);
  int size = MultiByteToWideChar(page, 0, input, static_cast<int>(length), nullptr, 0);
  if (size <= 0) return false;
  text->resize(static_cast<size_t>(size));
  return MultiByteToWideChar(page, 0, input, static_cast<int>(length),
                             reinterpret_cast<wchar_t*>(text->data()), size) == size;
}

}  // namespace qorin
