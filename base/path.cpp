#include "path.h"

namespace qorin {
namespace {

size_t NameStart(std::u16string_view path) {
  size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string_view::npos ? 0 : cut + 1;
}

}  // namespace

void ToBackslashes(std::u16string& path) {
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
}

void ToBackslashes(std::string& path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
}

std::u16string_view FileNamePart(std::u16string_view path) {
  return path.substr(NameStart(path));
}

std::u16string_view FolderPart(std::u16string_view path) {
  return path.substr(0, NameStart(path));
}

std::u16string_view Extension(std::u16string_view path) {
  size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot < NameStart(path)) return {};
  if (path.find(u':', dot) != std::u16string_view::npos) return {};
  return path.substr(dot);
}

std::u16string_view WithoutExtension(std::u16string_view path) {
  return path.substr(0, path.size() - Extension(path).size());
}

std::u16string FolderWithBackslash(std::u16string_view folder) {
  std::u16string out(folder);
  ToBackslashes(out);
  if (out.empty() || out.back() != u'\\') out += u'\\';
  return out;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string out(folder);
  if (!out.empty() && !IsPathSeparator(out.back())) out += u'\\';
  out += name;
  return out;
}

}  // namespace qorin
