// Conversions between the kinds of the value model: whole numbers, reals, Currency, Date,
// Decimal, Boolean and String, with the platform's rounding (half to even) and its
// overflow (6) and type mismatch (13) failures. Exact kinds (Currency, Decimal) convert
// among themselves and to whole numbers without going through a Double.

#include "ztldata/frame/convert.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "frame/decimal.hpp"
#include "frame/plain_value.hpp"
#include "frame/wide.hpp"
#include "platform/date_format.hpp"
#include "platform/number_text.hpp"
#include "platform/date_text_reader.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/names.hpp"

namespace ztl {

namespace {

using wide::Wide;

constexpr std::int64_t kCurrencyUnit = 10000;

// Day counts of the day before 100-01-01 and the day after 9999-12-31; a Date lies strictly
// between (-657434.5 is noon of 100-01-01, since negative dates count their time forward).
constexpr double kDateBelowFirst = -657435.0;
constexpr double kDateAfterLast = 2958466.0;

// The smallest magnitude that a Single cannot hold: half an ulp above its largest value.
constexpr double kSingleOverflow = 0x1.ffffffp127;

// An object's default value may itself be an object; this many steps count as none.
constexpr int kMaxDefaultDepth = 16;

constexpr Failure kMismatch = Fail(kTypeMismatch);
constexpr Failure kTooLarge = Fail(kOverflow);

String Widen(const std::string& s) { return String(s.begin(), s.end()); }

// ---- reals and whole numbers -------------------------------------------------------------

// Round half to even, by comparing the fraction itself so that the result does not
// depend on the floating-point rounding mode. x - floor(x) is exact for every double.
double RoundHalfEven(double x) noexcept {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

Outcome<std::int64_t> RoundIn(double x, std::int64_t lo, std::int64_t hi) noexcept {
  if (!std::isfinite(x)) return kTooLarge;
  const double r = RoundHalfEven(x);
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return kTooLarge;
  return static_cast<std::int64_t>(r);
}

Outcome<double> DateInRange(double days) noexcept {
  if (!(days > kDateBelowFirst && days < kDateAfterLast)) return kTooLarge;
  return days;
}

// A text's number as a Double: type mismatch when it is no number, overflow beyond the range.
Outcome<double> TextToDouble(const String& s) {
  std::optional<double> value = platform::ParseNumber(s);
  if (!value) return kMismatch;
  if (std::isinf(*value)) return kTooLarge;
  return *value;
}

// The value of a plain value as a Double; 13 for Null, Error and arrays.
Outcome<double> RealOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return 0.0;
    case VarType::Boolean: return *v.If<Boolean>() ? -1.0 : 0.0;
    case VarType::Byte: return static_cast<double>(*v.If<Byte>());
    case VarType::Integer: return static_cast<double>(*v.If<Integer>());
    case VarType::Long: return static_cast<double>(*v.If<Long>());
    case VarType::Currency: return CurrencyToDouble(*v.If<Currency>());
    case VarType::Single: return static_cast<double>(*v.If<Single>());
    case VarType::Double: return *v.If<Double>();
    case VarType::Date: return v.If<Date>()->value;
    case VarType::Decimal: return DecimalToDouble(*v.If<Decimal>());
    case VarType::String: return TextToDouble(*v.If<String>());
    case VarType::Object: return ValueOf(v).and_then(RealOf);
    default: return kMismatch;
  }
}

// A value rounded half to even to a whole number in lo..hi; overflow outside.
Outcome<std::int64_t> WholeIn(const Variant& v, std::int64_t lo, std::int64_t hi) {
  std::int64_t n = 0;
  switch (v.Type()) {
    case VarType::Empty: break;
    case VarType::Boolean: n = *v.If<Boolean>() ? -1 : 0; break;
    case VarType::Byte: n = *v.If<Byte>(); break;
    case VarType::Integer: n = *v.If<Integer>(); break;
    case VarType::Long: n = *v.If<Long>(); break;
    case VarType::Currency: {
      const std::int64_t scaled = v.If<Currency>()->scaled;
      ZTL_TRY(whole, wide::SignedOf(scaled < 0, wide::DivideHalfEven(wide::MagnitudeOf(scaled), kCurrencyUnit)));
      n = whole;
      break;
    }
    case VarType::Decimal: {
      ZTL_TRY(whole, DecimalScaled(*v.If<Decimal>(), 0));
      n = whole;
      break;
    }
    case VarType::String: {
      // A plain whole number needs no Double on the way ("12345" is 12345 either way).
      const std::optional<std::int64_t> whole = platform::ReadPlainWhole(*v.If<String>());
      if (!whole) return RealOf(v).and_then([&](double x) { return RoundIn(x, lo, hi); });
      n = *whole;
      break;
    }
    case VarType::Object: return ValueOf(v).and_then([&](const Variant& x) { return WholeIn(x, lo, hi); });
    default: return RealOf(v).and_then([&](double x) { return RoundIn(x, lo, hi); });
  }
  if (n < lo || n > hi) return kTooLarge;
  return n;
}

template <class T>
Outcome<std::int64_t> WholeOf(const Variant& v) {
  return WholeIn(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
}

template <class T>
Outcome<T> Narrowed(Outcome<std::int64_t> n) noexcept {
  return n.transform([](std::int64_t x) { return static_cast<T>(x); });
}


}  // namespace

// ---- rounding and narrowing ----------------------------------------------------------------

Outcome<Integer> RoundToInteger(double x) noexcept {
  return Narrowed<Integer>(RoundIn(x, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

Outcome<Long> RoundToLong(double x) noexcept {
  return Narrowed<Long>(RoundIn(x, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()));
}

Outcome<Integer> LongToInteger(Long x) noexcept {
  if (x < std::numeric_limits<Integer>::min() || x > std::numeric_limits<Integer>::max()) return kTooLarge;
  return static_cast<Integer>(x);
}

Outcome<Byte> IntegerToByte(Long x) noexcept {
  if (x < 0 || x > 255) return kTooLarge;
  return static_cast<Byte>(x);
}

// ---- conversions of a Variant ----------------------------------------------------------------

Outcome<const Variant*> PlainValue(const Variant& v, std::optional<Variant>& held) {
  const Variant* current = &v;
  for (int depth = 0; current->IsObject(); ++depth) {
    const ObjectRef& object = *current->If<ObjectRef>();
    if (!object) return Fail(kObjectNotSet);
    std::optional<Variant> inner = object->DefaultValue();
    if (!inner || depth == kMaxDefaultDepth) return Fail(kNoSuchMember);
    held = std::move(inner);
    current = &*held;
  }
  return current;
}

Outcome<Variant> ValueOf(const Variant& v) {
  std::optional<Variant> held;
  ZTL_TRY(plain, PlainValue(v, held));
  return held ? *std::move(held) : *plain;
}

Outcome<Integer> ToInteger(const Variant& v) { return Narrowed<Integer>(WholeOf<Integer>(v)); }

Outcome<Long> ToLong(const Variant& v) { return Narrowed<Long>(WholeOf<Long>(v)); }

Outcome<Byte> ToByte(const Variant& v) {
  // True becomes 255: the platform keeps the low byte of the Boolean's bits (-1).
  if (const Boolean* b = v.If<Boolean>()) return *b ? Byte{255} : Byte{0};
  if (v.IsObject()) return ValueOf(v).and_then(ToByte);
  return Narrowed<Byte>(WholeIn(v, 0, 255));
}

Outcome<Boolean> ToBoolean(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return false;
    case VarType::Boolean: return *v.If<Boolean>();
    case VarType::Byte: return *v.If<Byte>() != 0;
    case VarType::Integer: return *v.If<Integer>() != 0;
    case VarType::Long: return *v.If<Long>() != 0;
    case VarType::Currency: return v.If<Currency>()->scaled != 0;
    case VarType::Single: return *v.If<Single>() != 0;
    case VarType::Double: return *v.If<Double>() != 0;
    case VarType::Date: return v.If<Date>()->value != 0;
    case VarType::Decimal: return MagnitudeOf(*v.If<Decimal>()) != 0;
    case VarType::String: {
      // The words in any case; the literals "#TRUE#" and "#FALSE#" in upper case only.
      const String& s = *v.If<String>();
      if (EqualsIgnoringAsciiCase(s, u"True") || s == u"#TRUE#") return true;
      if (EqualsIgnoringAsciiCase(s, u"False") || s == u"#FALSE#") return false;
      std::optional<double> value = platform::ParseNumber(s);
      if (!value) return kMismatch;
      return *value != 0;
    }
    case VarType::Object: return ValueOf(v).and_then(ToBoolean);
    default: return kMismatch;
  }
}

Outcome<Single> ToSingle(const Variant& v) {
  if (const Single* s = v.If<Single>()) return *s;
  ZTL_TRY(d, RealOf(v));
  if (std::isfinite(d) && std::fabs(d) >= kSingleOverflow) return kTooLarge;
  return static_cast<Single>(d);
}

Outcome<Double> ToDouble(const Variant& v) { return RealOf(v); }

Outcome<Currency> ToCurrency(const Variant& v) {
  auto currency = [](std::int64_t scaled) { return Currency{scaled}; };
  switch (v.Type()) {
    case VarType::Currency: return *v.If<Currency>();
    case VarType::Decimal: return DecimalScaled(*v.If<Decimal>(), 4).transform(currency);
    case VarType::String: return TextToCurrency(*v.If<String>());
    case VarType::Single:
    case VarType::Double:
    case VarType::Date: return RealOf(v).and_then(DoubleToCurrency);
    case VarType::Object: return ValueOf(v).and_then(ToCurrency);
    default:  // Empty, Boolean and the whole numbers; 13 for the rest
      return WholeOf<Long>(v).transform([](std::int64_t n) { return Currency{n * kCurrencyUnit}; });
  }
}

Outcome<Date> ToDate(const Variant& v) {
  if (const Date* d = v.If<Date>()) return *d;
  // A text is read as a date or time text, never as a day count ("45000" is no date).
  if (const String* s = v.If<String>()) {
    std::optional<Date> date = platform::ParseDateText(*s);
    if (!date) return kMismatch;
    return *date;
  }
  if (v.IsObject()) return ValueOf(v).and_then(ToDate);
  return RealOf(v).and_then(DateInRange).transform([](double days) { return Date{days}; });
}

Outcome<Decimal> ToDecimal(const Variant& v) {
  switch (v.Type()) {
    case VarType::Decimal: return *v.If<Decimal>();
    case VarType::Currency: {  // every Currency has scale 4: 1 becomes 1.0000
      const std::int64_t scaled = v.If<Currency>()->scaled;
      return MakeDecimal(scaled < 0, wide::MagnitudeOf(scaled), 4);
    }
    case VarType::Single: return RealToDecimal(*v.If<Single>(), 7);
    case VarType::Double: return DoubleToDecimal(*v.If<Double>());
    case VarType::Date: return DoubleToDecimal(v.If<Date>()->value);
    case VarType::String: return TextToDecimal(*v.If<String>());
    case VarType::Object: return ValueOf(v).and_then(ToDecimal);
    default:  // Empty, Boolean and the whole numbers; 13 for the rest
      return WholeOf<Long>(v).transform(
          [](std::int64_t n) { return MakeDecimal(n < 0, wide::MagnitudeOf(n), 0); });
  }
}

Outcome<String> ToString(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return String();
    case VarType::Boolean: return String(*v.If<Boolean>() ? u"True" : u"False");
    case VarType::Byte: return Widen(std::to_string(*v.If<Byte>()));
    case VarType::Integer: return Widen(std::to_string(*v.If<Integer>()));
    case VarType::Long: return Widen(std::to_string(*v.If<Long>()));
    case VarType::Currency: return CurrencyToText(*v.If<Currency>());
    case VarType::Single: return platform::SingleToText(*v.If<Single>());
    case VarType::Double: return platform::DoubleToText(*v.If<Double>());
    case VarType::Date:
      return DateInRange(v.If<Date>()->value).and_then([](double days) { return platform::DateText(Date{days}); });
    case VarType::Decimal: return DecimalToText(*v.If<Decimal>());
    case VarType::String: return *v.If<String>();
    case VarType::Object: return ValueOf(v).and_then(ToString);
    default: return kMismatch;
  }
}

namespace {
template <class T>
Outcome<Variant> AsVariant(Outcome<T> x) {
  return std::move(x).and_then([](T&& value) -> Outcome<Variant> { return Variant(std::move(value)); });
}
}  // namespace

Outcome<Variant> ChangeType(const Variant& v, VarType to) {
  switch (to) {
    case VarType::Variant: return v;
    case VarType::Empty:
    case VarType::Null:
      if (v.Type() != to) return kMismatch;
      return v;
    case VarType::Integer: return AsVariant(ToInteger(v));
    case VarType::Long: return AsVariant(ToLong(v));
    case VarType::Single: return AsVariant(ToSingle(v));
    case VarType::Double: return AsVariant(ToDouble(v));
    case VarType::Currency: return AsVariant(ToCurrency(v));
    case VarType::Date: return AsVariant(ToDate(v));
    case VarType::String: return AsVariant(ToString(v));
    case VarType::Boolean: return AsVariant(ToBoolean(v));
    case VarType::Decimal: return AsVariant(ToDecimal(v));
    case VarType::Byte: return AsVariant(ToByte(v));
    default:  // an object, an Error value or an array converts only to its own type
      if (v.Type() != to) return kMismatch;
      return v;
  }
}

Outcome<Variant> ReadValue(std::u16string_view text, VarType to) { return ChangeType(Variant(text), to); }

// ---- Currency --------------------------------------------------------------------------------

double CurrencyToDouble(Currency c) noexcept {
  const double value = wide::ScaledToDouble(wide::MagnitudeOf(c.scaled), 4);
  return c.scaled < 0 ? -value : value;
}

// Works on the exact binary value, |x| = mantissa x 2^e, so a Double just below a halfway
// point at the fourth decimal (1.00005 is 1.0000499999...) rounds down.
Outcome<Currency> DoubleToCurrency(double x) noexcept {
  if (!std::isfinite(x)) return kTooLarge;
  if (x == 0) return Currency{};
  int e = 0;
  const double fraction = std::frexp(std::fabs(x), &e);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  e -= 53;
  // From 2^53 up every value is far beyond the Currency range.
  if (e >= 0) return kTooLarge;
  const Wide product = Wide{mantissa} * kCurrencyUnit;  // below 2^67
  const int shift = -e;
  if (shift > 68) return Currency{};  // less than a quarter of the last unit
  return wide::SignedOf(x < 0, wide::DivideHalfEven(product, Wide{1} << shift)).transform([](std::int64_t n) {
    return Currency{n};
  });
}

String CurrencyToText(Currency c) {
  const Wide magnitude = wide::MagnitudeOf(c.scaled);
  std::string text = c.scaled < 0 ? "-" : "";
  text += wide::ToText(magnitude / kCurrencyUnit);
  std::string fraction = wide::ToText(magnitude % kCurrencyUnit + kCurrencyUnit).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += '.' + fraction;
  return Widen(text);
}

// A text's number as Currency, exactly from its digits rather than through a Double.
Outcome<Currency> TextToCurrency(std::u16string_view text) {
  std::optional<platform::ParsedNumber> number = platform::ReadNumber(text);
  if (!number) return kMismatch;
  if (number->whole) {
    const std::int64_t whole = *number->whole;
    return Currency{number->negative ? -whole * kCurrencyUnit : whole * kCurrencyUnit};
  }
  std::optional<Wide> scaled = wide::RoundedWhole(number->digits, -number->exponent - 4);
  if (!scaled) return kTooLarge;
  return wide::SignedOf(number->negative, *scaled).transform([](std::int64_t n) { return Currency{n}; });
}

}  // namespace ztl
