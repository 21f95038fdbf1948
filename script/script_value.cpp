#include "script_value.h"

#include <cmath>

#include "number_text.h"
#include "utf.h"

namespace qorin {

const char* TypeDisplayName(int32_t type) {
  static const char* const kNames[] = {"Undef", "void", "int", "double", "string", "struct"};
  if (type >= 0 && type < 6) return kNames[type];
  return "err";
}

XScriptValue XScriptValue::OfInt(int32_t value) {
  XScriptValue result;
  result.SetInt(value);
  return result;
}

XScriptValue XScriptValue::OfDouble(double value) {
  XScriptValue result;
  result.SetDouble(value);
  return result;
}

XScriptValue XScriptValue::OfString(std::u16string_view text) {
  XScriptValue result;
  result.SetString(std::u16string(text));
  return result;
}

void XScriptValue::ReleaseOwned() {
  switch (type_) {
    case XScriptType::String:
      if (--payload_.text->refs == 0) delete payload_.text;
      break;
    case XScriptType::Struct: delete payload_.st; break;
    case XScriptType::Array: delete payload_.array; break;
    default: break;
  }
}

void XScriptValue::SetString(std::u16string text) {
  auto* owned = new XScriptText{std::move(text)};
  Reset();
  type_ = XScriptType::String;
  payload_.text = owned;
}

void XScriptValue::SetConstString(const std::u16string* text) {
  Reset();
  type_ = XScriptType::ConstString;
  payload_.constText = text;
}

void XScriptValue::SetStruct(std::unique_ptr<XScriptStruct> instance) {
  Reset();
  type_ = XScriptType::Struct;
  payload_.st = instance.release();
}

void XScriptValue::SetArray(std::unique_ptr<XScriptArray> array) {
  Reset();
  type_ = XScriptType::Array;
  payload_.array = array.release();
}

XScriptValue* XScriptStruct::Member(std::u16string_view name) {
  if (def == nullptr) return nullptr;
  for (size_t i = 0; i < def->members.size() && i < members.size(); ++i) {
    if (def->members[i].name == name) return &members[i];
  }
  return nullptr;
}

bool IsText(const XScriptValue& value) {
  const XScriptValue& v = Deref(value);
  return v.Is(XScriptType::String) || v.Is(XScriptType::ConstString);
}

std::u16string_view ToText(const XScriptValue& value) {
  const XScriptValue& v = Deref(value);
  if (v.Is(XScriptType::String)) return v.String();
  if (v.Is(XScriptType::ConstString)) return v.ConstString();
  return {};
}

std::u16string DisplayInt(int32_t value) {
  return AsciiToUtf16(std::to_string(value));
}

std::u16string DisplayDouble(double value) {
  if (std::isnan(value)) return u"nan";
  if (std::isinf(value)) return value < 0 ? u"-inf" : u"inf";
  return AsciiToUtf16(FixedText(value));
}

std::u16string ToDisplay(const XScriptValue& value) {
  const XScriptValue& v = Deref(value);
  switch (v.type()) {
    case XScriptType::Undef: return u"Undef";
    case XScriptType::Int: return DisplayInt(v.Int());
    case XScriptType::Double: return DisplayDouble(v.Double());
    case XScriptType::String:
    case XScriptType::ConstString: {
      std::u16string_view text = ToText(v);
      std::u16string quoted;
      quoted.reserve(text.size() + 2);
      return quoted.append(1, u'"').append(text).append(1, u'"');
    }
    case XScriptType::Struct: {
      // The members joined by ","; a struct without members shows only the closing brace.
      XScriptStruct* instance = v.Struct();
      if (instance == nullptr || instance->members.empty()) return u"}";
      std::u16string text = u"struct{";
      for (size_t i = 0; i < instance->members.size(); ++i) {
        if (i > 0) text += u',';
        text += ToDisplay(instance->members[i]);
      }
      return text + u"}";
    }
    case XScriptType::Array:
      return u"array - size=" + DisplayInt(static_cast<int32_t>(v.Array()->elements.size()));
    default: return u"";
  }
}

int32_t TruncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

std::unique_ptr<XScriptStruct> MakeStructInstance(const XScriptStructDef& def) {
  auto instance = std::make_unique<XScriptStruct>();
  instance->def = &def;
  instance->members.resize(def.members.size());
  for (size_t i = 0; i < def.members.size(); ++i)
    MakeVariable(def.members[i], 0, nullptr, &instance->members[i]);
  return instance;
}

void CopyOtherValue(const XScriptValue& src, XScriptValue* dst) {
  switch (src.type()) {
    case XScriptType::Array: return;
    case XScriptType::String: dst->ShareString(src); return;
    case XScriptType::Struct: {
      if (src.Struct() == nullptr) {
        dst->SetStruct(nullptr);
        return;
      }
      auto copy = std::make_unique<XScriptStruct>();
      copy->def = src.Struct()->def;
      copy->members.resize(src.Struct()->members.size());
      for (size_t i = 0; i < copy->members.size(); ++i)
        CopyValue(src.Struct()->members[i], &copy->members[i]);
      dst->SetStruct(std::move(copy));
      return;
    }
    case XScriptType::Int: dst->SetInt(src.Int()); break;
    case XScriptType::Double: dst->SetDouble(src.Double()); break;
    case XScriptType::ConstString: dst->SetConstString(&src.ConstString()); break;
    case XScriptType::Ref: dst->SetRef(src.Target(), src.Extra()); break;
    case XScriptType::Void: dst->SetVoid(); break;
    default: dst->Reset(); break;
  }
  dst->SetExtra(src.Extra());
}

namespace {

bool SameStructType(const XScriptStruct* a, const XScriptStruct* b) {
  return a != nullptr && b != nullptr && a->def != nullptr && b->def != nullptr &&
         a->def->name == b->def->name;
}

// Member by member; the first failing member fails the whole (earlier members stay assigned).
bool AssignStruct(XScriptStruct* dst, const XScriptStruct* src) {
  if (!SameStructType(dst, src)) return false;
  size_t count = std::min(dst->members.size(), src->members.size());
  for (size_t i = 0; i < count; ++i) {
    if (!AssignValue(&dst->members[i], src->members[i])) return false;
  }
  return true;
}

}  // namespace

bool AssignValue(XScriptValue* dst, const XScriptValue& source) {
  if (dst->Is(XScriptType::Ref)) return false;
  const XScriptValue& src = Deref(source);
  if (dst == &src) return true;
  if (dst->type() == src.type()) {
    switch (src.type()) {
      case XScriptType::String: dst->ShareString(src); return true;
      case XScriptType::Struct: return AssignStruct(dst->Struct(), src.Struct());
      case XScriptType::Array: return true;
      case XScriptType::Ref: return false;
      default: {
        int32_t index = dst->Extra();  // an element keeps its own index
        CopyValue(src, dst);
        dst->SetExtra(index);
        return true;
      }
    }
  }
  switch (dst->type()) {
    case XScriptType::String:
      if (src.Is(XScriptType::ConstString)) return dst->SetString(src.ConstString()), true;
      if (src.Is(XScriptType::Int)) return dst->SetString(DisplayInt(src.Int())), true;
      return false;
    case XScriptType::Int:
      if (src.Is(XScriptType::Double)) return dst->SetInt(TruncateToInt(src.Double())), true;
      return false;
    case XScriptType::Double:
      if (src.Is(XScriptType::Int)) return dst->SetDouble(src.Int()), true;
      return false;
    default: return false;
  }
}

namespace {

void MakeDefaultElement(const XScriptDecl& decl, XScriptValue* out) {
  switch (decl.type) {
    case XScriptType::Int: out->SetInt(0); break;
    case XScriptType::Double: out->SetDouble(0.0); break;
    case XScriptType::String: out->SetString(u""); break;
    case XScriptType::Struct: out->SetStruct(nullptr); break;  // no instance: unusable
    default: out->Reset(); break;
  }
}

}  // namespace

bool MakeVariable(const XScriptDecl& decl, int32_t arraySize, const XScriptValue* initialValue,
                  XScriptValue* out) {
  if (arraySize >= 1) {
    auto array = std::make_unique<XScriptArray>();
    array->elements.resize(static_cast<size_t>(arraySize));
    for (int32_t i = 0; i < arraySize; ++i) {
      MakeDefaultElement(decl, &array->elements[i]);
      array->elements[i].SetExtra(i);
    }
    out->SetArray(std::move(array));
    return true;
  }
  const XScriptValue* initial = initialValue != nullptr ? &Deref(*initialValue) : nullptr;
  if (initial != nullptr && initial->type() != decl.type &&
      !(decl.type == XScriptType::String && initial->Is(XScriptType::ConstString)))
    return false;
  switch (decl.type) {
    case XScriptType::Int: out->SetInt(initial != nullptr ? initial->Int() : 0); return true;
    case XScriptType::Double:
      out->SetDouble(initial != nullptr ? initial->Double() : 0.0);
      return true;
    case XScriptType::String:
      if (initial != nullptr && initial->Is(XScriptType::String))
        return out->ShareString(*initial), true;
      out->SetString(initial != nullptr ? std::u16string(ToText(*initial)) : std::u16string());
      return true;
    case XScriptType::Struct: {
      if (decl.structDef == nullptr) return false;
      XScriptValue made;
      made.SetStruct(MakeStructInstance(*decl.structDef));
      if (initial != nullptr && !AssignValue(&made, *initial)) return false;
      *out = std::move(made);
      return true;
    }
    default: return false;
  }
}

std::optional<bool> Truth(const XScriptValue& value) {
  const XScriptValue& v = Deref(value);
  if (v.Is(XScriptType::Int)) return v.Int() != 0;
  if (v.Is(XScriptType::Double)) return v.Double() != 0.0;
  return std::nullopt;
}

namespace {

void AppendCode(XScriptType type, const XScriptStructDef* def, std::u16string* key) {
  switch (type) {
    case XScriptType::Undef: *key += u'v'; break;
    case XScriptType::Int: *key += u'i'; break;
    case XScriptType::Double: *key += u'd'; break;
    case XScriptType::String:
    case XScriptType::ConstString: *key += u's'; break;
    case XScriptType::Struct:
      if (def == nullptr) {
        *key += u'E';  // an array element without instance matches no function
        break;
      }
      *key += u'(';
      *key += def->name;
      *key += u')';
      break;
    default: *key += u'E'; break;
  }
}

}  // namespace

void AppendSignatureCode(const XScriptValue& value, std::u16string* key) {
  const XScriptValue& v = Deref(value);
  const XScriptStructDef* def = nullptr;
  if (v.Is(XScriptType::Struct) && v.Struct() != nullptr) def = v.Struct()->def;
  AppendCode(v.type(), def, key);
}

void AppendSignatureCode(const XScriptDecl& decl, std::u16string* key) {
  AppendCode(decl.type, decl.structDef, key);
}

}  // namespace qorin
