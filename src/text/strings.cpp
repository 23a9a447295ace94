// ZtStrings: the interface table of the class and its operations, except EllipseText
// (ellipse_text.cpp). sPrintf's engine is sprintf.cpp, the EBCDIC tables ebcdic.cpp and the
// search the operations share search.cpp.

#include "ztldata/text/strings.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "append.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/char_class.hpp"
#include "platform/oem_codepage.hpp"
#include "search.hpp"
#include "sprintf.hpp"
#include "ztldata/platform/code_page.hpp"
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

const ClassInfo kZtStringsClass = DefineClass<ZtStrings, "ZtStrings">(
    ClassKind::Utility, {ids::kZtStringsClass, ids::kZtStringsInterface}, kMembers);

const ClassInfo* ZtStrings::Class() const noexcept { return &kZtStringsClass; }

namespace {

using text::Append;
using text::Find;
using text::kNone;

// Whether a text is empty once its leading and trailing spaces are removed.
bool IsBlank(std::u16string_view text) noexcept { return text.find_first_not_of(u' ') == kNone; }

// The characters of a non-empty source with `between` after each but the last; out of memory
// (7) for a result longer than a String can hold.
Outcome<String> Interleave(const String& source, const String& between) {
  const std::size_t gaps = source.size() - 1;
  String result;
  if (!between.empty() && gaps > (result.max_size() - source.size()) / between.size()) return Fail(kOutOfMemory);
  result.reserve(source.size() + gaps * between.size());
  for (std::size_t i = 0; i < gaps; ++i) {
    result += source[i];
    result += between;
  }
  result += source.back();
  return result;
}

// The text padded or cut to a length; invalid procedure call (5) for a negative length, and
// for a pad code that is no character when padding is needed.
Outcome<String> PadOrCut(const String& text, Integer length, Integer pad_code) {
  if (length < 0) return Fail(kInvalidProcedureCall);  // a negative length cannot be cut
  const std::size_t n = text.size(), wanted = static_cast<std::size_t>(length);
  if (n >= wanted) return text.substr(n - wanted);  // the last `wanted` characters
  if (pad_code < 0 || pad_code > 255) return Fail(kInvalidProcedureCall);  // no such character
  return text + String(wanted - n, AnsiChar(static_cast<Byte>(pad_code)));
}

// The text with its first occurrence of `search` replaced; the text itself when it holds none.
Outcome<String> ReplaceFirst(const String& text, const String& search, const String& with) {
  // An empty text holds nothing, not even the empty text.
  const std::size_t at = text.empty() ? kNone : Find(text, search, 0);
  if (at == kNone) return text;
  const std::u16string_view view = text;
  String out;
  out.reserve(text.size() - search.size() + with.size());
  ZTL_CHECK(Append(out, view.substr(0, at)));
  ZTL_CHECK(Append(out, with));
  ZTL_CHECK(Append(out, view.substr(at + search.size())));
  return out;
}

// The text with every occurrence of a non-empty `search` replaced, left to right.
Outcome<String> ReplaceEach(std::u16string_view text, const String& search, const String& with) {
  String done;
  done.reserve(with.size() > search.size() ? text.size() + text.size() / 8 : text.size());
  std::size_t rest = 0;
  // Each search starts after the text just replaced, so replacements are never searched.
  for (std::size_t at; (at = Find(text, search, rest)) != kNone; rest = at + search.size()) {
    ZTL_CHECK(Append(done, text.substr(rest, at - rest)));
    ZTL_CHECK(Append(done, with));
  }
  ZTL_CHECK(Append(done, text.substr(rest)));
  return done;
}

// Adds the pieces of a text between occurrences of a non-empty separator to a collection:
// the non-blank ones, and the last whatever it holds.
void AddPieces(std::u16string_view text, const String& separator, Collection& collection) {
  std::size_t rest = 0;
  for (std::size_t at; (at = Find(text, separator, rest)) != kNone; rest = at + separator.size()) {
    const std::u16string_view piece = text.substr(rest, at - rest);
    if (!IsBlank(piece)) collection.Add(String(piece));  // added as it stands
  }
  if (rest < text.size()) collection.Add(String(text.substr(rest)));
}

// ---- character codes -------------------------------------------------------------------

// Each character through its ANSI code, a byte-to-byte table and back to a character.
// Characters up to U+00FF take a table of their results made at first use.
class ByteMap {
 public:
  explicit ByteMap(Byte (*map)(Byte) noexcept) {
    for (std::size_t code = 0; code < 256; ++code) bytes_[code] = map(static_cast<Byte>(code));
    for (std::size_t c = 0; c < 256; ++c) low_[c] = AnsiChar(bytes_[AnsiCode(static_cast<char16_t>(c))]);
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
        piece[i] = c <= 0xFF ? low_[c] : Beyond(c);
      }
      out.append(piece, n);
    }
    return out;
  }

 private:
  // A character past U+00FF: rare, so kept out of the loop above.
  [[gnu::noinline]] char16_t Beyond(char16_t c) const noexcept { return AnsiChar(bytes_[AnsiCode(c)]); }

  std::array<Byte, 256> bytes_{};
  std::array<char16_t, 256> low_{};
};

}  // namespace

// ---- spacing, case, counting, padding ---------------------------------------------------

String ZtStrings::Expand(const String& strSource, const String& strChars) noexcept {
  if (strSource.empty()) return String();  // there is no last character to end with
  return GuardedStep(String(), [&] { return Interleave(strSource, strChars); });
}

String ZtStrings::Capital(const String& strSource) noexcept {
  return Guarded(String(), [&] { return platform::ProperCase(strSource); });
}

Long ZtStrings::Occurs(const String& strCheckIn, const String& strCheckFor) noexcept {
  // An empty text looked for would be found at every position without advancing: none.
  if (strCheckIn.empty()) return 0;
  Long count = 0;
  // Running out of memory ends the count where it was.
  Guarded([&] {
    for (std::size_t at = Find(strCheckFor, strCheckIn, 0);
         at != kNone && count < std::numeric_limits<Long>::max();
         at = Find(strCheckFor, strCheckIn, at + strCheckIn.size())) {
      ++count;
    }
  });
  return count;
}

String ZtStrings::Pad(const String& strBuffer, Integer intLength, Integer intCharPad) noexcept {
  return GuardedStep(String(), [&] { return PadOrCut(strBuffer, intLength, intCharPad); });
}

// ---- replacing and splitting ------------------------------------------------------------

String ZtStrings::Replace(const String& strString, const String& strSearch, const String& strReplace) noexcept {
  return GuardedStep(String(), [&] { return ReplaceFirst(strString, strSearch, strReplace); });
}

String ZtStrings::ReplaceAll(const String& strString, const String& strSearch, const String& strReplace) noexcept {
  if (strSearch.empty()) return Guarded(String(), [&] { return strString; });
  return GuardedStep(String(), [&] { return ReplaceEach(strString, strSearch, strReplace); });
}

Long ZtStrings::InStrAdv(const String& strBuffer, const String& strSearch, const CollectionRef& cllCollection) noexcept {
  if (!cllCollection) return 0;
  // An empty separator splits off nothing; running out of memory keeps the pieces added.
  if (!strSearch.empty()) Guarded([&] { AddPieces(strBuffer, strSearch, *cllCollection); });
  return cllCollection->Count();
}

// ---- formatted output -------------------------------------------------------------------

String ZtStrings::sPrintf(const String& strText, std::span<const Variant> Vals) noexcept {
  return GuardedStep(String(), [&] { return text::Sprintf(strText, Vals); });
}

// ---- character classes and code pages ----------------------------------------------------

Boolean ZtStrings::IsAlpha(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (!platform::IsAnsiAlpha(AnsiCode(c))) return false;
  }
  return true;
}

Boolean ZtStrings::IsAlphaNumeric(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (!platform::IsAnsiAlphaNumeric(AnsiCode(c))) return false;
  }
  return true;
}

Boolean ZtStrings::IsNumeric(const String& strString) noexcept {
  for (char16_t c : strString) {
    if (platform::IsAnsiAlpha(AnsiCode(c))) return false;
  }
  return true;
}

String ZtStrings::WinToOem(const String& strText) noexcept {
  static const ByteMap map(platform::AnsiToOem);
  return Guarded(String(), [&] { return map.Apply(strText); });
}

String ZtStrings::OemToWin(const String& strText) noexcept {
  static const ByteMap map(platform::OemToAnsi);
  return Guarded(String(), [&] { return map.Apply(strText); });
}

String ZtStrings::ASCIIToEBCDIC(const String& strASCII) noexcept {
  static const ByteMap map(AsciiToEbcdic);
  return Guarded(String(), [&] { return map.Apply(strASCII); });
}

String ZtStrings::EBCDICToASCII(const String& strEBCDIC) noexcept {
  static const ByteMap map(EbcdicToAscii);
  return Guarded(String(), [&] { return map.Apply(strEBCDIC); });
}

}  // namespace ztl
