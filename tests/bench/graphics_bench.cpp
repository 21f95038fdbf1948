// Prints PNG decoding speed next to libpng's and XML parsing speed next to pugixml's, on the same
// inputs in one run. Inputs are made here: PNGs of each supported colour type with mixed row
// filters, and a large skin-like document.
#include <png.h>
#include <zlib.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "image_decode.h"
#include "test_data.h"
#include "xml_document.h"

namespace {

using Clock = std::chrono::steady_clock;

double BestSeconds(const std::function<void()>& work) {
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// A photo-like image: smooth gradients with noise, rows filtered Sub, Up, Average and Paeth in
// turn.
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t colourType) {
  int channels = colourType == 6 ? 4 : colourType == 2 ? 3 : 1;
  std::vector<uint8_t> raw;
  uint32_t noise = 1;
  std::vector<uint8_t> previous(width * channels, 0), row(width * channels);
  for (uint32_t y = 0; y < height; ++y) {
    int filter = colourType == 3 ? 0 : 1 + y % 4;
    for (uint32_t i = 0; i < width * channels; ++i) {
      noise = noise * 1664525u + 1013904223u;
      row[i] = colourType == 3 ? static_cast<uint8_t>((i / 7 + y / 5) % 64)
                               : static_cast<uint8_t>((i * 3 + y * 2) / 5 + ((noise >> 28) & 3));
    }
    raw.push_back(static_cast<uint8_t>(filter));
    for (uint32_t i = 0; i < row.size(); ++i) {
      int a = i >= uint32_t(channels) ? row[i - channels] : 0, b = previous[i];
      int c = i >= uint32_t(channels) ? previous[i - channels] : 0;
      int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      int predicted = filter == 1   ? a
                      : filter == 2 ? b
                      : filter == 3 ? (a + b) / 2
                      : filter == 4 ? paeth
                                    : 0;
      raw.push_back(static_cast<uint8_t>(row[i] - predicted));
    }
    previous = row;
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> z(size);
  compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
  z.resize(size);
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  qorin::test::AppendBigEndian32(header, width);
  qorin::test::AppendBigEndian32(header, height);
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  qorin::test::AppendPngChunk(png, "IHDR", header);
  if (colourType == 3) {
    std::vector<uint8_t> palette(768);
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i * 5);
    qorin::test::AppendPngChunk(png, "PLTE", palette);
  }
  for (size_t at = 0; at < z.size(); at += 65536) {
    qorin::test::AppendPngChunk(
        png, "IDAT",
        std::vector<uint8_t>(z.begin() + at, z.begin() + std::min(z.size(), at + 65536)));
  }
  qorin::test::AppendPngChunk(png, "IEND", {});
  return png;
}

struct PngSource {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  std::memcpy(out, source->bytes->data() + source->at, length);
  source->at += length;
}

// libpng into the same BGR(A) layout the installer uses.
void LibpngDecode(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  PngSource source{&bytes, 0};
  png_set_read_fn(png, &source, ReadFromMemory);
  png_read_info(png, info);
  if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png), png_set_add_alpha(png, 255, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_read_update_info(png, info);
  size_t rowBytes = png_get_rowbytes(png, info);
  uint32_t height = png_get_image_height(png, info);
  pixels.resize(rowBytes * height);
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y) rows[y] = pixels.data() + y * rowBytes;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
}

std::string SkinDocument(size_t targetBytes) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XSkin>\n  <Head title=\"Setup &amp; more\"/>\n "
      " <Body>\n";
  for (int i = 0; xml.size() < targetBytes; ++i) {
    xml += "    <Button ID=\"" + std::to_string(i) + "\" Name=\"btn_" + std::to_string(i) +
           "\" Pos=\"10,20,110,50\" Image=\"skin/button.png\" Text=\"$BTN_INSTALL\" "
           "OnClick=\"OnInstall();\">"
           "<Tooltip>Install &lt;now&gt;</Tooltip></Button>\n";
  }
  return xml + "  </Body>\n</XSkin>\n";
}

}  // namespace

int main() {
  std::printf("%-22s %10s %12s %12s %8s\n", "PNG", "size KiB", "qorin MB/s", "libpng MB/s",
              "ratio");
  struct Case {
    const char* name;
    uint32_t width, height;
    uint8_t type;
  } cases[] = {{"truecolour 512x512", 512, 512, 2},
               {"truecolour 1024x1024", 1024, 1024, 2},
               {"rgba 512x512", 512, 512, 6},
               {"rgba 1024x1024", 1024, 1024, 6},
               {"indexed 1024x1024", 1024, 1024, 3}};
  for (const Case& c : cases) {
    std::vector<uint8_t> png = MakePng(c.width, c.height, c.type);
    double pixelBytes = double(c.width) * c.height * (c.type == 2 ? 3 : 4);
    qorin::XBitmap bitmap;
    double ours = BestSeconds([&] { qorin::DecodeImage(png.data(), png.size(), &bitmap); });
    std::vector<uint8_t> pixels;
    double theirs = BestSeconds([&] { LibpngDecode(png, pixels); });
    std::printf("%-22s %10zu %12.1f %12.1f %8.2f\n", c.name, png.size() / 1024,
                pixelBytes / ours / 1e6, pixelBytes / theirs / 1e6, theirs / ours);
  }

#if defined(__GLIBC__)
  // Freed memory stays with the process, so that no parser's runs pay for the system taking pages
  // back and handing them out again: which of the two did depended on the allocator's history
  // (its thresholds move with the sizes freed before), and page faults were a third of a run.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
  std::string xml = SkinDocument(8 << 20);
  qorin::XXmlDocument doc;
  double ours = BestSeconds(
      [&] { doc.LoadFromMemory(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()); });
  pugi::xml_document pugi;
  double theirs = BestSeconds([&] { pugi.load_buffer(xml.data(), xml.size()); });
  std::printf("XML %zu MiB: qorin %.1f MB/s, pugixml %.1f MB/s, ratio %.2f\n", xml.size() >> 20,
              xml.size() / ours / 1e6, xml.size() / theirs / 1e6, theirs / ours);

  // One text of 8 MiB of entities: decoded in one pass per entity.
  std::string entities = "<a>";
  while (entities.size() < (8u << 20)) entities += "&amp;&lt;&gt;&quot;&apos;";
  entities += "</a>";
  ours = BestSeconds([&] {
    doc.LoadFromMemory(reinterpret_cast<const uint8_t*>(entities.data()), entities.size());
  });
  theirs = BestSeconds([&] { pugi.load_buffer(entities.data(), entities.size()); });
  std::printf("XML 8 MiB of entities: qorin %.3f s, pugixml %.3f s, ratio %.2f\n", ours, theirs,
              theirs / ours);
  return 0;
}
