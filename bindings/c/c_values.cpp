// Values across the C interface: ztl_variant <-> Variant (strings copied, objects and arrays
// as handles), and the ztl_variant_* functions of ztldata.h.

#include <cstdlib>
#include <cstring>
#include <limits>

#include "c_handles.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::c_api {

namespace {

// Copies a String into the variant as memory the caller frees.
Status SetString(ztl_variant& v, std::u16string_view text) {
  auto* copy = static_cast<ztl_char16*>(std::malloc((text.size() + 1) * sizeof(ztl_char16)));
  if (copy == nullptr) return RefuseError(kOutOfMemory);
  if (!text.empty()) std::memcpy(copy, text.data(), text.size() * sizeof(ztl_char16));
  copy[text.size()] = 0;
  v.value.string.data = copy;
  v.value.string.length = text.size();
  v.owned = 1;
  return Done();
}

Outcome<Variant> StringFromC(const ztl_string& s) {
  if (s.data == nullptr && s.length != 0) return Refuse(ZTL_E_INVALID_ARG, "a String with a length has no data");
  if (s.length > std::numeric_limits<std::int32_t>::max()) return Refuse(ZTL_E_INVALID_ARG, "a String is too long");
  String text(s.length, u'\0');
  if (s.length != 0) std::memcpy(text.data(), s.data, s.length * sizeof(ztl_char16));
  return Variant(std::move(text));
}

Outcome<Variant> DecimalFromC(const ztl_decimal& d) {
  if (d.scale > 28) {
    return Refuse(ZTL_E_INVALID_ARG, "a Decimal's scale must be 0..28, not " + std::to_string(d.scale));
  }
  return Variant(Decimal{d.lo, d.hi, d.scale, d.negative != 0});
}

}  // namespace

Outcome<ztl_variant> ToC(const Variant& value) {
  ztl_variant v{};
  v.type = static_cast<std::uint16_t>(value.Type());
  Status copied;
  value.Visit(Overloaded{
      [](EmptyValue) {},
      [](NullValue) {},
      [&](Boolean x) { v.value.boolean = static_cast<std::int16_t>(x ? -1 : 0); },
      [&](Byte x) { v.value.byte = x; },
      [&](Integer x) { v.value.integer = x; },
      [&](Long x) { v.value.lng = x; },
      [&](Currency x) { v.value.currency = x.scaled; },
      [&](Single x) { v.value.single = x; },
      [&](Double x) { v.value.dbl = x; },
      [&](Date x) { v.value.date = x.value; },
      [&](const Decimal& x) {
        v.value.decimal = ztl_decimal{x.lo, x.hi, x.scale, static_cast<std::uint8_t>(x.negative ? 1 : 0)};
      },
      [&](const String& x) { copied = SetString(v, x); },
      [&](const ObjectRef& x) {
        v.value.object = x ? NewObject(x) : nullptr;
        v.owned = 1;
      },
      [&](ErrorValue x) { v.value.error = x.code; },
      [&](const SafeArray& x) {
        v.value.array = NewHandle<ztl_array>(x);
        v.owned = 1;
      },
  });
  ZTL_CHECK(copied);
  return v;
}

Outcome<Variant> FromC(const ztl_variant& v) {
  switch (v.type) {
    case ZTL_VT_EMPTY: return Variant();
    case ZTL_VT_NULL: return Variant(Null);
    case ZTL_VT_INTEGER: return Variant(Integer{v.value.integer});
    case ZTL_VT_LONG: return Variant(Long{v.value.lng});
    case ZTL_VT_SINGLE: return Variant(Single{v.value.single});
    case ZTL_VT_DOUBLE: return Variant(Double{v.value.dbl});
    case ZTL_VT_CURRENCY: return Variant(Currency{v.value.currency});
    case ZTL_VT_DATE: return Variant(Date{v.value.date});
    case ZTL_VT_BOOLEAN: return Variant(Boolean{v.value.boolean != 0});
    case ZTL_VT_BYTE: return Variant(Byte{v.value.byte});
    case ZTL_VT_ERROR: return Variant(ErrorValue{v.value.error});
    case ZTL_VT_DECIMAL: return DecimalFromC(v.value.decimal);
    case ZTL_VT_STRING: return StringFromC(v.value.string);
    case ZTL_VT_OBJECT:
      if (v.value.object == nullptr) return Variant(nullptr);
      return Checked(v.value.object).transform([](const ztl_object* o) { return Variant(o->ref); });
    default:
      break;
  }
  if ((v.type & ZTL_VT_ARRAY) != 0) {
    return Checked(v.value.array).transform([](const ztl_array* a) { return Variant(a->array); });
  }
  return Refuse(ZTL_E_INVALID_ARG, "unknown type code " + std::to_string(v.type));
}

Outcome<Variant> FromC(const ztl_variant* value, const char* name) {
  ZTL_CHECK(Required(value, name));
  return FromC(*value);
}

// Puts a value into the caller's variant, clearing what it held once the new value stands.
Status Replace(ztl_variant& target, const Variant& value) {
  ZTL_TRY(fresh, ToC(value));
  ztl_variant_clear(&target);
  target = fresh;
  return Done();
}

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

// Leaves the thread's last error alone: clearing a result must not hide why a call failed.
void ztl_variant_clear(ztl_variant* v) {
  if (v == nullptr) return;
  if (v->owned != 0) {
    if (v->type == ZTL_VT_STRING) {
      std::free(const_cast<ztl_char16*>(v->value.string.data));
    } else if (v->type == ZTL_VT_OBJECT) {
      if (RemoveHandle(v->value.object, HandleKind::Object)) delete v->value.object;
    } else if ((v->type & ZTL_VT_ARRAY) != 0) {
      if (RemoveHandle(v->value.array, HandleKind::Array)) delete v->value.array;
    }
  }
  *v = ztl_variant{};
}

int ztl_variant_set_utf8(ztl_variant* v, const char* text, size_t length) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(v, "v"));
    ZTL_TRY(utf8, TextArgument(text, length));
    return Replace(*v, Variant(Utf8ToUtf16(utf8)));
  });
}

int ztl_variant_set_utf16(ztl_variant* v, const ztl_char16* text, size_t length) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(v, "v"));
    ZTL_TRY(value, FromC(ztl_variant_string(text, length)));
    return Replace(*v, value);
  });
}

int ztl_variant_to_utf8(const ztl_variant* v, char** text, size_t* length) {
  return Guard([&]() -> Status {
    ZTL_TRY(value, FromC(v, "v"));
    ZTL_CHECK(Required(text, "text"));
    const Outcome<String> converted = ToString(value);
    if (!converted) {
      return RefuseError(converted.error(), TypeWithArticle(value.Type()) + " has no text");
    }
    return SetOutputText(text, length, Utf16ToUtf8(*converted));
  });
}

int ztl_variant_copy(ztl_variant* copy, const ztl_variant* v) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(copy, "copy"));
    ZTL_TRY(value, FromC(v, "v"));
    ZTL_TRY(fresh, ToC(value));
    *copy = fresh;
    return Done();
  });
}

}  // extern "C"
