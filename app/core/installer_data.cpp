#include "installer_data.h"

#include "ini_file.h"
#include "path.h"
#include "text.h"
#include "ui_languages.h"
#include "utf.h"

namespace qorin {
namespace {

// An environment value may name itself; expansion then stops after this many rounds.
constexpr int kMaxExpansions = 64;

bool IsOneOf(std::u16string_view name, std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoreAsciiCase(name, a) || EqualsIgnoreAsciiCase(name, b);
}

}  // namespace

void XLanguageList::Add(std::u16string fileName, bool packaged) {
  std::u16string display(WithoutExtension(fileName));
  if (EqualsIgnoreAsciiCase(display, u"Korean")) display = u"한국어";
  if (packaged && IsOneOf(fileName, u"Korean.ini", u"Korean.lang")) hasKorean_ = true;
  if (packaged && IsOneOf(fileName, u"English.ini", u"English.lang")) {
    hasEnglish_ = true;
    baseFile_ = fileName;
  }
  items_.push_back({std::move(display), std::move(fileName)});
}

bool XLanguageList::SelectByName(std::u16string_view name) {
  if (name.empty()) return false;
  std::u16string ini = std::u16string(name) + u".ini";
  std::u16string lang = std::u16string(name) + u".lang";
  for (size_t i = 0; i < items_.size(); ++i) {
    if (IsOneOf(items_[i].fileName, ini, lang)) {
      selected_ = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void XLanguageList::SelectForUiLanguage(uint16_t languageId) {
  const UiLanguageRow* row = FindUiLanguage(languageId);
  if (row != nullptr && (SelectByName(row->name) || SelectByName(row->alternate))) return;
  if (hasKorean_ && SelectByName(u"Korean")) return;
  if (hasEnglish_ && SelectByName(u"English")) return;
  if (SelectByName(u"English")) return;
  if (!items_.empty()) selected_ = 0;
}

std::u16string XLanguageList::SelectedName() const {
  if (selected_ < 0 || selected_ >= static_cast<int>(items_.size())) return {};
  return std::u16string(WithoutExtension(items_[static_cast<size_t>(selected_)].fileName));
}

bool XInstallerData::ReadData(const std::u16string& configName) {
  bool ok = LoadConfig(configName) && LoadLanguages();
  if (!ok) system_.messageBox.ShowMessageBox(u"Error at ReadData", u"PELRA", kBoxIconWarning);
  return ok;
}

namespace {

using C = XInstallerConfig;
// In the order they are read.
constexpr XConfigKey kConfigKeys[] = {
    {u"name_eng", &C::nameEng, nullptr, "empty",
     "the product's name in Latin letters; the name of the temporary relaunch copy begins with it; "
     "`StartInstall` refuses to start while it is empty"},
    {u"name_local", &C::nameLocal, nullptr, "the value of `name_eng`",
     "the product's name in the package's language; replaces \"${APPNAME}\" in language texts"},
    {u"title", &C::title, nullptr, "empty",
     "the window's title and the caption of the installer's own message boxes"},
    {u"skin_file_name", &C::skinFileName, nullptr, "empty",
     "the skin's XML file in the data archive"},
    {u"config_script", &C::configScript, nullptr, "empty",
     "a script file run after the built-in constants are defined, before the skin's scripts"},
    {u"app_version", &C::appVersion, nullptr, "empty",
     "replaces \"${APPVERSION}\" in language texts; returned by `GetAppVersion`"},
    {u"beta_version", nullptr, &C::betaVersion, "0", "returned by `GetBetaVersion`"},
    {u"lang_folder", &C::langFolder, nullptr, "empty",
     "the folder of the language files in the data archive"},
    {u"default_lang", &C::defaultLang, nullptr, "empty",
     "the language chosen when its file is present, instead of the choice by the user interface "
     "language"},
    {u"inst_path", &C::instPath, nullptr, "empty",
     "the default installation folder; environment references (%ProgramFiles%) are expanded; "
     "`GetInstallPath`, `SetInstallPath`"},
    {u"launch_in_temp", nullptr, &C::launchInTemp, "0",
     "non-zero: the stub relaunches itself from a copy in the temporary folder (an uninstaller "
     "that deletes its own file)"},
    {u"custom_frame", nullptr, &C::customFrame, "0",
     "non-zero: a frameless window whose skin draws its caption, maximised to the work area"},
    {u"target_machine", &C::targetMachine, nullptr, "empty", "returned by `GetTargetMachine`"},
};

}  // namespace

std::span<const XConfigKey> ConfigKeys() {
  return kConfigKeys;
}

bool XInstallerData::LoadConfig(const std::u16string& configName) {
  XByteBuffer bytes;
  XIniFile ini;
  if (!package_.ReadWholeFile(configName, &bytes) || !ini.Parse(bytes.data(), bytes.length))
    return false;
  for (const XConfigKey& row : kConfigKeys) {
    if (row.text != nullptr) {
      config_.*row.text = ini.GetText(u"config", row.key);
    } else {
      config_.*row.number = static_cast<uint32_t>(ini.GetNumber(u"config", row.key));
    }
  }
  if (config_.nameLocal.empty()) config_.nameLocal = config_.nameEng;
  return true;
}

void XInstallerData::ListLanguages() {
  languages_ = {};
  const PackageInfo& info = package_.Info();
  if (info.packaged) {
    std::u16string prefix = AsciiLower(FolderWithBackslash(config_.langFolder));
    XZipReader& zip = package_.Archive();
    for (int i = 0; i < zip.EntryCount(); ++i) {
      std::u16string name = zip.CodePage().FromOem(zip.GetEntry(i)->name);
      if (AsciiLower(name).rfind(prefix, 0) != 0) continue;
      languages_.Add(std::u16string(FileNamePart(name)), true);
    }
  } else {
    std::u16string folder = info.developerFolder + config_.langFolder;
    std::vector<std::u16string> files = system_.files.ListFiles(folder, u"*.ini");
    if (files.empty()) files = system_.files.ListFiles(folder, u"*.lang");
    for (std::u16string& file : files) languages_.Add(std::move(file), false);
  }
  languages_.SelectForUiLanguage(system_.environment.UserDefaultUILanguage());
}

std::u16string XInstallerData::LanguageFilePath(const std::u16string& fileName) const {
  return config_.langFolder.empty() ? fileName : FolderWithBackslash(config_.langFolder) + fileName;
}

bool XInstallerData::LoadLanguages() {
  ListLanguages();
  if (languages_.Items().empty()) {
    system_.messageBox.ShowMessageBox(u"Critial Error - no language file found.", u"QORIN",
                                      kBoxIconWarning);
    return false;
  }
  for (XLanguageItem& item : languages_.Items()) {
    XByteBuffer bytes;
    XIniFile ini;
    if (package_.ReadWholeFile(LanguageFilePath(item.fileName), &bytes) &&
        ini.Parse(bytes.data(), bytes.length) && ini.HasKey(u"INSTALLER", u"LANG_NAME")) {
      item.displayName = ini.GetText(u"INSTALLER", u"LANG_NAME");
    }
  }
  if (!config_.defaultLang.empty()) languages_.SelectByName(config_.defaultLang);
  config_.instPath = ExpandInstallPath(config_.instPath);
  return LoadLanguageTable();
}

bool XInstallerData::LoadLanguageTable() {
  if (languages_.Selected() < 0) return false;
  XByteBuffer primary, base;
  const XLanguageItem& item = languages_.Items()[static_cast<size_t>(languages_.Selected())];
  if (!package_.ReadWholeFile(LanguageFilePath(item.fileName), &primary)) return false;
  if (!languages_.BaseFile().empty() &&
      !package_.ReadWholeFile(LanguageFilePath(languages_.BaseFile()), &base)) {
    return false;
  }
  return table_.Load(primary.data(), primary.length, base.data(), base.length);
}

std::u16string XInstallerData::ExpandInstallPath(std::u16string path) {
  if (path.empty() || path.front() != u'%') return path;
  for (int round = 0; round < kMaxExpansions; ++round) {
    size_t first = path.find(u'%');
    size_t second = first == std::u16string::npos ? first : path.find(u'%', first + 1);
    if (second == std::u16string::npos) break;
    std::u16string name = path.substr(first + 1, second - first - 1);
    std::u16string value = system_.environment.GetEnvironment(name);
    if (value.empty() && IsOneOf(name, u"ProgramW6432", u"ProgramFiles"))
      value = system_.environment.ProgramFilesDir();
    if (value.empty()) break;
    ReplaceAll(path, u"%" + name + u"%", value);
  }
  return path;
}

}  // namespace qorin
