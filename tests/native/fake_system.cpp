#include "fake_system.h"

namespace qorin::test {

std::vector<std::u16string> FakeSystem::ListFiles(const std::u16string& folder,
                                                  std::u16string_view pattern) {
  std::u16string suffix(pattern.substr(1));
  std::vector<std::u16string> out;
  for (const std::u16string& name : folders[folder]) {
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      out.push_back(name);
    }
  }
  return out;
}

}  // namespace qorin::test
