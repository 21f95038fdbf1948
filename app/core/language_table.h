// Translated texts: the selected language file first, the base (English) file for keys it lacks
// or leaves empty. Finished texts are cached by key alone, whatever the section.
//
// Inside texts "\n" and "[br]" become a line feed, "\r" a carriage return, "${APPNAME}" and
// "${APPVERSION}" the product's name and version, "${str1}" the argument of the texts that
// take one.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "ini_file.h"

namespace qorin {

class XLanguageTable {
 public:
  // Parses both texts (either may be empty); false when neither parses.
  bool Load(const uint8_t* primary, size_t primarySize, const uint8_t* base, size_t baseSize);
  bool Loaded() const { return loaded_; }

  void SetApplication(std::u16string name, std::u16string version);
  bool RightToLeft() const { return rightToLeft_; }

  std::u16string Lookup(std::u16string_view key, std::u16string_view section = u"INSTALLER");
  std::u16string LookupWith(std::u16string_view key, std::u16string_view str1);

 private:
  XIniFile primary_, base_;
  bool hasPrimary_ = false, hasBase_ = false, loaded_ = false;
  bool rightToLeft_ = false;
  std::u16string appName_, appVersion_;
  std::map<std::u16string, std::u16string, std::less<>> cache_;
};

}  // namespace qorin
