#include "layout_listing.h"

#include "controls.h"
#include "skin_document.h"
#include "utf.h"

namespace qorin {
namespace {

void List(const AControlBase& control, int depth, std::string* out) {
  for (const AControlBase* child : control.children) {
    *out += std::string(static_cast<size_t>(depth) * 2, ' ') + Utf16ToUtf8(child->name);
    if (child->layout == nullptr || !child->layout->Visible()) {
      *out += " hidden\n";
    } else {
      const XRect& r = child->layout->placed;
      *out += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
              std::to_string(r.right) + "," + std::to_string(r.bottom) + "\n";
    }
    if (const auto* nested = dynamic_cast<const XChildSkin*>(child)) {
      if (nested->Document() != nullptr && nested->Document()->Root() != nullptr)
        List(*nested->Document()->Root(), depth + 1, out);
    }
    List(*child, depth + 1, out);
  }
}

}  // namespace

std::string LayoutListing(const XSkinDocument& document) {
  std::string out;
  if (document.Root() != nullptr) List(*document.Root(), 0, &out);
  return out;
}

}  // namespace qorin
