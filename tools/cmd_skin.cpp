// qorin check-skin and qorin layout: a package's skin built and laid out with the stub's own
// portable code, for skin authors.
#include <cstdio>
#include <filesystem>
#include <string>

#include "approximate_text_measure.h"
#include "cli.h"
#include "commands.h"
#include "controls.h"
#include "installer_commands.h"
#include "installer_data.h"
#include "layout_listing.h"
#include "package.h"
#include "script_check.h"
#include "skin_document.h"
#include "skin_language_table.h"
#include "skin_scripts.h"
#include "utf.h"

namespace qorin::cli {
namespace {

namespace fs = std::filesystem;

const char kCheckUsage[] =
    "usage: qorin check-skin SOURCE [--config NAME] [--skin NAME] [--lang NAME]\n"
    "\n"
    "Builds the skin of SOURCE, a package (.exe) or a data folder (whose configuration file\n"
    "--config names, as for qorin pack), as the installer does. The skin is the configuration's\n"
    "skin_file_name unless --skin names another; --lang picks the language file. The skin's\n"
    "scripts are read as the installer reads them and parsed, not run. Prints 'ok: N\n"
    "controls', or the skin's error text (as on an English system) and exits 1.\n";

const char kLayoutUsage[] =
    "usage: qorin layout SOURCE --size WxH [--dpi N] [--rtl] [--config NAME] [--skin NAME]\n"
    "                    [--lang NAME]\n"
    "\n"
    "Builds the skin as check-skin does and lays it out in a client area of W x H at the DPI\n"
    "(default 96). Prints one line per control in tree order, indented two spaces per level:\n"
    "its name and its rectangle left,top,right,bottom, or 'hidden'. --rtl lays out as for a\n"
    "right-to-left language. Sizes measured from text (fit2text) are approximations here.\n";

// The package or data folder with its configuration, languages and skin document.
struct Skin {
  ConsoleSystem system;
  XPackage package{system};
  XInstallerData data{package, system};
  XResourceProvider resources;
  std::unique_ptr<XSkinLanguageTable> language;
  std::unique_ptr<XApproximateTextMeasure> measure;
  std::unique_ptr<XSkinDocument> document;

  bool OpenSource(const std::string& source, const std::optional<std::string>& config) {
    std::u16string configName;
    if (fs::is_directory(source)) {
      if (!config) return Fail("a data folder needs --config NAME"), false;
      std::vector<pack::DataFile> files;
      std::string error;
      if (!CollectData(source, &files, &error, [](const std::string&) {}))
        return Fail(error), false;
      configName = Utf8ToUtf16(*config);
      if (!package.OpenDataArchive(pack::WriteZip(files, 0), configName))
        return Fail("the data folder " + source + " cannot be archived"), false;
    } else {
      if (!package.CheckPackage(Utf8ToUtf16(source))) return false;
      configName = config ? Utf8ToUtf16(*config) : package.Info().configName;
    }
    return data.ReadData(configName);
  }

  bool Build(const Arguments& args, int dpi, bool rightToLeft) {
    const std::string& source = args.Positional()[0];
    if (!OpenSource(source, args.Option("config"))) return false;
    if (auto lang = args.Option("lang")) {
      if (!data.Languages().SelectByName(Utf8ToUtf16(*lang)) || !data.LoadLanguageTable())
        return Fail("no language file '" + *lang + "' in " + source), false;
      const XInstallerConfig& c = data.Config();
      data.Table().SetApplication(c.nameLocal, c.appVersion);
    }
    std::u16string skinName = data.Config().skinFileName;
    if (auto skin = args.Option("skin")) skinName = Utf8ToUtf16(*skin);
    if (skinName.empty()) return Fail("the configuration names no skin_file_name"), false;

    const std::vector<uint8_t>& archive = package.DataArchive();
    resources.OpenArchive(archive.data(), archive.size());
    language = std::make_unique<XSkinLanguageTable>(data.Table(), u"INSTALLER");
    resources.SetLanguage(language.get());
    document = std::make_unique<XSkinDocument>(resources);
    document->SetDpi(dpi);
    document->SetRightToLeft(rightToLeft || language->RightToLeft());
    measure = std::make_unique<XApproximateTextMeasure>(dpi);
    document->SetTextMeasure(measure.get());
    for (const NamedCommand& command : kNamedCommands)
      document->Ids().Add(command.name, command.id);
    if (document->Load(skinName) && CheckScripts()) return true;
    std::fprintf(stderr, "%s\n", Utf16ToUtf8(document->Error().Text(0x0409)).c_str());
    return false;
  }

  // The skin's script step, each text parsed without running it.
  bool CheckScripts() {
    XScriptChecker checker(false);
    return ForEachSkinScript(*document, [&](std::u16string_view text) {
      XScriptErrorInfo error;
      if (checker.Check(text, &error)) return true;
      return document->Errors().Set(XSKIN_ERR_SCRIPT, FormatScriptError(error), {}, error.line,
                                    error.column);
    });
  }
};

const std::vector<std::string> kKnown = {"config", "skin", "lang", "size", "dpi", "rtl"};

}  // namespace

int RunCheckSkin(int argc, char** argv) {
  Arguments args(argc, argv, {"rtl"});
  if (args.WantsHelp()) return std::fputs(kCheckUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown({"config", "skin", "lang"}))
    return Usage("check-skin: unknown option '" + *unknown + "'", kCheckUsage);
  if (args.Positional().size() != 1)
    return Usage("check-skin: one SOURCE is expected", kCheckUsage);
  Skin skin;
  if (!skin.Build(args, kDefaultDpi, false)) return kExitFailure;
  std::printf("ok: %d controls\n", skin.document->ControlCount());
  return kExitOk;
}

int RunLayout(int argc, char** argv) {
  Arguments args(argc, argv, {"rtl"});
  if (args.WantsHelp()) return std::fputs(kLayoutUsage, stdout), kExitOk;
  if (auto unknown = args.Unknown(kKnown))
    return Usage("layout: unknown option '" + *unknown + "'", kLayoutUsage);
  int width = 0, height = 0, dpi = kDefaultDpi;
  auto size = args.Option("size");
  if (args.Positional().size() != 1 || !size ||
      std::sscanf(size->c_str(), "%dx%d", &width, &height) != 2 || width < 0 || height < 0)
    return Usage("layout: one SOURCE and --size WxH are expected", kLayoutUsage);
  if (auto value = args.Option("dpi");
      value && (std::sscanf(value->c_str(), "%d", &dpi) != 1 || dpi <= 0 || dpi > 2000))
    return Usage("layout: --dpi takes a number from 1 to 2000", kLayoutUsage);
  Skin skin;
  if (!skin.Build(args, dpi, args.Flag("rtl"))) return kExitFailure;
  skin.document->Layout().LayoutAll(width, height);
  std::fputs(LayoutListing(*skin.document).c_str(), stdout);
  if (skin.measure->Used())
    std::fprintf(stderr,
                 "qorin: text sizes (fit2text) are approximations; the installer measures "
                 "with GDI\n");
  return kExitOk;
}

}  // namespace qorin::cli
