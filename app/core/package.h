// The package appended to the stub, and the one way the installer reads its files.
//
//   0            stub_size     +archive_size   +data_size          F-trailer_size  F        F+16
//   ├── stub ────┼── 7z payload ┼── ZIP data ───┼─ (gap) ──────────┼── trailer ────┼─ footer ┼─
//   certificate └─ first 512 bytes not covered ─┘  crc_total covers [512, end of data) table
//   (ignored)
//
// The footer lies on a 16-byte boundary in the last 32 KiB: 4 bytes trailer_size, 4 bytes
// trailer_crc, version 1, "QORINxX". The trailer is a UTF-16LE INI text, section "qorin".
// The first 512 bytes are left out of crc_total because code signing rewrites the PE checksum
// and the certificate-table entry there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_buffer.h"
#include "byte_stream.h"
#include "installer_system.h"
#include "zip_reader.h"

namespace qorin {

constexpr char kFooterMagic[7] = {'Q', 'O', 'R', 'I', 'N', 'x', 'X'};
constexpr uint8_t kFooterVersion = 1;
constexpr int kFooterSearchBlocks = 2048;
constexpr uint32_t kUncoveredPrefix = 512;

struct PackageFooter {
  uint32_t trailerSize = 0;
  uint32_t trailerCrc = 0;
  uint8_t version = 0;
  int64_t offset = -1;  // file offset of the footer
};

struct PackageInfo {
  uint32_t stubSize = 0;
  uint32_t dataSize = 0;
  uint32_t archiveSize = 0;
  uint32_t crcTotal = 0;
  int64_t packTime = 0;
  std::u16string configName;
  std::u16string packagePath;
  bool packaged = true;
  std::u16string developerFolder;  // ends in "\"; empty when packaged
};

// Why a check failed, for the qorin tool; the stub only shows the one integrity message.
enum XPACKAGE_ERR : int {
  XPACKAGE_OK = 0,
  XPACKAGE_ERR_OPEN = 1,
  XPACKAGE_ERR_NO_FOOTER = 2,
  XPACKAGE_ERR_VERSION = 3,
  XPACKAGE_ERR_TRAILER_CRC = 4,
  XPACKAGE_ERR_TRAILER_PARSE = 5,
  XPACKAGE_ERR_CRC_TOTAL = 6,
  XPACKAGE_ERR_DATA_READ = 7,
  XPACKAGE_ERR_ZIP_OPEN = 8,
};
const char* DescribeFault(XPACKAGE_ERR fault);

// Searches the last kFooterSearchBlocks 16-byte blocks of the stream for the footer.
bool FindFooter(XReadStream& stream, PackageFooter* footer);

class XPackage {
 public:
  explicit XPackage(XInstallerSystem system) : system_(system) {}

  // Reads the developer side file beside the module (".ini" in place of its extension). May
  // replace the command line and switch to developer mode.
  void DeveloperSideFile(const std::u16string& modulePath, std::u16string* commandLine);

  // Checks the package at path and opens its data archive; shows a message box on failure.
  bool CheckPackage(const std::u16string& path);
  bool CheckPackage() { return CheckPackage(info_.packagePath); }

  // A data archive from elsewhere (the qorin tool packs a data folder in memory) read as a
  // package's: false when it is no ZIP archive.
  bool OpenDataArchive(std::vector<uint8_t> data, std::u16string configName);

  bool ReadWholeFile(std::u16string name, XByteBuffer* buffer);

  PackageInfo& Info() { return info_; }
  XZipReader& Archive() { return zip_; }
  const std::vector<uint8_t>& DataArchive() const { return data_; }
  XPACKAGE_ERR LastFault() const { return fault_; }

 private:
  XPACKAGE_ERR Verify(XReadStream& stream);

  XInstallerSystem system_;
  PackageInfo info_;
  std::vector<uint8_t> data_;
  XZipReader zip_;
  XPACKAGE_ERR fault_ = XPACKAGE_OK;
};

}  // namespace qorin
