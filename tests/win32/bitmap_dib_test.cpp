// XBitmap on Windows: its pixels live in a top-down DIB section that GDI sees.
#include <gtest/gtest.h>

#include "bitmap.h"
#include "bitmap_dc_win32.h"

namespace qorin {
namespace {

TEST(BitmapDib, PixelsAreTheDibSection) {
  XBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(8, 4, 32));
  ASSERT_NE(DibOf(bitmap), nullptr);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(DibOf(bitmap)->bitmap, sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmBits, bitmap.bits);
  bitmap.SetPixel(2, 0, 0xFF0000FF);  // red
  HDC dc = LockDC(bitmap);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(::GetPixel(dc, 2, 0), RGB(255, 0, 0)) << "row 0 is the top row for GDI too";
  EXPECT_EQ(LockDC(bitmap), dc) << "a second lock shares the DC";
  UnlockDC(bitmap);
  EXPECT_NE(DibOf(bitmap)->memoryDC, nullptr);
  UnlockDC(bitmap);
  EXPECT_EQ(DibOf(bitmap)->memoryDC, nullptr) << "the last unlock releases it";
  UnlockDC(bitmap);
  EXPECT_EQ(DibOf(bitmap)->lockCount, 0);
  LockDC(bitmap);
  bitmap.Destroy();  // with the DC still locked: released with the bitmap
  EXPECT_EQ(bitmap.platform, nullptr);
}

TEST(BitmapDib, DrawToDCCopiesARegion) {
  XBitmap source, target;
  ASSERT_TRUE(source.Create(4, 4, 24));
  source.Fill(0x0000FF00);  // green
  ASSERT_TRUE(target.Create(10, 10, 32));
  HDC dc = LockDC(target);
  EXPECT_TRUE(DrawToDC(source, dc, 5, 5, 0, 0, -1, -1));
  EXPECT_FALSE(DrawToDC(source, dc, 0, 0, 0, 0, 0, 4));
  GdiFlush();
  EXPECT_EQ(target.GetPixel(6, 6) & 0x00FFFFFF, 0x0000FF00u);
  EXPECT_EQ(target.GetPixel(4, 4), 0u);
  UnlockDC(target);
  XBitmap empty;
  EXPECT_EQ(LockDC(empty), nullptr);
  EXPECT_FALSE(DrawToDC(empty, GetDC(nullptr), 0, 0, 0, 0, -1, -1));
}

}  // namespace
}  // namespace qorin
