// ZtStrings: spacing, proper case, counting, padding, replacing and splitting text, a
// printf-like filler, character-class tests, ANSI/OEM and EBCDIC translation, and fitting a
// text into a width with an ellipsis. A stateless utility class; positions count from 1.
//
// Example:
//   ztl::ZtStrings s;
//   s.Expand(u"abc");                       // u"a b c"
//   ztl::Variant vals[] = {42};
//   s.sPrintf(u"%05d items", vals);         // u"00042 items"
#pragma once

#include <span>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtStrings : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // The characters of strSource with strChars between each two ("abc" gives "a b c").
  String Expand(const String& strSource, const String& strChars = u" ") noexcept;
  // Proper case: each word's first letter upper, the rest lower. Only blanks and control
  // separators split words ("o'neil-smith" gives "O'neil-smith").
  String Capital(const String& strSource) noexcept;
  // How often strCheckIn occurs, without overlap, inside strCheckFor ("aa" twice in "aaaaa").
  // Note: the first argument is the text looked for; an empty one occurs 0 times.
  Long Occurs(const String& strCheckIn, const String& strCheckFor) noexcept;
  // Pads on the right to intLength with the character of ANSI code intCharPad, or keeps the
  // last intLength characters of a longer text.
  // Note: "" for a negative intLength, and for an intCharPad outside 0..255 when padding is
  // needed.
  String Pad(const String& strBuffer, Integer intLength, Integer intCharPad = 32) noexcept;
  // Replaces the first occurrence of strSearch.
  // Note: an empty strSearch puts strReplace in front of a non-empty text.
  String Replace(const String& strString, const String& strSearch, const String& strReplace = u"") noexcept;
  // Replaces every occurrence, left to right, never inside replaced text; an empty
  // strSearch changes nothing.
  String ReplaceAll(const String& strString, const String& strSearch, const String& strReplace = u"") noexcept;
  // Adds the non-blank pieces of strBuffer between occurrences of strSearch to the collection
  // and returns its count (items it already held included). Pieces go in untrimmed; one that
  // holds nothing but spaces is left out, except the last ("a, b" with "," adds "a", " b").
  // Note: an empty strSearch adds nothing; with no collection the result is 0.
  Long InStrAdv(const String& strBuffer, const String& strSearch, const CollectionRef& cllCollection) noexcept;
  // Fills %d, %f and %ld conversions with the values in order, each through a number
  // pattern made of its modifiers: "%05d" pads to five digits, "%.02f" gives two decimals;
  // a width or precision without a leading "0" has no effect, except that "%.2f" shows one
  // optional decimal. "%s" inserts the value's plain text; "%%" is a percent sign.
  // Note: "" when the conversions and the values differ in number, and for an "l" not
  // followed by "d"; a value with no text (Null, an array) is left out together with the
  // template text before it; the scan for a conversion letter skips any other character
  // ("%x done" converts up to the "d" of "done").
  String sPrintf(const String& strText, std::span<const Variant> Vals) noexcept;
  // Whether every character is a letter in the ANSI code page; True for "".
  // Note: a character that Windows-1252 lacks counts as "?", so it is no letter.
  Boolean IsAlpha(const String& strString) noexcept;
  // Whether every character is a letter or a digit in the ANSI code page; True for "".
  Boolean IsAlphaNumeric(const String& strString) noexcept;
  // Note: only tests that no character is a letter ("1 2 -" and "" are numeric).
  Boolean IsNumeric(const String& strString) noexcept;
  // The text moved from the ANSI to the OEM code page, character by character.
  String WinToOem(const String& strText) noexcept;
  // The text moved from the OEM to the ANSI code page, character by character.
  String OemToWin(const String& strText) noexcept;
  // Translates ANSI codes to EBCDIC bytes, one character per byte; ebcdic.hpp has the same
  // translation for bytes. A character that Windows-1252 lacks counts as "?".
  String ASCIIToEBCDIC(const String& strASCII) noexcept;
  // Translates EBCDIC bytes back to ANSI codes; the exact inverse of ASCIIToEBCDIC.
  String EBCDICToASCII(const String& strEBCDIC) noexcept;
  // The text shortened with "..." to fit 97% of lngWidth in the font of device context hDC,
  // in the middle (ztlEllipsePath) or at the end (ztlEllipseEnd); unchanged when it fits.
  String EllipseText(const String& strText, Long lngWidth, Long lngHeight, Long hDC,
                     ztlEllipseText intStyle) noexcept;
};

}  // namespace ztl
