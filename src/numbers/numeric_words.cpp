// ZtNumeric: numbers in English words (Num2Letter) and Roman numerals (ToRoman, ToArabic).
// The Roman scheme adds Q (5000) and H (10000) so that thousands use the same four patterns
// as the lower digits, up to 9999.

#include <algorithm>
#include <string>
#include <string_view>

#include "frame/boundary.hpp"
#include "ztldata/numbers/numeric.hpp"

namespace ztl {

namespace {

constexpr std::u16string_view kSmall[] = {
    u"",        u"one",     u"two",       u"three",    u"four",     u"five",    u"six",
    u"seven",   u"eight",   u"nine",      u"ten",      u"eleven",   u"twelve",  u"thirteen",
    u"fourteen", u"fifteen", u"sixteen",  u"seventeen", u"eighteen", u"nineteen",
};

constexpr std::u16string_view kTens[] = {
    u"", u"", u"twenty", u"thirty", u"forty", u"fifty", u"sixty", u"seventy", u"eighty", u"ninety",
};

// The groups of three digits from the top, with the word that follows each.
constexpr struct {
  long long size;
  std::u16string_view name;
} kGroups[] = {
    {1000000000, u" billion"},
    {1000000, u" million"},
    {1000, u" thousand"},
    {1, u""},
};

// The letters of one, five and ten at decimal position p (0 = units) are
// kRomanLetters[2p], [2p + 1] and [2p + 2].
constexpr std::u16string_view kRomanLetters = u"IVXLCDMQH";

}  // namespace

String ZtNumeric::Group2Letter(Integer number) {
  String text;
  int n = number;
  if (n < 0 || n > 999) return text;
  const int hundreds = n / 100;
  if (hundreds != 0) {
    text += kSmall[hundreds];
    text += u" hundred";
    n %= 100;
  }
  if (n == 0) return text;
  if (hundreds != 0) text += u' ';
  if (n >= 20) {
    text += kTens[n / 10];
    n %= 10;
    if (n != 0) {
      text += u'-';
      text += kSmall[n];
    }
  } else {
    text += kSmall[n];
  }
  return text;
}

String ZtNumeric::Num2Letter(Long lngNumber) noexcept {
  if (lngNumber == 0) return u"zero";
  return Guarded(String(), [&] {
    String text;
    // Held wider: the magnitude of -2147483648 has no Long counterpart.
    long long m = lngNumber;
    if (m < 0) {
      text += u"negative ";
      m = -m;
    }
    for (const auto& group : kGroups) {
      const long long count = m / group.size;
      m %= group.size;
      if (count == 0) continue;
      text += Group2Letter(static_cast<Integer>(count));
      text += group.name;
      if (m != 0) text += u' ';
    }
    return text;
  });
}

Integer ZtNumeric::RomanDigitValue(std::u16string_view letter) noexcept {
  if (letter.size() != 1) return 0;
  switch (letter[0]) {
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

String ZtNumeric::ToRoman(Integer intNumber) noexcept {
  // Four digits at most; there is no numeral for zero or for a negative number.
  if (intNumber < 1 || intNumber > 9999) return String();
  return Guarded(String(), [&] {
    String roman;
    const std::string digits = std::to_string(intNumber);
    for (std::size_t i = 0; i < digits.size(); ++i) {
      const std::size_t position = digits.size() - 1 - i;
      const char16_t one = kRomanLetters[2 * position];
      const char16_t five = kRomanLetters[2 * position + 1];
      const char16_t ten = kRomanLetters[2 * position + 2];
      const int d = digits[i] - '0';
      if (d == 9) {
        roman += one;
        roman += ten;
      } else if (d == 4) {
        roman += one;
        roman += five;
      } else if (d >= 5) {
        roman += five;
        roman.append(static_cast<std::size_t>(d - 5), one);
      } else {
        roman.append(static_cast<std::size_t>(d), one);
      }
    }
    return roman;
  });
}

Integer ZtNumeric::ToArabic(const String& strRoman) noexcept {
  if (strRoman.empty()) return 0;
  // Only spaces are trimmed, as the platform's Trim does.
  std::u16string_view s = strRoman;
  const std::size_t first = s.find_first_not_of(u' ');
  s = first == s.npos ? std::u16string_view() : s.substr(first, s.find_last_not_of(u' ') - first + 1);
  int total = 0;
  std::size_t i = 0;
  do {
    const int current = RomanDigitValue(s.substr(i, 1));
    const int next = RomanDigitValue(s.substr(std::min(i + 1, s.size()), 1));
    if (current == 0) return 0;
    total += current < next ? -current : current;
    // A total beyond the Integer range would be a wrong number; the result is the default.
    if (total < -32768 || total > 32767) return 0;
    ++i;
  } while (i < s.size());
  return static_cast<Integer>(total);
}

}  // namespace ztl
