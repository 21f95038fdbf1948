// qorin pack: stub + payload + data archive + trailer + footer = an installer.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli.h"
#include "commands.h"
#include "package_writer.h"
#include "text.h"

extern char** environ;

namespace qorin::cli {
namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: qorin pack --stub STUB.exe --data DIR --config NAME [--payload DIR|FILE.7z]\n"
    "                  [--solid-block-size MIB] [--time SECONDS] -o OUT.exe\n"
    "\n"
    "Appends a package to the stub: the payload (a folder is packed into a solid 7z archive\n"
    "with 7zz; a .7z file is taken as it is), the data archive made from DIR (configuration,\n"
    "language files, skin, images, scripts), the trailer and the footer.\n"
    "\n"
    "  --config NAME   the configuration file, a path inside DIR\n"
    "  --solid-block-size MIB\n"
    "                  the largest solid block of a payload folder (default 16): the 32-bit\n"
    "                  installer decodes a whole block into memory at once, and the next\n"
    "                  block on a second thread while it writes the files of one\n"
    "  --time SECONDS  pack time (seconds since 1970); default SOURCE_DATE_EPOCH, else now.\n"
    "                  The same inputs and time give a byte-identical file.\n";

struct Progress {
  bool terminal = isatty(STDERR_FILENO) != 0;
  void Show(const std::string& text) const {
    if (terminal) std::fprintf(stderr, "\r\033[Kqorin pack: %s", text.c_str());
  }
  void Done() const {
    if (terminal) std::fputs("\r\033[K", stderr);
  }
};

constexpr int kDefaultSolidBlockMiB = 16;

bool Run7zz(const fs::path& folder, const fs::path& archive, int solidMiB, std::string* error) {
  std::string target = fs::absolute(archive).string();
  std::vector<std::string> args = {
      "7zz",   "a",  "-t7z", "-mx=9", "-ms=" + std::to_string(solidMiB) + "m", "-bd", "-bso0",
      "-bsp0", "-y", target, "."};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid;
  int spawned = posix_spawnp(&pid, "7zz", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    *error = spawned != 0 ? "cannot run 7zz (Debian package 7zip)"
                          : "7zz failed to pack " + folder.string();
    return false;
  }
  return true;
}

bool ReadPayload(const fs::path& payload, int solidMiB, std::vector<uint8_t>* bytes,
                 std::string* error, const Progress& progress) {
  if (!fs::is_directory(payload)) return ReadFile(payload, bytes, error);
  progress.Show("packing the payload " + payload.string() + " with 7zz");
  fs::path archive =
      fs::temp_directory_path() / ("qorin-payload-" + std::to_string(getpid()) + ".7z");
  fs::remove(archive);
  bool ok = Run7zz(payload, archive, solidMiB, error) && ReadFile(archive, bytes, error);
  fs::remove(archive);
  return ok;
}

int64_t PackTime(const Arguments& args, std::string* error) {
  std::optional<std::string> text = args.Option("time");
  if (!text) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) text = epoch;
  }
  if (!text) {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  char* end = nullptr;
  long long value = std::strtoll(text->c_str(), &end, 10);
  if (text->empty() || *end != 0 || value < 0) {
    *error = "the pack time '" + *text + "' is not a number of seconds";
    return -1;
  }
  return value;
}

}  // namespace

int RunPack(int argc, char** argv) {
  Arguments args(argc, argv, {});
  if (args.WantsHelp()) return std::fputs(kUsage, stdout), kExitOk;
  if (auto unknown =
          args.Unknown({"stub", "data", "config", "payload", "solid-block-size", "time", "o"})) {
    return Usage("pack: unknown option '" + *unknown + "'", kUsage);
  }
  auto stub = args.Option("stub"), data = args.Option("data"), config = args.Option("config"),
       out = args.Option("o");
  if (!stub || !data || !config || !out)
    return Usage("pack: --stub, --data, --config and -o are required", kUsage);
  if (!args.Positional().empty())
    return Usage("pack: unexpected argument '" + args.Positional()[0] + "'", kUsage);

  std::string error;
  Progress progress;
  pack::PackageParts parts;
  if ((parts.packTime = PackTime(args, &error)) < 0) return Usage("pack: " + error, kUsage);
  if (!fs::is_directory(*data)) return Fail("pack: the data folder " + *data + " does not exist");
  std::vector<pack::DataFile> files;
  if (!CollectData(*data, &files, &error, [&](const std::string& text) { progress.Show(text); }))
    return progress.Done(), Fail("pack: " + error);

  std::string wanted = *config;
  std::replace(wanted.begin(), wanted.end(), '\\', '/');
  auto found = std::find_if(files.begin(), files.end(), [&](const pack::DataFile& f) {
    return EqualsIgnoreAsciiCase(f.name, wanted);
  });
  if (found == files.end())
    return progress.Done(),
           Fail("pack: the configuration file '" + *config + "' is not in " + *data);
  parts.config = found->name;

  if (!ReadFile(*stub, &parts.stub, &error)) return progress.Done(), Fail("pack: " + error);
  int solidMiB = kDefaultSolidBlockMiB;
  if (auto solid = args.Option("solid-block-size")) {
    solidMiB = std::atoi(solid->c_str());
    if (solidMiB < 1 || solidMiB > 1024)
      return progress.Done(), Usage("pack: --solid-block-size takes 1 to 1024 (MiB)", kUsage);
  }
  if (auto payload = args.Option("payload")) {
    if (!ReadPayload(*payload, solidMiB, &parts.payload, &error, progress))
      return progress.Done(), Fail("pack: " + error);
  }
  progress.Show("compressing " + std::to_string(files.size()) + " data files");
  parts.data = pack::WriteZip(files, parts.packTime);
  std::vector<uint8_t> package;
  try {
    package = pack::BuildPackage(parts);
  } catch (const std::exception& e) {
    return progress.Done(), Fail(std::string("pack: ") + e.what());
  }
  progress.Done();
  if (!WriteFile(*out, package, &error)) return Fail("pack: " + error);
  std::printf("%s: %zu bytes (stub %zu, payload %zu, data %zu in %zu files)\n", out->c_str(),
              package.size(), parts.stub.size(), parts.payload.size(), parts.data.size(),
              files.size());
  return kExitOk;
}

}  // namespace qorin::cli
