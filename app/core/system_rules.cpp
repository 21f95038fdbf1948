#include "system_rules.h"

#include <algorithm>
#include <vector>

#include "path.h"

namespace qorin {
namespace {

int ServicePackClass(uint16_t servicePack, int first, int last) {
  int cls = first + servicePack;
  return cls <= last ? cls : first;
}

int VersionSixClass(const XOsVersion& v) {
  bool workstation = v.productType == 1;
  switch (v.minor) {
    case 0: return workstation ? ServicePackClass(v.servicePack, 7, 9) : 10;
    case 1: return workstation ? ServicePackClass(v.servicePack, 11, 12) : 13;
    case 2: return 14;
    case 3: return workstation ? 15 : 16;
    default: return 18;
  }
}

}  // namespace

int WindowsVersionClass(const std::optional<XOsVersion>& version) {
  if (!version || !version->nt) return 18;
  const XOsVersion& v = *version;
  if (v.major == 5 && v.minor == 0) return 1;
  if (v.major == 5 && v.minor == 1) {
    return v.servicePack >= 1 && v.servicePack <= 3 ? 2 + v.servicePack : 2;
  }
  if (v.major == 5 && v.minor == 2) return 6;
  if (v.major == 6) return VersionSixClass(v);
  return v.major == 10 ? 17 : 18;
}

std::u16string PlatformName(std::optional<uint16_t> nativeMachine,
                            std::optional<uint16_t> architecture) {
  if (nativeMachine == 0xAA64) return u"ARM64";
  if (nativeMachine == 0x8664) return u"x64";
  if (nativeMachine == 0x14C) return u"x86";
  return architecture == kArchitectureAmd64 ? u"x64" : u"x86";
}

std::u16string AccountTypeName(std::optional<unsigned> groups) {
  if (!groups) return u"";
  static constexpr std::pair<unsigned, const char16_t*> kGroups[] = {
      {kGroupAdministrators, u"Admin"},
      {kGroupPowerUsers, u"Power"},
      {kGroupGuests, u"Guest"},
      {kGroupUsers, u"User"},
  };
  for (auto [bit, name] : kGroups) {
    if ((*groups & bit) != 0) return name;
  }
  return u"";
}

std::u16string ExecCommandLine(std::u16string_view program, std::u16string_view arguments) {
  std::u16string line = u"\"";
  line.append(program).append(u"\" ").append(arguments);
  return line;
}

bool IsRootPath(std::u16string_view given) {
  std::u16string path(given);
  ToBackslashes(path);
  // The root's own parts: "\\?\" or "\\.\", then "UNC\server\share" or "X:"; a plain
  // "\\server\share"; "X:"; a bare "\".
  size_t at = 0, parts = 0;
  if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) {
    at = 4;
    if (path.compare(at, 4, u"UNC\\") == 0) at += 4, parts = 2;
  } else if (path.starts_with(u"\\\\")) {
    at = 2, parts = 2;
  }
  std::vector<std::u16string_view> rest;
  std::u16string_view view(path);
  for (size_t start = at; start <= view.size();) {
    size_t end = view.find(u'\\', start);
    if (end == std::u16string_view::npos) end = view.size();
    std::u16string_view part = view.substr(start, end - start);
    if (!part.empty() && part != u".") rest.push_back(part);
    start = end + 1;
  }
  if (parts == 0 && !rest.empty() && rest[0].size() == 2 && rest[0][1] == u':') parts = 1;
  // What is left after the root: a name that is not ".." is one level further down.
  int depth = 0;
  for (size_t i = parts; i < rest.size(); ++i)
    depth = rest[i] == u".." ? std::max(0, depth - 1) : depth + 1;
  return rest.size() < parts || depth == 0;
}

std::u16string ExtendedLengthPath(std::u16string_view path) {
  if (path.starts_with(u"\\\\?\\")) return std::u16string(path);
  if (path.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + std::u16string(path.substr(2));
  return u"\\\\?\\" + std::u16string(path);
}

}  // namespace qorin
