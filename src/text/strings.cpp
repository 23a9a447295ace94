// ZtStrings: the interface table of the class and its operations, except EllipseText
// (ellipse_text.cpp); the EBCDIC tables and their byte-oriented forms (ebcdic.hpp).

#include "ztldata/text/strings.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

#include "frame/classes.hpp"
#include "frame/convert.hpp"
#include "frame/failure.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/char_class.hpp"
#include "platform/codepage.hpp"
#include "platform/number_format.hpp"
#include "platform/number_text.hpp"
#include "platform/oem_codepage.hpp"
#include "ztldata/text/ebcdic.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kExpand[] = {In("strSource", Type::String), Optional("strChars", Type::String, u" ")};
constexpr ParamInfo kCapital[] = {In("strSource", Type::String)};
constexpr ParamInfo kOccurs[] = {In("strCheckIn", Type::String), In("strCheckFor", Type::String)};
constexpr ParamInfo kPad[] = {In("strBuffer", Type::String), In("intLength", Type::Integer),
                              Optional("intCharPad", Type::Integer, 32)};
constexpr ParamInfo kReplace[] = {In("strString", Type::String), In("strSearch", Type::String),
                                  Optional("strReplace", Type::String, u"")};
constexpr ParamInfo kInStrAdv[] = {In("strBuffer", Type::String), In("strSearch", Type::String),
                                   ByRef("cllCollection", Type::Collection)};
constexpr ParamInfo kPrintf[] = {In("strText", Type::String), ParamArray("Vals")};
constexpr ParamInfo kString[] = {In("strString", Type::String)};
constexpr ParamInfo kText[] = {In("strText", Type::String)};
constexpr ParamInfo kASCII[] = {In("strASCII", Type::String)};
constexpr ParamInfo kEBCDIC[] = {In("strEBCDIC", Type::String)};
constexpr ParamInfo kEllipse[] = {In("strText", Type::String), In("lngWidth", Type::Long),
                                  In("lngHeight", Type::Long), In("hDC", Type::Long),
                                  In("intStyle", Type::ztlEllipseText)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtStrings::Expand>("Expand", 0x60030000, kExpand, Type::String, "Expands a text with other text"),
    Method<&ZtStrings::Capital>("Capital", 0x60030001, kCapital, Type::String,
                                "Capitalizes a text (This Is A Example)"),
    Method<&ZtStrings::Occurs>("Occurs", 0x60030002, kOccurs, Type::Long,
                               "Gets the number of occurrences of a string is into other"),
    Method<&ZtStrings::Pad>("Pad", 0x60030003, kPad, Type::String, "Pads a string"),
    Method<&ZtStrings::Replace>("Replace", 0x60030004, kReplace, Type::String, "Replaces a string into other"),
    Method<&ZtStrings::ReplaceAll>("ReplaceAll", 0x60030005, kReplace, Type::String),
    Method<&ZtStrings::InStrAdv>("InStrAdv", 0x60030006, kInStrAdv, Type::Long,
                                 "Fills a collection with the positions of the occurrences of a string in other"),
    Method<&ZtStrings::sPrintf>("sPrintf", 0x60030007, kPrintf, Type::String,
                                "Transforms a string in a process similar to the C printf function"),
    Method<&ZtStrings::IsAlpha>("IsAlpha", 0x60030008, kString, Type::Boolean, "Determines if a buffer is alphabetic"),
    Method<&ZtStrings::IsAlphaNumeric>("IsAlphaNumeric", 0x60030009, kString, Type::Boolean,
                                       "Determines if a buffer is alphanumeric"),
    Method<&ZtStrings::IsNumeric>("IsNumeric", 0x6003000A, kString, Type::Boolean, "Determines if a text is numeric"),
    Method<&ZtStrings::WinToOem>("WinToOem", 0x6003000B, kText, Type::String,
                                 "Converts a string from windows format to OEM"),
    Method<&ZtStrings::OemToWin>("OemToWin", 0x6003000C, kText, Type::String,
                                 "Converts a string from OEM to windows format"),
    Method<&ZtStrings::ASCIIToEBCDIC>("ASCIIToEBCDIC", 0x6003000D, kASCII, Type::String),
    Method<&ZtStrings::EBCDICToASCII>("EBCDICToASCII", 0x6003000E, kEBCDIC, Type::String),
    Method<&ZtStrings::EllipseText>("EllipseText", 0x6003000F, kEllipse, Type::String),
};

}  // namespace

const ClassInfo kZtStringsClass = {
    "ZtStrings", "_ZtStrings", "", ClassKind::Utility,
    ids::kZtStringsClass, ids::kZtStringsInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtStrings>()); },
};

const ClassInfo* ZtStrings::Class() const noexcept { return &kZtStringsClass; }

namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

// ---- searching -------------------------------------------------------------------------

// The first code unit equal to c in [p, end), or end. Sixteen units at a time where the
// processor offers SSE2.
const char16_t* FindUnit(const char16_t* p, const char16_t* end, char16_t c) noexcept {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  for (; end - p >= 16; p += 16) {
    const __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), wanted);
    const __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), wanted);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(a)) |
                          (static_cast<unsigned>(_mm_movemask_epi8(b)) << 16);
    if (mask != 0) return p + (__builtin_ctz(mask) >> 1);
  }
#endif
  for (; p < end; ++p) {
    if (*p == c) return p;
  }
  return end;
}

// Knuth-Morris-Pratt from `from`: linear in the text and `what` whatever they hold.
std::size_t FindLinear(std::u16string_view text, std::u16string_view what, std::size_t from) {
  std::vector<std::size_t> border(what.size() + 1, 0);  // border[i]: longest proper border of what[0, i)
  for (std::size_t i = 1, k = 0; i < what.size(); ++i) {
    while (k > 0 && what[i] != what[k]) k = border[k];
    if (what[i] == what[k]) ++k;
    border[i + 1] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != what[k]) k = border[k];
    if (text[i] == what[k]) ++k;
    if (k == what.size()) return i + 1 - k;
  }
  return kNone;
}

// The 0-based position of the first occurrence of `what` in `text` at or after `from`, or
// kNone: a binary search, code unit by code unit. An empty `what` is found at `from`.
// Candidates are found by their first unit and checked one by one, which is fastest on
// ordinary text; when the checks cost more than a few units for each unit passed (a text
// and a search made of near misses), the search goes on in linear time.
std::size_t Find(std::u16string_view text, std::u16string_view what, std::size_t from) {
  if (from > text.size() || what.size() > text.size() - from) return kNone;
  if (what.empty()) return from;
  const char16_t* const base = text.data();
  const char16_t* const last = base + (text.size() - what.size()) + 1;  // one past the last start
  std::size_t checked = 0;
  for (const char16_t* p = base + from;; ++p) {
    p = FindUnit(p, last, what[0]);
    if (p == last) return kNone;
    std::size_t i = 1;
    while (i < what.size() && p[i] == what[i]) ++i;
    if (i == what.size()) return static_cast<std::size_t>(p - base);
    checked += i;
    if (checked > 64 + 4 * static_cast<std::size_t>(p - base - from)) {
      return FindLinear(text, what, static_cast<std::size_t>(p - base));
    }
  }
}

// Appends to a text, failing with out of memory (7) where the text cannot grow that far.
void Append(String& to, std::u16string_view what) {
  if (what.size() > to.max_size() - to.size()) Fail(kOutOfMemory);
  to.append(what);
}

// Whether a text is empty once its leading and trailing spaces are removed.
bool IsBlank(std::u16string_view text) noexcept { return text.find_first_not_of(u' ') == kNone; }

// ---- character codes -------------------------------------------------------------------

// The ANSI code of a character: "?" for one the code page lacks.
Byte CodeOf(char16_t c) noexcept {
  return c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? static_cast<Byte>(c) : platform::AnsiCode(c);
}

// Each character through its ANSI code, a byte-to-byte table and back to a character.
// Characters up to U+00FF take a table of their results made at first use.
class ByteMap {
 public:
  explicit ByteMap(const std::array<Byte, 256>& bytes) : bytes_(bytes) {
    for (std::size_t c = 0; c < 256; ++c) low_[c] = platform::AnsiChar(bytes_[CodeOf(static_cast<char16_t>(c))]);
  }
  // Translates a piece at a time into a small buffer and appends it, so the result is
  // written once (no zero fill first).
  String Apply(std::u16string_view text) const {
    String out;
    out.reserve(text.size());
    char16_t piece[1024];
    for (std::size_t at = 0; at < text.size(); at += std::size(piece)) {
      const std::size_t n = std::min(std::size(piece), text.size() - at);
      const char16_t* in = text.data() + at;
      for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = in[i];
        piece[i] = c <= 0xFF ? low_[c] : platform::AnsiChar(bytes_[CodeOf(c)]);
      }
      out.append(piece, n);
    }
    return out;
  }

 private:
  std::array<Byte, 256> bytes_;
  std::array<char16_t, 256> low_{};
};

std::array<Byte, 256> TableOf(Byte (*map)(Byte)) {
  std::array<Byte, 256> table{};
  for (std::size_t code = 0; code < 256; ++code) table[code] = map(static_cast<Byte>(code));
  return table;
}

// ---- EBCDIC ----------------------------------------------------------------------------

// EBCDIC bytes of ANSI codes. Generator rule: codes 0x00-0x9F are IBM code page 500 (its
// Latin-1 mapping), except 0x7C "|" to 0x6A (not 0xBB) and 0x9F to 0xE1 (not 0xFF); codes
// 0xA0-0xFF take, in ascending order, the 96 EBCDIC bytes that codes 0x00-0x9F leave unused.
constexpr std::array<Byte, 256> kAsciiToEbcdic = {
    0x00, 0x01, 0x02, 0x03, 0x37, 0x2D, 0x2E, 0x2F, 0x16, 0x05, 0x25, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,  // 0_
    0x10, 0x11, 0x12, 0x13, 0x3C, 0x3D, 0x32, 0x26, 0x18, 0x19, 0x3F, 0x27, 0x1C, 0x1D, 0x1E, 0x1F,  // 1_
    0x40, 0x4F, 0x7F, 0x7B, 0x5B, 0x6C, 0x50, 0x7D, 0x4D, 0x5D, 0x5C, 0x4E, 0x6B, 0x60, 0x4B, 0x61,  // 2_
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0x7A, 0x5E, 0x4C, 0x7E, 0x6E, 0x6F,  // 3_
    0x7C, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6,  // 4_
    0xD7, 0xD8, 0xD9, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0x4A, 0xE0, 0x5A, 0x5F, 0x6D,  // 5_
    0x79, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96,  // 6_
    0x97, 0x98, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xC0, 0x6A, 0xD0, 0xA1, 0x07,  // 7_
    0x20, 0x21, 0x22, 0x23, 0x24, 0x15, 0x06, 0x17, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x09, 0x0A, 0x1B,  // 8_
    0x30, 0x31, 0x1A, 0x33, 0x34, 0x35, 0x36, 0x08, 0x38, 0x39, 0x3A, 0x3B, 0x04, 0x14, 0x3E, 0xE1,  // 9_
    0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57,  // A_
    0x58, 0x59, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75,  // B_
    0x76, 0x77, 0x78, 0x80, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E,  // C_
    0x9F, 0xA0, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,  // D_
    0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xDA, 0xDB,  // E_
    0xDC, 0xDD, 0xDE, 0xDF, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,  // F_
};

// The inverse permutation: ANSI codes of EBCDIC bytes.
constexpr std::array<Byte, 256> kEbcdicToAscii = [] {
  std::array<Byte, 256> inverse{};
  for (std::size_t code = 0; code < 256; ++code) inverse[kAsciiToEbcdic[code]] = static_cast<Byte>(code);
  return inverse;
}();

std::string TranslateBytes(std::string_view bytes, const std::array<Byte, 256>& table) {
  std::string out(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
  }
  return out;
}

// ---- sPrintf ---------------------------------------------------------------------------

// Conversion kinds, as BuildNumberPattern receives them.
constexpr Integer kKindPercent = 5, kKindText = 1, kKindWhole = 2, kKindLong = 3, kKindReal = 4;

bool IsConversionLetter(char16_t c) noexcept {
  return c == u'%' || c == u'l' || c == u's' || c == u'd' || c == u'f';
}

// A text read as a decimal number and stored into an Integer: type mismatch (13) for a
// text that is no number, overflow (6) outside the Integer range.
Integer IntegerValue(std::u16string_view text) {
  const auto number = platform::ParseNumber(text);
  if (!number) Fail(kTypeMismatch);
  return RoundToInteger(*number);
}

// n zeros; a negative n fails (invalid procedure call, 5).
String Zeros(Integer n) {
  if (n < 0) Fail(kInvalidProcedureCall);
  return String(static_cast<std::size_t>(n), u'0');
}

// The number pattern of one conversion ("%05.02f" gives "00000.00"), given its whole text,
// "%" and letter(s) included. A step whose width or precision is no number, or
// a count outside 0..32767, is skipped and leaves the pattern as it was.
String BuildNumberPattern(std::u16string_view conversion, Integer kind) {
  String pattern;
  // 1. The body: between the "%" and the conversion letter(s).
  const std::size_t letters = kind == kKindLong ? 2 : 1;
  const std::u16string_view body = conversion.substr(1, conversion.size() - 1 - letters);
  const auto right = [&](std::size_t n) { return body.substr(body.size() - std::min(n, body.size())); };
  // 2. P: the 1-based position of the point, 0 without one.
  const std::size_t point = body.find(u'.');
  const std::size_t p = point == kNone ? 0 : point + 1;
  const bool zero_width = !body.empty() && body[0] == u'0';
  if (p == 0 || p == body.size()) {
    // 3. A width alone: only a leading "0" makes it a count of zeros.
    if (zero_width) {
      Attempt([&] { pattern = Zeros(IntegerValue(body)); });
    } else {
      pattern = u"#";
    }
  } else if (p == 1) {
    // 4. A precision alone: the count is read from the last two characters.
    if (body[1] == u'0') {
      Attempt([&] { pattern = u"#." + Zeros(IntegerValue(right(2))); });
    } else {
      pattern = u"#.#";
    }
  } else {
    // 5. Width and precision, each its own step; the width is read with its point.
    if (zero_width) {
      Attempt([&] { pattern = Zeros(IntegerValue(body.substr(0, p))) + u"."; });
    } else {
      pattern = u"#.";
    }
    if (body[p] == u'0') {
      Attempt([&] { pattern += Zeros(IntegerValue(right(p - 1))); });
    } else {
      pattern += u"#";
    }
  }
  return pattern;
}

// The text of one value for a conversion. A "%s" gives the value's plain text; the other
// conversions write it with their pattern, and a number the pattern shows as nothing
// (0 with "#") as "0". Throws Failure for a value that has no text (Null, an array).
String RenderValue(const Variant& value, std::u16string_view pattern, Integer kind) {
  if (kind == kKindText) return platform::FormatValue(value, {});
  bool numeric = false;
  String text = platform::FormatValue(value, pattern, &numeric);
  if (numeric && text.empty()) text = u"0";
  return text;
}

}  // namespace

// ---- spacing, case, counting, padding ---------------------------------------------------

String ZtStrings::Expand(const String& strSource, const String& strChars) noexcept {
  String result;
  if (strSource.empty()) return result;  // there is no last character to end with
  Attempt([&] {
    const std::size_t gaps = strSource.size() - 1;
    if (strChars.size() != 0 && gaps > (result.max_size() - strSource.size()) / strChars.size()) {
      Fail(kOutOfMemory);
    }
    result.reserve(strSource.size() + gaps * strChars.size());
    for (std::size_t i = 0; i < gaps; ++i) {
      result += strSource[i];
      result += strChars;
    }
    result += strSource.back();
  });
  return result;
}

String ZtStrings::Capital(const String& strSource) noexcept {
  String result;
  Attempt([&] { result = platform::ProperCase(strSource); });
  return result;
}

Long ZtStrings::Occurs(const String& strCheckIn, const String& strCheckFor) noexcept {
  // An empty text looked for would be found at every position without advancing: none.
  if (strCheckIn.empty()) return 0;
  Long count = 0;
  Attempt([&] {
    for (std::size_t at = Find(strCheckFor, strCheckIn, 0); at != kNone && count < std::numeric_limits<Long>::max();
         at = Find(strCheckFor, strCheckIn, at + strCheckIn.size())) {
      ++count;
    }
  });
  return count;
}

String ZtStrings::Pad(const String& strBuffer, Integer intLength, Integer intCharPad) noexcept {
  String result;
  Attempt([&] {
    const std::size_t n = strBuffer.size();
    if (intLength >= 0 && n <= static_cast<std::size_t>(intLength)) {
      const std::size_t missing = static_cast<std::size_t>(intLength) - n;
      if (missing == 0) {
        result = strBuffer;
        return;
      }
      if (intCharPad < 0 || intCharPad > 255) Fail(kInvalidProcedureCall);  // no such character
      result = strBuffer + String(missing, platform::AnsiChar(static_cast<Byte>(intCharPad)));
    } else {
      if (intLength < 0) Fail(kInvalidProcedureCall);  // a negative length cannot be cut
      result = strBuffer.substr(n - static_cast<std::size_t>(intLength));
    }
  });
  return result;
}

// ---- replacing and splitting ------------------------------------------------------------

String ZtStrings::Replace(const String& strString, const String& strSearch, const String& strReplace) noexcept {
  String result;
  Attempt([&] {
    // An empty text holds nothing, not even the empty text.
    const std::size_t at = strString.empty() ? kNone : Find(strString, strSearch, 0);
    if (at == kNone) {
      result = strString;
      return;
    }
    const std::u16string_view text = strString;
    String out;
    out.reserve(strString.size() - strSearch.size() + strReplace.size());
    Append(out, text.substr(0, at));
    Append(out, strReplace);
    Append(out, text.substr(at + strSearch.size()));
    result = std::move(out);
  });
  return result;
}

String ZtStrings::ReplaceAll(const String& strString, const String& strSearch, const String& strReplace) noexcept {
  if (strSearch.empty()) return strString;
  String result;
  Attempt([&] {
    const std::u16string_view text = strString;
    String done;
    done.reserve(strReplace.size() > strSearch.size() ? text.size() + text.size() / 8 : text.size());
    std::size_t rest = 0;
    // Each search starts after the text just replaced, so replacements are never searched.
    for (std::size_t at; (at = Find(text, strSearch, rest)) != kNone; rest = at + strSearch.size()) {
      Append(done, text.substr(rest, at - rest));
      Append(done, strReplace);
    }
    Append(done, text.substr(rest));
    result = std::move(done);
  });
  return result;
}

Long ZtStrings::InStrAdv(const String& strBuffer, const String& strSearch, const CollectionRef& cllCollection) noexcept {
  if (!cllCollection) return 0;
  // An empty separator splits off nothing.
  if (!strSearch.empty()) {
    Attempt([&] {
      const std::u16string_view text = strBuffer;
      std::size_t rest = 0;
      for (std::size_t at; (at = Find(text, strSearch, rest)) != kNone; rest = at + strSearch.size()) {
        const std::u16string_view piece = text.substr(rest, at - rest);
        if (!IsBlank(piece)) cllCollection->Add(String(piece));  // added as it stands
      }
      // The last piece goes in whatever it holds.
      if (rest < text.size()) cllCollection->Add(String(text.substr(rest)));
    });
  }
  return cllCollection->Count();
}

// ---- formatted output -------------------------------------------------------------------

String ZtStrings::sPrintf(const String& strText, std::span<const Variant> Vals) noexcept {
  String result;
  Attempt([&] {
    const std::u16string_view text = strText;

    // Pass 1: every "%" not doubled is a conversion; there must be one value for each.
    std::size_t conversions = 0;
    for (std::size_t at = text.find(u'%'); at != kNone;) {
      if (at + 1 < text.size() && text[at + 1] == u'%') {
        at = text.find(u'%', at + 2);
      } else {
        ++conversions;
        at = text.find(u'%', at + 1);
      }
    }
    if (conversions != Vals.size()) return;

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
        Append(out, text.substr(pos, percent + 1 - pos));
        pos = letter + 1;
        continue;
      }
      Integer kind = kKindReal;
      std::size_t end = letter + 1;
      if (text[letter] == u'l') {
        if (letter + 1 >= text.size() || text[letter + 1] != u'd') return;  // "l" must be "ld"
        kind = kKindLong;
        end = letter + 2;
      } else if (text[letter] == u's') {
        kind = kKindText;
      } else if (text[letter] == u'd') {
        kind = kKindWhole;
      }
      const std::u16string_view conversion = text.substr(percent, end - percent);
      const String pattern = kind == kKindText ? String() : BuildNumberPattern(conversion, kind);
      // The text before the conversion and the value form one step: a value that has no
      // text drops both.
      Attempt([&] {
        if (index >= Vals.size()) Fail(kSubscriptOutOfRange);
        const String value = RenderValue(Vals[index], pattern, kind);
        String piece;
        Append(piece, text.substr(pos, percent - pos));
        Append(piece, value);
        Append(out, piece);
      });
      ++index;
      pos = end;
    }
    Append(out, text.substr(pos));
    result = std::move(out);
  });
  return result;
}

// ---- character classes and code pages ----------------------------------------------------

Boolean ZtStrings::IsAlpha(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (!platform::IsAnsiAlpha(CodeOf(c))) return false;
  }
  return true;
}

Boolean ZtStrings::IsAlphaNumeric(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (!platform::IsAnsiAlphaNumeric(CodeOf(c))) return false;
  }
  return true;
}

Boolean ZtStrings::IsNumeric(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (platform::IsAnsiAlpha(CodeOf(c))) return false;
  }
  return true;
}

String ZtStrings::WinToOem(const String& strText) noexcept {
  static const ByteMap map(TableOf(platform::AnsiToOem));
  String result;
  Attempt([&] { result = map.Apply(strText); });
  return result;
}

String ZtStrings::OemToWin(const String& strText) noexcept {
  static const ByteMap map(TableOf(platform::OemToAnsi));
  String result;
  Attempt([&] { result = map.Apply(strText); });
  return result;
}

String ZtStrings::ASCIIToEBCDIC(const String& strASCII) noexcept {
  static const ByteMap map(kAsciiToEbcdic);
  String result;
  Attempt([&] { result = map.Apply(strASCII); });
  return result;
}

String ZtStrings::EBCDICToASCII(const String& strEBCDIC) noexcept {
  static const ByteMap map(kEbcdicToAscii);
  String result;
  Attempt([&] { result = map.Apply(strEBCDIC); });
  return result;
}

// ---- EBCDIC bytes --------------------------------------------------------------------------

std::string AsciiToEbcdicBytes(std::string_view bytes) { return TranslateBytes(bytes, kAsciiToEbcdic); }

std::string EbcdicToAsciiBytes(std::string_view bytes) { return TranslateBytes(bytes, kEbcdicToAscii); }

Byte AsciiToEbcdic(Byte code) noexcept { return kAsciiToEbcdic[code]; }

Byte EbcdicToAscii(Byte code) noexcept { return kEbcdicToAscii[code]; }

}  // namespace ztl
