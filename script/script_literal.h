// Texts from data (file names, error texts, folders) put into the statements a host runs: as an
// expression whose value is exactly the text, never as pasted source.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

// A string literal, or a sum of literals when the text holds both quote marks
// ("'it' + \"'\" + 's \"x\"'"; the language has no parentheses, and a sum is whole as an argument
// or an initialiser). Without backslash escapes (the installer's scripts) a backslash is itself;
// with them it is doubled. A NUL, which no literal can hold, is left out.
std::u16string ScriptLiteral(std::u16string_view text, bool escapes = false);

}  // namespace qorin
