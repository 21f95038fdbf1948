#include "base_library.h"

#include <climits>
#include <cmath>

#include "native_table.h"
#include "table_column.h"

namespace qorin {
namespace {

using Native = void (*)(XScriptValue* const* args, XScriptValue* result, IXScriptCallback* host);

void Print(IXScriptCallback* host, std::u16string_view text) {
  if (host != nullptr) host->Print(text);
}
void Debug(IXScriptCallback* host, std::u16string_view text) {
  if (host != nullptr) host->Debug(text);
}

const XNativeRow<Native> kBaseLibrary[] = {
    {u"print@s",
     [](XScriptValue* const* a, XScriptValue*, IXScriptCallback* h) { Print(h, ToText(*a[0])); }},
    {u"print@i", [](XScriptValue* const* a, XScriptValue*,
                    IXScriptCallback* h) { Print(h, DisplayInt(a[0]->Int())); }},
    {u"print@d", [](XScriptValue* const* a, XScriptValue*,
                    IXScriptCallback* h) { Print(h, DisplayDouble(a[0]->Double())); }},
    {u"Debug@s",
     [](XScriptValue* const* a, XScriptValue*, IXScriptCallback* h) { Debug(h, ToText(*a[0])); }},
    {u"Debug@i", [](XScriptValue* const* a, XScriptValue*,
                    IXScriptCallback* h) { Debug(h, DisplayInt(a[0]->Int())); }},
    {u"Debug@d", [](XScriptValue* const* a, XScriptValue*,
                    IXScriptCallback* h) { Debug(h, DisplayDouble(a[0]->Double())); }},
    {u"sin@i", [](XScriptValue* const* a, XScriptValue* r,
                  IXScriptCallback*) { r->SetDouble(std::sin(a[0]->Int())); }},
    {u"sin@d", [](XScriptValue* const* a, XScriptValue* r,
                  IXScriptCallback*) { r->SetDouble(std::sin(a[0]->Double())); }},
    {u"cos@i", [](XScriptValue* const* a, XScriptValue* r,
                  IXScriptCallback*) { r->SetDouble(std::cos(a[0]->Int())); }},
    {u"cos@d", [](XScriptValue* const* a, XScriptValue* r,
                  IXScriptCallback*) { r->SetDouble(std::cos(a[0]->Double())); }},
    // The smallest int stays negative.
    {u"abs@i",
     [](XScriptValue* const* a, XScriptValue* r, IXScriptCallback*) {
       int32_t x = a[0]->Int();
       r->SetInt(x < 0 && x != INT_MIN ? -x : x);
     }},
    {u"str2int@s", [](XScriptValue* const* a, XScriptValue* r,
                      IXScriptCallback*) { r->SetInt(Str2Int(ToText(*a[0]))); }},
};

bool IsSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

std::vector<std::u16string_view> BaseLibraryKeys() {
  return ColumnOf(kBaseLibrary, &XNativeRow<Native>::key);
}

int32_t Str2Int(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > int64_t{INT_MAX} + 1) value = int64_t{INT_MAX} + 1;  // saturated below
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int32_t>(value);
}

bool CallBaseLibrary(std::u16string_view key, XScriptValue* const* args, int32_t count,
                     XScriptValue* result, IXScriptCallback* callback) {
  if (count != 1) return false;  // every key of the library takes one argument
  static const XNativeTable<Native> table(kBaseLibrary);
  const XNativeRow<Native>* row = table.Find(key);
  if (row == nullptr) return false;
  row->handler(args, result, callback);
  return true;
}

}  // namespace qorin
