// Numbers as text without the C library's formatted I/O, which in the Windows stub would bring
// mingw's own printf and strtod (50 KiB) for three call sites.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorin {

// The text "%f" (or "%.<decimals>f") of the C library gives for a finite value: the exact binary
// value rounded to nearest, ties to even, with no exponent ("-0.000000" for -0.0).
std::string FixedText(double value, int decimals = 6);

// Lower-case hexadecimal digits of value, as "%x" writes them.
std::string HexText(unsigned value);

// A decimal number at the start of text, as strtod reads one: leading blanks, a sign, digits
// with an optional point, an optional exponent. Hexadecimal, "inf" and "nan" are not read.
// *used (when given) is the count of characters read, 0 when there is no number (value 0).
// Within an ulp or so of the correctly rounded value, which is all sizes in points need.
double ReadDecimal(std::string_view text, size_t* used = nullptr);

}  // namespace qorin
