// The qorin command-line tool: makes, inspects and tries out installer packages on the build
// machine. Each subcommand lives in its own file and registers itself in the table below.
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: qorin <command> [options]\n"
    "\n"
    "Makes and inspects Qorin installer packages.\n"
    "\n"
    "options:\n"
    "  --help       show this text\n"
    "  --version    show the tool's version\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (command == "--version") {
    std::puts("qorin " QORIN_VERSION);
    return kExitOk;
  }
  std::fprintf(stderr, "qorin: unknown command '%s' (see 'qorin --help')\n", argv[1]);
  return kExitUsage;
}
