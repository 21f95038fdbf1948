#include "cli.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "utf.h"

namespace qorin::cli {

Arguments::Arguments(int argc, char** argv, const std::vector<std::string>& flags) {
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
      bool isFlag = name == "help" || name == "h";
      for (const std::string& flag : flags) isFlag = isFlag || flag == name;
      if (isFlag || i + 1 >= argc) {
        flags_.push_back(name);
      } else {
        options_.emplace_back(name, argv[++i]);
      }
    } else {
      positional_.push_back(arg);
    }
  }
}

std::optional<std::string> Arguments::Option(const std::string& name) const {
  for (const auto& [key, value] : options_) {
    if (key == name) return value;
  }
  return std::nullopt;
}

bool Arguments::Flag(const std::string& name) const {
  for (const std::string& flag : flags_) {
    if (flag == name) return true;
  }
  return false;
}

std::optional<std::string> Arguments::Unknown(const std::vector<std::string>& known) const {
  auto isKnown = [&](const std::string& name) {
    if (name == "help" || name == "h") return true;
    for (const std::string& k : known) {
      if (k == name) return true;
    }
    return false;
  };
  for (const auto& option : options_) {
    if (!isKnown(option.first)) return option.first;
  }
  for (const std::string& flag : flags_) {
    if (!isKnown(flag)) return flag;
  }
  return std::nullopt;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qorin: %s\n", message.c_str());
  return kExitFailure;
}

int Usage(const std::string& message, const char* usage) {
  if (!message.empty()) std::fprintf(stderr, "qorin: %s\n", message.c_str());
  std::fputs(usage, stderr);
  return kExitUsage;
}

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path.string();
    return false;
  }
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
               std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    *error = "cannot write " + path.string();
    return false;
  }
  return true;
}

std::optional<std::filesystem::path> SafeJoin(const std::filesystem::path& root,
                                              const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':'))
    return std::nullopt;
  std::filesystem::path out = root;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::nullopt;
    out /= part;
  }
  return out;
}

int ConsoleSystem::ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned) {
  std::fprintf(stderr, "qorin: [%s] %s\n", Utf16ToUtf8(caption).c_str(), Utf16ToUtf8(text).c_str());
  return 1;  // IDOK
}

void ConsoleSystem::ScriptConsoleLog(std::u16string_view text) {
  std::fprintf(stderr, "qorin: %s\n", Utf16ToUtf8(text).c_str());
}

std::u16string ConsoleSystem::GetEnvironment(std::u16string_view name) {
  const char* value = std::getenv(Utf16ToUtf8(name).c_str());
  return value ? Utf8ToUtf16(value) : std::u16string();
}

namespace fs = std::filesystem;

namespace {

bool IsAsciiName(const std::string& name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return c > 0x1F && c < 0x7F; });
}

}  // namespace

bool CollectData(const fs::path& root, std::vector<pack::DataFile>* files, std::string* error,
                 const std::function<void(const std::string&)>& progress) {
  std::vector<std::string> names;
  std::error_code code;
  for (auto it = fs::recursive_directory_iterator(root, code);
       !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
    if (it->is_regular_file()) names.push_back(fs::relative(it->path(), root).generic_string());
  }
  if (code) {
    *error = "cannot list the data folder " + root.string() + ": " + code.message();
    return false;
  }
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i < names.size(); ++i) {
    if (!IsAsciiName(names[i])) {
      *error = "data file name '" + names[i] +
               "' is not ASCII: the installer finds names in the OEM code page";
      return false;
    }
    progress("reading " + std::to_string(i + 1) + "/" + std::to_string(names.size()) + " " +
             names[i]);
    pack::DataFile file{names[i], {}};
    if (!ReadFile(root / names[i], &file.bytes, error)) return false;
    files->push_back(std::move(file));
  }
  return true;
}

}  // namespace qorin::cli
