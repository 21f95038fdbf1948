// libFuzzer: arbitrary bytes as a skin XML file, then every attribute looked up.
#include <cstddef>
#include <cstdint>

#include "xml_document.h"

namespace {

void Visit(const qorin::XXmlNode& node) {
  std::u16string value;
  for (const auto& attribute : node.attributes)
    qorin::XXmlDocument::GetAttribute(node, attribute.name, &value);
  for (const auto& child : node.children) Visit(*child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qorin::XXmlDocument doc;
  if (doc.LoadFromMemory(data, size)) Visit(doc);
  return 0;
}
