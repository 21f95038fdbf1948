#include "registry.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "path.h"

namespace qorin {
namespace {

struct RootName {
  const char16_t* name;
  XRegistryRoot root;
};

constexpr RootName kRoots[] = {
    {u"HKLM", XRegistryRoot::kLocalMachine}, {u"HKEY_LOCAL_MACHINE", XRegistryRoot::kLocalMachine},
    {u"HKCR", XRegistryRoot::kClassesRoot},  {u"HKEY_CLASSES_ROOT", XRegistryRoot::kClassesRoot},
    {u"HKCU", XRegistryRoot::kCurrentUser},  {u"HKEY_CURRENT_USER", XRegistryRoot::kCurrentUser},
};

// The root and the text after the first "\".
std::optional<XRegistryPath> SplitRoot(std::u16string_view text, std::u16string* rest) {
  std::u16string path(text);
  ToBackslashes(path);
  size_t first = path.find(u'\\');
  if (first == std::u16string::npos) return std::nullopt;
  std::u16string_view root = std::u16string_view(path).substr(0, first);
  for (const RootName& row : kRoots) {
    if (root == row.name) {
      *rest = path.substr(first + 1);
      return XRegistryPath{row.root, {}, {}};
    }
  }
  return std::nullopt;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
           return lower(x) == lower(y);
         });
}

bool Among(std::u16string_view name, std::initializer_list<std::u16string_view> names) {
  return std::any_of(names.begin(), names.end(),
                     [&](std::u16string_view n) { return SameName(name, n); });
}

}  // namespace

bool IsSharedRegistryKey(const XRegistryPath& path) {
  std::vector<std::u16string_view> parts;
  std::u16string_view key(path.key);
  for (size_t start = 0; start <= key.size();) {
    size_t end = key.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) end = key.size();
    if (end > start) parts.push_back(key.substr(start, end - start));
    start = end + 1;
  }
  if (parts.size() <= 1) return true;
  if (!SameName(parts[0], u"SOFTWARE")) return false;
  const std::initializer_list<std::u16string_view> shared = {u"Microsoft", u"Classes", u"Policies"};
  if (parts.size() == 2) return SameName(parts[1], u"WOW6432Node") || Among(parts[1], shared);
  return parts.size() == 3 && SameName(parts[1], u"WOW6432Node") && Among(parts[2], shared);
}

std::optional<XRegistryPath> ParseRegistryValuePath(std::u16string_view text) {
  std::u16string rest;
  std::optional<XRegistryPath> path = SplitRoot(text, &rest);
  if (!path) return path;
  size_t last = rest.rfind(u'\\');
  if (last == std::u16string::npos) {
    path->value = rest;  // a value directly under the root
  } else {
    path->key = rest.substr(0, last);
    path->value = rest.substr(last + 1);
  }
  return path;
}

std::optional<XRegistryPath> ParseRegistryKeyPath(std::u16string_view text) {
  std::u16string rest;
  std::optional<XRegistryPath> path = SplitRoot(text, &rest);
  if (path) path->key = rest;
  return path;
}

}  // namespace qorin
