// The reference of the package language, written from the code's own tables: the skin's tags
// and attributes, the scripts' natives and the error codes. `qorin help` prints it in the
// terminal and `qorin doc` writes it into docs/reference, where a test keeps it current.
//
//   tag table, attribute tables, Head table ─► TagsReference   ─► tags.md
//   base library, skin and installer natives ─► NativesReference ─► natives.md
//   skin, XML and script error tables        ─► ErrorsReference  ─► errors.md
//   configuration keys, install error keys   ─► PackageReference ─► package.md
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorin::reference {

// Markdown (UTF-8), one document each.
std::string TagsReference();
std::string NativesReference();
std::string ErrorsReference();
std::string PackageReference();

// One tag's attributes, or one native's signatures; empty when the name is unknown.
std::string TagReference(std::string_view tag);
std::string NativeReference(std::string_view name);

// What is wrong between the function tables and their descriptions (docs/prose/natives.md):
// a function without one, a description of no function. Empty when they agree.
std::vector<std::string> ProseProblems();

// A signature key's arguments as a script writes them: "SetRegInt@si" ─► "(string, int)".
std::string Arguments(std::u16string_view key);

struct Document {
  const char* file;
  std::string (*write)();
};
std::vector<Document> Documents();

}  // namespace qorin::reference
