// Sprintf: a first pass counts the conversions against the values, a second copies the
// template and fills each conversion; BuildNumberPattern turns "%05.02f" into "00000.00".

#include "sprintf.hpp"

#include <algorithm>

#include "append.hpp"
#include "format_value.hpp"
#include "platform/number_text.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl::text {

namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

// Conversion kinds, as BuildNumberPattern receives them.
enum class Kind { kText, kWhole, kLong, kReal };

bool IsConversionLetter(char16_t c) noexcept {
  return c == u'%' || c == u'l' || c == u's' || c == u'd' || c == u'f';
}

// A text read as a decimal number and stored into an Integer: type mismatch (13) for a
// text that is no number, overflow (6) outside the Integer range.
Outcome<Integer> IntegerValue(std::u16string_view text) {
  const auto number = platform::ParseNumber(text);
  if (!number) return Fail(kTypeMismatch);
  return RoundToInteger(*number);
}

// n zeros; a negative n fails (invalid procedure call, 5).
Outcome<String> Zeros(Integer n) {
  if (n < 0) return Fail(kInvalidProcedureCall);
  return String(static_cast<std::size_t>(n), u'0');
}

// The zeros a count in a conversion's text asks for.
Outcome<String> ZerosOf(std::u16string_view count) { return IntegerValue(count).and_then(Zeros); }

// The number pattern of one conversion ("%05.02f" gives "00000.00"), given its whole text,
// "%" and letter(s) included. A step whose width or precision is no number, or
// a count outside 0..32767, is skipped and leaves the pattern as it was.
String BuildNumberPattern(std::u16string_view conversion, Kind kind) {
  String pattern;
  // 1. The body: between the "%" and the conversion letter(s).
  const std::size_t letters = kind == Kind::kLong ? 2 : 1;
  const std::u16string_view body = conversion.substr(1, conversion.size() - 1 - letters);
  const auto right = [&](std::size_t n) { return body.substr(body.size() - std::min(n, body.size())); };
  // 2. P: the 1-based position of the point, 0 without one.
  const std::size_t point = body.find(u'.');
  const std::size_t p = point == kNone ? 0 : point + 1;
  const bool zero_width = !body.empty() && body[0] == u'0';
  if (p == 0 || p == body.size()) {
    // 3. A width alone: only a leading "0" makes it a count of zeros.
    if (zero_width) {
      pattern = ZerosOf(body).value_or(pattern);
    } else {
      pattern = u"#";
    }
  } else if (p == 1) {
    // 4. A precision alone: the count is read from the last two characters.
    if (body[1] == u'0') {
      pattern = ZerosOf(right(2))
                    .transform([](const String& zeros) { return u"#." + zeros; })
                    .value_or(pattern);
    } else {
      pattern = u"#.#";
    }
  } else {
    // 5. Width and precision, each its own step; the width is read with its point.
    if (zero_width) {
      pattern = ZerosOf(body.substr(0, p))
                    .transform([](const String& zeros) { return zeros + u"."; })
                    .value_or(pattern);
    } else {
      pattern = u"#.";
    }
    if (body[p] == u'0') {
      pattern += ZerosOf(right(p - 1)).value_or(String());  // a failed step adds nothing
    } else {
      pattern += u"#";
    }
  }
  return pattern;
}

// The text of one value for a conversion. A "%s" gives the value's plain text; the other
// conversions write it with their pattern, and a number the pattern shows as nothing
// (0 with "#") as "0". Fails for a value that has no text (Null, an array).
Outcome<String> RenderValue(const Variant& value, std::u16string_view pattern, Kind kind) {
  if (kind == Kind::kText) return FormatValue(value, {});
  bool numeric = false;
  ZTL_TRY(text, FormatValue(value, pattern, &numeric));
  if (numeric && text.empty()) text = u"0";
  return text;
}

// How many conversions a template holds: every "%" not doubled.
std::size_t CountConversions(std::u16string_view text) {
  std::size_t conversions = 0;
  for (std::size_t at = text.find(u'%'); at != kNone;) {
    if (at + 1 < text.size() && text[at + 1] == u'%') {
      at = text.find(u'%', at + 2);
    } else {
      ++conversions;
      at = text.find(u'%', at + 1);
    }
  }
  return conversions;
}

// Appends the template text before a conversion and the conversion's value as one step: a
// value that has no text (or is missing) leaves out both.
Status AppendConversion(String& out, std::u16string_view before, std::span<const Variant> values,
                        std::size_t index, std::u16string_view conversion, Kind kind) {
  if (index >= values.size()) return Fail(kSubscriptOutOfRange);
  const String pattern = kind == Kind::kText ? String() : BuildNumberPattern(conversion, kind);
  ZTL_TRY(value, RenderValue(values[index], pattern, kind));
  String piece;
  ZTL_CHECK(Append(piece, before));
  ZTL_CHECK(Append(piece, value));
  return Append(out, piece);
}

}  // namespace

Outcome<String> Sprintf(std::u16string_view text, std::span<const Variant> values) {
  // Pass 1: there must be one value for each conversion.
  if (CountConversions(text) != values.size()) return String();

  // Pass 2: copy the template, filling each conversion with the next value.
  String out;
  std::size_t pos = 0, index = 0;
  for (;;) {
    const std::size_t percent = text.find(u'%', pos);
    if (percent == kNone) break;
    std::size_t letter = percent + 1;
    while (letter < text.size() && !IsConversionLetter(text[letter])) ++letter;
    // A "%" with no conversion letter after it: the rest is copied as it stands.
    if (letter == text.size()) break;

    if (text[letter] == u'%') {
      // A percent sign; whatever stood between the two is dropped.
      ZTL_CHECK(Append(out, text.substr(pos, percent + 1 - pos)));
      pos = letter + 1;
      continue;
    }
    Kind kind = Kind::kReal;
    std::size_t end = letter + 1;
    if (text[letter] == u'l') {
      if (letter + 1 >= text.size() || text[letter + 1] != u'd') return String();  // "l" must be "ld"
      kind = Kind::kLong;
      end = letter + 2;
    } else if (text[letter] == u's') {
      kind = Kind::kText;
    } else if (text[letter] == u'd') {
      kind = Kind::kWhole;
    }
    const std::u16string_view before = text.substr(pos, percent - pos);
    // A failing conversion is left out; the copy goes on after it.
    (void)AppendConversion(out, before, values, index, text.substr(percent, end - percent), kind);
    ++index;
    pos = end;
  }
  ZTL_CHECK(Append(out, text.substr(pos)));
  return out;
}

}  // namespace ztl::text
