// Pixel memory for the native build: plain zeroed memory.
#include <cstdlib>

#include "bitmap.h"

namespace qorin {
namespace {

class HeapPixelMemory final : public IXPixelMemory {
 public:
  uint8_t* Allocate(int, int height, int, int stride, void** platform) override {
    *platform = nullptr;
    return static_cast<uint8_t*>(std::calloc(static_cast<size_t>(stride) * height, 1));
  }
  void Release(void*, uint8_t* bits) override { std::free(bits); }
};

}  // namespace

IXPixelMemory& SystemPixelMemory() {
  static HeapPixelMemory memory;
  return memory;
}

}  // namespace qorin
