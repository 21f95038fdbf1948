// libFuzzer: arbitrary bytes as an INI text.
#include <cstddef>
#include <cstdint>

#include "ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qorin::XIniFile ini;
  if (ini.Parse(data, size)) {
    ini.GetText(u"qorin", u"config");
    ini.GetNumber(u"qorin", u"stub_size");
  }
  return 0;
}
