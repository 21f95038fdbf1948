#include "display_dpi.h"

#include <cstdint>
#include <cstdlib>

namespace qorin {
namespace {

int g_displayDpi = kDefaultDpi;

}  // namespace

int DisplayDpi() {
  return g_displayDpi;
}

void SetDisplayDpi(int dpi) {
  if (dpi > 0) g_displayDpi = dpi;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = int64_t{a} * b;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = (std::abs(product) + std::abs(int64_t{c}) / 2) / std::abs(int64_t{c});
  if (magnitude > INT32_MAX) return -1;  // as Windows answers a result that does not fit
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace qorin
