#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qorin {
namespace {

// A non-negative integer in 32-bit limbs, least significant first.
using BigNumber = std::vector<uint32_t>;

void MultiplySmall(BigNumber& n, uint32_t factor) {
  uint64_t carry = 0;
  for (uint32_t& limb : n) {
    uint64_t product = uint64_t{limb} * factor + carry;
    limb = static_cast<uint32_t>(product);
    carry = product >> 32;
  }
  if (carry) n.push_back(static_cast<uint32_t>(carry));
}

void AddOne(BigNumber& n) {
  for (uint32_t& limb : n) {
    if (++limb != 0) return;
  }
  n.push_back(1);
}

bool Bit(const BigNumber& n, size_t index) {
  size_t limb = index / 32;
  return limb < n.size() && ((n[limb] >> (index % 32)) & 1);
}

// Whether the bits of n below index are all zero.
bool LowBitsZero(const BigNumber& n, size_t index) {
  for (size_t i = 0; i < index; ++i) {
    if (Bit(n, i)) return false;
  }
  return true;
}

void ShiftLeft(BigNumber& n, size_t bits) {
  n.insert(n.begin(), bits / 32, 0);
  if (bits % 32 == 0) return;
  uint32_t carry = 0;
  for (uint32_t& limb : n) {
    uint32_t next = limb >> (32 - bits % 32);
    limb = (limb << (bits % 32)) | carry;
    carry = next;
  }
  if (carry) n.push_back(carry);
}

// n >> bits, rounded to nearest with ties to even.
BigNumber ShiftRightRounded(const BigNumber& n, size_t bits) {
  BigNumber out;
  for (size_t i = bits; i < n.size() * 32; i += 32) {
    uint32_t limb = 0;
    for (size_t b = 0; b < 32; ++b) limb |= uint32_t{Bit(n, i + b)} << b;
    out.push_back(limb);
  }
  bool half = Bit(n, bits - 1);
  if (half && (!LowBitsZero(n, bits - 1) || Bit(n, bits))) AddOne(out);
  return out;
}

// The decimal digits of n ("0" for zero).
std::string DecimalDigits(BigNumber n) {
  std::string digits;
  while (!n.empty()) {
    uint64_t rest = 0;
    for (size_t i = n.size(); i-- > 0;) {
      uint64_t part = (rest << 32) | n[i];
      n[i] = static_cast<uint32_t>(part / 1000000000);
      rest = part % 1000000000;
    }
    while (!n.empty() && n.back() == 0) n.pop_back();
    for (int i = 0; i < 9 && (rest != 0 || !n.empty()); ++i, rest /= 10) {
      digits.insert(digits.begin(), static_cast<char>('0' + rest % 10));
    }
  }
  return digits.empty() ? "0" : digits;
}

// 10^n by squaring (exact up to 10^22).
double PowerOfTen(int n) {
  double result = 1, square = 10;
  for (; n > 0; n >>= 1, square *= square) {
    if (n & 1) result *= square;
  }
  return result;
}

}  // namespace

std::string FixedText(double value, int decimals) {
  std::string sign = std::signbit(value) ? "-" : "";
  if (std::isnan(value)) return sign + "nan";
  if (std::isinf(value)) return sign + "inf";
  int exponent = 0;
  double fraction = std::frexp(std::fabs(value), &exponent);  // value = fraction * 2^exponent
  auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  exponent -= 53;
  BigNumber scaled{static_cast<uint32_t>(mantissa), static_cast<uint32_t>(mantissa >> 32)};
  for (int i = 0; i < decimals; ++i) MultiplySmall(scaled, 10);
  if (mantissa == 0) {
    scaled.clear();
  } else if (exponent >= 0) {
    ShiftLeft(scaled, static_cast<size_t>(exponent));
  } else {
    scaled = ShiftRightRounded(scaled, static_cast<size_t>(-exponent));
  }
  while (!scaled.empty() && scaled.back() == 0) scaled.pop_back();
  std::string digits = DecimalDigits(scaled);
  size_t width = static_cast<size_t>(decimals) + 1;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<size_t>(decimals), ".");
  return sign + digits;
}

std::string HexText(unsigned value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdef"[value % 16]);
    value /= 16;
  } while (value != 0);
  return digits;
}

double ReadDecimal(std::string_view text, size_t* used) {
  auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  uint64_t mantissa = 0;
  int scale = 0;  // value = mantissa * 10^scale
  bool any = false;
  auto take = [&](bool afterPoint) {
    for (; digit(at); ++at, any = true) {
      if (mantissa < 1000000000000000000ull) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(text[at] - '0');
        scale -= afterPoint;
      } else {
        scale += !afterPoint;  // digits beyond 19 only scale
      }
    }
  };
  take(false);
  if (at < text.size() && text[at] == '.' && (any || digit(at + 1))) {
    ++at;
    take(true);
  }
  if (!any) {
    if (used) *used = 0;
    return 0;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t e = at + 1;
    bool down = e < text.size() && text[e] == '-';
    if (e < text.size() && (text[e] == '-' || text[e] == '+')) ++e;
    if (digit(e)) {
      int power = 0;
      for (; digit(e); ++e) power = std::min(power * 10 + (text[e] - '0'), 100000);
      scale += down ? -power : power;
      at = e;
    }
  }
  if (used) *used = at;
  if (mantissa == 0) return negative ? -0.0 : 0.0;  // whatever the exponent: 0 * 10^400 is no NaN
  // Dividing by an exact power of ten rounds once where multiplying by 10^-n would twice.
  double value = static_cast<double>(mantissa);
  value = scale < 0 ? value / PowerOfTen(-scale) : value * PowerOfTen(scale);
  return negative ? -value : value;
}

}  // namespace qorin
