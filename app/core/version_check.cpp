#include "version_check.h"

#include "ini_file.h"
#include "script_value.h"

namespace qorin {

uint64_t PackagedVersion(XPackage& package, const std::u16string& file,
                         const std::u16string& section, const std::u16string& key) {
  XByteBuffer bytes;
  XIniFile ini;
  if (!package.ReadWholeFile(file, &bytes) || !ini.Parse(bytes.data(), bytes.length)) return 0;
  return ini.GetNumber(section, key);
}

std::optional<std::u16string> VersionCheckAnswer(const XVersionCheck& check,
                                                 const std::vector<uint8_t>& downloaded) {
  XIniFile ini;
  if (!ini.Parse(downloaded.data(), downloaded.size())) return std::nullopt;
  uint64_t remote = ini.GetNumber(check.remoteSection, check.remoteKey);
  if (remote == 0) return std::nullopt;
  return u"OnCheckVersion(" + DisplayInt(static_cast<int32_t>(remote)) + u", " +
         DisplayInt(static_cast<int32_t>(check.localVersion)) + u");";
}

}  // namespace qorin
