// What the skin asks of the language the host chose: texts for "$" references and the font
// face of the language, and whether it is written right to left.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

class IXSkinLanguage {
 public:
  virtual ~IXSkinLanguage() = default;
  // The text of a key in the section the host chose for the skin ("INSTALLER" for the installer).
  virtual std::u16string Text(std::u16string_view key) = 0;
  // The text of a key in section "GENERAL" (SKIN_FONT_NAME).
  virtual std::u16string General(std::u16string_view key) = 0;
  virtual bool RightToLeft() = 0;
};

}  // namespace qorin
