// Number texts against the C library's own printf and strtod, which they stand in for.
#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace qorin {
namespace {

std::string Printf(const char* format, double value) {
  char text[400];  // the largest double has 309 integer digits
  std::snprintf(text, sizeof text, format, value);
  return text;
}

TEST(NumberText, FixedMatchesPrintf) {
  const double cases[] = {0.0,
                          -0.0,
                          1.0,
                          -1.5,
                          0.5e-6,
                          0.0078125,
                          0.0234375,
                          2.5,
                          1e15 + 0.5,
                          123456.7890125,
                          0.1,
                          1e-7,
                          9.9999995,
                          999999.9999995,
                          1e22,
                          1e300,
                          std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::min(),
                          std::numeric_limits<double>::denorm_min(),
                          4503599627370497.5};
  for (double value : cases) {
    EXPECT_EQ(FixedText(value), Printf("%f", value)) << value;
    EXPECT_EQ(FixedText(value, 0), Printf("%.0f", value)) << value;
    EXPECT_EQ(FixedText(value, 2), Printf("%.2f", value)) << value;
  }
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (i % 2)
      value = std::ldexp(static_cast<double>(bits >> 11), static_cast<int>(bits % 90) - 80);
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(FixedText(value), Printf("%f", value)) << std::hexfloat << value;
  }
  EXPECT_EQ(FixedText(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(NumberText, HexAndDecimalReading) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0xfffffffeu), "fffffffe");
  const char* texts[] = {"9",        " \t-10.5pt",
                         "+.25",     "1e2",
                         "2.5E-1x",  "7.",
                         "1e",       "12345678901234567890123",
                         "0.000001", "-",
                         ".",        "abc",
                         "",         "3.14159265358979",
                         "1e-5000",  "0e400"};
  for (const char* text : texts) {
    char* end = nullptr;
    double expected = std::strtod(text, &end);
    size_t used = 99;
    double value = ReadDecimal(text, &used);
    EXPECT_NEAR(value, expected, std::fabs(expected) * 1e-15) << text;
    EXPECT_EQ(used, static_cast<size_t>(end - text)) << text;
  }
}

}  // namespace
}  // namespace qorin
