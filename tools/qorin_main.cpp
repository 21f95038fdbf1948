// The qorin command-line tool: makes, inspects and tries out installer packages on the build
// machine. Each subcommand lives in its own file and is listed in the table below.
#include <cstdio>
#include <string_view>

#include "cli.h"
#include "commands.h"

namespace {

using qorin::cli::kExitOk;
using qorin::cli::kExitUsage;

struct Command {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* summary;
};

constexpr Command kCommands[] = {
    {"pack", qorin::cli::RunPack, "append a package (payload, data, trailer, footer) to a stub"},
    {"verify", qorin::cli::RunVerify, "check a package as the stub does and print its trailer"},
    {"ls", qorin::cli::RunLs, "list the data archive and payload of a package or ZIP file"},
    {"extract", qorin::cli::RunExtract, "extract the data archive or the payload"},
    {"image", qorin::cli::RunImage,
     "decode, resize and draw an image as the installer would (BMP)"},
    {"run", qorin::cli::RunScript, "run package scripts with the script engine's base library"},
    {"check", qorin::cli::RunCheck, "tokenize and parse package scripts without running them"},
    {"check-skin", qorin::cli::RunCheckSkin, "build a package's skin and report its first error"},
    {"layout", qorin::cli::RunLayout,
     "lay a package's skin out at a size and print the rectangles"},
    {"help", qorin::cli::RunHelp,
     "the reference: natives, native NAME, tags, tag NAME, errors, config"},
    {"doc", qorin::cli::RunDoc, "write the reference into a folder (docs/reference)"},
};

void PrintUsage(FILE* out) {
  std::fputs(
      "usage: qorin <command> [options]   (qorin <command> --help for its options)\n\ncommands:\n",
      out);
  for (const Command& command : kCommands)
    std::fprintf(out, "  %-8s %s\n", command.name, command.summary);
  std::fputs("\n  --version  show the tool's version\n", out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || (name == "help" && argc == 2)) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (name == "--version") {
    std::puts("qorin " QORIN_VERSION);
    return kExitOk;
  }
  for (const Command& command : kCommands) {
    if (name == command.name) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "qorin: unknown command '%s' (see 'qorin --help')\n", argv[1]);
  return kExitUsage;
}
