#include "package.h"

#include <cstdint>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "byte_order.h"
#include "crc32.h"
#include "file_stream.h"
#include "ini_file.h"
#include "path.h"
#include "text.h"
#include "utf.h"

namespace qorin {
namespace {

constexpr uint32_t kCrcChunk = 16384;
// A trailer holds six short lines; anything near this size is not one.
constexpr uint32_t kMaxTrailerSize = 1 << 20;

bool ReadAt(XReadStream& stream, int64_t offset, void* buffer, uint32_t length) {
  uint32_t got = 0;
  return stream.Seek(offset) == offset && stream.Read(buffer, length, &got) && got == length;
}

bool ReadFileBytes(IXFileAccess& files, const std::u16string& path, XByteBuffer* buffer) {
  XFileReadStream stream(files);
  if (!stream.Open(path) || !ReadWholeStream(stream, &buffer->storage, true)) return false;
  buffer->length = buffer->storage.size() - 2;
  return true;
}

}  // namespace

const char* DescribeFault(XPACKAGE_ERR fault) {
  switch (fault) {
    case XPACKAGE_OK: return "the package is sound";
    case XPACKAGE_ERR_OPEN: return "the file cannot be opened";
    case XPACKAGE_ERR_NO_FOOTER: return "no footer on a 16-byte boundary in the last 32 KiB";
    case XPACKAGE_ERR_VERSION: return "the footer's version is not 1";
    case XPACKAGE_ERR_TRAILER_CRC: return "the trailer cannot be read or its CRC-32 does not match";
    case XPACKAGE_ERR_TRAILER_PARSE: return "the trailer is not an INI text with a section";
    case XPACKAGE_ERR_CRC_TOTAL:
      return "crc_total does not match the file from offset 512 to the end of the data archive";
    case XPACKAGE_ERR_DATA_READ: return "the data archive cannot be read";
    case XPACKAGE_ERR_ZIP_OPEN: return "the data archive is not a readable ZIP archive";
  }
  return "unknown fault";
}

bool FindFooter(XReadStream& stream, PackageFooter* footer) {
  int64_t size = stream.GetSize();
  if (size < 0) return false;
  int64_t at = (size / 16) * 16 - 16;
  for (int block = 0; block < kFooterSearchBlocks && at > 0; ++block, at -= 16) {
    uint8_t bytes[16];
    if (!ReadAt(stream, at, bytes, 16)) return false;
    if (std::equal(bytes + 9, bytes + 16, kFooterMagic)) {
      footer->trailerSize = LoadLe32(bytes);
      footer->trailerCrc = LoadLe32(bytes + 4);
      footer->version = bytes[8];
      footer->offset = at;
      return true;
    }
  }
  return false;
}

XPACKAGE_ERR XPackage::Verify(XReadStream& stream) {
  PackageFooter footer;
  if (!FindFooter(stream, &footer)) return XPACKAGE_ERR_NO_FOOTER;
  if (footer.version != kFooterVersion) return XPACKAGE_ERR_VERSION;

  if (footer.trailerSize > kMaxTrailerSize || footer.trailerSize > footer.offset)
    return XPACKAGE_ERR_TRAILER_CRC;
  std::vector<uint8_t> trailer(footer.trailerSize, 0);
  if (!ReadAt(stream, footer.offset - footer.trailerSize, trailer.data(), footer.trailerSize) ||
      Crc32(0, trailer.data(), trailer.size()) != footer.trailerCrc) {
    return XPACKAGE_ERR_TRAILER_CRC;
  }
  XIniFile ini;
  if (!ini.Parse(trailer.data(), trailer.size()) || ini.SectionCount() == 0)
    return XPACKAGE_ERR_TRAILER_PARSE;
  // Sizes and the CRC are 32-bit; a larger number is no trailer of ours.
  uint32_t* fields[] = {&info_.stubSize, &info_.dataSize, &info_.archiveSize, &info_.crcTotal};
  const char16_t* keys[] = {u"stub_size", u"data_size", u"archive_size", u"crc_total"};
  for (size_t i = 0; i < std::size(fields); ++i) {
    uint64_t value = ini.GetNumber(u"qorin", keys[i]);
    if (value > UINT32_MAX) return XPACKAGE_ERR_TRAILER_PARSE;
    *fields[i] = static_cast<uint32_t>(value);
  }
  uint64_t packTime = ini.GetNumber(u"qorin", u"pack_time");
  info_.packTime = packTime > INT64_MAX ? 0 : static_cast<int64_t>(packTime);
  info_.configName = ini.GetText(u"qorin", u"config");

  uint64_t covered = uint64_t{info_.stubSize} + info_.dataSize + info_.archiveSize;
  if (covered < kUncoveredPrefix || static_cast<int64_t>(covered) > stream.GetSize())
    return XPACKAGE_ERR_CRC_TOTAL;
  std::vector<uint8_t> chunk(kCrcChunk);
  uint32_t crc = 0;
  if (stream.Seek(kUncoveredPrefix) != kUncoveredPrefix) return XPACKAGE_ERR_CRC_TOTAL;
  for (uint64_t left = covered - kUncoveredPrefix; left != 0;) {
    uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(left, kCrcChunk));
    uint32_t got = 0;
    if (!stream.Read(chunk.data(), take, &got) || got != take) return XPACKAGE_ERR_CRC_TOTAL;
    crc = Crc32(crc, chunk.data(), take);
    left -= take;
  }
  if (crc != info_.crcTotal) return XPACKAGE_ERR_CRC_TOTAL;

  try {
    data_.assign(info_.dataSize, 0);
  } catch (const std::exception&) {  // a 32-bit process may not find data_size bytes
    return XPACKAGE_ERR_DATA_READ;
  }
  if (!ReadAt(stream, int64_t{info_.stubSize} + info_.archiveSize, data_.data(), info_.dataSize)) {
    return XPACKAGE_ERR_DATA_READ;
  }
  if (!zip_.OpenMemory(data_.data(), data_.size())) return XPACKAGE_ERR_ZIP_OPEN;
  return XPACKAGE_OK;
}

bool XPackage::CheckPackage(const std::u16string& path) {
  info_.packagePath = path;
  XFileReadStream stream(system_.files);
  if (!stream.Open(path)) {
    fault_ = XPACKAGE_ERR_OPEN;
    system_.messageBox.ShowMessageBox(u"Can't open file: " + path, u"QORIN",
                                      kBoxSystemModal | kBoxIconWarning);
    return false;
  }
  fault_ = Verify(stream);
  if (fault_ == XPACKAGE_OK) return true;
  zip_.CloseArchive();
  data_.clear();
  system_.messageBox.ShowMessageBox(u"Installer intergrity check has failed. \r\n\r\n" + path,
                                    u"QORIN", kBoxSystemModal | kBoxIconWarning);
  return false;
}

bool XPackage::OpenDataArchive(std::vector<uint8_t> data, std::u16string configName) {
  info_ = {};
  info_.configName = std::move(configName);
  data_ = std::move(data);
  return zip_.OpenMemory(data_.data(), data_.size());
}

bool XPackage::ReadWholeFile(std::u16string name, XByteBuffer* buffer) {
  ToBackslashes(name);
  if (info_.packaged) {
    int index = zip_.FindEntry(name);
    if (index < 0) {
      system_.console.ScriptConsoleLog(u"ReadWholeFile()-실패:" + name);
      return false;
    }
    if (!zip_.ExtractToMemory(index, buffer)) {
      system_.console.ScriptConsoleLog(u"ReadWholeFile()-풀기실패:" + name);
      return false;
    }
    return true;
  }
  std::u16string path = name;
  if (!system_.files.FileExists(path) && !info_.developerFolder.empty()) {
    if (system_.files.FileExists(info_.developerFolder + name)) {
      path = info_.developerFolder + name;
    } else if (system_.files.FileExists(info_.developerFolder + u"bin\\" + name)) {
      path = info_.developerFolder + u"bin\\" + name;
    }
  }
  return ReadFileBytes(system_.files, path, buffer);
}

void XPackage::DeveloperSideFile(const std::u16string& modulePath, std::u16string* commandLine) {
  info_.packagePath = modulePath;
  info_.packaged = true;
  info_.developerFolder.clear();

  // Only a dot in the file name itself starts the extension ("C:\my.tools\setup" has none).
  std::u16string sidePath = std::u16string(WithoutExtension(modulePath)) + u".ini";

  XByteBuffer bytes;
  XIniFile side;
  if (!system_.files.FileExists(sidePath) || !ReadFileBytes(system_.files, sidePath, &bytes) ||
      !side.Parse(bytes.data(), bytes.length)) {
    return;
  }
  std::u16string param = side.GetText(u"DEBUG", u"PARAM");
  if (param.empty()) return;
  *commandLine = param;
  std::u16string_view extension = Extension(param);
  if (EqualsIgnoreAsciiCase(extension, u".ini") || EqualsIgnoreAsciiCase(extension, u".config")) {
    std::u16string full = system_.files.FullPathName(param);
    std::u16string_view folder = FolderPart(full);
    info_.developerFolder = folder.empty() ? std::u16string() : FolderWithBackslash(folder);
    info_.packagePath = side.GetText(u"DEBUG", u"ARCHIVE_PATH_TO_TEST");
    info_.packaged = false;
    info_.configName = std::u16string(FileNamePart(full));
    info_.stubSize = info_.archiveSize = 0;
    info_.packTime = 0;
  } else {
    info_.packagePath = param;
  }
}

}  // namespace qorin
