#include "image_cache.h"

#include "bitmap_copy.h"
#include "builtin_images.h"
#include "image_decode.h"
#include "image_modes.h"
#include "text.h"
#include "utf.h"

namespace qorin {
namespace {

constexpr size_t kMinImageBytes = 26;

void ButtonDefault(IXImageSource& source, XBitmap* bitmap) {
  bitmap->Create(120, 30, 32);
  bitmap->FillOpaque(source.SystemColour(kColourButtonFace));
  const int outlines[3] = {kColourButtonShadow, kColourActiveBorder, kColour3DDarkShadow};
  for (int frame = 0; frame < 3; ++frame) {
    int x = frame * 30;
    bitmap->FrameRect({x, 0, x + 29, 29}, source.SystemColour(outlines[frame]) | 0xFF000000u);
  }
}

void GroupBox(XBitmap* bitmap) {
  bitmap->Create(60, 60, 32);
  constexpr uint32_t kGrey = 0xFFA0A0A0, kWhite = 0xFFFFFFFF;
  bitmap->HLine(7, 53, 7, kGrey);
  bitmap->VLine(7, 7, 53, kGrey);
  bitmap->HLine(7, 53, 53, kWhite);
  bitmap->VLine(53, 7, 53, kWhite);
}

}  // namespace

std::u16string XImageCache::CacheKey(const std::u16string& name, int resizeKind,
                                     bool resizeWithDpi) {
  return AsciiLower(name) + u":" + AsciiToUtf16(std::to_string(resizeKind)) + u":" +
         AsciiToUtf16(std::to_string(resizeWithDpi ? 1 : 0));
}

bool XImageCache::Build(const std::u16string& lowerName, XBitmap* bitmap) {
  if (lowerName == u"button_default") {
    ButtonDefault(source_, bitmap);
    return !bitmap->Empty();
  }
  if (lowerName == u"groupbox") {
    GroupBox(bitmap);
    return !bitmap->Empty();
  }
  struct Builtin {
    const char16_t* name;
    const uint8_t* bytes;
    size_t size;
  };
  const Builtin builtins[] = {{u"checkbox_on_default", kCheckboxOn, kCheckboxOnSize},
                              {u"checkbox_off_default", kCheckboxOff, kCheckboxOffSize},
                              {u"static_default", kStaticDefault, kStaticDefaultSize}};
  for (const Builtin& builtin : builtins) {
    if (lowerName == builtin.name) return DecodeImage(builtin.bytes, builtin.size, bitmap);
  }
  return false;
}

XBitmap* XImageCache::LoadSkinImage(const std::u16string& name, int resizeKind, bool resizeWithDpi,
                                    bool keepDepth) {
  std::u16string key = CacheKey(name, resizeKind, resizeWithDpi);
  if (auto found = images_.find(key); found != images_.end()) return found->second.get();

  auto bitmap = std::make_unique<XBitmap>();
  if (!Build(AsciiLower(name), bitmap.get())) {
    std::vector<uint8_t> bytes;
    if (!source_.ReadImageFile(name, &bytes) || bytes.size() < kMinImageBytes) return nullptr;
    if (!DecodeImage(bytes.data(), bytes.size(), bitmap.get())) return nullptr;
  }
  if (resizeWithDpi && dpi_ != kDefaultDpi) {
    auto resized = std::make_unique<XBitmap>();
    if (!ResizeForDpi(*bitmap, resizeKind, dpi_, resized.get())) return nullptr;
    bitmap = std::move(resized);
  }
  if (!keepDepth && !bitmap->ConvertDepth(32)) return nullptr;
  XBitmap* result = bitmap.get();
  images_.emplace(std::move(key), std::move(bitmap));
  return result;
}

}  // namespace qorin
