// Path texts as the installer writes them: "\" separates folders ("/" is accepted and turned
// into "\"), a folder that is joined to a name ends in "\", an extension starts at the last dot
// of the file name itself.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

inline bool IsPathSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

void ToBackslashes(std::u16string& path);
void ToBackslashes(std::string& path);

// The text after the last "\" or "/" (all of it without one).
std::u16string_view FileNamePart(std::u16string_view path);
// The text up to and including the last "\" or "/" (empty without one).
std::u16string_view FolderPart(std::u16string_view path);
// From the last dot of the file name, or empty ("C:\my.tools\setup" has none).
std::u16string_view Extension(std::u16string_view path);
std::u16string_view WithoutExtension(std::u16string_view path);

// The folder with backslashes and one trailing "\" ("" becomes "\").
std::u16string FolderWithBackslash(std::u16string_view folder);
// folder, "\" unless it ends in one, then name; an empty folder gives the name alone.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace qorin
