// The text rules of the installation folder and a few script helpers.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

// Longer than 3 characters: a letter, a colon, a slash or backslash, then neither ("C:\App";
// not "C:\", "C:\\App" or "\\server\share").
bool IsValidInstallPath(std::u16string_view path);
// The folder with a backslash appended unless it ends in a slash or backslash ("" stays "").
std::u16string WithFinalSeparator(std::u16string_view folder);
// Without its last character when that is a slash or backslash.
std::u16string RemoveEndBS(std::u16string_view text);
// A letter and a colon, optionally one slash or backslash.
bool IsDriveRoot(std::u16string_view path);
// After trimming: an "@" after position 0 and a "." anywhere after position 0.
bool IsValidEmail(std::u16string_view text);

}  // namespace qorin
