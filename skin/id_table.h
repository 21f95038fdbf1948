// The skin's table of symbolic control IDs: name → number. It serves IDs, links and commands,
// and every entry becomes an integer constant of the skin's scripts.
//
//   control-ID header ("#define NAME 123" lines) ─┐
//   numbers the host adds (CMD_EXIT ...)         ─┼─► table ◄─ unknown names: 63001, 63002, ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qorin {

class XIdTable {
 public:
  static constexpr int kFirstAutomatic = 63001;

  // Reads "#define NAME NUMBER" lines (blanks between); other lines, names starting with "_"
  // and the value -1 are skipped.
  void LoadHeader(std::u16string_view text);
  void Add(std::u16string_view name, int number);
  // The number of a name; a name not yet known gets the next automatic number when automatic
  // numbering is on (the default), otherwise false.
  bool Resolve(std::u16string_view name, int* number);
  // The number of a known name, without numbering new ones.
  std::optional<int> Lookup(std::u16string_view name) const;
  // A decimal number stands for itself; anything else is a name.
  bool ResolveValue(std::u16string_view value, int* number);
  // The name a number has, or empty.
  std::u16string NameOf(int number) const;

  void SetAutomatic(bool on) { automatic_ = on; }
  const std::vector<std::pair<std::u16string, int>>& Entries() const { return entries_; }

 private:
  const std::pair<std::u16string, int>* Find(std::u16string_view name) const;
  void Append(std::u16string_view name, int number);

  // In the order the names came (the scripts' constants follow it), and indexed by name: a
  // skin's IDs run into the thousands.
  std::vector<std::pair<std::u16string, int>> entries_;
  std::unordered_map<std::u16string, size_t> index_;
  int lastAutomatic_ = kFirstAutomatic - 1;
  bool automatic_ = true;
};

}  // namespace qorin
