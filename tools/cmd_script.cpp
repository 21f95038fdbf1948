// qorin run and qorin check: package scripts tried on the build machine, without Windows.
// run executes the texts in order in one engine with the base library; check only tokenizes
// and parses them. Failures read FILE:LINE:COL: and the engine's error line.
#include <cstdio>
#include <string>

#include "cli.h"
#include "commands.h"
#include "script.h"
#include "script_check.h"
#include "utf.h"

namespace qorin::cli {
namespace {

const char kRunUsage[] =
    "usage: qorin run [--escapes] [--continue-on-error] [--ignore-unknown-functions]\n"
    "                 [--trace] [--dump-tree] FILE.xs [FILE2.xs ...]\n"
    "\n"
    "Runs the scripts in order in one script engine with the base library (print, Debug, sin,\n"
    "cos, abs, str2int). print writes to stdout; Debug and error messages go to stderr. A\n"
    "failing script prints FILE:LINE:COL: and the error, and the exit code is 1.\n";

const char kCheckUsage[] =
    "usage: qorin check [--escapes] FILE.xs [FILE2.xs ...]\n"
    "\n"
    "Tokenizes and parses the scripts in order (struct types of earlier files are known to\n"
    "later ones) without running them; errors are reported as qorin run reports them.\n";

const std::vector<std::string> kRunFlags = {"escapes", "continue-on-error",
                                            "ignore-unknown-functions", "trace", "dump-tree"};

class ConsoleHost final : public IXScriptCallback {
 public:
  int32_t CallNative(std::u16string_view, XScriptValue* const*, int32_t, XScriptValue*) override {
    return 0;
  }
  void Print(std::u16string_view text) override { std::printf("%s\n", Utf16ToUtf8(text).c_str()); }
  void Debug(std::u16string_view text) override {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str());
  }
  void Trace(std::u16string_view text) override { Debug(text); }
};

bool ReadScript(const std::string& path, std::u16string* text) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, &bytes, &error)) return Fail(error), false;
  *text = DecodeTextFile(bytes.data(), bytes.size());  // UTF-16LE with its mark, or UTF-8
  return true;
}

int Report(const std::string& path, const XScriptErrorInfo& error) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s:%d:%d: %s\n", path.c_str(), error.line, error.column,
               Utf16ToUtf8(FormatScriptError(error)).c_str());
  return kExitFailure;
}

}  // namespace

int RunScript(int argc, char** argv) {
  Arguments args(argc, argv, kRunFlags);
  if (args.WantsHelp()) return std::fputs(kRunUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown(kRunFlags))
    return Usage("run: unknown option --" + *unknown, kRunUsage);
  if (args.Positional().empty()) return Usage("run: a script file is expected", kRunUsage);
  ConsoleHost host;
  XScript engine;
  engine.SetCallback(&host);
  XScriptOptions& options = engine.Options();
  options.escapes = args.Flag("escapes");
  options.continueOnError = args.Flag("continue-on-error");
  options.ignoreUnknownFunctions = args.Flag("ignore-unknown-functions");
  options.trace = args.Flag("trace");
  options.dumpTree = args.Flag("dump-tree");
  for (const std::string& path : args.Positional()) {
    std::u16string text;
    if (!ReadScript(path, &text)) return kExitFailure;
    if (!engine.Run(text)) return Report(path, engine.GetScriptError());
  }
  std::fflush(stdout);
  return kExitOk;
}

int RunCheck(int argc, char** argv) {
  Arguments args(argc, argv, {"escapes"});
  if (args.WantsHelp()) return std::fputs(kCheckUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown({"escapes"}))
    return Usage("check: unknown option --" + *unknown, kCheckUsage);
  if (args.Positional().empty()) return Usage("check: a script file is expected", kCheckUsage);
  XScriptChecker checker(args.Flag("escapes"));
  for (const std::string& path : args.Positional()) {
    std::u16string text;
    if (!ReadScript(path, &text)) return kExitFailure;
    XScriptErrorInfo error;
    if (!checker.Check(text, &error)) return Report(path, error);
    std::printf("%s: ok\n", path.c_str());
  }
  return kExitOk;
}

}  // namespace qorin::cli
