// A script host for tests: records what the engine prints, debugs and traces, and every native
// call that reaches it; natives are answered by handlers registered by key.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "script.h"
#include "utf.h"

namespace qorin::test {

class RecordingHost final : public IXScriptCallback {
 public:
  using Native =
      std::function<void(XScriptValue* const* args, int32_t count, XScriptValue* result)>;

  std::map<std::u16string, Native> natives;
  std::vector<std::u16string> keys;  // every key offered to CallNative
  std::vector<std::string> prints, debugs, traces;

  int32_t CallNative(std::u16string_view key, XScriptValue* const* args, int32_t count,
                     XScriptValue* result) override {
    keys.emplace_back(key);
    auto it = natives.find(std::u16string(key));
    if (it == natives.end()) return 0;
    it->second(args, count, result);
    return 1;
  }
  void Print(std::u16string_view text) override { prints.push_back(Utf16ToUtf8(text)); }
  void Debug(std::u16string_view text) override { debugs.push_back(Utf16ToUtf8(text)); }
  void Trace(std::u16string_view text) override { traces.push_back(Utf16ToUtf8(text)); }
};

// An engine with a recording host; Run takes UTF-8 for readable tests.
struct ScriptFixture {
  RecordingHost host;
  XScript engine;

  ScriptFixture() { engine.SetCallback(&host); }
  int Run(const std::string& text) { return engine.Run(Utf8ToUtf16(text)); }
  std::string Error() const { return Utf16ToUtf8(engine.FormatError()); }
  XSERR Code() const { return engine.GetScriptError().code; }
  // Output of print, joined by "|".
  std::string Printed() const {
    std::string out;
    for (size_t i = 0; i < host.prints.size(); ++i) out += (i ? "|" : "") + host.prints[i];
    return out;
  }
  std::string Result() const { return Utf16ToUtf8(ToDisplay(engine.LastResult())); }
};

}  // namespace qorin::test
