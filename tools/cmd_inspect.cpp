// qorin verify, ls and extract: look into a package as the stub would, through the same check,
// ZIP reader, Inflate and LZMA SDK.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "cli.h"
#include "commands.h"
#include "package.h"
#include "seven_zip_reader.h"
#include "utf.h"

namespace qorin::cli {
namespace {

namespace fs = std::filesystem;

const char kVerifyUsage[] =
    "usage: qorin verify FILE.exe\n"
    "\n"
    "Checks the package appended to FILE.exe with the stub's own check (footer, trailer CRC,\n"
    "crc_total from offset 512, data archive), prints the trailer's fields and the verdict.\n";
const char kLsUsage[] =
    "usage: qorin ls FILE.exe|FILE.zip\n"
    "\n"
    "Lists the data archive's entries (size, method, CRC-32) and the payload's entries.\n";
const char kExtractUsage[] =
    "usage: qorin extract FILE.exe|FILE.zip --data DIR | --payload DIR\n"
    "\n"
    "Extracts the data archive (through Qorin's ZIP reader and Inflate) or the payload (through\n"
    "the LZMA SDK) into DIR. Names that would leave DIR are refused.\n";

bool IsZipFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  uint8_t head[4] = {};
  size_t got = std::fread(head, 1, 4, file);
  std::fclose(file);
  return got == 4 && std::memcmp(head, "PK\3\4", 4) == 0;
}

// The input opened as a package (checked) or as a bare ZIP archive.
struct Opened {
  ConsoleSystem system;
  XPackage package{system};
  XZipReader zip;
  bool isPackage = false;

  bool Open(const std::string& path) {
    if (IsZipFile(path)) {
      if (!zip.OpenFile(Utf8ToUtf16(path))) {
        std::fprintf(stderr, "qorin: %s is not a readable ZIP archive (error %d)\n", path.c_str(),
                     zip.LastError());
        return false;
      }
      return true;
    }
    isPackage = true;
    if (!package.CheckPackage(Utf8ToUtf16(path))) {
      std::fprintf(stderr, "qorin: %s: %s\n", path.c_str(), DescribeFault(package.LastFault()));
      return false;
    }
    return true;
  }
  XZipReader& Data() { return isPackage ? package.Archive() : zip; }
};

std::string FormatTime(int64_t seconds) {
  if (seconds == 0) return "not recorded";
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
  return text;
}

std::string Narrow(const std::string& oemName) {
  return Utf16ToUtf8(SystemCodePage().FromOem(oemName));
}

int ExtractData(XZipReader& zip, const fs::path& root) {
  // Check every name first: nothing is written when one would leave the folder.
  for (int i = 0; i < zip.EntryCount(); ++i) {
    std::string name = Narrow(zip.GetEntry(i)->name);
    if (!SafeJoin(root, name))
      return Fail("extract: refusing the entry '" + name + "': it would leave " + root.string());
  }
  for (int i = 0; i < zip.EntryCount(); ++i) {
    std::string name = Narrow(zip.GetEntry(i)->name);
    std::optional<fs::path> target = SafeJoin(root, name);
    XByteBuffer bytes;
    if (!zip.ExtractToMemory(i, &bytes)) {
      return Fail("extract: cannot extract '" + name + "' (ZIP error " +
                  std::to_string(zip.LastError()) + ")");
    }
    std::error_code code;
    fs::create_directories(target->parent_path(), code);
    std::vector<uint8_t> content(bytes.data(), bytes.data() + bytes.length);
    std::string error;
    if (!WriteFile(*target, content, &error)) return Fail("extract: " + error);
  }
  std::printf("%d files extracted to %s\n", zip.EntryCount(), root.string().c_str());
  return kExitOk;
}

int ExtractPayload(XSevenZipReader& payload, const fs::path& root) {
  // Check every name first: nothing is written when one would leave the folder.
  for (size_t i = 0; i < payload.EntryCount(); ++i) {
    std::string name = Utf16ToUtf8(payload.GetEntry(i).name);
    if (!SafeJoin(root, name))
      return Fail("extract: refusing the payload entry '" + name + "': it would leave " +
                  root.string());
  }
  size_t files = 0;
  for (size_t i = 0; i < payload.EntryCount(); ++i) {
    XSevenZipEntry entry = payload.GetEntry(i);
    fs::path target = *SafeJoin(root, Utf16ToUtf8(entry.name));
    std::error_code code;
    if (entry.isFolder) {
      fs::create_directories(target, code);
      continue;
    }
    std::vector<uint8_t> bytes;
    if (!payload.Extract(i, &bytes)) {
      return Fail("extract: cannot extract '" + Utf16ToUtf8(entry.name) + "' (LZMA SDK error " +
                  std::to_string(payload.LastError()) + ")");
    }
    fs::create_directories(target.parent_path(), code);
    std::string error;
    if (!WriteFile(target, bytes, &error)) return Fail("extract: " + error);
    ++files;
  }
  std::printf("%zu files extracted to %s\n", files, root.string().c_str());
  return kExitOk;
}

bool OpenPayload(Opened& opened, const std::string& path, XSevenZipReader* payload) {
  const PackageInfo& info = opened.package.Info();
  if (!payload->Open(Utf8ToUtf16(path), info.stubSize, info.archiveSize)) {
    std::fprintf(stderr, "qorin: the payload of %s cannot be read (LZMA SDK error %d)\n",
                 path.c_str(), payload->LastError());
    return false;
  }
  return true;
}

}  // namespace

int RunVerify(int argc, char** argv) {
  Arguments args(argc, argv, {});
  if (args.WantsHelp()) return std::fputs(kVerifyUsage, stdout), kExitOk;
  if (args.Positional().size() != 1 || args.Unknown({}))
    return Usage("verify: one package file is expected", kVerifyUsage);
  const std::string& path = args.Positional()[0];
  ConsoleSystem system;
  XPackage package(system);
  bool ok = package.CheckPackage(Utf8ToUtf16(path));
  const PackageInfo& info = package.Info();
  if (ok || package.LastFault() > XPACKAGE_ERR_TRAILER_PARSE) {
    std::printf("stub_size    = %" PRIu32 "\n", info.stubSize);
    std::printf("data_size    = %" PRIu32 "\n", info.dataSize);
    std::printf("archive_size = %" PRIu32 "\n", info.archiveSize);
    std::printf("crc_total    = %" PRIu32 " (0x%08" PRIX32 ")\n", info.crcTotal, info.crcTotal);
    std::printf("pack_time    = %" PRId64 " (%s)\n", info.packTime,
                FormatTime(info.packTime).c_str());
    std::printf("config       = %s\n", Utf16ToUtf8(info.configName).c_str());
  }
  if (ok) {
    std::printf("%s: ok (%d data files)\n", path.c_str(), package.Archive().EntryCount());
    return kExitOk;
  }
  return Fail("verify: " + path + ": " + DescribeFault(package.LastFault()));
}

int RunLs(int argc, char** argv) {
  Arguments args(argc, argv, {});
  if (args.WantsHelp()) return std::fputs(kLsUsage, stdout), kExitOk;
  if (args.Positional().size() != 1 || args.Unknown({}))
    return Usage("ls: one file is expected", kLsUsage);
  const std::string& path = args.Positional()[0];
  Opened opened;
  if (!opened.Open(path)) return kExitFailure;
  XZipReader& zip = opened.Data();
  std::printf("data archive: %d entries\n", zip.EntryCount());
  std::printf("%10s  %-7s  %-8s  %s\n", "size", "method", "crc32", "name");
  for (int i = 0; i < zip.EntryCount(); ++i) {
    const XZipEntry* entry = zip.GetEntry(i);
    std::printf("%10" PRIu32 "  %-7s  %08" PRIx32 "  %s\n", entry->uncompressedSize,
                entry->method == 8 ? "deflate" : "stored", entry->crc32,
                Narrow(entry->name).c_str());
  }
  if (!opened.isPackage) return kExitOk;
  if (opened.package.Info().archiveSize == 0) {
    std::printf("payload: none\n");
    return kExitOk;
  }
  XSevenZipReader payload;
  if (!OpenPayload(opened, path, &payload)) return kExitFailure;
  std::printf("payload: %zu entries\n", payload.EntryCount());
  for (size_t i = 0; i < payload.EntryCount(); ++i) {
    XSevenZipEntry entry = payload.GetEntry(i);
    if (entry.isFolder) {
      std::printf("%10s  %-7s  %-8s  %s/\n", "", "folder", "", Utf16ToUtf8(entry.name).c_str());
    } else {
      std::printf("%10" PRIu64 "  %-7s  %08" PRIx32 "  %s\n", entry.size, "7z", entry.crc,
                  Utf16ToUtf8(entry.name).c_str());
    }
  }
  return kExitOk;
}

int RunExtract(int argc, char** argv) {
  Arguments args(argc, argv, {});
  if (args.WantsHelp()) return std::fputs(kExtractUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown({"data", "payload"}))
    return Usage("extract: unknown option '" + *unknown + "'", kExtractUsage);
  auto data = args.Option("data"), payloadDir = args.Option("payload");
  if (args.Positional().size() != 1 || data.has_value() == payloadDir.has_value()) {
    return Usage("extract: one file and one of --data DIR or --payload DIR are expected",
                 kExtractUsage);
  }
  const std::string& path = args.Positional()[0];
  Opened opened;
  if (!opened.Open(path)) return kExitFailure;
  if (data) return ExtractData(opened.Data(), *data);
  if (!opened.isPackage || opened.package.Info().archiveSize == 0)
    return Fail("extract: " + path + " has no payload");
  XSevenZipReader payload;
  if (!OpenPayload(opened, path, &payload)) return kExitFailure;
  return ExtractPayload(payload, *payloadDir);
}

}  // namespace qorin::cli
