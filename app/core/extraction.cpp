#include "extraction.h"

#include <algorithm>

#include "file_stream.h"
#include "path.h"
#include "seven_zip_reader.h"
#include "utf.h"

namespace qorin {
namespace {

constexpr int kMaxBackups = 99;

struct ErrorKey {
  int code;
  const char16_t* key;
};

constexpr ErrorKey kErrorKeys[] = {
    {XEXTRACT_ERR_CREATE_FOLDER, u"ERR_CANT_CREATE_FOLDER"},
    {XEXTRACT_ERR_OPEN_FILE, u"ERR_CANT_OPEN_FILE"},
    {XEXTRACT_ERR_WRITE_FILE, u"ERR_CANT_WRITE_FILE"},
    {XEXTRACT_ERR_BROKEN_ARCHIVE, u"ERR_BROKEN_ARCHIVE"},
    {XEXTRACT_ERR_CRC, u"ERR_CRC_ERROR"},
    {XEXTRACT_ERR_NO_MEMORY, u"ERR_NOT_ENOUGH_MEM"},
};

// A file already at path is moved to path + ".bakN"; the backup's name, or "" when none.
std::u16string MoveAside(IXFileAccess& files, const std::u16string& path) {
  if (!files.FileExists(path)) return {};
  for (int n = 1; n <= kMaxBackups; ++n) {
    std::u16string backup = path + u".bak" + AsciiToUtf16(std::to_string(n));
    if (!files.FileExists(backup)) return files.Rename(path, backup) ? backup : std::u16string();
    files.Remove(backup);
  }
  return {};
}

// Writes one entry's bytes; the code, 0 when written or skipped.
int WriteEntry(const XSevenZipEntry& entry, const std::vector<uint8_t>& bytes,
               const std::u16string& defaultPath, IXExtractionSink& sink, IXFileAccess& files) {
  std::u16string path = sink.OpenFile(entry.name, defaultPath);
  if (path.empty()) return XEXTRACT_OK;
  files.MakeFolders(std::u16string(FolderPart(path)));
  std::u16string backup = MoveAside(files, path);
  XFileWriteStream out(files);
  while (!out.Create(path)) {
    int answer = sink.CantOpen(path);
    if (answer == kAnswerRetry) continue;
    if (!backup.empty()) files.Remove(backup);
    return answer == kAnswerIgnore ? XEXTRACT_OK : XEXTRACT_ERR_OPEN_FILE;
  }
  if (!backup.empty()) files.Remove(backup);  // a file still loaded somewhere stays behind
  for (size_t at = 0; at < bytes.size();) {
    uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(bytes.size() - at, 1u << 20));
    if (!out.Write(bytes.data() + at, chunk)) return XEXTRACT_ERR_WRITE_FILE;
    at += chunk;
  }
  if (!out.Close(entry.hasTime ? entry.unixTime : -1)) return XEXTRACT_ERR_WRITE_FILE;
  if (entry.hasAttributes) files.SetAttributes(path, entry.attributes);
  return XEXTRACT_OK;
}

}  // namespace

const char16_t* ExtractionErrorKey(int code) {
  for (const ErrorKey& row : kErrorKeys) {
    if (row.code == code) return row.key;
  }
  return nullptr;
}

bool IsSafeEntryName(const std::u16string& name) {
  if (name.empty() || name[0] == u'\\' || name[0] == u'/' ||
      name.find(u':') != std::u16string::npos)
    return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(u"\\/", start);
    if (end == std::u16string::npos) end = name.size();
    if (name.compare(start, end - start, u"..") == 0) return false;
    start = end + 1;
  }
  return true;
}

int ExtractPayload(const XExtractionJob& job, IXExtractionSink& sink, IXFileAccess& files) {
  XSevenZipReader archive;
  if (!archive.Open(job.packagePath, job.offset, job.offset == 0 ? -1 : job.size)) {
    sink.Completed(XEXTRACT_ERR_BROKEN_ARCHIVE, u"");
    return XEXTRACT_ERR_BROKEN_ARCHIVE;
  }
  uint64_t total = 0, done = 0;
  for (size_t i = 0; i < archive.EntryCount(); ++i) total += archive.GetEntry(i).size;
  // Every name is checked before anything is written.
  for (size_t i = 0; i < archive.EntryCount(); ++i) {
    std::u16string name = archive.GetEntry(i).name;
    ToBackslashes(name);
    if (!IsSafeEntryName(name)) {
      sink.Completed(XEXTRACT_ERR_OPEN_FILE, name);
      return XEXTRACT_ERR_OPEN_FILE;
    }
  }
  int code = XEXTRACT_OK;
  std::u16string name;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < archive.EntryCount() && code == XEXTRACT_OK; ++i) {
    XSevenZipEntry entry = archive.GetEntry(i);
    ToBackslashes(entry.name);
    name = entry.name;
    std::u16string target = job.installFolder + entry.name;
    if (entry.isFolder) {
      if (!files.MakeFolders(target)) code = XEXTRACT_ERR_CREATE_FOLDER;
      continue;
    }
    if (!archive.Extract(i, &bytes)) {
      code = XEXTRACT_ERR_DECODER + archive.LastError();
      break;
    }
    code = WriteEntry(entry, bytes, target, sink, files);
    done += entry.size;
    if (code == XEXTRACT_OK) sink.Progress(done, total);
  }
  sink.Completed(code, name);
  return code;
}

}  // namespace qorin
