// Number patterns: the pattern is read into three counts (integer digits always shown,
// digit positions after the point, and how many of those are always shown), the number is
// rounded on its decimal digits, and the text is put together from the counts.

#include "number_format.hpp"

#include <cmath>
#include <string>

#include "number_text.hpp"

namespace ztl::platform {

namespace {

// What a pattern of "0", "#" and "." asks for.
struct Pattern {
  bool point = false;             // the pattern has a "."
  std::size_t whole_shown = 0;    // integer digits always shown (positions from the first "0")
  std::size_t decimals = 0;       // digit positions after the point
  std::size_t decimals_shown = 0; // decimals always shown (positions up to the last "0")
};

Pattern ReadPattern(std::u16string_view pattern) {
  Pattern p;
  bool zero_seen = false;
  for (char16_t c : pattern) {
    if (c == u'.' && !p.point) {
      p.point = true;
    } else if (c == u'0' || c == u'#') {
      if (!p.point) {
        zero_seen = zero_seen || c == u'0';
        if (zero_seen) ++p.whole_shown;
      } else {
        ++p.decimals;
        if (c == u'0') p.decimals_shown = p.decimals;
      }
    }
  }
  return p;
}

// Adds one to a string of decimal digits ("199" gives "200", "99" gives "100").
void Increment(std::string& digits) {
  for (auto i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

String Widen(std::string_view s) { return String(s.begin(), s.end()); }

}  // namespace

String FormatDigits(bool negative, std::string_view digits, long long exponent, std::u16string_view pattern) {
  const Pattern p = ReadPattern(pattern);

  // The number times 10^decimals, rounded half away from zero to a whole number: the digits
  // down to the last position shown, plus one when the first digit dropped is 5 or more.
  std::string scaled;
  if (!digits.empty()) {
    const long long keep = exponent + 1 + static_cast<long long>(p.decimals);
    if (keep >= static_cast<long long>(digits.size())) {
      scaled = std::string(digits) + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
    } else if (keep >= 0) {
      scaled = std::string(digits.substr(0, static_cast<std::size_t>(keep)));
      if (digits[static_cast<std::size_t>(keep)] >= '5') Increment(scaled);
    }
  }
  const std::size_t leading = scaled.find_first_not_of('0');
  scaled.erase(0, leading == std::string::npos ? scaled.size() : leading);

  std::string whole, fraction;
  if (scaled.size() > p.decimals) {
    whole = scaled.substr(0, scaled.size() - p.decimals);
    fraction = scaled.substr(scaled.size() - p.decimals);
  } else {
    fraction = std::string(p.decimals - scaled.size(), '0') + scaled;
  }
  if (whole.size() < p.whole_shown) whole.insert(0, p.whole_shown - whole.size(), '0');
  while (fraction.size() > p.decimals_shown && fraction.back() == '0') fraction.pop_back();

  std::string text = negative && !scaled.empty() ? "-" : "";
  text += whole;
  if (p.point) text += '.';
  text += fraction;
  return Widen(text);
}

String FormatNumber(double x, std::u16string_view pattern) {
  if (!std::isfinite(x)) return DoubleToText(x);
  if (x == 0) return FormatDigits(false, {}, 0, pattern);
  int exponent = 0;
  const std::string digits = SignificantDigits(x, 15, exponent);
  return FormatDigits(x < 0, digits, exponent, pattern);
}

}  // namespace ztl::platform
