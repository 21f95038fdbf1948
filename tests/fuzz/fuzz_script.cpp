// libFuzzer: arbitrary text through the script engine, after the predefined texts a skin host
// runs, with a host that answers a few natives (one of which runs a text nested). The first
// byte chooses the options; a step limit ends endless loops. Then the same text as a literal
// (ScriptLiteral) must come back as itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script.h"
#include "script_literal.h"
#include "utf.h"

namespace {

class FuzzHost final : public qorin::IXScriptCallback {
 public:
  explicit FuzzHost(qorin::XScript* engine) : engine_(engine) {}
  int32_t CallNative(std::u16string_view key, qorin::XScriptValue* const* args, int32_t count,
                     qorin::XScriptValue* result) override {
    if (key == u"GetRect@i") {
      if (engine_->MakeStruct(u"RECT", result)) {
        int32_t edges[] = {args[0]->Int(), 2, 3, 4};
        qorin::XScript::SetStructInts(result, 4, edges);
      }
      return 1;
    }
    if (key == u"Width@(RECT)") {
      const auto& members = args[0]->Struct()->members;
      result->SetInt(members.size() >= 3 ? members[2].Int() : 0);
      return 1;
    }
    if (key == u"MessageBox@s" || key == u"MessageBox@si") {
      result->SetString(std::u16string(qorin::ToText(*args[0])));
      return count > 0;
    }
    if (key == u"Rerun@s") {
      result->SetInt(engine_->Run(qorin::ToText(*args[0])));  // nested
      return 1;
    }
    return 0;
  }
  void Print(std::u16string_view) override {}
  void Debug(std::u16string_view) override {}
  void Trace(std::u16string_view) override {}

 private:
  qorin::XScript* engine_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  qorin::XScript engine;
  FuzzHost host(&engine);
  engine.SetCallback(&host);
  engine.SetStepLimit(20000);
  qorin::XScriptOptions& options = engine.Options();
  options.escapes = data[0] & 1;
  options.continueOnError = (data[0] >> 1) & 1;
  options.ignoreUnknownFunctions = (data[0] >> 2) & 1;
  options.trace = (data[0] >> 3) & 1;
  engine.Run(u"struct RECT { int left; int top; int right; int bottom;  }; int TRUE = 1;");
  std::u16string text =
      qorin::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  engine.Run(text);
  engine.Run(u"OnInit();");
  engine.FormatError();

  qorin::XScript literal;
  literal.Options().escapes = options.escapes;
  std::u16string expected;
  for (char16_t c : text) {
    if (c != u'\0') expected += c;
  }
  if (literal.Run(u"string s = " + qorin::ScriptLiteral(text, options.escapes) + u"; s;") != 1 ||
      qorin::ToText(literal.LastResult()) != expected)
    __builtin_trap();
  return 0;
}
