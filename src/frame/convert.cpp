// Conversions between the kinds of the value model: whole numbers, reals, Currency, Date,
// Decimal, Boolean and String, with the platform's rounding (half to even) and its
// overflow (6) and type mismatch (13) failures. Exact kinds (Currency, Decimal) convert
// among themselves and to whole numbers without going through a Double.

#include "convert.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/date_format.hpp"
#include "platform/number_text.hpp"
#include "platform/time_parse.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr Wide kMax96 = (Wide{1} << 96) - 1;
constexpr int kMaxDecimalScale = 28;
constexpr std::int64_t kCurrencyUnit = 10000;

// Day counts of the day before 100-01-01 and the day after 9999-12-31; a Date lies strictly
// between (-657434.5 is noon of 100-01-01, since negative dates count their time forward).
constexpr double kDateBelowFirst = -657435.0;
constexpr double kDateAfterLast = 2958466.0;

// The smallest magnitude that a Single cannot hold: half an ulp above its largest value.
constexpr double kSingleOverflow = 0x1.ffffffp127;

// An object's default value may itself be an object; this many steps count as none.
constexpr int kMaxDefaultDepth = 16;

[[noreturn]] void Mismatch() { Fail(kTypeMismatch); }
[[noreturn]] void Overflow() { Fail(kOverflow); }

constexpr Wide Pow10(int n) {
  Wide result = 1;
  while (n-- > 0) result *= 10;
  return result;
}

// Writes the digits of n ending at `end`; returns where they start.
char* WriteDigits(Wide n, char* end) noexcept {
  do {
    *--end = static_cast<char>('0' + static_cast<int>(n % 10));
    n /= 10;
  } while (n != 0);
  return end;
}

std::string WideToString(Wide n) {
  char buffer[48];
  return std::string(WriteDigits(n, buffer + sizeof buffer), buffer + sizeof buffer);
}

// digits x 10^-scale as the nearest Double, without allocating.
double ScaledToDouble(Wide magnitude, int scale) noexcept {
  char buffer[64];
  char* const end = buffer + 48;
  char* const begin = WriteDigits(magnitude, end);
  char* p = end;
  *p++ = 'e';
  *p++ = '-';
  p = std::to_chars(p, buffer + sizeof buffer, scale).ptr;
  double value = 0;
  std::from_chars(begin, p, value);
  return value;
}

String Widen(const std::string& s) { return String(s.begin(), s.end()); }

// n / unit rounded half to even.
Wide DivideHalfEven(Wide n, Wide unit) {
  Wide quotient = n / unit;
  const Wide twice_remainder = (n % unit) * 2;
  if (twice_remainder > unit || (twice_remainder == unit && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

// A magnitude with a sign as a 64-bit signed value; overflow when it does not fit.
std::int64_t SignedOf(bool negative, Wide magnitude) {
  const Wide limit = Wide{static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())} +
                     (negative ? 1 : 0);
  if (magnitude > limit) Overflow();
  const auto bits = static_cast<std::uint64_t>(magnitude);
  return static_cast<std::int64_t>(negative ? 0 - bits : bits);
}

Wide MagnitudeOf(std::int64_t n) {
  const auto bits = static_cast<std::uint64_t>(n);
  return n < 0 ? Wide{0 - bits} : Wide{bits};
}

// The value digits x 10^-drop rounded half to even to a whole number, where `digits` has no
// leading or trailing zeros; `drop` may be negative (zeros are appended). Empty when the
// result would pass 38 digits, beyond anything a caller keeps.
std::optional<Wide> RoundedWhole(const std::string& digits, long long drop) {
  const auto size = static_cast<long long>(digits.size());
  const long long kept = size - drop;
  if (kept > 38) return std::nullopt;
  Wide whole = 0;
  for (long long i = 0; i < kept; ++i) whole = whole * 10 + (i < size ? digits[static_cast<std::size_t>(i)] - '0' : 0);
  if (kept < 0 || kept >= size) return whole;  // nothing dropped, or less than a tenth of a unit
  const char first = digits[static_cast<std::size_t>(kept)];
  const bool more = kept + 1 < size;  // a later digit, and so a non-zero one
  if (first > '5' || (first == '5' && (more || (whole & 1) != 0))) ++whole;
  return whole;
}

// ---- Decimal ----------------------------------------------------------------------------

Wide MagnitudeOf(const Decimal& d) { return (Wide{d.hi} << 64) | d.lo; }

// A Decimal from a magnitude of at most 96 bits, with the scale's trailing zeros dropped.
Decimal MakeDecimal(bool negative, Wide magnitude, int scale) {
  while (scale > 0 && magnitude % 10 == 0) {
    magnitude /= 10;
    --scale;
  }
  Decimal d;
  d.lo = static_cast<std::uint64_t>(magnitude);
  d.hi = static_cast<std::uint32_t>(magnitude >> 64);
  d.scale = static_cast<std::uint8_t>(scale);
  d.negative = negative && magnitude != 0;
  return d;
}

// digits x 10^exponent as a Decimal: the largest scale up to 28 whose magnitude fits 96
// bits, rounding half to even; overflow when not even the whole part fits.
Decimal DigitsToDecimal(bool negative, const std::string& digits, long long exponent) {
  for (long long scale = std::clamp(-exponent, 0LL, static_cast<long long>(kMaxDecimalScale));
       scale >= 0; --scale) {
    std::optional<Wide> magnitude = RoundedWhole(digits, -exponent - scale);
    if (magnitude && *magnitude <= kMax96) {
      return MakeDecimal(negative, *magnitude, static_cast<int>(scale));
    }
  }
  Overflow();
}

// A Decimal rounded half to even to a multiple of 10^-scale, as a signed 64-bit count.
std::int64_t DecimalScaled(const Decimal& d, int scale) {
  const int from = std::min<int>(d.scale, 38);
  const Wide magnitude = MagnitudeOf(d);
  const Wide scaled = from <= scale ? magnitude * Pow10(scale - from)
                                    : DivideHalfEven(magnitude, Pow10(from - scale));
  return SignedOf(d.negative, scaled);
}

// A real as a Decimal through its text of `precision` significant digits, as the
// platform does, so 0.1 becomes exactly 0.1.
Decimal RealToDecimal(double x, int precision) {
  if (!std::isfinite(x)) Overflow();
  if (x == 0) return Decimal{};
  int first = 0;
  const std::string digits = platform::SignificantDigits(x, precision, first);
  const long long exponent = first - static_cast<long long>(digits.size()) + 1;
  return DigitsToDecimal(x < 0, digits, exponent);
}

// ---- reals and whole numbers -------------------------------------------------------------

// Round half to even, by comparing the fraction itself so that the result does not
// depend on the floating-point rounding mode. x - floor(x) is exact for every double.
double RoundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::int64_t RoundIn(double x, std::int64_t lo, std::int64_t hi) {
  if (!std::isfinite(x)) Overflow();
  const double r = RoundHalfEven(x);
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) Overflow();
  return static_cast<std::int64_t>(r);
}

double DateInRange(double days) {
  if (!(days > kDateBelowFirst && days < kDateAfterLast)) Overflow();
  return days;
}

// A text's number as a Double: type mismatch when it is no number, overflow beyond the range.
double TextToDouble(const String& s) {
  std::optional<double> value = platform::ParseNumber(s);
  if (!value) Mismatch();
  if (std::isinf(*value)) Overflow();
  return *value;
}

// The value of a plain value as a Double; 13 for Null, Error and arrays.
double RealOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return *v.If<Boolean>() ? -1 : 0;
    case VarType::Byte: return *v.If<Byte>();
    case VarType::Integer: return *v.If<Integer>();
    case VarType::Long: return *v.If<Long>();
    case VarType::Currency: return CurrencyToDouble(*v.If<Currency>());
    case VarType::Single: return *v.If<Single>();
    case VarType::Double: return *v.If<Double>();
    case VarType::Date: return v.If<Date>()->value;
    case VarType::Decimal: return DecimalToDouble(*v.If<Decimal>());
    case VarType::String: return TextToDouble(*v.If<String>());
    case VarType::Object: return RealOf(ValueOf(v));
    default: Mismatch();
  }
}

// A value rounded half to even to a whole number in lo..hi; overflow outside.
std::int64_t WholeIn(const Variant& v, std::int64_t lo, std::int64_t hi) {
  std::int64_t n = 0;
  switch (v.Type()) {
    case VarType::Empty: break;
    case VarType::Boolean: n = *v.If<Boolean>() ? -1 : 0; break;
    case VarType::Byte: n = *v.If<Byte>(); break;
    case VarType::Integer: n = *v.If<Integer>(); break;
    case VarType::Long: n = *v.If<Long>(); break;
    case VarType::Currency: {
      const std::int64_t scaled = v.If<Currency>()->scaled;
      n = SignedOf(scaled < 0, DivideHalfEven(MagnitudeOf(scaled), kCurrencyUnit));
      break;
    }
    case VarType::Decimal: n = DecimalScaled(*v.If<Decimal>(), 0); break;
    case VarType::Object: return WholeIn(ValueOf(v), lo, hi);
    default: return RoundIn(RealOf(v), lo, hi);
  }
  if (n < lo || n > hi) Overflow();
  return n;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view word) {
  return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char16_t a, char16_t b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return lower(a) == lower(b);
  });
}

// A text's number as Currency, exactly from its digits rather than through a Double.
Currency TextToCurrency(const String& s) {
  std::optional<platform::ParsedNumber> number = platform::ReadNumber(s);
  if (!number) Mismatch();
  if (number->whole) {
    const std::int64_t whole = *number->whole;
    return Currency{number->negative ? -whole * kCurrencyUnit : whole * kCurrencyUnit};
  }
  std::optional<Wide> scaled = RoundedWhole(number->digits, -number->exponent - 4);
  if (!scaled) Overflow();
  return Currency{SignedOf(number->negative, *scaled)};
}

}  // namespace

// ---- rounding and narrowing ----------------------------------------------------------------

Integer RoundToInteger(double x) {
  return static_cast<Integer>(RoundIn(x, std::numeric_limits<Integer>::min(),
                                      std::numeric_limits<Integer>::max()));
}

Long RoundToLong(double x) {
  return static_cast<Long>(RoundIn(x, std::numeric_limits<Long>::min(),
                                   std::numeric_limits<Long>::max()));
}

Integer LongToInteger(Long x) {
  if (x < std::numeric_limits<Integer>::min() || x > std::numeric_limits<Integer>::max()) {
    Overflow();
  }
  return static_cast<Integer>(x);
}

Byte IntegerToByte(Long x) {
  if (x < 0 || x > 255) Overflow();
  return static_cast<Byte>(x);
}

// ---- conversions of a Variant ----------------------------------------------------------------

Variant ValueOf(const Variant& v) {
  Variant value = v;
  for (int depth = 0; value.IsObject(); ++depth) {
    const ObjectRef& object = *value.If<ObjectRef>();
    if (!object) Fail(kObjectNotSet);
    std::optional<Variant> inner = object->DefaultValue();
    if (!inner || depth == kMaxDefaultDepth) Fail(kNoSuchMember);
    value = std::move(*inner);
  }
  return value;
}

Integer ToInteger(const Variant& v) {
  return static_cast<Integer>(WholeIn(v, std::numeric_limits<Integer>::min(),
                                      std::numeric_limits<Integer>::max()));
}

Long ToLong(const Variant& v) {
  return static_cast<Long>(WholeIn(v, std::numeric_limits<Long>::min(),
                                   std::numeric_limits<Long>::max()));
}

Byte ToByte(const Variant& v) {
  // True becomes 255: the platform keeps the low byte of the Boolean's bits (-1).
  if (const Boolean* b = v.If<Boolean>()) return *b ? Byte{255} : Byte{0};
  if (v.IsObject()) return ToByte(ValueOf(v));
  return static_cast<Byte>(WholeIn(v, 0, 255));
}

Boolean ToBoolean(const Variant& v) {
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
      const String& s = *v.If<String>();
      if (EqualsIgnoringCase(s, u"True")) return true;
      if (EqualsIgnoringCase(s, u"False")) return false;
      std::optional<double> value = platform::ParseNumber(s);
      if (!value) Mismatch();
      return *value != 0;
    }
    case VarType::Object: return ToBoolean(ValueOf(v));
    default: Mismatch();
  }
}

Single ToSingle(const Variant& v) {
  if (const Single* s = v.If<Single>()) return *s;
  const double d = RealOf(v);
  if (std::isfinite(d) && std::fabs(d) >= kSingleOverflow) Overflow();
  return static_cast<Single>(d);
}

Double ToDouble(const Variant& v) { return RealOf(v); }

Currency ToCurrency(const Variant& v) {
  switch (v.Type()) {
    case VarType::Currency: return *v.If<Currency>();
    case VarType::Decimal: return Currency{DecimalScaled(*v.If<Decimal>(), 4)};
    case VarType::String: return TextToCurrency(*v.If<String>());
    case VarType::Single:
    case VarType::Double:
    case VarType::Date: return DoubleToCurrency(RealOf(v));
    case VarType::Object: return ToCurrency(ValueOf(v));
    default:  // Empty, Boolean and the whole numbers; 13 for the rest
      return Currency{WholeIn(v, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()) *
                      kCurrencyUnit};
  }
}

Date ToDate(const Variant& v) {
  if (const Date* d = v.If<Date>()) return *d;
  // A text is read as a date or time text, never as a day count ("45000" is no date).
  if (const String* s = v.If<String>()) {
    std::optional<Date> date = platform::ParseDateText(*s);
    if (!date) Mismatch();
    return *date;
  }
  if (v.IsObject()) return ToDate(ValueOf(v));
  return Date{DateInRange(RealOf(v))};
}

Decimal ToDecimal(const Variant& v) {
  switch (v.Type()) {
    case VarType::Decimal: return *v.If<Decimal>();
    case VarType::Currency: {
      const std::int64_t scaled = v.If<Currency>()->scaled;
      return MakeDecimal(scaled < 0, MagnitudeOf(scaled), 4);
    }
    case VarType::Single: return RealToDecimal(*v.If<Single>(), 7);
    case VarType::Double: return DoubleToDecimal(*v.If<Double>());
    case VarType::Date: return DoubleToDecimal(v.If<Date>()->value);
    case VarType::String: return TextToDecimal(*v.If<String>());
    case VarType::Object: return ToDecimal(ValueOf(v));
    default: {  // Empty, Boolean and the whole numbers; 13 for the rest
      const std::int64_t n =
          WholeIn(v, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max());
      return MakeDecimal(n < 0, MagnitudeOf(n), 0);
    }
  }
}

String ToString(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return String();
    case VarType::Boolean: return *v.If<Boolean>() ? u"True" : u"False";
    case VarType::Byte: return Widen(std::to_string(*v.If<Byte>()));
    case VarType::Integer: return Widen(std::to_string(*v.If<Integer>()));
    case VarType::Long: return Widen(std::to_string(*v.If<Long>()));
    case VarType::Currency: return CurrencyToText(*v.If<Currency>());
    case VarType::Single: return platform::SingleToText(*v.If<Single>());
    case VarType::Double: return platform::DoubleToText(*v.If<Double>());
    case VarType::Date: return platform::DateText(Date{DateInRange(v.If<Date>()->value)});
    case VarType::Decimal: return DecimalToText(*v.If<Decimal>());
    case VarType::String: return *v.If<String>();
    case VarType::Object: return ToString(ValueOf(v));
    default: Mismatch();
  }
}

Variant ChangeType(const Variant& v, VarType to) {
  switch (to) {
    case VarType::Variant: return v;
    case VarType::Empty:
      if (!v.IsEmpty()) Mismatch();
      return v;
    case VarType::Null:
      if (!v.IsNull()) Mismatch();
      return v;
    case VarType::Integer: return ToInteger(v);
    case VarType::Long: return ToLong(v);
    case VarType::Single: return ToSingle(v);
    case VarType::Double: return ToDouble(v);
    case VarType::Currency: return ToCurrency(v);
    case VarType::Date: return ToDate(v);
    case VarType::String: return ToString(v);
    case VarType::Boolean: return ToBoolean(v);
    case VarType::Decimal: return ToDecimal(v);
    case VarType::Byte: return ToByte(v);
    case VarType::Object:
    case VarType::Error:
    default:  // an object, an Error value or an array converts only to its own type
      if (v.Type() != to) Mismatch();
      return v;
  }
}

// ---- Decimal ---------------------------------------------------------------------------------

double DecimalToDouble(const Decimal& d) noexcept {
  const double value = ScaledToDouble(MagnitudeOf(d), d.scale);
  return d.negative ? -value : value;
}

Decimal DoubleToDecimal(double x) { return RealToDecimal(x, 15); }

String DecimalToText(const Decimal& d) {
  std::string digits = WideToString(MagnitudeOf(d));
  const std::size_t scale = d.scale;
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - scale);
  std::string fraction = digits.substr(digits.size() - scale);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = d.negative && (d.lo != 0 || d.hi != 0) ? "-" : "";
  text += whole;
  if (!fraction.empty()) text += '.' + fraction;
  return Widen(text);
}

// Reads the text by the rules of number text (blanks, sign, parentheses, separators, "$",
// exponent, &H/&O), which include plain decimal text, but exactly: digits beyond what fits
// round half to even.
Decimal TextToDecimal(std::u16string_view text) {
  std::optional<platform::ParsedNumber> number = platform::ReadNumber(text);
  if (!number) Mismatch();
  if (number->whole) {
    const std::int64_t whole = *number->whole;
    return MakeDecimal(number->negative != (whole < 0), MagnitudeOf(whole), 0);
  }
  return DigitsToDecimal(number->negative, number->digits, number->exponent);
}

// ---- Currency --------------------------------------------------------------------------------

double CurrencyToDouble(Currency c) noexcept {
  const double value = ScaledToDouble(MagnitudeOf(c.scaled), 4);
  return c.scaled < 0 ? -value : value;
}

// Works on the exact binary value, |x| = mantissa x 2^e, so a Double just below a halfway
// point at the fourth decimal (1.00005 is 1.0000499999...) rounds down.
Currency DoubleToCurrency(double x) {
  if (!std::isfinite(x)) Overflow();
  if (x == 0) return Currency{};
  int e = 0;
  const double fraction = std::frexp(std::fabs(x), &e);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  e -= 53;
  // From 2^53 up every value is far beyond the Currency range.
  if (e >= 0) Overflow();
  const Wide product = Wide{mantissa} * kCurrencyUnit;  // below 2^67
  const int shift = -e;
  if (shift > 68) return Currency{};  // less than a quarter of the last unit
  return Currency{SignedOf(x < 0, DivideHalfEven(product, Wide{1} << shift))};
}

String CurrencyToText(Currency c) {
  const Wide magnitude = MagnitudeOf(c.scaled);
  std::string text = c.scaled < 0 ? "-" : "";
  text += WideToString(magnitude / kCurrencyUnit);
  std::string fraction = WideToString(magnitude % kCurrencyUnit + kCurrencyUnit).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += '.' + fraction;
  return Widen(text);
}

}  // namespace ztl
