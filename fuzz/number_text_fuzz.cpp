// Number text readers: any text ends, with a value or the failure default, and what the
// library writes reads back.
// - ReadValue for each numeric kind: a value or type mismatch / overflow; the text of a value
//   reads back to the same value (to the same text for Single and Double).
// - Val: the text of its value reads back to the same text.
// - ToArabic agrees with a plain reading of the letters; ToArabic(ToRoman(n)) is n.
// - Base2Long agrees with a plain digit-by-digit reading; Base2Long(Long2Base(n)) is n.
// - DecompressNumber is finite; CompressNumber writes the digits of the rounded number, and
//   DecompressNumber reads them back.

#include <cmath>
#include <cstring>
#include <string>

#include "harness.hpp"
#include "platform/number_text.hpp"
#include "ztldata/ztldata.hpp"

namespace {

int RomanLetter(char16_t c) {
  switch (c) {
    case u'I': return 1;
    case u'V': return 5;
    case u'X': return 10;
    case u'L': return 50;
    case u'C': return 100;
    case u'D': return 500;
    case u'M': return 1000;
    case u'Q': return 5000;
    case u'H': return 10000;
    default: return 0;
  }
}

// Spaces around the numeral are dropped; a letter is subtracted when a larger one follows.
// Any other character, or a running total outside the Integer range, gives 0.
int RomanReference(const ztl::String& text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == ztl::String::npos) return 0;
  const ztl::String s = text.substr(first, text.find_last_not_of(u' ') - first + 1);
  int total = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int value = RomanLetter(s[i]);
    if (value == 0) return 0;
    total += i + 1 < s.size() && value < RomanLetter(s[i + 1]) ? -value : value;
    if (total < -32768 || total > 32767) return 0;
  }
  return total;
}

// Left to right, every character a digit (0-9, A-Z, a-z; anything else 0) whatever the base;
// 0 when the magnitude leaves the Long range.
ztl::Long BaseReference(const ztl::String& text, int base) {
  if (text.empty() || base < 2 || base > 36) return 0;
  const bool negative = text[0] == u'-';
  const long long limit = negative ? 2147483648LL : 2147483647LL;
  long long total = 0;
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const int digit = c >= u'0' && c <= u'9' ? c - u'0'
                      : c >= u'A' && c <= u'Z' ? c - u'A' + 10
                      : c >= u'a' && c <= u'z' ? c - u'a' + 10
                                               : 0;
    total = total * base + digit;
    if (total > limit) return 0;
  }
  return static_cast<ztl::Long>(negative ? -total : total);
}

// Every Double up to this one has a text (15 significant digits) that reads back.
constexpr double kLargestRereadDouble = 1.79769313486231E+308;

void CheckReadValue(const ztl::String& text, ztl::VarType kind) {
  const ztl::Outcome<ztl::Variant> read = ztl::ReadValue(text, kind);
  if (!read) {
    fuzz::Check(read.error() == ztl::kTypeMismatch || read.error() == ztl::kOverflow, "ReadValue failed otherwise");
    return;
  }
  fuzz::Check(read->Type() == kind, "ReadValue gave another kind");
  const ztl::Outcome<ztl::String> written = ztl::ToString(*read);
  fuzz::Check(bool(written), "no text for a value read");
  const ztl::Outcome<ztl::Variant> again = ztl::ReadValue(*written, kind);
  // Fifteen digits round the Doubles above 1.79769313486231E+308 up to "1.79769313486232E+308",
  // which lies beyond the largest Double and reads as an overflow, as on the platform.
  if (!again && again.error() == ztl::kOverflow && kind == ztl::VarType::Double &&
      std::fabs(*ztl::ToDouble(*read)) > kLargestRereadDouble) {
    return;
  }
  fuzz::Check(again && ztl::ToString(*again).value_or(u"?") == *written, "the text of a value reads as another text");
  const bool exact = kind == ztl::VarType::Integer || kind == ztl::VarType::Long || kind == ztl::VarType::Byte ||
                     kind == ztl::VarType::Currency || kind == ztl::VarType::Boolean;
  if (exact) fuzz::Check(ztl::ToDouble(*again).value_or(-1) == ztl::ToDouble(*read).value_or(-2), "read back another value");
}

void CheckPacking(ztl::ZtNumeric& numeric, double x, ztl::Integer size, ztl::Integer decimals) {
  const ztl::String packed = numeric.CompressNumber(x, size, decimals);
  if (packed.empty() || decimals < 0 || decimals > 22) return;
  // The digits, two per character, with the sign on the first.
  const std::string codes = ztl::StringToAnsiBytes(packed);
  const bool negative = static_cast<unsigned char>(codes[0]) >= 128;
  std::string digits;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const int code = static_cast<unsigned char>(codes[i]) - (i == 0 && negative ? 128 : 0);
    fuzz::Check(code >= 0 && code <= 99, "CompressNumber wrote a code outside 0..99");
    digits += static_cast<char>('0' + code / 10);
    digits += static_cast<char>('0' + code % 10);
  }
  fuzz::Check(digits.size() == static_cast<std::size_t>(size + 1 + (size + 1) % 2), "CompressNumber wrote another digit count");
  fuzz::Check(negative == (x * std::pow(10.0, decimals) < 0), "CompressNumber wrote another sign");
  // Beyond exact doubles the digits are not compared; more decimals than digits read as 0.
  if (digits.size() > 15 && digits.find_first_not_of('0') < digits.size() - 15) return;
  if (static_cast<std::size_t>(decimals) > digits.size()) return;
  const double whole = std::stod(digits);
  fuzz::Check(whole == std::round(std::fabs(x * std::pow(10.0, decimals))), "CompressNumber wrote other digits");
  const double expected = (negative ? -whole : whole) / std::pow(10.0, decimals);
  fuzz::Check(numeric.DecompressNumber(packed, size, decimals) == expected, "DecompressNumber(CompressNumber(x)) differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::ZtNumeric numeric;
  static ztl::ZtBases bases;
  const auto mode = fuzz::Take<std::uint8_t>(data, size);
  const auto base = static_cast<ztl::Integer>(fuzz::Take<std::int8_t>(data, size));
  const auto pack_size = static_cast<ztl::Integer>(fuzz::Take<std::int8_t>(data, size));
  const auto decimals = static_cast<ztl::Integer>(fuzz::Take<std::int8_t>(data, size));
  const auto number = fuzz::Take<ztl::Long>(data, size);
  const auto bits = fuzz::Take<std::uint64_t>(data, size);
  double x;
  std::memcpy(&x, &bits, sizeof x);
  // One character per byte reaches every text the readers know; two bytes per character
  // reach the rest of UTF-16.
  const ztl::String text = mode & 1 ? fuzz::Utf16(data, size)
                                    : ztl::AnsiBytesToString(std::string(reinterpret_cast<const char*>(data), size));

  for (const ztl::VarType kind : {ztl::VarType::Integer, ztl::VarType::Long, ztl::VarType::Byte, ztl::VarType::Single,
                                  ztl::VarType::Double, ztl::VarType::Currency, ztl::VarType::Decimal,
                                  ztl::VarType::Boolean}) {
    CheckReadValue(text, kind);
  }

  if (const std::optional<double> val = ztl::platform::Val(text); val && std::isfinite(*val)) {
    const ztl::String written = ztl::platform::DoubleToText(*val);
    const std::optional<double> again = ztl::platform::Val(written);
    const bool beyond_range = again && std::isinf(*again) && std::fabs(*val) > kLargestRereadDouble;
    fuzz::Check(beyond_range || (again && ztl::platform::DoubleToText(*again) == written),
                "Val of the text of a Val reads as another text");
  }

  fuzz::Check(numeric.ToArabic(text) == RomanReference(text), "ToArabic differs from the plain reading");
  const auto roman = static_cast<ztl::Integer>(number % 10000);
  const ztl::String numeral = numeric.ToRoman(roman);
  fuzz::Check(roman < 1 ? numeral.empty() : numeric.ToArabic(numeral) == roman, "ToArabic(ToRoman(n)) != n");

  fuzz::Check(bases.Base2Long(text, base) == BaseReference(text, base), "Base2Long differs from the plain reading");
  const ztl::String digits = bases.Long2Base(number, base);
  fuzz::Check(base < 2 || base > 36 ? digits.empty() : bases.Base2Long(digits, base) == number,
              "Base2Long(Long2Base(n)) != n");

  fuzz::Check(std::isfinite(numeric.DecompressNumber(text, pack_size, decimals)), "DecompressNumber not finite");
  CheckPacking(numeric, x, pack_size, decimals);
  return 0;
}
