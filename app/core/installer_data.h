// The package's configuration and languages, as ReadData loads them.
//
//   configuration file [config] ──► XInstallerConfig
//   language files in lang_folder ──► XLanguageList ──(UI language, default_lang)──► selection
//   selected file + English file ──► XLanguageTable (shared with the skin)
#pragma once

#include <span>
#include <string>
#include <vector>

#include "installer_system.h"
#include "language_table.h"
#include "package.h"

namespace qorin {

struct XInstallerConfig {
  std::u16string nameEng;
  std::u16string nameLocal;
  std::u16string title;
  std::u16string skinFileName;
  std::u16string configScript;
  std::u16string appVersion;
  uint32_t betaVersion = 0;
  std::u16string langFolder;
  std::u16string defaultLang;
  std::u16string instPath;
  uint32_t launchInTemp = 0;
  // Non-zero: a frameless window (the skin draws its caption) that maximises to the work area.
  uint32_t customFrame = 0;
  std::u16string targetMachine;
};

// One key of the configuration's [config] section: the field it fills (text or number), and
// its default and effect as the reference states them.
struct XConfigKey {
  const char16_t* key;
  std::u16string XInstallerConfig::*text;  // or null for a number
  uint32_t XInstallerConfig::*number;
  const char* defaultValue;
  const char* effect;
};
std::span<const XConfigKey> ConfigKeys();

struct XLanguageItem {
  std::u16string displayName;
  std::u16string fileName;
};

class XLanguageList {
 public:
  void Add(std::u16string fileName, bool packaged);
  bool SelectByName(std::u16string_view name);
  // The choice by user-interface language, with its fallbacks.
  void SelectForUiLanguage(uint16_t languageId);

  std::vector<XLanguageItem>& Items() { return items_; }
  const std::vector<XLanguageItem>& Items() const { return items_; }
  int Selected() const { return selected_; }
  std::u16string SelectedName() const;  // the selected file name without its extension
  const std::u16string& BaseFile() const { return baseFile_; }
  bool HasKorean() const { return hasKorean_; }
  bool HasEnglish() const { return hasEnglish_; }

 private:
  std::vector<XLanguageItem> items_;
  int selected_ = -1;
  bool hasKorean_ = false, hasEnglish_ = false;
  std::u16string baseFile_;
};

class XInstallerData {
 public:
  XInstallerData(XPackage& package, XInstallerSystem system) : package_(package), system_(system) {}

  // Loads configuration and languages; shows "Error at ReadData" on failure.
  bool ReadData(const std::u16string& configName);
  // Reads the selected language and the base file into the table.
  bool LoadLanguageTable();

  XInstallerConfig& Config() { return config_; }
  XLanguageList& Languages() { return languages_; }
  XLanguageTable& Table() { return table_; }

  // Environment references in a path that begins with "%".
  std::u16string ExpandInstallPath(std::u16string path);

 private:
  bool LoadConfig(const std::u16string& configName);
  void ListLanguages();
  std::u16string LanguageFilePath(const std::u16string& fileName) const;
  bool LoadLanguages();

  XPackage& package_;
  XInstallerSystem system_;
  XInstallerConfig config_;
  XLanguageList languages_;
  XLanguageTable table_;
};

}  // namespace qorin
