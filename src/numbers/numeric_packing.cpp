// ZtNumeric: number packing (CompressNumber, DecompressNumber). A number is scaled to a whole
// number, written as an even count of decimal digits, and every two digits become one
// character whose Windows-1252 code is their value; the sign adds 128 to the first code.

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "frame/boundary.hpp"
#include "ztldata/base/outcome.hpp"
#include "ztldata/numbers/numeric.hpp"
#include "ztldata/platform/code_page.hpp"

namespace ztl {

namespace {

// The digit count of a packed number: intSize + 1, raised by one when that is odd.
// Not positive for a negative intSize, which is outside the format.
int DigitCount(Integer intSize) {
  int n = intSize + 1;
  if (n % 2 != 0) ++n;
  return n;
}

// The decimal digits of the whole number nearest to |v|, halves away from zero. The rounding
// is that of the Double itself (100.49999999999999 gives 100), and a number beyond 2^53 is
// written as the exact value of that Double. Fails with overflow (6) for an infinity or NaN.
Outcome<std::string> WholeDigits(double v) {
  if (!std::isfinite(v)) return Fail(kOverflow);
  char buffer[400];  // the largest Double has 309 digits
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, std::round(std::fabs(v)), std::chars_format::fixed, 0);
  if (ec != std::errc()) return Fail(kOverflow);
  return std::string(buffer, end);
}

// A code written with the pattern "00": at least two digits.
void AppendCode(std::string& digits, int code) {
  if (code < 10) digits += '0';
  digits += std::to_string(code);
}

// The number written in decimal digits, with a point where it has a fraction. Fails with
// overflow (6) for digits beyond the Double range.
Outcome<double> ReadDigits(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return Fail(kOverflow);
  return value;
}

}  // namespace

String ZtNumeric::CompressNumber(Double dblNumber, Integer intSize, Integer intDecimals) noexcept {
  const int n = DigitCount(intSize);
  if (n <= 0) return String();
  const double v = dblNumber * std::pow(10.0, intDecimals);
  return Guarded(String(), [&] {
    String packed;
    Outcome<std::string> digits = WholeDigits(v);
    // A scaled value beyond the Double range has no digits, and more digits than n would
    // read back as another number: both give "".
    if (!digits || digits->size() > static_cast<std::size_t>(n)) return packed;
    digits->insert(0, n - digits->size(), '0');
    const int sign = v < 0 ? 128 : 0;
    for (std::size_t i = 0; i < digits->size(); i += 2) {
      int code = ((*digits)[i] - '0') * 10 + ((*digits)[i + 1] - '0');
      if (i == 0) code += sign;
      packed += AnsiChar(static_cast<Byte>(code));
    }
    return packed;
  });
}

Double ZtNumeric::DecompressNumber(const String& strNumber, Integer intSize, Integer intDecimals) noexcept {
  // An empty text has no digits; it reads as 0, never as negative zero.
  if (strNumber.empty()) return 0;
  const int n = DigitCount(intSize);
  if (n <= 0) return 0;
  // The first k digits are the whole part; more decimals than digits select nothing.
  const long k = static_cast<long>(n) - intDecimals;
  if (k < 0) return 0;
  return Guarded(Double{0}, [&]() -> Double {
    double sign = 1;
    int first = AnsiCode(strNumber[0]);
    if (first > 127) {
      first -= 128;
      sign = -1;
    }
    std::string digits;
    AppendCode(digits, first);
    for (std::size_t i = 1; i < strNumber.size(); ++i) AppendCode(digits, AnsiCode(strNumber[i]));
    const std::size_t whole = static_cast<std::size_t>(k);
    std::string text = "0";  // a whole part even when k is 0
    text.append(digits, 0, whole);
    if (digits.size() > whole) {
      text += '.';
      text.append(digits, whole);
    }
    // Digits beyond the Double range give 0, without the sign.
    const Outcome<double> value = ReadDigits(text);
    return value ? sign * *value : 0;
  });
}

}  // namespace ztl
