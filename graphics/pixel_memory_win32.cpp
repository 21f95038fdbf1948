// Pixel memory for the stub: a top-down DIB section, so that the bitmap can be selected into a
// device context and drawn with GDI.
#include <windows.h>

#include <cwchar>
#include <new>

#include "bitmap_dc_win32.h"
#include "copy_data_win32.h"

namespace qorin {
namespace {

void ReportFailure(DWORD error) {
  wchar_t text[128] = {};
  _snwprintf(text, 127, L"@@rMemoy 부족??? - err:%u", static_cast<unsigned>(error));
  SendCopyDataText(L"XRecv", 1, text);
}

class DibPixelMemory final : public IXPixelMemory {
 public:
  uint8_t* Allocate(int width, int height, int bitCount, int stride, void** platform) override {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);  // 40
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(stride) * height;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
      ReportFailure(GetLastError());
      return nullptr;
    }
    auto* section = new (std::nothrow) XDibSection;
    if (section == nullptr) {
      DeleteObject(bitmap);
      return nullptr;
    }
    section->bitmap = bitmap;
    *platform = section;
    return static_cast<uint8_t*>(bits);
  }
  void Release(void* platform, uint8_t*) override {
    auto* section = static_cast<XDibSection*>(platform);
    if (section == nullptr) return;
    ReleaseMemoryDC(*section);
    DeleteObject(section->bitmap);
    delete section;
  }
};

}  // namespace

IXPixelMemory& SystemPixelMemory() {
  static DibPixelMemory memory;
  return memory;
}

}  // namespace qorin
