// The skin's image cache: LoadSkinImage builds a bitmap once per name, resize kind and DPI
// choice, from a built-in image or from the bytes the skin document supplies.
//
//   name ─► built-in (button_default, groupbox, checkbox_*, static_default) | skin file bytes
//        ─► DecodeImage ─► ResizeForDpi (when asked, DPI ≠ 96) ─► 32 bits (unless kept) ─► cache
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"

namespace qorin {

// What the cache asks of the skin document and the system.
class IXImageSource {
 public:
  virtual ~IXImageSource() = default;
  virtual bool ReadImageFile(const std::u16string& name, std::vector<uint8_t>* bytes) = 0;
  // A system colour (COLOR_BTNFACE and friends) as 0x00BBGGRR.
  virtual uint32_t SystemColour(int index) = 0;
};

constexpr int kColourActiveBorder = 10;
constexpr int kColourButtonFace = 15;
constexpr int kColourButtonShadow = 16;
constexpr int kColour3DDarkShadow = 21;

class XImageCache {
 public:
  XImageCache(IXImageSource& source, int dpi) : source_(source), dpi_(dpi) {}

  // Images asked for later are resized for this DPI (those made already are kept).
  void SetDpi(int dpi) { dpi_ = dpi; }

  // The cached bitmap, or null when the image cannot be made. resizeKind is an XResizeKind.
  XBitmap* LoadSkinImage(const std::u16string& name, int resizeKind, bool resizeWithDpi,
                         bool keepDepth);
  size_t Size() const { return images_.size(); }
  void Clear() { images_.clear(); }

  static std::u16string CacheKey(const std::u16string& name, int resizeKind, bool resizeWithDpi);

 private:
  bool Build(const std::u16string& lowerName, XBitmap* bitmap);

  IXImageSource& source_;
  int dpi_;
  std::map<std::u16string, std::unique_ptr<XBitmap>> images_;
};

}  // namespace qorin
