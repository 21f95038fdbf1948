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

bool XInstallerData::LoadConfig(const std::u16string& configName) {
  XByteBuffer bytes;
  XIniFile ini;
  if (!package_.ReadWholeFile(configName, &bytes) || !ini.Parse(bytes.data(), bytes.length))
    return false;
  auto text = [&](std::u16string_view key) { return ini.GetText(u"config", key); };
  auto number = [&](std::u16string_view key) {
    return static_cast<uint32_t>(ini.GetNumber(u"config", key));
  };
  config_.nameEng = text(u"name_eng");
  config_.nameLocal = text(u"name_local");
  config_.title = text(u"title");
  config_.skinFileName = text(u"skin_file_name");
  config_.configScript = text(u"config_script");
  config_.appVersion = text(u"app_version");
  config_.betaVersion = number(u"beta_version");
  config_.langFolder = text(u"lang_folder");
  config_.defaultLang = text(u"default_lang");
  config_.instPath = text(u"inst_path");
  config_.launchInTemp = number(u"launch_in_temp");
  config_.customFrame = number(u"custom_frame");
  config_.targetMachine = text(u"target_machine");
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
