// Writes what the stub reads: the ZIP data archive and the appended package (payload, data
// archive, UTF-16LE trailer padded to a 16-byte boundary, footer). The same inputs and pack
// time give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qorin::pack {

struct DataFile {
  std::string name;  // "/" between folders, ASCII
  std::vector<uint8_t> bytes;
};

// Deflate (zlib, level 9) or stored, whichever is smaller. Entry times come from packTime.
std::vector<uint8_t> WriteZip(const std::vector<DataFile>& files, int64_t packTime);

struct PackageParts {
  std::vector<uint8_t> stub;
  std::vector<uint8_t> payload;  // 7z archive, may be empty
  std::vector<uint8_t> data;     // ZIP archive
  std::string config;            // configuration file name inside the data archive
  int64_t packTime = 0;
};

std::vector<uint8_t> BuildPackage(const PackageParts& parts);

// The trailer's text lines, in order ("key = value").
std::u16string TrailerText(uint32_t stubSize, uint32_t dataSize, uint32_t archiveSize,
                           uint32_t crcTotal, int64_t packTime, const std::string& config);

}  // namespace qorin::pack
