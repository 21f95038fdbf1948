#include "resource_provider.h"

#include <cstdint>

#include "file_stream.h"
#include "path.h"
#include "utf.h"

namespace qorin {
namespace {

// Every lead byte followed by its continuation bytes, and no zero byte.
bool IsWellFormedUtf8(const uint8_t* bytes, size_t size) {
  for (size_t i = 0; i < size;) {
    uint8_t lead = bytes[i];
    if (lead == 0) return false;
    size_t extra = lead < 0x80             ? 0
                   : (lead & 0xE0) == 0xC0 ? 1
                   : (lead & 0xF0) == 0xE0 ? 2
                   : (lead & 0xF8) == 0xF0 ? 3
                                           : SIZE_MAX;
    if (extra == SIZE_MAX || extra >= size - i) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

void XResourceProvider::SetSubFolder(std::u16string_view subFolder) {
  subFolder_.assign(subFolder);
  ToBackslashes(subFolder_);
  while (!subFolder_.empty() && subFolder_.back() == u'\\') subFolder_.pop_back();
}

bool XResourceProvider::OpenFolder(std::u16string folder, std::u16string_view subFolder) {
  archive_.reset();
  folder_ = FolderWithBackslash(folder);
  SetSubFolder(subFolder);
  return true;
}

bool XResourceProvider::OpenArchive(const uint8_t* bytes, size_t size,
                                    std::u16string_view subFolder) {
  folder_.clear();
  SetSubFolder(subFolder);
  archive_ = std::make_unique<XZipReader>();
  if (archive_->OpenMemory(bytes, size)) return true;
  archive_.reset();
  return false;
}

bool XResourceProvider::OpenArchiveFile(const std::u16string& path, std::u16string_view subFolder) {
  folder_.clear();
  SetSubFolder(subFolder);
  archive_ = std::make_unique<XZipReader>();
  if (archive_->OpenFile(path)) return true;
  archive_.reset();
  return false;
}

void XResourceProvider::ReleaseArchive() {
  if (archive_) archive_->CloseArchive();
}

std::u16string XResourceProvider::ResolveName(std::u16string_view name) const {
  std::u16string resolved(name);
  if (!name.empty() && name[0] == u'$' && language_ != nullptr) resolved = language_->Text(name);
  ToBackslashes(resolved);
  return subFolder_.empty() ? resolved : subFolder_ + u"\\" + resolved;
}

bool XResourceProvider::Read(std::u16string_view name, XByteBuffer* bytes) {
  std::u16string path = ResolveName(name);
  if (archive_) {
    int index = archive_->FindEntry(path);
    return index >= 0 && archive_->ExtractToMemory(index, bytes);
  }
  if (folder_.empty()) return false;
  XFileReadStream stream(files_);
  if (!stream.Open(folder_ + path) || !ReadWholeStream(stream, &bytes->storage, true)) return false;
  bytes->length = bytes->storage.size() - 2;
  return true;
}

bool XResourceProvider::DecodeText(const uint8_t* bytes, size_t size, std::u16string* text) {
  if (size < 2) return false;
  if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
    text->clear();
    for (size_t i = 2; i + 1 < size; i += 2)
      *text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return true;
  }
  size_t start = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  if (start == 0 && !IsWellFormedUtf8(bytes, size)) return false;
  *text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes) + start, size - start));
  return true;
}

}  // namespace qorin
