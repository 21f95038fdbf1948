// qorin help and qorin doc: the package language's reference, from the code's own tables.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "reference.h"

namespace qorin::cli {
namespace {

const char kHelpUsage[] =
    "usage: qorin help natives | native NAME | tags | tag NAME | errors | config\n"
    "\n"
    "Prints the reference written from the code's own tables: every script function with its\n"
    "arguments (natives), the signatures of one (native NAME), the skin's tags and attributes\n"
    "(tags, tag NAME), the error codes with their texts (errors) and the configuration keys\n"
    "(config).\n";

const char kDocUsage[] =
    "usage: qorin doc DIR\n"
    "\n"
    "Writes the reference (package.md, tags.md, natives.md, errors.md) into DIR, as\n"
    "docs/reference holds it.\n";

int Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  return kExitOk;
}

}  // namespace

int RunHelp(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.size() == 1 && args[0] == "natives") return Print(reference::NativesReference());
  if (args.size() == 1 && args[0] == "tags") return Print(reference::TagsReference());
  if (args.size() == 1 && args[0] == "errors") return Print(reference::ErrorsReference());
  if (args.size() == 1 && args[0] == "config") return Print(reference::PackageReference());
  if (args.size() == 2 && (args[0] == "native" || args[0] == "tag")) {
    std::string text = args[0] == "native" ? reference::NativeReference(args[1])
                                           : reference::TagReference(args[1]);
    if (text.empty()) return Fail("no " + args[0] + " named '" + args[1] + "'");
    return Print(text);
  }
  return Usage(args.empty() ? "help: what about?" : "help: unknown topic", kHelpUsage);
}

int RunDoc(int argc, char** argv) {
  if (argc != 1 || std::string(argv[0]).starts_with("-"))
    return Usage("doc: one folder", kDocUsage);
  for (const std::string& problem : reference::ProseProblems()) Fail("doc: " + problem);
  if (!reference::ProseProblems().empty()) return kExitFailure;
  std::filesystem::path folder = argv[0];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const reference::Document& document : reference::Documents()) {
    std::string text = document.write();
    std::vector<uint8_t> bytes(text.begin(), text.end());
    std::string failure;
    if (!WriteFile(folder / document.file, bytes, &failure)) return Fail(failure);
  }
  return kExitOk;
}

}  // namespace qorin::cli
