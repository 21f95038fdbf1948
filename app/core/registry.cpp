#include "registry.h"

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

}  // namespace

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
