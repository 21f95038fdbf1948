#include "reference.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <span>

#include "base_library.h"
#include "controls.h"
#include "extraction.h"
#include "installer_data.h"
#include "installer_natives.h"
#include "layout.h"
#include "script_errors.h"
#include "skin_document.h"
#include "skin_error.h"
#include "skin_scripts.h"
#include "skin_values.h"
#include "table_column.h"
#include "text_format.h"
#include "ui_languages.h"
#include "utf.h"
#include "window_styles.h"
#include "xml_document.h"

namespace qorin::reference {
namespace {

constexpr char kNativesProse[] =
#include "natives_prose.inc"
    ;
constexpr char kAttributesProse[] =
#include "attributes_prose.inc"
    ;

constexpr const char kGenerated[] =
    "<!-- Written by `qorin doc` from the code's tables; a test fails when it differs. -->\n\n";

std::string U8(std::u16string_view text) {
  return Utf16ToUtf8(text);
}

// A table cell: a pipe would end the cell, and "<Head>" would read as markup.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|') {
      out += "\\|";
    } else if (c == '<') {
      out += "&lt;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Cell(std::u16string_view text) {
  return Escaped(U8(text));
}

std::string ErrorCell(int code) {
  return code == XSKIN_OK ? std::string("—") : std::to_string(code);
}

// One entry of the descriptions: "### Key (argument names) → result", then its text.
struct Prose {
  std::string names;   // "(path, text)"
  std::string result;  // "int", or empty
  std::string text;
};

std::map<std::string, Prose> ReadProse(std::string_view all) {
  std::map<std::string, Prose> entries;
  Prose* current = nullptr;
  while (!all.empty()) {
    size_t end = all.find('\n');
    std::string_view line = all.substr(0, end);
    all = end == std::string_view::npos ? std::string_view() : all.substr(end + 1);
    if (line.starts_with("### ")) {
      line.remove_prefix(4);
      size_t space = line.find(' ');
      std::string_view rest = space == std::string_view::npos ? "" : line.substr(space + 1);
      size_t arrow = rest.find("→");
      current = &entries[std::string(line.substr(0, space))];
      current->names = std::string(rest.substr(0, arrow));
      while (!current->names.empty() && current->names.back() == ' ') current->names.pop_back();
      if (arrow != std::string_view::npos)
        current->result = std::string(rest.substr(arrow + std::string_view("→ ").size()));
    } else if (line.starts_with("#")) {
      current = nullptr;  // another heading: the prose around the entries
    } else if (current != nullptr && !line.empty()) {
      current->text += (current->text.empty() ? "" : " ") + std::string(line);
    }
  }
  return entries;
}

// "(integer, DPI-scaled)" without its parentheses.
std::string Unwrap(const std::string& text) {
  return text.size() >= 2 && text.front() == '(' ? text.substr(1, text.size() - 2) : text;
}

std::u16string_view NameOf(std::u16string_view key) {
  return key.substr(0, key.find(u'@'));
}

// The argument types of a signature key: "SetRect@i(RECT)" ─► int, struct RECT.
std::vector<std::string> ArgumentTypes(std::u16string_view key) {
  size_t at = key.find(u'@');
  std::u16string_view codes = at == std::u16string_view::npos ? u"" : key.substr(at + 1);
  std::vector<std::string> types;
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] == u'(') {  // a struct: "(" + its name + ")"
      size_t close = codes.find(u')', i);
      if (close == std::u16string_view::npos) close = codes.size();
      types.push_back("struct " + U8(codes.substr(i + 1, close - i - 1)));
      i = close;
    } else if (codes[i] != u'v') {
      types.push_back(codes[i] == u's'   ? "string"
                      : codes[i] == u'i' ? "int"
                      : codes[i] == u'd' ? "number"
                                         : "?");
    }
  }
  return types;
}

// "SetRegStr(string path, string text)": the key's types with the description's names.
std::string Signature(std::u16string_view key, const Prose* prose) {
  std::string_view names = prose != nullptr ? std::string_view(prose->names) : "";
  if (names.size() >= 2) names = names.substr(1, names.size() - 2);
  std::string out = U8(NameOf(key)) + "(";
  bool first = true;
  for (const std::string& type : ArgumentTypes(key)) {
    size_t comma = names.find(", ");
    out += (first ? "" : ", ") + type;
    if (!names.empty()) out += " " + std::string(names.substr(0, comma));
    names = comma == std::string_view::npos ? "" : names.substr(comma + 2);
    first = false;
  }
  return out + ")";
}

struct NativeGroup {
  const char* title;
  const char* about;
  std::vector<std::u16string_view> keys;
};

std::vector<NativeGroup> NativeGroups() {
  std::vector<std::u16string_view> installer;
  for (const XInstallerNative& row : InstallerNatives()) installer.push_back(row.key);
  return {
      {"Base library", "The script engine's own functions, in every package.", BaseLibraryKeys()},
      {"Skin", "The skin's functions: controls, the window, timers and events.", SkinNativeKeys()},
      {"Installer", "The installer's functions: the install, files, registry, system and web.",
       installer},
  };
}

std::vector<std::u16string_view> AttributeNames(std::span<const XAttribute> table) {
  return ColumnOf(table, &XAttribute::name);
}

// A control's own tables (read before and after the common attributes).
struct OwnTables {
  std::span<const XAttribute> own, later;
};

OwnTables TablesOf(std::u16string_view tag) {
  AControlBase* control = CreateControlForTag(tag);
  if (control == nullptr) return {};
  control->AddRef();
  OwnTables tables{control->OwnAttributes(), control->LaterAttributes()};
  control->Release();
  return tables;
}

// The tag whose description covers a table: the first tag that has it (Scroll and GroupBox take
// Static's, ComboBox Button's).
std::string DescribingTag(std::span<const XAttribute> table) {
  for (std::u16string_view tag : SkinTagNames()) {
    OwnTables tables = TablesOf(tag);
    if (tables.own.data() == table.data() || tables.later.data() == table.data()) return U8(tag);
  }
  return {};
}

// Every own attribute of every tag under its prose key ("Static.Color"), once.
std::vector<std::string> OwnProseKeys() {
  std::vector<std::string> keys;
  for (std::u16string_view tag : SkinTagNames()) {
    OwnTables tables = TablesOf(tag);
    for (std::span<const XAttribute> table : {tables.own, tables.later}) {
      if (DescribingTag(table) != U8(tag)) continue;
      for (std::u16string_view name : AttributeNames(table))
        keys.push_back(U8(tag) + "." + U8(name));
    }
  }
  return keys;
}

std::string NameList(const std::vector<std::u16string_view>& names) {
  std::string out;
  for (std::u16string_view name : names) out += (out.empty() ? "`" : ", `") + U8(name) + "`";
  return out.empty() ? std::string("none of its own") : out;
}

std::string OneTag(std::u16string_view tag, std::map<std::string, Prose>& prose) {
  OwnTables tables = TablesOf(tag);
  if (tables.own.empty() && tables.later.empty())
    return "### " + U8(tag) + "\n\nOnly the layout and common attributes.\n\n";
  std::string out = "### " + U8(tag) + "\n\n| Attribute | Value | What it does |\n|---|---|---|\n";
  for (std::span<const XAttribute> table : {tables.own, tables.later}) {
    std::string owner = DescribingTag(table);
    for (std::u16string_view name : AttributeNames(table)) {
      const Prose& entry = prose[owner + "." + U8(name)];
      out += "| `" + U8(name) + "` | " + Unwrap(entry.names) + " | " + Escaped(entry.text) + " |\n";
    }
  }
  return out + "\n";
}

}  // namespace

std::string Arguments(std::u16string_view key) {
  std::string out;
  for (const std::string& type : ArgumentTypes(key)) out += (out.empty() ? "" : ", ") + type;
  return "(" + out + ")";
}

std::string TagsReference() {
  std::string out = "# Skin tags and attributes\n\n";
  out += kGenerated;
  out +=
      "## Head\n\nThe elements of `<Head>` and their attributes; \"missing\" is the error when a "
      "required attribute is absent, \"refused\" the error for a value it cannot take.\n\n"
      "| Element | Attribute | Value | Missing | Refused | What it does "
      "|\n|---|---|---|---|---|---|\n";
  std::map<std::string, Prose> prose = ReadProse(kAttributesProse);
  for (const XHeadAttributeInfo& row : HeadAttributeTable()) {
    const Prose& entry = prose[U8(row.element) + "." + U8(row.name)];
    out += "| `" + U8(row.element) + "` | `" + U8(row.name) + "` | " + Unwrap(entry.names) + " | " +
           ErrorCell(row.missing) + " | " + ErrorCell(row.refused) + " | " + Escaped(entry.text) +
           " |\n";
  }
  out +=
      "\n## Body\n\nEvery control takes the layout attributes and the common attributes below, "
      "and the attributes of its own tag. `<Data>` elements inside a `ListBox` or `ComboBox` "
      "give its items (`Text`; a list's further columns `Col1`, `Col2`, ...); a `ChildSkin` "
      "nests the skin file its `File` names.\n\n";
  for (auto [title, names] :
       {std::pair{"Layout attributes", LayoutAttributeNames()},
        std::pair{"Common attributes", AttributeNames(AControlBase::CommonAttributes())}}) {
    out +=
        "### " + std::string(title) + "\n\n| Attribute | Value | What it does |\n|---|---|---|\n";
    for (std::u16string_view name : names) {
      const Prose& entry = prose[U8(name)];
      out += "| `" + U8(name) + "` | " + Unwrap(entry.names) + " | " + Escaped(entry.text) + " |\n";
    }
    out += "\n";
  }
  for (std::u16string_view tag : SkinTagNames()) out += OneTag(tag, prose);
  out += "## Value keywords\n\n";
  std::vector<XKeywordSet> sets = SkinValueKeywords();
  sets.push_back({"text formats (TextFormat, comma-separated)", TextFormatKeywords()});
  sets.push_back({"window styles (WindowStyle, joined by |)", WindowStyleNames()});
  for (const XKeywordSet& set : sets)
    out += "- " + std::string(set.syntax) + ": " + NameList(set.words) + ".\n";
  return out;
}

std::string TagReference(std::string_view tag) {
  for (std::u16string_view name : SkinTagNames()) {
    if (U8(name) != tag) continue;
    std::map<std::string, Prose> prose = ReadProse(kAttributesProse);
    return OneTag(name, prose);
  }
  return {};
}

std::string NativesReference() {
  std::map<std::string, Prose> prose = ReadProse(kNativesProse);
  std::string out = "# Script functions\n\n";
  out += kGenerated;
  out +=
      "Each function is found by its name and the types of its arguments (the signature key "
      "`Name@codes`: `s` string, `i` int, `d` number, `(Name)` a struct, `v` none). Where two "
      "tables have the same key, the installer's answers first.\n\n";
  for (const NativeGroup& group : NativeGroups()) {
    out += "## " + std::string(group.title) + "\n\n" + group.about +
           "\n\n| Function | Result | What it does |\n|---|---|---|\n";
    for (std::u16string_view key : group.keys) {
      auto found = prose.find(U8(key));
      const Prose* entry = found != prose.end() ? &found->second : nullptr;
      out += "| `" + Signature(key, entry) + "` | " + (entry ? entry->result : "") + " | " +
             (entry ? Escaped(entry->text) : "") + " |\n";
    }
    out += "\n";
  }
  return out;
}

std::vector<std::string> ProseProblems() {
  std::vector<std::string> problems;
  auto check = [&](const std::map<std::string, Prose>& prose, const std::vector<std::string>& keys,
                   const char* what) {
    for (const std::string& key : keys) {
      if (!prose.contains(key))
        problems.push_back("no description of the " + std::string(what) + " " + key);
    }
    for (const auto& [key, entry] : prose) {
      if (std::find(keys.begin(), keys.end(), key) == keys.end())
        problems.push_back("a description of no " + std::string(what) + ": " + key);
    }
  };
  std::vector<std::string> natives, attributes;
  for (const NativeGroup& group : NativeGroups()) {
    for (std::u16string_view key : group.keys) natives.push_back(U8(key));
  }
  for (const XHeadAttributeInfo& row : HeadAttributeTable())
    attributes.push_back(U8(row.element) + "." + U8(row.name));
  for (std::u16string_view name : LayoutAttributeNames()) attributes.push_back(U8(name));
  for (std::u16string_view name : AttributeNames(AControlBase::CommonAttributes()))
    attributes.push_back(U8(name));
  for (const std::string& key : OwnProseKeys()) attributes.push_back(key);
  check(ReadProse(kNativesProse), natives, "function");
  check(ReadProse(kAttributesProse), attributes, "attribute");
  return problems;
}

std::string NativeReference(std::string_view name) {
  std::map<std::string, Prose> prose = ReadProse(kNativesProse);
  std::string out;
  for (const NativeGroup& group : NativeGroups()) {
    for (std::u16string_view key : group.keys) {
      if (U8(NameOf(key)) != name) continue;
      auto found = prose.find(U8(key));
      const Prose* entry = found != prose.end() ? &found->second : nullptr;
      out += Signature(key, entry) +
             (entry && !entry->result.empty() ? " → " + entry->result : "") + "   [" + group.title +
             ", " + U8(key) + "]\n" + (entry ? "  " + entry->text + "\n" : "");
    }
  }
  return out;
}

std::string ErrorsReference() {
  std::string out = "# Error codes\n\n";
  out += kGenerated;
  out +=
      "## Skin\n\nShown when a skin cannot be built, with the line and column of the element. "
      "The text is the system's own; where it has an English text, users of other languages "
      "than Korean see that one.\n\n| Code | Text | English text |\n|---|---|---|\n";
  for (const XCodeText& row : SkinErrorTable())
    out += "| " + std::to_string(row.code) + " | " + Cell(row.text) + " | " + Cell(row.english) +
           " |\n";
  out += "\n## XML\n\nThe XML parser's codes, inside skin error 2.\n\n| Code | Text |\n|---|---|\n";
  for (const XCodeText& row : XmlErrorTable())
    out += "| " + std::to_string(row.code) + " | " + Cell(row.text) + " |\n";
  out +=
      "\n## Scripts\n\nThe script engine's codes (`ErrCode:` in its messages).\n\n"
      "| Code | Name |\n|---|---|\n";
  for (const auto& [code, name] : ScriptErrorNames())
    out += "| " + std::to_string(code) + " | `" + name + "` |\n";
  return out;
}

std::string PackageReference() {
  std::string out = "# The package\n\n";
  out += kGenerated;
  out +=
      "## Configuration\n\nThe section `[config]` of the configuration file (UTF-16 INI) that "
      "`qorin pack --config` names.\n\n| Key | Type | Default | Effect |\n|---|---|---|---|\n";
  for (const XConfigKey& row : ConfigKeys()) {
    out += "| `" + U8(row.key) + "` | " + (row.text != nullptr ? "text" : "unsigned") + " | " +
           row.defaultValue + " | " + row.effect + " |\n";
  }
  out +=
      "\n## The installer's own language texts\n\nLooked up in the section `[INSTALLER]` of the "
      "language file when the install fails, with `${str1}` the file or folder concerned; "
      "`OnFailed` receives the text.\n\n| Install error | Language key |\n|---|---|\n";
  for (int code = XEXTRACT_ERR_CREATE_FOLDER; code <= XEXTRACT_ERR_NO_MEMORY; ++code) {
    const char16_t* key = ExtractionErrorKey(code);
    if (key != nullptr) out += "| " + std::to_string(code) + " | `" + U8(key) + "` |\n";
  }
  out +=
      "\n## Language files by user interface language\n\nThe language file chosen at start: the "
      "first row with the user's interface language (its identifier, hexadecimal) names the "
      "file tried first (`Name.ini` or `Name.lang`), then its alternate name; without either, "
      "Korean, else English, else the first file; `default_lang` overrides the choice.\n\n"
      "| Identifier | Name | Alternate name |\n|---|---|---|\n";
  for (const UiLanguageRow& row : UiLanguageRows()) {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", static_cast<unsigned>(row.id));
    out += std::string("| ") + id + " | " + U8(row.name) + " | " + U8(row.alternate) + " |\n";
  }
  return out;
}

std::vector<Document> Documents() {
  return {{"package.md", PackageReference},
          {"tags.md", TagsReference},
          {"natives.md", NativesReference},
          {"errors.md", ErrorsReference}};
}

}  // namespace qorin::reference
