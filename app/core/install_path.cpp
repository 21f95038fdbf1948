#include "install_path.h"

#include "char_class.h"
#include "path.h"
#include "text.h"

namespace qorin {
bool IsValidInstallPath(std::u16string_view path) {
  return path.size() > 3 && IsScriptLetter(path[0]) && path[1] == u':' &&
         IsPathSeparator(path[2]) && !IsPathSeparator(path[3]);
}

std::u16string WithFinalSeparator(std::u16string_view folder) {
  std::u16string out(folder);
  if (!out.empty() && !IsPathSeparator(out.back())) out += u'\\';
  return out;
}

std::u16string RemoveEndBS(std::u16string_view text) {
  if (!text.empty() && IsPathSeparator(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

bool IsDriveRoot(std::u16string_view path) {
  if (path.size() < 2 || path.size() > 3 || !IsScriptLetter(path[0]) || path[1] != u':')
    return false;
  return path.size() == 2 || IsPathSeparator(path[2]);
}

bool IsValidEmail(std::u16string_view text) {
  text = TrimSpace(text);
  size_t at = text.find(u'@'), dot = text.find(u'.', 1);
  return at != std::u16string_view::npos && at > 0 && dot != std::u16string_view::npos;
}

}  // namespace qorin
