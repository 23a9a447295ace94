// Number text: Double and Single to text with 15 or 7 significant digits, the strict
// whole-text reader behind CDbl and argument conversion, and Val's lenient reader.
// Everything here is locale-free: "." is the decimal point and "," the thousands separator.

#include "number_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ztl::platform {

namespace {

using Pos = const char16_t*;

// Far beyond any Double exponent, small enough that sums of exponents cannot overflow.
constexpr long long kExponentCap = 1'000'000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

int OctDigit(char16_t c) { return c >= u'0' && c <= u'7' ? c - u'0' : -1; }

// The blanks the strict reader allows around a number: space, no-break space, \t \n \v \f \r.
bool IsBlank(char16_t c) { return c == u' ' || c == 0x00A0 || (c >= 0x09 && c <= 0x0D); }

// The blanks Val skips anywhere: space, tab, line feed, carriage return, ideographic space.
bool IsValBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x3000;
}

String Widen(const std::string& s) { return String(s.begin(), s.end()); }

// A whole number of up to this many decimal digits is exact in a Double.
constexpr std::size_t kExactWholeDigits = 15;

// digits x 10^exponent as the nearest Double; an infinity beyond the range, 0 below it.
double DigitsToDouble(const std::string& digits, long long exponent) {
  if (digits.empty()) return 0;
  // The common short number ("12345", "2.5"): its digits make a whole number a Double holds
  // exactly and 10^exponent is exact too, so one multiplication or division rounds correctly.
  static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr long long kLargestExact = 22;
  if (digits.size() <= kExactWholeDigits && exponent >= -kLargestExact && exponent <= kLargestExact) {
    std::uint64_t whole = 0;
    for (char c : digits) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    const double value = static_cast<double>(whole);
    return exponent < 0 ? value / kExactPowers[-exponent] : value * kExactPowers[exponent];
  }
  std::string text = digits + 'e' + std::to_string(exponent);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    // The magnitude is about 10^(digits + exponent - 1).
    return static_cast<long long>(digits.size()) + exponent > 0
               ? std::numeric_limits<double>::infinity()
               : 0.0;
  }
  return value;
}

// Text of a Double or Single with `precision` significant digits, as C's "%.<precision>G"
// writes it (but rounding half away from zero), with one change: an exponential form with a
// negative exponent becomes a plain decimal when
// |exponent| + (digits after the mantissa's point, at least 1) - 1 < precision,
// so 5.6789E-11 is "0.000000000056789" while 1E-15 and 5.6789E-12 keep their exponent.
// Trailing zeros and a trailing point are dropped; the exponent has a sign and 2+ digits.
String RealText(double x, int precision) {
  if (std::isnan(x)) return u"NaN";
  if (std::isinf(x)) return x < 0 ? u"-Infinity" : u"Infinity";
  if (x == 0) return u"0";  // also negative zero

  int exponent = 0;
  const std::string digits = SignificantDigits(x, precision, exponent);
  const int fraction_digits = static_cast<int>(digits.size()) - 1;
  bool exponential = exponent < -4 || exponent >= precision;
  if (exponential && exponent < 0 && -exponent + std::max(fraction_digits, 1) - 1 < precision) {
    exponential = false;
  }

  std::string out = x < 0 ? "-" : "";
  if (exponential) {
    out += digits[0];
    if (fraction_digits > 0) out += '.' + digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) out += '0';
    out += std::to_string(magnitude);
  } else if (exponent >= 0) {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits + std::string(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole) + '.' + digits.substr(whole);
    }
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return Widen(out);
}

// Appends a decimal digit to a mantissa that skips leading zeros; `scale` counts the
// digits read after the point, leading zeros included.
void AddDigit(std::string& mantissa, long long& scale, bool after_point, char16_t c) {
  if (!(mantissa.empty() && c == u'0')) mantissa += static_cast<char>(c);
  if (after_point) ++scale;
}

// Drops the trailing zeros of a mantissa into its exponent.
void Normalize(std::string& digits, long long& exponent) {
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  if (digits.empty()) exponent = 0;
}

// "&H" / "&O" digits after the prefix: at most 8 significant hexadecimal digits (a Long),
// octal up to &O37777777777. One to four hex digits, or an octal value up to &HFFFF, make
// an Integer, so their top bit is the sign. Returns the position after the digits, or null.
Pos ReadRadix(Pos p, Pos end, bool hex, ParsedNumber& number) {
  bool any = false;
  int significant = 0;
  std::uint64_t bits = 0;
  for (; p != end; ++p) {
    const int digit = hex ? HexDigit(*p) : OctDigit(*p);
    if (digit < 0) break;
    any = true;
    if (significant == 0 && digit == 0) continue;
    if (++significant > (hex ? 8 : 11)) return nullptr;
    bits = (bits << (hex ? 4 : 3)) | static_cast<std::uint64_t>(digit);
  }
  if (!any || bits > 0xFFFFFFFFu) return nullptr;
  const bool integer = hex ? significant <= 4 : bits <= 0xFFFFu;
  number.whole = integer ? static_cast<Long>(static_cast<Integer>(static_cast<std::uint16_t>(bits)))
                         : static_cast<Long>(static_cast<std::uint32_t>(bits));
  return p;
}

// Digits with "," after the first digit and one ".", then an optional exponent
// "E", a sign and at least one digit. Returns the position after them, or null.
Pos ReadDecimal(Pos p, Pos end, ParsedNumber& number) {
  std::string mantissa;
  long long scale = 0;
  bool point = false;
  bool any = false;
  for (; p != end; ++p) {
    const char16_t c = *p;
    if (IsDigit(c)) {
      any = true;
      AddDigit(mantissa, scale, point, c);
    } else if (c == u',' && any) {
      // a thousands separator: anywhere after the first digit, repeated or trailing
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any) return nullptr;

  long long exponent = 0;
  if (p != end && (*p == u'e' || *p == u'E')) {
    ++p;
    bool negative = false;
    if (p != end && (*p == u'+' || *p == u'-')) negative = *p++ == u'-';
    if (p == end || !IsDigit(*p)) return nullptr;
    for (; p != end && IsDigit(*p); ++p) exponent = std::min(exponent * 10 + (*p - u'0'), kExponentCap);
    if (negative) exponent = -exponent;
  }
  number.digits = std::move(mantissa);
  number.exponent = exponent - scale;
  Normalize(number.digits, number.exponent);
  return p;
}

}  // namespace

std::string SignificantDigits(double x, int precision, int& exponent) {
  // Every finite Double has at most 767 significant digits, so this text is exact.
  constexpr int kExactDigits = 780;
  char buffer[kExactDigits + 16];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                              std::chars_format::scientific, kExactDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  exponent = 0;
  for (char c : text.substr(e + 2)) exponent = exponent * 10 + (c - '0');
  if (text[e + 1] == '-') exponent = -exponent;

  // "d.ddd..." without its point, cut to `precision` digits and rounded on the next one.
  std::string digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
  const bool up = digits[static_cast<std::size_t>(precision)] >= '5';
  digits.resize(static_cast<std::size_t>(precision));
  if (up) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    } else {
      ++digits[i - 1];
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits;
}

String DoubleToText(double x) { return RealText(x, 15); }

String SingleToText(float x) { return RealText(x, 7); }

std::optional<ParsedNumber> ReadNumber(std::u16string_view text) {
  Pos p = text.data();
  const Pos end = p + text.size();
  ParsedNumber number;
  bool sign = false;
  bool paren = false;
  bool currency = false;

  // Leading blanks and symbols, each symbol once, in any order, blanks between them too.
  while (p != end) {
    const char16_t c = *p;
    if (IsBlank(c)) {
      ++p;
      continue;
    }
    if ((c == u'+' || c == u'-') && !sign) {
      sign = true;
      number.negative = c == u'-';
    } else if (c == u'$' && !currency) {
      currency = true;
    } else if (c == u'(' && !paren) {
      paren = true;
    } else {
      break;
    }
    ++p;
  }

  // A currency sign goes with decimal numbers only, before or after them.
  const bool hex = end - p >= 2 && p[0] == u'&' && (p[1] == u'H' || p[1] == u'h');
  const bool octal = end - p >= 2 && p[0] == u'&' && (p[1] == u'O' || p[1] == u'o');
  if ((hex || octal) && currency) return std::nullopt;
  p = hex || octal ? ReadRadix(p + 2, end, hex, number) : ReadDecimal(p, end, number);
  if (p == nullptr) return std::nullopt;

  // Trailing blanks, the sign when there was none before, the closing parenthesis, "$".
  bool closed = false;
  for (; p != end; ++p) {
    const char16_t c = *p;
    if (IsBlank(c) || (c == u'$' && !number.whole)) continue;
    if ((c == u'+' || c == u'-') && !sign) {
      sign = true;
      number.negative = c == u'-';
    } else if (c == u')' && paren && !closed) {
      closed = true;
    } else {
      return std::nullopt;
    }
  }
  if (paren && !closed) return std::nullopt;
  if (paren) number.negative = true;
  return number;
}

std::optional<std::int64_t> ReadPlainWhole(std::u16string_view text) noexcept {
  std::size_t i = !text.empty() && (text[0] == u'-' || text[0] == u'+') ? 1 : 0;
  if (i == text.size() || text.size() - i > kExactWholeDigits) return std::nullopt;
  std::int64_t whole = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    whole = whole * 10 + (text[i] - u'0');
  }
  return text[0] == u'-' ? -whole : whole;
}

std::optional<double> ParseNumber(std::u16string_view text) {
  if (const std::optional<std::int64_t> whole = ReadPlainWhole(text)) {
    return *whole == 0 && text[0] == u'-' ? -0.0 : static_cast<double>(*whole);  // "-0" is negative zero
  }
  std::optional<ParsedNumber> number = ReadNumber(text);
  if (!number) return std::nullopt;
  const double value = number->whole ? static_cast<double>(*number->whole)
                                     : DigitsToDouble(number->digits, number->exponent);
  return number->negative ? -value : value;
}

namespace {

// Val's "&H" / "&O" number, the prefix letter at p. Blanks between digits are skipped and
// leading zeros do not count. Hexadecimal: up to 4 digits are an Integer's bit pattern,
// up to 8 a Long's, more a 64-bit one (digits after the 16th are not read). Octal by value:
// up to &HFFFF an Integer, up to &HFFFFFFFF a Long, beyond that 64 bits.
double ValRadix(Pos p, Pos end) {
  if (p == end) return 0;
  const bool hex = *p == u'H' || *p == u'h';
  if (!hex && *p != u'O' && *p != u'o') return 0;
  int significant = 0;
  std::uint64_t bits = 0;
  for (++p; p != end; ++p) {
    if (IsValBlank(*p)) continue;
    const int digit = hex ? HexDigit(*p) : OctDigit(*p);
    if (digit < 0) break;
    if (significant == 0 && digit == 0) continue;
    if (hex ? significant == 16 : (bits >> 61) != 0) break;
    bits = (bits << (hex ? 4 : 3)) | static_cast<std::uint64_t>(digit);
    ++significant;
  }
  const int width = hex ? (significant <= 4 ? 16 : significant <= 8 ? 32 : 64)
                        : (bits <= 0xFFFFu ? 16 : bits <= 0xFFFFFFFFu ? 32 : 64);
  if (width == 16) return static_cast<Integer>(static_cast<std::uint16_t>(bits));
  if (width == 32) return static_cast<Long>(static_cast<std::uint32_t>(bits));
  return static_cast<double>(static_cast<std::int64_t>(bits));
}

}  // namespace

std::optional<double> Val(std::u16string_view text) {
  Pos p = text.data();
  const Pos end = p + text.size();
  while (p != end && IsValBlank(*p)) ++p;
  if (p == end) return 0.0;
  if (*p == u'&') return ValRadix(p + 1, end);

  bool negative = false;
  if (*p == u'+' || *p == u'-') negative = *p++ == u'-';

  std::string mantissa;
  long long scale = 0;
  bool point = false;
  for (; p != end; ++p) {
    const char16_t c = *p;
    if (IsValBlank(c)) continue;
    if (IsDigit(c)) {
      AddDigit(mantissa, scale, point, c);
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      break;
    }
  }

  long long exponent = 0;
  if (p != end && (*p == u'e' || *p == u'E' || *p == u'd' || *p == u'D')) {
    ++p;
    while (p != end && IsValBlank(*p)) ++p;
    bool negative_exponent = false;
    if (p != end && (*p == u'+' || *p == u'-')) negative_exponent = *p++ == u'-';
    for (; p != end; ++p) {
      if (IsValBlank(*p)) continue;
      if (!IsDigit(*p)) break;
      exponent = std::min(exponent * 10 + (*p - u'0'), kExponentCap);
    }
    if (negative_exponent) exponent = -exponent;
  }

  // A whole-number type suffix after a number written with a point does not fit.
  if (point && p != end && (*p == u'%' || *p == u'&')) return std::nullopt;

  long long power = exponent - scale;
  Normalize(mantissa, power);
  const double value = DigitsToDouble(mantissa, power);
  return negative && value != 0 ? -value : value;
}

}  // namespace ztl::platform
