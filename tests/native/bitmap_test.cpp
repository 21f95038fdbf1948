// Bitmaps and drawing: the blend arithmetic, the frame modes, DPI resizing and rounded frames,
// pixel for pixel.
#include "bitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "bitmap_copy.h"
#include "blur.h"
#include "builtin_images.h"
#include "image_cache.h"
#include "image_decode.h"
#include "image_modes.h"

namespace qorin {
namespace {

// A 32-bit image whose pixel (x, y) has B = x, G = y, R = 7, A = 255: every pixel says where it
// came from.
void Coordinates(XBitmap& image, int width, int height) {
  ASSERT_TRUE(image.Create(width, height, 32));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.SetPixel(x, y, 0xFF000007u | uint32_t(y) << 8 | uint32_t(x) << 16);
  }
}

int SourceX(const XBitmap& b, int x, int y) {
  return b.Pixel(x, y)[0];
}
int SourceY(const XBitmap& b, int x, int y) {
  return b.Pixel(x, y)[1];
}

TEST(BitmapBasics, CreateFillPixelsAndLines) {
  XBitmap bitmap;
  EXPECT_FALSE(bitmap.Create(0, 5, 32));
  ASSERT_TRUE(bitmap.Create(3, 2, 24));
  EXPECT_EQ(bitmap.stride, 12);
  EXPECT_EQ(bitmap.padding, 3);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0u) << "24-bit bitmaps answer 0";
  EXPECT_EQ(bitmap.GetPixel(5, 0), 0xFFFFFFFFu) << "outside";
  ASSERT_TRUE(bitmap.Create(4, 4, 32));
  EXPECT_EQ(bitmap.GetPixel(1, 1), 0u) << "fresh pixels are transparent black";
  bitmap.FillOpaque(0x00332211);
  EXPECT_EQ(bitmap.GetPixel(3, 3), 0xFF332211u);
  EXPECT_EQ(bitmap.Pixel(0, 0)[0], 0x33) << "B first";
  bitmap.Fill(0);
  bitmap.FrameRect({0, 0, 3, 3}, 0xFFFFFFFF);
  EXPECT_EQ(bitmap.GetPixel(3, 3), 0xFFFFFFFFu) << "right and bottom are drawn";
  EXPECT_EQ(bitmap.GetPixel(1, 1), 0u);
  EXPECT_FALSE(bitmap.FillRect({5, 5, 9, 9}, 0x123456, 255));
  ASSERT_TRUE(bitmap.ConvertDepth(24));
  EXPECT_EQ(bitmap.bitCount, 24);
  EXPECT_EQ(bitmap.Pixel(3, 3)[2], 0xFF);
}

TEST(BitmapBlend, AlphaOverA24BitTarget) {
  XBitmap target, source;
  ASSERT_TRUE(target.Create(1, 1, 24));
  target.Fill(0xFFFFFF);
  ASSERT_TRUE(source.Create(1, 1, 32));
  source.Fill(0x80000000);  // black, alpha 128
  ASSERT_TRUE(Blit(target, 0, 0, source, 0, 0, -1, -1, false));
  EXPECT_EQ(target.Pixel(0, 0)[0], 126) << "(255 x 127 + 0 x 128) >> 8";
}

TEST(BitmapBlend, BlendedAlphaIsClamped) {
  XBitmap target, source;
  ASSERT_TRUE(source.Create(1, 1, 32));
  source.Fill(0xC8FFFFFF);  // alpha 200
  for (auto [before, after] : {std::pair{100, 255}, std::pair{40, 240}}) {
    ASSERT_TRUE(target.Create(1, 1, 32));
    target.Fill(static_cast<uint32_t>(before) << 24);
    ASSERT_TRUE(Blit(target, 0, 0, source, 0, 0, -1, -1, true));
    EXPECT_EQ(target.Pixel(0, 0)[3], after) << before;
  }
}

TEST(BitmapBlend, NegativeOffsetsAdvanceTheSource) {
  XBitmap target, source;
  Coordinates(source, 10, 10);
  ASSERT_TRUE(target.Create(5, 5, 32));
  ASSERT_TRUE(Blit(target, -3, -2, source, 0, 0, -1, -1, false));
  EXPECT_EQ(SourceX(target, 0, 0), 3);
  EXPECT_EQ(SourceY(target, 0, 0), 2);
}

TEST(ImageModes, FillFrameCornerCellsAndEdges) {
  XBitmap image, target;
  Coordinates(image, 90, 30);
  ASSERT_TRUE(target.Create(200, 60, 32));
  ASSERT_TRUE(DrawImage(kImageFillFrame, image, {0, 0, 200, 60}, target));
  // Corner cells are 30 x 10 from the image's corners.
  EXPECT_EQ(SourceX(target, 0, 0), 0);
  EXPECT_EQ(SourceX(target, 29, 9), 29);
  EXPECT_EQ(SourceY(target, 29, 9), 9);
  EXPECT_EQ(SourceX(target, 199, 59), 89);
  EXPECT_EQ(SourceY(target, 199, 59), 29);
  EXPECT_EQ(SourceX(target, 170, 0), 60);
  EXPECT_EQ(SourceY(target, 0, 50), 20);
  // Edges and centre repeat the cells next to the corners.
  EXPECT_EQ(SourceX(target, 30, 0), 30);
  EXPECT_EQ(SourceX(target, 60, 0), 30) << "the top edge repeats, it is not stretched";
  EXPECT_EQ(SourceY(target, 0, 20), 10);
  EXPECT_EQ(SourceY(target, 0, 30), 20 - 10) << "the left edge repeats its 10-row cell";
  EXPECT_EQ(SourceX(target, 100, 30), 40);
  EXPECT_EQ(SourceY(target, 100, 30), 10);
}

TEST(ImageModes, FillFrameOfEqualHeightIsAnHFrame) {
  XBitmap image, target;
  Coordinates(image, 90, 30);
  ASSERT_TRUE(target.Create(200, 30, 32));
  ASSERT_TRUE(DrawImage(kImageFillFrame, image, {0, 0, 200, 30}, target));
  // hframe: caps of (90 + 1) / 3 = 30 columns, full height.
  EXPECT_EQ(SourceY(target, 0, 29), 29);
  EXPECT_EQ(SourceX(target, 199, 29), 89);
  EXPECT_EQ(SourceX(target, 100, 5), 30 + (100 - 30) % 30);
}

TEST(ImageModes, NarrowHFrameIsTwoBlitsOf21Columns) {
  XBitmap image, target;
  Coordinates(image, 90, 30);
  ASSERT_TRUE(target.Create(40, 30, 32));
  ASSERT_TRUE(DrawImage(kImageHFrame, image, {0, 0, 40, 30}, target));
  EXPECT_EQ(SourceX(target, 18, 0), 18) << "left: the first 21 columns, partly covered";
  EXPECT_EQ(SourceX(target, 19, 0), 69) << "right: columns 69..89 at 19..39";
  EXPECT_EQ(SourceX(target, 39, 0), 89);
}

TEST(ImageModes, CenterLeftCenterTileAndUnknown) {
  XBitmap image, target;
  Coordinates(image, 4, 4);
  ASSERT_TRUE(target.Create(10, 10, 32));
  ASSERT_TRUE(DrawImage(kImageCenter, image, {0, 0, 10, 10}, target));
  EXPECT_EQ(target.GetPixel(3, 3) >> 24, 255u);
  EXPECT_EQ(target.GetPixel(2, 2), 0u);
  target.Fill(0);
  ASSERT_TRUE(DrawImage(kImageTile, image, {0, 0, 10, 10}, target));
  EXPECT_EQ(SourceX(target, 9, 9), 1);
  EXPECT_FALSE(DrawImage(9, image, {0, 0, 10, 10}, target));
}

TEST(DpiResize, ButtonStripAt144And192) {
  XBitmap strip, resized;
  Coordinates(strip, 120, 30);
  ASSERT_TRUE(ResizeForDpi(strip, kResizeStrip, 144, &resized));
  EXPECT_EQ(resized.width, 180);
  EXPECT_EQ(resized.height, 45);
  // Each 30 x 30 frame is stretched to 45 x 45 on its own: frame 1 starts at 45 with column 30.
  EXPECT_EQ(SourceX(resized, 45, 0), 30);
  EXPECT_EQ(SourceX(resized, 44, 0), 29);
  EXPECT_EQ(SourceX(resized, 179, 44), 119);
  ASSERT_TRUE(ResizeForDpi(strip, kResizeStrip, 192, &resized));
  EXPECT_EQ(resized.width, 240);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(SourceX(resized, x, 1), x / 2) << "a 2 x 2 block per pixel";
}

TEST(DpiResize, FrameSizesStayDivisibleByThree) {
  XBitmap frame, resized;
  Coordinates(frame, 30, 30);
  ASSERT_TRUE(ResizeForDpi(frame, kResizeFrame, 120, &resized));
  EXPECT_EQ(resized.width, 36) << "MulDiv(30, 120, 96) = 38, down to 36";
  EXPECT_EQ(resized.height, 36);
}

TEST(RoundedFrames, RadiiAndCorners) {
  XBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(20, 20, 32));
  RoundFrame(bitmap, {0, 0, 19, 19}, 1, 0xFFFFFFFF);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0u) << "radius 1 leaves the corner pixels undrawn";
  EXPECT_EQ(bitmap.GetPixel(1, 0), 0xFFFFFFFFu);
  XBitmap six, four;
  ASSERT_TRUE(six.Create(20, 20, 32));
  ASSERT_TRUE(four.Create(20, 20, 32));
  RoundFrame(six, {0, 0, 19, 19}, 6, 0xFFFFFFFF);
  RoundFrame(four, {0, 0, 19, 19}, 4, 0xFFFFFFFF);
  EXPECT_EQ(std::vector<uint8_t>(six.bits, six.bits + six.stride * 20),
            std::vector<uint8_t>(four.bits, four.bits + four.stride * 20))
      << "radius 6 draws as radius 4";
  EXPECT_EQ(four.GetPixel(1, 2), 0xFFFFFFFFu);
  EXPECT_EQ(four.GetPixel(18, 17), 0xFFFFFFFFu);
  four.Fill(0xFFFFFFFF);
  ClipCorners(four, {0, 0, 19, 19}, 4);
  EXPECT_EQ(four.GetPixel(1, 1), 0u);
  EXPECT_EQ(four.GetPixel(19, 16), 0u);
  EXPECT_EQ(four.GetPixel(2, 2), 0xFFFFFFFFu);
}

TEST(ImageDecoding, FormatsAndErrors) {
  XBitmap bitmap;
  std::vector<uint8_t> jpeg(40, 0);
  jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[2] = 0xFF;
  EXPECT_FALSE(DecodeImage(jpeg.data(), jpeg.size(), &bitmap));
  EXPECT_EQ(bitmap.lastError, XBITMAP_ERR_NO_DECODER);
  std::vector<uint8_t> short_ = {0x89, 'P', 'N', 'G'};
  EXPECT_FALSE(DecodeImage(short_.data(), short_.size(), &bitmap));
  EXPECT_EQ(bitmap.lastError, XBITMAP_ERR_UNKNOWN_FORMAT);
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

struct FakeImages : IXImageSource {
  std::map<std::u16string, std::vector<uint8_t>> files;
  int reads = 0;
  bool ReadImageFile(const std::u16string& name, std::vector<uint8_t>* bytes) override {
    ++reads;
    auto it = files.find(name);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }
  uint32_t SystemColour(int index) override { return 0x00010101u * static_cast<uint32_t>(index); }
};

TEST(ImageCache, BuiltInImages) {
  FakeImages source;
  XImageCache cache(source, 96);
  XBitmap* button = cache.LoadSkinImage(u"Button_Default", kResizeStrip, false, false);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->width, 120);
  EXPECT_EQ(button->GetPixel(10, 10), 0xFF0F0F0Fu) << "COLOR_BTNFACE";
  EXPECT_EQ(button->GetPixel(0, 0), 0xFF101010u) << "first frame: COLOR_BTNSHADOW";
  EXPECT_EQ(button->GetPixel(59, 29), 0xFF0A0A0Au) << "second frame: COLOR_ACTIVEBORDER";
  EXPECT_EQ(button->GetPixel(60, 0), 0xFF151515u) << "third frame: COLOR_3DDKSHADOW";
  EXPECT_EQ(button->GetPixel(90, 0), 0xFF0F0F0Fu) << "the fourth frame has no outline";
  XBitmap* group = cache.LoadSkinImage(u"groupbox", 0, false, false);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetPixel(7, 20), 0xFFA0A0A0u);
  EXPECT_EQ(group->GetPixel(53, 20), 0xFFFFFFFFu);
  EXPECT_EQ(group->GetPixel(20, 20), 0u);
  for (auto [name, width, height] :
       {std::tuple{u"checkbox_on_default", 72, 13}, std::tuple{u"checkbox_off_default", 72, 13},
        std::tuple{u"static_default", 90, 90}}) {
    XBitmap* image = cache.LoadSkinImage(name, 0, false, false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    EXPECT_EQ(image->bitCount, 32);
  }
  EXPECT_EQ(source.reads, 0) << "built-ins need no file";
}

TEST(ImageCache, KeysAndDpi) {
  FakeImages source;
  // The static default's PNG bytes stand in for a skin file.
  source.files[u"skin\\strip.png"] =
      std::vector<uint8_t>(kStaticDefault, kStaticDefault + kStaticDefaultSize);
  source.files[u"tiny.png"] = {0x89, 'P', 'N', 'G'};
  XImageCache cache(source, 96);
  EXPECT_EQ(XImageCache::CacheKey(u"Skin\\Strip.PNG", 1, true), u"skin\\strip.png:1:1");
  XBitmap* first = cache.LoadSkinImage(u"skin\\strip.png", kResizeStrip, true, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.LoadSkinImage(u"skin\\strip.png", kResizeStrip, true, false), first) << "a hit";
  EXPECT_EQ(source.reads, 1);
  cache.SetDpi(144);
  XBitmap* large = cache.LoadSkinImage(u"skin\\strip.png", kResizePlain, true, false);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(large->width, 135);
  EXPECT_EQ(cache.LoadSkinImage(u"skin\\strip.png", kResizePlain, false, false)->width, 90)
      << "no DPI resize asked";
  EXPECT_EQ(cache.LoadSkinImage(u"tiny.png", 0, false, false), nullptr) << "fewer than 26 bytes";
  EXPECT_EQ(cache.LoadSkinImage(u"missing.png", 0, false, false), nullptr);
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

TEST(Blur, BoxesForGauss) {
  int widths[3];
  GaussBoxes(2, widths);
  EXPECT_EQ(widths[0], 3);
  EXPECT_EQ(widths[1], 3);
  EXPECT_EQ(widths[2], 5);  // sqrt(17) = 4.1 -> lower 3, upper 5, m = round(1.75) = 2
}

TEST(Blur, SpreadsSymmetricallyAndKeepsFlatAreas) {
  XBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(21, 21, 24));
  bitmap.Fill(0);
  bitmap.Pixel(10, 10)[0] = 255;
  Blur(bitmap, {0, 0, 21, 21}, 2);
  EXPECT_LT(bitmap.Pixel(10, 10)[0], 255);
  EXPECT_GT(bitmap.Pixel(10, 10)[0], bitmap.Pixel(11, 10)[0]);
  EXPECT_EQ(bitmap.Pixel(9, 10)[0], bitmap.Pixel(11, 10)[0]);
  EXPECT_EQ(bitmap.Pixel(10, 8)[0], bitmap.Pixel(12, 10)[0]);
  EXPECT_EQ(bitmap.Pixel(0, 0)[0], 0);
  bitmap.Fill(0x00808080);
  Blur(bitmap, {0, 0, 21, 21}, 3);
  EXPECT_EQ(bitmap.Pixel(0, 0)[1], 0x80) << "extended borders keep a flat image flat";
  XBitmap small;
  ASSERT_TRUE(small.Create(6, 6, 24));
  small.Pixel(3, 3)[0] = 255;
  Blur(small, {0, 0, 6, 6}, 3);
  EXPECT_EQ(small.Pixel(3, 3)[0], 255) << "a radius not below half the size is skipped";
}

}  // namespace
}  // namespace qorin
