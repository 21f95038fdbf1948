#include "package_writer.h"

#include <zlib.h>

#include <stdexcept>

#include "crc32.h"
#include "utf.h"

namespace qorin::pack {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("zlib init failed");
  std::vector<uint8_t> out(deflateBound(&z, data.size()) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("zlib deflate failed");
  return out;
}

// MS-DOS date and time of the entries, in UTC so the archive does not depend on the machine.
// The civil date comes from the day count (Howard Hinnant's days-to-civil), with no C library
// time functions, so the writer builds the same on every toolchain.
void DosTime(int64_t unixTime, uint16_t* date, uint16_t* time) {
  if (unixTime < 315532800) unixTime = 315532800;  // 1980-01-01, the first DOS date
  int64_t days = unixTime / 86400, seconds = unixTime % 86400;
  int64_t z = days + 719468, era = z / 146097, doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  *date = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  *time = static_cast<uint16_t>(((seconds / 3600) << 11) | ((seconds / 60 % 60) << 5) |
                                (seconds % 60 / 2));
}

}  // namespace

std::vector<uint8_t> WriteZip(const std::vector<DataFile>& files, int64_t packTime) {
  std::vector<uint8_t> out, central;
  uint16_t date, time;
  DosTime(packTime, &date, &time);
  for (const DataFile& file : files) {
    std::vector<uint8_t> deflated = RawDeflate(file.bytes);
    bool stored = deflated.size() >= file.bytes.size();
    const std::vector<uint8_t>& body = stored ? file.bytes : deflated;
    uint16_t method = stored ? 0 : 8;
    uint32_t crc = Crc32(0, file.bytes.data(), file.bytes.size());
    uint32_t offset = static_cast<uint32_t>(out.size());
    auto header = [&](std::vector<uint8_t>& to, bool isCentral) {
      Put32(to, isCentral ? 0x02014b50 : 0x04034b50);
      if (isCentral) Put16(to, 20);  // version made by
      Put16(to, 20);                 // version needed
      Put16(to, 0);                  // flags
      Put16(to, method);
      Put16(to, time);
      Put16(to, date);
      Put32(to, crc);
      Put32(to, static_cast<uint32_t>(body.size()));
      Put32(to, static_cast<uint32_t>(file.bytes.size()));
      Put16(to, static_cast<uint32_t>(file.name.size()));
      Put16(to, 0);  // extra
      if (isCentral) {
        Put16(to, 0);  // comment
        Put16(to, 0);  // disk
        Put16(to, 0);  // internal attributes
        Put32(to, 0);  // external attributes
        Put32(to, offset);
      }
      to.insert(to.end(), file.name.begin(), file.name.end());
    };
    header(out, false);
    out.insert(out.end(), body.begin(), body.end());
    header(central, true);
  }
  uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), central.begin(), central.end());
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(files.size()));
  Put16(out, static_cast<uint32_t>(files.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);  // no comment: the stub reads the end record from the last 22 bytes
  return out;
}

std::u16string TrailerText(uint32_t stubSize, uint32_t dataSize, uint32_t archiveSize,
                           uint32_t crcTotal, int64_t packTime, const std::string& config) {
  std::string text = "[qorin]\r\n";
  auto line = [&](const char* key, const std::string& value) {
    text += std::string(key) + " = " + value + "\r\n";
  };
  line("stub_size", std::to_string(stubSize));
  line("data_size", std::to_string(dataSize));
  line("archive_size", std::to_string(archiveSize));
  line("crc_total", std::to_string(crcTotal));
  line("pack_time", std::to_string(packTime));
  line("config", config);
  return Utf8ToUtf16(text);
}

std::vector<uint8_t> BuildPackage(const PackageParts& parts) {
  std::vector<uint8_t> out = parts.stub;
  out.insert(out.end(), parts.payload.begin(), parts.payload.end());
  out.insert(out.end(), parts.data.begin(), parts.data.end());
  if (out.size() < 512 || out.size() > 0xFFFFFFFFu)
    throw std::runtime_error("package size out of range");
  uint32_t crcTotal = Crc32(0, out.data() + 512, out.size() - 512);

  std::vector<uint8_t> trailer = {0xFF, 0xFE};
  std::u16string text = TrailerText(
      static_cast<uint32_t>(parts.stub.size()), static_cast<uint32_t>(parts.data.size()),
      static_cast<uint32_t>(parts.payload.size()), crcTotal, parts.packTime, parts.config);
  for (char16_t c : text) Put16(trailer, c);
  // Zero padding so that the footer starts on a 16-byte boundary; it belongs to the trailer.
  while ((out.size() + trailer.size()) % 16 != 0) trailer.push_back(0);
  out.insert(out.end(), trailer.begin(), trailer.end());

  Put32(out, static_cast<uint32_t>(trailer.size()));
  Put32(out, Crc32(0, trailer.data(), trailer.size()));
  out.push_back(1);
  for (char c : {'Q', 'O', 'R', 'I', 'N', 'x', 'X'}) out.push_back(static_cast<uint8_t>(c));
  return out;
}

}  // namespace qorin::pack
