// The frame's value operations for the value vectors: Variant arithmetic and comparison,
// conversions by type name, and exact Decimal arithmetic on the stored form, where a Decimal
// is written with every digit its scale keeps ("3.0", "-0") since a Decimal value drops them.
#include <string>
#include <string_view>

#include "frame/decimal.hpp"
#include "frame/variant_ops.hpp"
#include "value_ops.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl::replay {
namespace {

using Args = std::vector<Variant>;
__extension__ typedef unsigned __int128 U128;

// An operation of `arity` arguments; another count fails as a wrong number of arguments.
template <class F>
ValueOp Fixed(std::size_t arity, F f) {
  return [arity, f](const Args& args) -> Outcome<Variant> {
    if (args.size() != arity) return Fail(kArgumentCount);
    return f(args);
  };
}

String Named(Ordering o) {
  switch (o) {
    case Ordering::Less: return u"Less";
    case Ordering::Equal: return u"Equal";
    case Ordering::Greater: return u"Greater";
    case Ordering::Unordered: break;
  }
  return u"Unordered";
}

// The type code a name stands for: a type's name ("Long", "Variant"), or an array's, its
// element type's name followed by "()" ("Long()", "Variant()").
Outcome<VarType> TypeNamed(const Variant& name) {
  const String* text = name.If<String>();
  if (text == nullptr) return Fail(kTypeMismatch);
  const bool array = text->ends_with(u"()");
  const std::u16string_view element = std::u16string_view(*text).substr(0, text->size() - (array ? 2 : 0));
  for (int code = 0; code <= 17; ++code) {
    const std::string_view written = VarTypeName(static_cast<VarType>(code));
    if (written != "Unknown" && std::u16string(written.begin(), written.end()) == element) {
      return array ? VarType::Array | static_cast<VarType>(code) : static_cast<VarType>(code);
    }
  }
  return Fail(kTypeMismatch);
}

// A Decimal from its stored form: an optional "-", digits and an optional point, the scale
// being the count of digits after the point.
Outcome<Decimal> Stored(const Variant& value) {
  const String* text = value.If<String>();
  if (text == nullptr || text->empty()) return Fail(kTypeMismatch);
  std::u16string_view rest = *text;
  const bool negative = rest.front() == u'-';
  if (negative) rest.remove_prefix(1);
  U128 magnitude = 0;
  int scale = -1;
  for (char16_t c : rest) {
    if (c == u'.' && scale < 0) {
      scale = 0;
    } else if (c >= u'0' && c <= u'9') {
      magnitude = magnitude * 10 + static_cast<unsigned>(c - u'0');
      scale += scale >= 0 ? 1 : 0;
    } else {
      return Fail(kTypeMismatch);
    }
  }
  return Decimal{static_cast<std::uint64_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 64),
                 static_cast<std::uint8_t>(scale < 0 ? 0 : scale), negative};
}

// The stored form of a Decimal: every digit the scale keeps, "-" whenever the sign is set.
Variant StoredText(const Decimal& d) {
  U128 magnitude = (U128{d.hi} << 64) | d.lo;
  String digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  if (digits.size() <= d.scale) digits.insert(0, d.scale + 1 - digits.size(), u'0');
  if (d.scale > 0) digits.insert(digits.size() - d.scale, u".");
  return (d.negative ? u"-" : u"") + digits;
}

template <class F>
ValueOp StoredBinary(F f) {
  return Fixed(2, [f](const Args& a) -> Outcome<Variant> {
    const Outcome<Decimal> x = Stored(a[0]), y = Stored(a[1]);
    if (!x || !y) return Fail(kTypeMismatch);
    return f(*x, *y);
  });
}

}  // namespace

void AddFrameOps(ValueOps& ops) {
  ops["Add"] = Fixed(2, [](const Args& a) { return Add(a[0], a[1]); });
  ops["Sub"] = Fixed(2, [](const Args& a) { return Subtract(a[0], a[1]); });
  ops["Div"] = Fixed(2, [](const Args& a) { return Divide(a[0], a[1]); });
  ops["Neg"] = Fixed(1, [](const Args& a) { return Negate(a[0]); });
  // Compare gives "Less", "Equal", "Greater" or "Unordered".
  ops["Compare"] = Fixed(2, [](const Args& a) -> Outcome<Variant> {
    return Compare(a[0], a[1]).transform([](Ordering o) { return Variant(Named(o)); });
  });
  ops["CompareVariants"] = Fixed(2, [](const Args& a) -> Outcome<Variant> {
    return Variant(CompareVariants(a[0], a[1]));
  });
  // ChangeType(value, "Long"): the target by its type name.
  ops["ChangeType"] = Fixed(2, [](const Args& a) -> Outcome<Variant> {
    const Outcome<VarType> to = TypeNamed(a[1]);
    if (!to) return Fail(to.error());
    return ChangeType(a[0], *to);
  });
  // Decimal arithmetic on stored forms: Strings in, a String (or a Long for the comparison) out.
  ops["DecimalAdd"] = StoredBinary([](const Decimal& x, const Decimal& y) -> Outcome<Variant> {
    return DecimalAdd(x, y).transform(StoredText);
  });
  ops["DecimalSub"] = StoredBinary([](const Decimal& x, const Decimal& y) -> Outcome<Variant> {
    return DecimalSubtract(x, y).transform(StoredText);
  });
  ops["DecimalDiv"] = StoredBinary([](const Decimal& x, const Decimal& y) -> Outcome<Variant> {
    return DecimalDivide(x, y).transform(StoredText);
  });
  ops["DecimalCompare"] = StoredBinary([](const Decimal& x, const Decimal& y) -> Outcome<Variant> {
    return Long{DecimalCompare(x, y)};
  });
  ops["DecimalNeg"] = Fixed(1, [](const Args& a) -> Outcome<Variant> {
    return Stored(a[0]).transform([](const Decimal& x) { return StoredText(DecimalNegate(x)); });
  });
}

}  // namespace ztl::replay
