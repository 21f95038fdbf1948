#include "package.h"

#include <memory>

#include "byte_order.h"
#include "crc32.h"
#include "file_stream.h"
#include "ini_file.h"
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

// The name's extension: the text from its last dot, if no separator follows that dot.
std::u16string_view Extension(std::u16string_view name) {
  size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return {};
  for (size_t i = dot + 1; i < name.size(); ++i) {
    if (name[i] == u'\\' || name[i] == u'/' || name[i] == u':') return {};
  }
  return name.substr(dot);
}

std::u16string FileNamePart(std::u16string_view path) {
  size_t cut = path.find_last_of(u"\\/|");
  return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

void ToBackslashes(std::u16string& name) {
  for (char16_t& c : name) {
    if (c == u'/') c = u'\\';
  }
}

bool ReadFileBytes(const std::u16string& path, XByteBuffer* buffer) {
  XFileReadStream stream;
  if (!stream.Open(path) || !ReadWholeStream(stream, &buffer->storage, true)) return false;
  buffer->length = buffer->storage.size() - 2;
  return true;
}

}  // namespace

const char* DescribeFault(PackageFault fault) {
  switch (fault) {
    case PackageFault::kNone: return "the package is sound";
    case PackageFault::kCannotOpen: return "the file cannot be opened";
    case PackageFault::kNoFooter: return "no footer on a 16-byte boundary in the last 32 KiB";
    case PackageFault::kBadVersion: return "the footer's version is not 1";
    case PackageFault::kTrailerCrc:
      return "the trailer cannot be read or its CRC-32 does not match";
    case PackageFault::kTrailerParse: return "the trailer is not an INI text with a section";
    case PackageFault::kCrcTotal:
      return "crc_total does not match the file from offset 512 to the end of the data archive";
    case PackageFault::kDataRead: return "the data archive cannot be read";
    case PackageFault::kZipOpen: return "the data archive is not a readable ZIP archive";
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

PackageFault XPackage::Verify(XReadStream& stream) {
  PackageFooter footer;
  if (!FindFooter(stream, &footer)) return PackageFault::kNoFooter;
  if (footer.version != kFooterVersion) return PackageFault::kBadVersion;

  if (footer.trailerSize > kMaxTrailerSize || footer.trailerSize > footer.offset)
    return PackageFault::kTrailerCrc;
  std::vector<uint8_t> trailer(footer.trailerSize, 0);
  if (!ReadAt(stream, footer.offset - footer.trailerSize, trailer.data(), footer.trailerSize) ||
      Crc32(0, trailer.data(), trailer.size()) != footer.trailerCrc) {
    return PackageFault::kTrailerCrc;
  }
  XIniFile ini;
  if (!ini.Parse(trailer.data(), trailer.size()) || ini.SectionCount() == 0)
    return PackageFault::kTrailerParse;
  info_.stubSize = static_cast<uint32_t>(ini.GetNumber(u"qorin", u"stub_size"));
  info_.dataSize = static_cast<uint32_t>(ini.GetNumber(u"qorin", u"data_size"));
  info_.archiveSize = static_cast<uint32_t>(ini.GetNumber(u"qorin", u"archive_size"));
  info_.crcTotal = static_cast<uint32_t>(ini.GetNumber(u"qorin", u"crc_total"));
  info_.packTime = static_cast<int64_t>(ini.GetNumber(u"qorin", u"pack_time"));
  info_.configName = ini.GetText(u"qorin", u"config");

  uint64_t covered = uint64_t{info_.stubSize} + info_.dataSize + info_.archiveSize;
  if (covered < kUncoveredPrefix || static_cast<int64_t>(covered) > stream.GetSize())
    return PackageFault::kCrcTotal;
  std::vector<uint8_t> chunk(kCrcChunk);
  uint32_t crc = 0;
  if (stream.Seek(kUncoveredPrefix) != kUncoveredPrefix) return PackageFault::kCrcTotal;
  for (uint64_t left = covered - kUncoveredPrefix; left != 0;) {
    uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(left, kCrcChunk));
    uint32_t got = 0;
    if (!stream.Read(chunk.data(), take, &got) || got != take) return PackageFault::kCrcTotal;
    crc = Crc32(crc, chunk.data(), take);
    left -= take;
  }
  if (crc != info_.crcTotal) return PackageFault::kCrcTotal;

  data_.assign(info_.dataSize, 0);
  if (!ReadAt(stream, int64_t{info_.stubSize} + info_.archiveSize, data_.data(), info_.dataSize)) {
    return PackageFault::kDataRead;
  }
  if (!zip_.OpenMemory(data_.data(), data_.size())) return PackageFault::kZipOpen;
  return PackageFault::kNone;
}

bool XPackage::CheckPackage(const std::u16string& path) {
  info_.packagePath = path;
  XFileReadStream stream;
  if (!stream.Open(path)) {
    fault_ = PackageFault::kCannotOpen;
    system_.ShowMessageBox(u"Can't open file: " + path, u"QORIN",
                           kBoxSystemModal | kBoxIconWarning);
    return false;
  }
  fault_ = Verify(stream);
  if (fault_ == PackageFault::kNone) return true;
  zip_.CloseArchive();
  data_.clear();
  system_.ShowMessageBox(u"Installer intergrity check has failed. \r\n\r\n" + path, u"QORIN",
                         kBoxSystemModal | kBoxIconWarning);
  return false;
}

bool XPackage::ReadWholeFile(std::u16string name, XByteBuffer* buffer) {
  ToBackslashes(name);
  if (info_.packaged) {
    int index = zip_.FindEntry(name);
    if (index < 0) {
      system_.ScriptConsoleLog(u"ReadWholeFile()-실패:" + name);
      return false;
    }
    if (!zip_.ExtractToMemory(index, buffer)) {
      system_.ScriptConsoleLog(u"ReadWholeFile()-풀기실패:" + name);
      return false;
    }
    return true;
  }
  std::u16string path = name;
  if (!system_.FileExists(path) && !info_.developerFolder.empty()) {
    if (system_.FileExists(info_.developerFolder + name)) {
      path = info_.developerFolder + name;
    } else if (system_.FileExists(info_.developerFolder + u"bin\\" + name)) {
      path = info_.developerFolder + u"bin\\" + name;
    }
  }
  return ReadFileBytes(path, buffer);
}

void XPackage::DeveloperSideFile(const std::u16string& modulePath, std::u16string* commandLine) {
  info_.packagePath = modulePath;
  info_.packaged = true;
  info_.developerFolder.clear();

  // Only a dot in the file name itself starts the extension ("C:\my.tools\setup" has none).
  size_t nameStart = modulePath.find_last_of(u"\\/");
  nameStart = nameStart == std::u16string::npos ? 0 : nameStart + 1;
  size_t dot = modulePath.rfind(u'.');
  std::u16string sidePath =
      (dot == std::u16string::npos || dot < nameStart ? modulePath : modulePath.substr(0, dot)) +
      u".ini";

  XByteBuffer bytes;
  XIniFile side;
  if (!system_.FileExists(sidePath) || !ReadFileBytes(sidePath, &bytes) ||
      !side.Parse(bytes.data(), bytes.length)) {
    return;
  }
  std::u16string param = side.GetText(u"DEBUG", u"PARAM");
  if (param.empty()) return;
  *commandLine = param;
  std::u16string_view extension = Extension(param);
  if (EqualsIgnoreAsciiCase(extension, u".ini") || EqualsIgnoreAsciiCase(extension, u".config")) {
    std::u16string full = system_.FullPathName(param);
    size_t cut = full.find_last_of(u"\\/");
    info_.developerFolder =
        cut == std::u16string::npos ? std::u16string() : full.substr(0, cut) + u"\\";
    info_.packagePath = side.GetText(u"DEBUG", u"ARCHIVE_PATH_TO_TEST");
    info_.packaged = false;
    info_.configName = FileNamePart(full);
    info_.stubSize = info_.archiveSize = 0;
    info_.packTime = 0;
  } else {
    info_.packagePath = param;
  }
}

}  // namespace qorin
