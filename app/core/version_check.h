// The version check: the package's own version from an INI file in the data archive, the
// newest one from an INI file downloaded asynchronously, and the script's callback when the
// download answers.
//
//   CheckVersionAsync ─► local version (package INI) ─► 0? stop
//     ─► window starts the download, keeps the request number
//     ─► completed with success, same number ─► remote version ─► "OnCheckVersion(remote, local);"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package.h"

namespace qorin {

// A version file is a few lines of INI: a download longer than this is no version file (and
// would otherwise be kept in memory whole), and one that takes longer is given up.
constexpr uint64_t kMostVersionFileBytes = 256 * 1024;
constexpr uint32_t kVersionCheckDeadlineMs = 30000;

struct XVersionCheck {
  std::u16string url, remoteSection, remoteKey;
  uint64_t localVersion = 0;
};

// The unsigned number at (section, key) of an INI file in the data archive; 0 if unreadable.
uint64_t PackagedVersion(XPackage& package, const std::u16string& file,
                         const std::u16string& section, const std::u16string& key);

// The script text for a downloaded INI file, nothing when it names no version.
std::optional<std::u16string> VersionCheckAnswer(const XVersionCheck& check,
                                                 const std::vector<uint8_t>& downloaded);

}  // namespace qorin
