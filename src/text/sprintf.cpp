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

// The number pattern of one conversion ("05.02" of "%05.02f" gives "00000.00"), given its
// body: the text between the "%" and the conversion letter(s). A step whose width or
// precision is no number, or a count outside 0..32767, is skipped and leaves the pattern as
// it was.
String BuildNumberPattern(std::u16string_view body) {
  String pattern;
  const auto right = [&](std::size_t n) { return body.substr(body.size() - std::min(n, body.size())); };
  // P: the 1-based position of the point, 0 without one.
  const std::size_t point = body.find(u'.');
  const std::size_t p = point == kNone ? 0 : point + 1;
  const bool zero_width = !body.empty() && body[0] == u'0';
  if (p == 0 || p == body.size()) {
    // A width alone: only a leading "0" makes it a count of zeros.
    if (zero_width) {
      pattern = ZerosOf(body).value_or(pattern);
    } else {
      pattern = u"#";
    }
  } else if (p == 1) {
    // A precision alone: the count is read from the last two characters.
    if (body[1] == u'0') {
      pattern = ZerosOf(right(2))
                    .transform([](const String& zeros) { return u"#." + zeros; })
                    .value_or(pattern);
    } else {
      pattern = u"#.#";
    }
  } else {
    // Width and precision, each its own step; the width is read with its point.
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

// What the filling pass reads from a "%" on, decided by the first conversion letter after it.
struct Conversion {
  enum class Kind {
    kPercent,   // "%...%": a percent sign, whatever stood between the two
    kNumber,    // "d", "f" or "ld": the value through the body's number pattern
    kText,      // "s": the value's plain text
    kBadLong,   // an "l" not followed by "d": the whole result is ""
    kUnended,   // no conversion letter up to the end of the template
  };
  Kind kind;
  std::u16string_view body;  // between the "%" and the letter(s)
  std::size_t end;           // just after the letter(s)
};

// The conversion that starts at the "%" at text[percent]: any character that is no
// conversion letter is skipped, so in "50%x done" it runs on to the "d" of "done".
Conversion ReadConversion(std::u16string_view text, std::size_t percent) {
  std::size_t letter = percent + 1;
  while (letter < text.size() && !IsConversionLetter(text[letter])) ++letter;
  if (letter == text.size()) return {Conversion::Kind::kUnended, {}, letter};
  const std::u16string_view body = text.substr(percent + 1, letter - percent - 1);
  switch (text[letter]) {
    case u'%': return {Conversion::Kind::kPercent, body, letter + 1};
    case u's': return {Conversion::Kind::kText, body, letter + 1};
    case u'l':
      if (letter + 1 < text.size() && text[letter + 1] == u'd') return {Conversion::Kind::kNumber, body, letter + 2};
      return {Conversion::Kind::kBadLong, body, letter + 1};
    default: return {Conversion::Kind::kNumber, body, letter + 1};
  }
}

// The text of one value for a conversion. A "%s" gives the value's plain text; the other
// conversions write it with their pattern, and a number the pattern shows as nothing
// (0 with "#") as "0". Fails for a value that has no text (Null, an array).
Outcome<String> RenderValue(const Variant& value, const Conversion& conversion) {
  if (conversion.kind == Conversion::Kind::kText) return FormatValue(value, {});
  bool numeric = false;
  ZTL_TRY(text, FormatValue(value, BuildNumberPattern(conversion.body), &numeric));
  if (numeric && text.empty()) text = u"0";
  return text;
}

// How many conversions a template holds, by the counting rule: every "%" not doubled, a
// trailing one included. This is not the filling rule (see Sprintf).
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
                        std::size_t index, const Conversion& conversion) {
  if (index >= values.size()) return Fail(kSubscriptOutOfRange);
  ZTL_TRY(value, RenderValue(values[index], conversion));
  String piece;
  ZTL_CHECK(Append(piece, before));
  ZTL_CHECK(Append(piece, value));
  return Append(out, piece);
}

}  // namespace

// The two passes read a template by different rules on purpose, and the results depend on
// it: counting takes every "%" not doubled (CountConversions), filling runs from a "%" on to
// the next conversion letter (ReadConversion). "%x%d" counts two conversions yet fills none
// ("%x%" is a percent sign, "d" plain text), so with two values it gives "%d" and with none
// "". One tokenizer for both would change those results, so each pass keeps its own.
Outcome<String> Sprintf(std::u16string_view text, std::span<const Variant> values) {
  // Pass 1: there must be one value for each conversion.
  if (CountConversions(text) != values.size()) return String();

  // Pass 2: copy the template, filling each conversion with the next value.
  String out;
  std::size_t pos = 0, index = 0;
  for (std::size_t percent = text.find(u'%'); percent != kNone; percent = text.find(u'%', pos)) {
    const Conversion conversion = ReadConversion(text, percent);
    if (conversion.kind == Conversion::Kind::kUnended) break;  // the rest is copied as it stands
    if (conversion.kind == Conversion::Kind::kBadLong) return String();
    if (conversion.kind == Conversion::Kind::kPercent) {
      ZTL_CHECK(Append(out, text.substr(pos, percent + 1 - pos)));
    } else {
      // A failing conversion is left out; the copy goes on after it.
      (void)AppendConversion(out, text.substr(pos, percent - pos), values, index++, conversion);
    }
    pos = conversion.end;
  }
  ZTL_CHECK(Append(out, text.substr(pos)));
  return out;
}

}  // namespace ztl::text
