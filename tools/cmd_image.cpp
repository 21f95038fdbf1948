// qorin image: an image as the installer would show it: decoded, resized for a DPI, drawn in a
// drawing mode into a target of a given size, written as a 32-bit BMP.
#include <cstdio>
#include <cstring>

#include "bitmap.h"
#include "cli.h"
#include "commands.h"
#include "image_decode.h"
#include "image_modes.h"

namespace qorin::cli {
namespace {

const char kUsage[] =
    "usage: qorin image IN.png [--dpi N] [--kind strip|frame|hframe|vframe]\n"
    "                   [--mode MODE --size WxH] -o OUT.bmp\n"
    "\n"
    "Decodes IN.png as the installer does, optionally resizes it for a DPI (cut as a four-state\n"
    "strip or as frame slices with --kind), optionally draws it in a drawing mode into a W x H\n"
    "target, and writes a 32-bit BMP.\n"
    "\n"
    "modes: default center tile stretch frame hframe vframe fillframe left_center\n";

struct Named {
  const char* name;
  int value;
};

constexpr Named kModes[] = {
    {"default", kImageDefault}, {"center", kImageCenter},       {"tile", kImageTile},
    {"stretch", kImageStretch}, {"frame", kImageFrame},         {"hframe", kImageHFrame},
    {"vframe", kImageVFrame},   {"fillframe", kImageFillFrame}, {"left_center", kImageLeftCenter}};
constexpr Named kKinds[] = {{"plain", kResizePlain},
                            {"strip", kResizeStrip},
                            {"frame", kResizeFrame},
                            {"hframe", kResizeHFrame},
                            {"vframe", kResizeVFrame}};

template <size_t N>
bool Lookup(const Named (&table)[N], const std::string& name, int* value) {
  for (const Named& entry : table) {
    if (name == entry.name) return *value = entry.value, true;
  }
  return false;
}

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A top-down 32-bit BMP with straight alpha.
std::vector<uint8_t> WriteBmp(const XBitmap& bitmap) {
  std::vector<uint8_t> out = {'B', 'M'};
  uint32_t pixels = static_cast<uint32_t>(bitmap.width) * bitmap.height * 4;
  PutLe(out, 14 + 40 + pixels, 4);
  PutLe(out, 0, 4);
  PutLe(out, 14 + 40, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(bitmap.width), 4);
  PutLe(out, static_cast<uint32_t>(-bitmap.height), 4);
  PutLe(out, 1, 2);
  PutLe(out, 32, 2);
  PutLe(out, 0, 4);  // BI_RGB
  PutLe(out, pixels, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.Row(y);
    out.insert(out.end(), row, row + bitmap.width * 4);
  }
  return out;
}

bool ParseSize(const std::string& text, int* width, int* height) {
  return std::sscanf(text.c_str(), "%dx%d", width, height) == 2 && *width > 0 && *height > 0 &&
         *width <= 16384 && *height <= 16384;
}

}  // namespace

int RunImage(int argc, char** argv) {
  Arguments args(argc, argv, {});
  if (args.WantsHelp()) return std::fputs(kUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown({"dpi", "kind", "mode", "size", "o"})) {
    return Usage("image: unknown option '" + *unknown + "'", kUsage);
  }
  auto out = args.Option("o");
  if (args.Positional().size() != 1 || !out)
    return Usage("image: one input and -o OUT.bmp are expected", kUsage);
  int dpi = 96, kind = kResizePlain, mode = -1, width = 0, height = 0;
  if (auto text = args.Option("dpi")) {
    dpi = std::atoi(text->c_str());
    if (dpi < 24 || dpi > 960) return Usage("image: --dpi must be between 24 and 960", kUsage);
  }
  if (auto text = args.Option("kind"); text && !Lookup(kKinds, *text, &kind)) {
    return Usage("image: unknown --kind '" + *text + "'", kUsage);
  }
  if (auto text = args.Option("mode")) {
    if (!Lookup(kModes, *text, &mode))
      return Usage("image: unknown --mode '" + *text + "'", kUsage);
    auto size = args.Option("size");
    if (!size || !ParseSize(*size, &width, &height))
      return Usage("image: --mode needs --size WxH", kUsage);
  }

  const std::string& input = args.Positional()[0];
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFile(input, &bytes, &error)) return Fail("image: " + error);
  XBitmap image;
  if (!DecodeImage(bytes.data(), bytes.size(), &image)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", image.lastError);
    return Fail("image: " + input + " cannot be decoded (" + code + ")");
  }
  if (dpi != 96) {
    XBitmap resized;
    if (!ResizeForDpi(image, kind, dpi, &resized))
      return Fail("image: the resized image cannot be made");
    image.Swap(resized);
  }
  image.ConvertDepth(32);
  XBitmap target;
  const XBitmap* result = &image;
  if (mode >= 0) {
    if (!target.Create(width, height, 32)) return Fail("image: the target cannot be made");
    DrawImage(mode, image, {0, 0, width, height}, target);
    result = &target;
  }
  if (!WriteFile(*out, WriteBmp(*result), &error)) return Fail("image: " + error);
  std::printf("%s: %d x %d\n", out->c_str(), result->width, result->height);
  return kExitOk;
}

}  // namespace qorin::cli
