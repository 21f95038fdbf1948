// PNG files written by ImageMagick decode to the pixels ImageMagick itself reads from them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "image_decode.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

// The real ImageMagick: /usr/local/bin may hold a stand-in of the same name.
constexpr char kConvert[] = "/usr/bin/convert";

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ImageMagickPng : public ::testing::TestWithParam<const char*> {};

TEST_P(ImageMagickPng, SamePixelsAsImageMagick) {
  if (!fs::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  fs::path dir = fs::temp_directory_path() / ("qorin-im-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string png = (dir / "image.png").string(), rgba = (dir / "image.rgba").string();
  std::string make = std::string(kConvert) + " " + GetParam() + ":" + png + " >/dev/null 2>&1";
  std::string read =
      std::string(kConvert) + " " + png + " -depth 8 rgba:" + rgba + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(make.c_str()), 0) << make;
  ASSERT_EQ(std::system(read.c_str()), 0) << read;
  std::vector<uint8_t> bytes = ReadAll(png), expected = ReadAll(rgba);
  fs::remove_all(dir);

  XBitmap bitmap;
  ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), &bitmap)) << bitmap.lastError;
  ASSERT_EQ(expected.size(), size_t(bitmap.width) * bitmap.height * 4);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const uint8_t* want = &expected[(size_t(y) * bitmap.width + x) * 4];
      const uint8_t* got = bitmap.Pixel(x, y);
      uint8_t alpha = bitmap.bytesPerPixel == 4 ? got[3] : 255;
      ASSERT_EQ((std::vector<int>{got[2], got[1], got[0], alpha}),
                (std::vector<int>{want[0], want[1], want[2], want[3]}))
          << "pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ColourTypes, ImageMagickPng,
    ::testing::Values(
        "-size 40x25 gradient:red-blue PNG24",  // truecolour
        "-size 40x25 gradient:yellow-navy -alpha set -channel A -evaluate set 40% PNG32",  // with
                                                                                           // alpha
        "-size 33x17 plasma:fractal -seed 7 PNG24",  // noisy rows
        "-size 16x16 xc:none -fill red -draw 'rectangle 0,0 7,7' -fill blue "
        "-draw 'rectangle 8,8 15,15' PNG8"));  // indexed, tRNS

}  // namespace
}  // namespace qorin
