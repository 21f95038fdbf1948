// The language table as the skin asks it: "$" references in one section (the installer's is
// "INSTALLER"), the language's font face and its direction.
#pragma once

#include "language_table.h"
#include "skin_language.h"

namespace qorin {

class XSkinLanguageTable final : public IXSkinLanguage {
 public:
  XSkinLanguageTable(XLanguageTable& table, std::u16string section)
      : table_(table), section_(std::move(section)) {}
  std::u16string Text(std::u16string_view key) override { return table_.Lookup(key, section_); }
  std::u16string General(std::u16string_view key) override {
    return table_.Lookup(key, u"GENERAL");
  }
  bool RightToLeft() override { return table_.RightToLeft(); }

 private:
  XLanguageTable& table_;
  std::u16string section_;
};

}  // namespace qorin
