// Shared pieces of the qorin tool's subcommands: exit codes, arguments, files, the system
// interface the package check asks (message boxes become error lines).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "installer_system.h"
#include "package_writer.h"

namespace qorin::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// "--name value" options and positional arguments; "--flag" options take no value when listed
// in flags.
class Arguments {
 public:
  Arguments(int argc, char** argv, const std::vector<std::string>& flags);
  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return positional_; }
  bool WantsHelp() const { return Flag("help") || Flag("h"); }
  // First option that is not known, if any.
  std::optional<std::string> Unknown(const std::vector<std::string>& known) const;

 private:
  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> flags_;
  std::vector<std::string> positional_;
};

int Fail(const std::string& message);                      // prints "qorin: message", returns 1
int Usage(const std::string& message, const char* usage);  // prints message and usage, returns 2

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>* bytes, std::string* error);
bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
               std::string* error);

// The files of a data folder, sorted, with "/" between folders; names must be ASCII (the
// installer finds them in the OEM code page). progress hears "reading i/n name".
bool CollectData(const std::filesystem::path& root, std::vector<pack::DataFile>* files,
                 std::string* error, const std::function<void(const std::string&)>& progress);

// A name from an archive as a path below root, or nothing when it would leave root (absolute,
// drive letter, or a ".." part).
std::optional<std::filesystem::path> SafeJoin(const std::filesystem::path& root,
                                              const std::string& name);

// The installer system on the console: message boxes and console lines become error lines, the
// UI language is English, files are the real ones.
class ConsoleSystem final : public IXMessageBox, public IXConsole, public IXEnvironment {
 public:
  operator XInstallerSystem() { return {*this, *this, *this, SystemFileAccess()}; }

  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     unsigned style) override;
  void ScriptConsoleLog(std::u16string_view text) override;
  uint16_t UserDefaultUILanguage() override { return 0x0409; }
  std::u16string GetEnvironment(std::u16string_view name) override;
  std::u16string ProgramFilesDir() override { return u"C:\\Program Files"; }
};

}  // namespace qorin::cli
