#include "language_table.h"

#include "text.h"

namespace qorin {

bool XLanguageTable::Load(const uint8_t* primary, size_t primarySize, const uint8_t* base,
                          size_t baseSize) {
  cache_.clear();
  hasPrimary_ = primary_.Parse(primary, primarySize);
  hasBase_ = base_.Parse(base, baseSize);
  loaded_ = hasPrimary_ || hasBase_;
  rightToLeft_ = hasPrimary_ && primary_.GetNumber(u"GENERAL", u"IS_RIGHT_TO_LEFT_TEXT") != 0;
  return loaded_;
}

void XLanguageTable::SetApplication(std::u16string name, std::u16string version) {
  appName_ = std::move(name);
  appVersion_ = std::move(version);
  cache_.clear();
}

std::u16string XLanguageTable::Lookup(std::u16string_view key, std::u16string_view section) {
  if (!loaded_) return u"Can't load language file";
  if (auto cached = cache_.find(key); cached != cache_.end()) return cached->second;
  std::u16string text = hasPrimary_ ? primary_.GetText(section, key) : std::u16string();
  if (text.empty() && hasBase_) text = base_.GetText(section, key);
  ReplaceAll(text, u"\\n", u"\n");
  ReplaceAll(text, u"\\r", u"\r");
  ReplaceAll(text, u"[br]", u"\n");
  if (!appName_.empty()) ReplaceAll(text, u"${APPNAME}", appName_);
  if (!appVersion_.empty()) ReplaceAll(text, u"${APPVERSION}", appVersion_);
  cache_.emplace(std::u16string(key), text);
  return text;
}

std::u16string XLanguageTable::LookupWith(std::u16string_view key, std::u16string_view str1) {
  std::u16string text = Lookup(key);
  ReplaceAll(text, u"${str1}", str1);
  return text;
}

}  // namespace qorin
