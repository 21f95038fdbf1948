// libFuzzer: arbitrary bytes as a ZIP archive: open, look up, extract every entry.
#include <cstddef>
#include <cstdint>

#include "zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qorin::XZipReader zip;
  if (!zip.OpenMemory(data, size)) return 0;
  zip.FindEntry(u"setup.ini");
  for (int i = 0; i < zip.EntryCount() && i < 64; ++i) {
    qorin::XByteBuffer buffer;
    zip.ExtractToMemory(i, &buffer);
  }
  return 0;
}
