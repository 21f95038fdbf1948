// The one tagged record that holds every script datum, and the small verbs on it.
//
//   XScriptValue = type (32-bit) | payload (int, double or one pointer) | extra (element index)
//
// String, Struct and Array values own what they point at; ConstString borrows a literal's text
// from the engine's text pool; Ref points at a variable, element or member owned elsewhere.
// Variables never hold Refs: Refs live only in results of expressions, which never outlive the
// storage they point at.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

enum class XScriptType : int32_t {
  Undef = 0,
  Void = 1,
  Int = 2,
  Double = 3,
  String = 4,
  Struct = 5,
  ConstString = 6,
  Ref = 7,
  Array = 8,
};

// "Undef", "void", "int", "double", "string", "struct"; "err" for the other numbers.
const char* TypeDisplayName(int32_t type);

struct XScriptStructDef;

// A declared variable, parameter or struct member: name and type (with the definition for a
// struct type).
struct XScriptDecl {
  std::u16string_view name;
  XScriptType type = XScriptType::Undef;
  const XScriptStructDef* structDef = nullptr;
};

// A struct type, known by its name; members in declaration order.
struct XScriptStructDef {
  std::u16string_view name;
  std::vector<XScriptDecl> members;
};

struct XScriptStruct;
struct XScriptArray;

// A string value's text, shared by the values that copied it (texts never change in place: a
// new text is a new record), so that copies and assignments of long strings cost nothing. The
// count is not atomic: values stay on the engine's thread (natives get texts of their own).
struct XScriptText {
  std::u16string text;
  int32_t refs = 1;
};

class XScriptValue {
 public:
  XScriptValue() = default;
  ~XScriptValue() { Reset(); }
  XScriptValue(XScriptValue&& other) noexcept
      : type_(other.type_), payload_(other.payload_), extra_(other.extra_) {
    other.type_ = XScriptType::Undef;
  }
  XScriptValue& operator=(XScriptValue&& other) noexcept {
    if (this != &other) {
      Reset();
      type_ = other.type_;
      payload_ = other.payload_;
      extra_ = other.extra_;
      other.type_ = XScriptType::Undef;
    }
    return *this;
  }
  XScriptValue(const XScriptValue&) = delete;
  XScriptValue& operator=(const XScriptValue&) = delete;

  static XScriptValue OfInt(int32_t value);
  static XScriptValue OfDouble(double value);
  static XScriptValue OfString(std::u16string_view text);

  // Releases what the value owns; the value becomes Undef.
  void Reset() {
    constexpr uint32_t kOwning = 1u << static_cast<int>(XScriptType::String) |
                                 1u << static_cast<int>(XScriptType::Struct) |
                                 1u << static_cast<int>(XScriptType::Array);
    if ((1u << static_cast<uint32_t>(type_)) & kOwning) ReleaseOwned();
    type_ = XScriptType::Undef;
    payload_.d = 0.0;
  }

  XScriptType type() const { return type_; }
  bool Is(XScriptType type) const { return type_ == type; }
  int32_t Int() const { return payload_.i; }
  double Double() const { return payload_.d; }
  const std::u16string& String() const { return payload_.text->text; }
  const std::u16string& ConstString() const { return *payload_.constText; }
  XScriptStruct* Struct() const { return payload_.st; }  // null for an unusable array element
  XScriptArray* Array() const { return payload_.array; }
  XScriptValue* Target() const { return payload_.ref; }
  int32_t Extra() const { return extra_; }

  void SetVoid() {
    Reset();
    type_ = XScriptType::Void;
  }
  void SetInt(int32_t value) {
    Reset();
    type_ = XScriptType::Int;
    payload_.i = value;
  }
  void SetDouble(double value) {
    Reset();
    type_ = XScriptType::Double;
    payload_.d = value;
  }
  void SetString(std::u16string text);
  // The same text as a String value, shared.
  void ShareString(const XScriptValue& source) {
    XScriptText* text = source.payload_.text;
    ++text->refs;
    Reset();
    type_ = XScriptType::String;
    payload_.text = text;
  }
  void SetConstString(const std::u16string* text);
  void SetStruct(std::unique_ptr<XScriptStruct> instance);
  void SetArray(std::unique_ptr<XScriptArray> array);
  void SetRef(XScriptValue* target, int32_t index = 0) {
    Reset();
    type_ = XScriptType::Ref;
    payload_.ref = target;
    extra_ = index;
  }
  void SetExtra(int32_t extra) { extra_ = extra; }
  // Writes an Int's payload in place (the storage of ++ and --).
  void StoreInt(int32_t value) { payload_.i = value; }

 private:
  void ReleaseOwned();

  XScriptType type_ = XScriptType::Undef;
  union Payload {
    int32_t i;
    double d;
    XScriptText* text;
    const std::u16string* constText;
    XScriptStruct* st;
    XScriptArray* array;
    XScriptValue* ref;
  } payload_{.d = 0.0};
  int32_t extra_ = 0;
};

struct XScriptStruct {
  const XScriptStructDef* def = nullptr;
  std::vector<XScriptValue> members;  // one per member declaration, in order

  // The first member of that name, or null.
  XScriptValue* Member(std::u16string_view name);
};

struct XScriptArray {
  std::vector<XScriptValue> elements;  // at least one; each records its index as its extra word
};

// Follows Refs until the value is not a Ref.
inline XScriptValue& Deref(XScriptValue& value) {
  XScriptValue* current = &value;
  while (current->Is(XScriptType::Ref) && current->Target() != nullptr) current = current->Target();
  return *current;
}
inline const XScriptValue& Deref(const XScriptValue& value) {
  return Deref(const_cast<XScriptValue&>(value));
}

bool IsText(const XScriptValue& value);                 // String or ConstString, after Deref
std::u16string_view ToText(const XScriptValue& value);  // the text of a text, else empty
std::u16string ToDisplay(const XScriptValue& value);    // the form of trace lines

// "%d" and "%f" as the C library prints them (six decimals).
std::u16string DisplayInt(int32_t value);
std::u16string DisplayDouble(double value);

// Int <- Double truncates toward zero; a double outside the int range (or NaN) gives the
// smallest int, as the x86 conversion instruction does.
int32_t TruncateToInt(double value);

void CopyOtherValue(const XScriptValue& src, XScriptValue* dst);
// A copy of the value (a Ref stays a Ref; a String shares its text; a struct is copied deep).
inline void CopyValue(const XScriptValue& src, XScriptValue* dst) {
  if (src.Is(XScriptType::Int)) return dst->SetInt(src.Int());
  if (src.Is(XScriptType::Ref)) return dst->SetRef(src.Target(), src.Extra());
  CopyOtherValue(src, dst);
}
bool AssignValue(XScriptValue* dst, const XScriptValue& src);
bool MakeVariable(const XScriptDecl& decl, int32_t arraySize, const XScriptValue* initialValue,
                  XScriptValue* out);

// A new instance of a struct type with default members.
std::unique_ptr<XScriptStruct> MakeStructInstance(const XScriptStructDef& def);

// The truth of a condition: Int != 0, Double != 0.0; nothing for the other types.
std::optional<bool> Truth(const XScriptValue& value);

// Signature codes of values and of declared types: "v", "i", "d", "s", "(NAME)", "E".
void AppendSignatureCode(const XScriptValue& value, std::u16string* key);
void AppendSignatureCode(const XScriptDecl& decl, std::u16string* key);

}  // namespace qorin
