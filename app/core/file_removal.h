// The installer's file rules on top of single system calls: deleting by wildcard, moving aside
// a file in use, deleting a folder tree, creating every level of a folder, testing a long path.
#pragma once

#include <string>

#include "system_calls.h"

namespace qorin {

// Every non-folder entry that the pattern ("*", "?") matches; true when all went (or none
// matched).
bool DeleteMatching(IXFileAccess& files, const std::u16string& pattern);

// Deleted, else moved into the temporary folder under its own name, else under a fresh
// temporary name.
bool DeleteOrMove(IXFileAccess& files, const std::u16string& path);

// Everything below the folder depth first, read-only files included, then the folder itself;
// true when the folder is gone. Junctions and links are removed, never followed, the folder
// itself included.
bool DeleteTree(IXFileAccess& files, const std::u16string& folder);

// Every missing level of the folder, from the one after the first "\".
void DigPath(IXFileAccess& files, const std::u16string& path);

// A file, not a folder; a path of 260 or more characters is retried in extended form.
bool IsFileAt(IXFileAccess& files, const std::u16string& path);

}  // namespace qorin
