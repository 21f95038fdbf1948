#include "extraction.h"

#include <algorithm>

#include "file_stream.h"
#include "path.h"
#include "seven_zip_reader.h"
#include "text.h"
#include "utf.h"
#include "worker_thread.h"

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

constexpr uint32_t kAttributeNormal = 0x80;  // FILE_ATTRIBUTE_NORMAL

// A read-only file refuses removal until its attributes are cleared.
bool RemoveForced(IXFileAccess& files, const std::u16string& path) {
  if (files.Remove(path)) return true;
  files.SetAttributes(path, kAttributeNormal);
  return files.Remove(path);
}

// A file already at path is moved to path + ".bakN"; the backup's name, or "" when none.
std::u16string MoveAside(IXFileAccess& files, const std::u16string& path) {
  if (!files.FileExists(path)) return {};
  for (int n = 1; n <= kMaxBackups; ++n) {
    std::u16string backup = path + u".bak" + AsciiToUtf16(std::to_string(n));
    if (!files.FileExists(backup)) return files.Rename(path, backup) ? backup : std::u16string();
    RemoveForced(files, backup);
  }
  return {};
}

// Whether a path inside the installation folder passes through a junction or link below it (or
// is one): an elevated installer must not be led out of its folder.
bool ThroughLink(IXFileAccess& files, const std::u16string& folder, const std::u16string& path) {
  if (folder.empty() || path.size() <= folder.size() ||
      !EqualsIgnoreAsciiCase(path.substr(0, folder.size()), folder))
    return false;
  for (size_t at = path.find_first_of(u"\\/", folder.size());;
       at = path.find_first_of(u"\\/", at + 1)) {
    if (files.IsLink(path.substr(0, at))) return true;
    if (at == std::u16string::npos) return false;
  }
}

// Writes one entry's bytes; the code, 0 when written or skipped.
int WriteEntry(const XSevenZipEntry& entry, const std::vector<uint8_t>& bytes,
               const std::u16string& folder, IXExtractionSink& sink, IXFileAccess& files) {
  std::u16string path = sink.OpenFile(entry.name, folder + entry.name);
  if (path.empty()) return XEXTRACT_OK;
  if (ThroughLink(files, folder, path)) return XEXTRACT_ERR_OPEN_FILE;
  files.MakeFolders(std::u16string(FolderPart(path)));
  std::u16string backup = MoveAside(files, path);
  XFileWriteStream out(files);
  while (!out.Create(path)) {
    int answer = sink.CantOpen(path);
    if (answer == kAnswerRetry) continue;
    if (!backup.empty()) files.Rename(backup, path);  // the user's file comes back
    return answer == kAnswerIgnore ? XEXTRACT_OK : XEXTRACT_ERR_OPEN_FILE;
  }
  if (!backup.empty()) RemoveForced(files, backup);  // a file still loaded somewhere stays
  for (size_t at = 0; at < bytes.size();) {
    uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(bytes.size() - at, 1u << 20));
    if (!out.Write(bytes.data() + at, chunk)) return XEXTRACT_ERR_WRITE_FILE;
    at += chunk;
  }
  if (!out.Close(entry.hasTime ? entry.unixTime : -1)) return XEXTRACT_ERR_WRITE_FILE;
  if (entry.hasAttributes) files.SetAttributes(path, entry.attributes);
  return XEXTRACT_OK;
}

// Decodes the solid block of one entry on a thread of its own, with a reader of its own, while
// the files of the block before are written.
class XDecodeAhead {
 public:
  XDecodeAhead() = default;
  XDecodeAhead(const XDecodeAhead&) = delete;
  XDecodeAhead& operator=(const XDecodeAhead&) = delete;

  void Start(XSevenZipReader& reader, size_t index) {
    thread_.Join();
    index_ = index;
    started_ = true;
    thread_.Start([this, &reader, index] {
      std::vector<uint8_t> scratch;
      error_ = reader.Extract(index, &scratch) ? 0 : reader.LastError();
    });
  }
  // The SDK's error when the entry's block was decoded ahead and failed; 0 otherwise.
  int Finish(size_t index) {
    if (!started_ || index != index_) return 0;
    thread_.Join();
    started_ = false;
    return error_;
  }

 private:
  size_t index_ = 0;
  bool started_ = false;
  int error_ = 0;
  XWorkerThread thread_;  // last: joined before the members it writes go
};

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
  // The first entry of each solid block, in archive order. Block n is read with reader n % 2;
  // when it begins, block n + 1 is decoded ahead with the other reader.
  std::vector<size_t> blockStarts;
  uint32_t lastBlock = XSevenZipEntry::kNoBlock;
  for (size_t i = 0; i < archive.EntryCount(); ++i) {
    uint32_t block = archive.GetEntry(i).block;
    if (block != XSevenZipEntry::kNoBlock && block != lastBlock) blockStarts.push_back(i);
    if (block != XSevenZipEntry::kNoBlock) lastBlock = block;
  }
  XSevenZipReader second;
  bool twoReaders = blockStarts.size() > 1 &&
                    second.Open(job.packagePath, job.offset, job.offset == 0 ? -1 : job.size);
  XSevenZipReader* readers[2] = {&archive, twoReaders ? &second : &archive};
  XSevenZipReader* reader = &archive;
  XDecodeAhead ahead;
  size_t nextBlock = 0;
  sink.Progress(0, total);  // "0%" at once, also for a payload of folders only

  int code = XEXTRACT_OK;
  std::u16string name;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < archive.EntryCount() && code == XEXTRACT_OK; ++i) {
    XSevenZipEntry entry = archive.GetEntry(i);
    ToBackslashes(entry.name);
    name = entry.name;
    std::u16string target = job.installFolder + entry.name;
    if (entry.isFolder) {
      if (ThroughLink(files, job.installFolder, target)) {
        code = XEXTRACT_ERR_OPEN_FILE;
      } else if (!files.MakeFolders(target)) {
        code = XEXTRACT_ERR_CREATE_FOLDER;
      }
      continue;
    }
    if (nextBlock < blockStarts.size() && blockStarts[nextBlock] == i) {
      if (int error = ahead.Finish(i); error != 0) {
        code = XEXTRACT_ERR_DECODER + error;
        break;
      }
      reader = readers[nextBlock % 2];
      if (twoReaders && nextBlock + 1 < blockStarts.size())
        ahead.Start(*readers[(nextBlock + 1) % 2], blockStarts[nextBlock + 1]);
      ++nextBlock;
    }
    if (!reader->Extract(i, &bytes)) {
      code = XEXTRACT_ERR_DECODER + reader->LastError();
      break;
    }
    code = WriteEntry(entry, bytes, job.installFolder, sink, files);
    done += entry.size;
    if (code == XEXTRACT_OK) sink.Progress(done, total);
  }
  sink.Completed(code, name);
  return code;
}

}  // namespace qorin
