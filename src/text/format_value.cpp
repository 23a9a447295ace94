// FormatValue: the value's kind picks how its digits reach the number pattern; the pattern
// is platform::FormatDigits.

#include "format_value.hpp"

#include <cmath>
#include <string>
#include <type_traits>

#include "platform/number_format.hpp"
#include "platform/number_text.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl::text {

namespace {

template <class T, class... Kinds>
constexpr bool kIsOneOf = (std::is_same_v<T, Kinds> || ...);

// A Single from its 7 significant digits, so 0.1f shows no binary tail.
String FormatSingle(Single value, std::u16string_view pattern) {
  const double x = value;
  if (!std::isfinite(x) || x == 0) return platform::FormatNumber(x, pattern);
  int exponent = 0;
  const std::string digits = platform::SignificantDigits(x, 7, exponent);
  return platform::FormatDigits(x < 0, digits, exponent, pattern);
}

// A number from the digits, sign and exponent of its text, as CurrencyToText and
// DecimalToText write it.
Outcome<String> FormatNumberText(const String& text, std::u16string_view pattern) {
  const auto number = platform::ReadNumber(text);
  if (!number || number->whole) return Fail(kTypeMismatch);  // cannot happen for those texts
  const long long first = number->exponent + static_cast<long long>(number->digits.size()) - 1;
  return platform::FormatDigits(number->negative, number->digits, first, pattern);
}

// A plain value (no object, no String) written with a non-empty pattern; type mismatch (13)
// for the kinds that hold no number.
Outcome<String> FormatPlainNumber(const Variant& v, std::u16string_view pattern) {
  return v.Visit([&](const auto& x) -> Outcome<String> {
    using T = std::decay_t<decltype(x)>;
    if constexpr (std::is_same_v<T, EmptyValue>) {
      return platform::FormatNumber(0, pattern);
    } else if constexpr (std::is_same_v<T, Boolean>) {
      return platform::FormatNumber(x ? -1 : 0, pattern);
    } else if constexpr (kIsOneOf<T, Byte, Integer, Long, Double, Date>) {
      return ToDouble(v).transform([&](double d) { return platform::FormatNumber(d, pattern); });
    } else if constexpr (std::is_same_v<T, Single>) {
      return FormatSingle(x, pattern);
    } else if constexpr (std::is_same_v<T, Currency>) {
      return FormatNumberText(CurrencyToText(x), pattern);
    } else if constexpr (std::is_same_v<T, Decimal>) {
      return FormatNumberText(DecimalToText(x), pattern);
    } else {
      return Fail(kTypeMismatch);  // Null, Error values and arrays have no number
    }
  });
}

}  // namespace

Outcome<String> FormatValue(const Variant& value, std::u16string_view pattern, bool* numeric) {
  if (numeric) *numeric = false;
  ZTL_TRY(v, ValueOf(value));
  if (pattern.empty()) return ToString(v);
  Outcome<String> text = Fail(kTypeMismatch);
  if (const String* s = v.If<String>()) {
    const auto number = platform::ParseNumber(*s);
    if (!number || !std::isfinite(*number)) return *s;  // not a number: the text itself
    text = platform::FormatNumber(*number, pattern);
  } else {
    text = FormatPlainNumber(v, pattern);
  }
  if (numeric && text) *numeric = true;
  return text;
}

}  // namespace ztl::text
