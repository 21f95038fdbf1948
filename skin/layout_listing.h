// The placed tree as text, one line per control in tree order: two spaces per depth level
// (the children of <Body> at depth 0), the name, and "left,top,right,bottom" or "hidden".
// Nested skins list their controls under their ChildSkin.
#pragma once

#include <string>

namespace qorin {

class XSkinDocument;

std::string LayoutListing(const XSkinDocument& document);

}  // namespace qorin
