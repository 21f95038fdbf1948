// A file read into memory: its bytes followed by two zero bytes, so that a UTF-16 text in it is
// terminated. length counts the file's bytes only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qorin {

struct XByteBuffer {
  std::vector<uint8_t> storage;  // length + 2 bytes
  size_t length = 0;

  const uint8_t* data() const { return storage.data(); }
  uint8_t* data() { return storage.data(); }
  std::string_view view() const { return {reinterpret_cast<const char*>(storage.data()), length}; }
};

}  // namespace qorin
