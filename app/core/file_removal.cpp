#include "file_removal.h"

#include <utility>
#include <vector>

#include "path.h"
#include "system_rules.h"

namespace qorin {
namespace {

bool IsDotEntry(const std::u16string& name) {
  return name == u"." || name == u"..";
}

// A read-only file refuses deletion with "access denied" until its attributes are cleared.
bool DeleteFileForced(IXFileAccess& files, const std::u16string& path) {
  if (files.Remove(path)) return true;
  if (files.LastError() != kErrorAccessDenied) return false;
  files.SetAttributes(path, 0);
  return files.Remove(path);
}

}  // namespace

bool DeleteMatching(IXFileAccess& files, const std::u16string& pattern) {
  if (pattern.find_first_of(u"*?") == std::u16string::npos) return files.Remove(pattern);
  std::u16string folder(FolderPart(pattern));
  bool all = true;
  for (const XFoundEntry& entry : files.Find(pattern)) {
    if (!entry.folder && !files.Remove(folder + entry.name)) all = false;
  }
  return all;
}

bool DeleteOrMove(IXFileAccess& files, const std::u16string& path) {
  if (files.Remove(path)) return true;
  std::u16string temp = files.TempFolder();
  if (files.Rename(path, temp + std::u16string(FileNamePart(path)))) return true;
  std::u16string fresh = files.TempFileName(temp, u"tmp.");
  if (fresh.empty()) return false;
  files.Remove(fresh);
  return files.Rename(path, fresh);
}

// Iterative, so that a deep tree cannot exhaust the stack: a folder is listed when first met
// and removed when met again after everything listed below it.
bool DeleteTree(IXFileAccess& files, const std::u16string& folder) {
  std::optional<uint32_t> attributes = files.Attributes(folder);
  if (attributes && (*attributes & kAttributeReparsePoint) != 0) return files.RemoveFolder(folder);
  std::vector<std::pair<std::u16string, bool>> pending{{folder, false}};
  bool removed = false;
  while (!pending.empty()) {
    if (pending.back().second) {
      removed = files.RemoveFolder(pending.back().first);
      pending.pop_back();
      continue;
    }
    pending.back().second = true;
    std::u16string current = pending.back().first;
    for (const XFoundEntry& entry : files.Find(current + u"\\*")) {
      if (IsDotEntry(entry.name)) continue;
      std::u16string path = current + u"\\" + entry.name;
      if (entry.folder && !entry.reparsePoint) {
        pending.emplace_back(path, false);
      } else if (entry.folder) {
        files.RemoveFolder(path);
      } else {
        DeleteFileForced(files, path);
      }
    }
  }
  return removed;
}

void DigPath(IXFileAccess& files, const std::u16string& path) {
  auto attributes = files.Attributes(path);
  if (attributes && (*attributes & kAttributeFolder) != 0) return;
  size_t first = path.find(u'\\');
  if (first != std::u16string::npos) {
    for (size_t at = path.find(u'\\', first + 1); at != std::u16string::npos;
         at = path.find(u'\\', at + 1)) {
      files.CreateFolder(path.substr(0, at));
    }
  }
  files.CreateFolder(path);
}

bool IsFileAt(IXFileAccess& files, const std::u16string& path) {
  auto attributes = files.Attributes(path);
  if (!attributes && files.LastError() == kErrorPathNotFound && path.size() >= 260) {
    attributes = files.Attributes(ExtendedLengthPath(path));
  }
  return attributes && (*attributes & kAttributeFolder) == 0;
}

}  // namespace qorin
