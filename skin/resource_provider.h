// Reads a skin's files by name: from a folder on disk, or from a ZIP archive (a file, or a block
// of memory such as the installer's data archive), with an optional sub-folder.
//
//   name ─► "$NAME": the language's text ─► "/" → "\" ─► folder: root + sub + name from disk
//                                                    └► archive: first entry sub + name (any case)
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "byte_buffer.h"
#include "file_access.h"
#include "skin_language.h"
#include "zip_reader.h"

namespace qorin {

class XResourceProvider {
 public:
  explicit XResourceProvider(IXFileAccess& files = SystemFileAccess()) : files_(files) {}

  // A folder (a missing trailing "\" is added).
  bool OpenFolder(std::u16string folder, std::u16string_view subFolder = {});
  // An archive in memory (not copied: it must outlive the provider) or on disk.
  bool OpenArchive(const uint8_t* bytes, size_t size, std::u16string_view subFolder = {});
  bool OpenArchiveFile(const std::u16string& path, std::u16string_view subFolder = {});
  // Lets go of an archive once loading has read what it needs.
  void ReleaseArchive();

  void SetLanguage(IXSkinLanguage* language) { language_ = language; }
  IXSkinLanguage* Language() const { return language_; }

  bool Read(std::u16string_view name, XByteBuffer* bytes);
  // The name a read looks for: the language's text for "$NAME", with backslashes.
  std::u16string ResolveName(std::u16string_view name) const;

  // A script file's bytes as text: FF FE UTF-16LE, EF BB BF UTF-8, or well-formed UTF-8 with no
  // zero byte; fewer than 2 bytes or anything else fails.
  static bool DecodeText(const uint8_t* bytes, size_t size, std::u16string* text);

 private:
  void SetSubFolder(std::u16string_view subFolder);

  IXFileAccess& files_;
  IXSkinLanguage* language_ = nullptr;
  std::u16string folder_;     // folder mode: ends in "\"
  std::u16string subFolder_;  // without a trailing "\"
  std::unique_ptr<XZipReader> archive_;
};

}  // namespace qorin
