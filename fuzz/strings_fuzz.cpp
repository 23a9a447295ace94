// ZtStrings: ReplaceAll, Replace, Occurs and InStrAdv agree with plain references built on
// std::u16string::find (non-overlapping, left to right; an empty search text changes
// nothing and occurs 0 times); sPrintf of any template and values ends with a String within
// its length bound, and a template without conversions comes back unchanged (or "" with values).

#include <algorithm>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

// Texts over a small alphabet so that searches hit, or any UTF-16 code units.
ztl::String Text(const std::uint8_t*& data, std::size_t& size, bool small) {
  const std::size_t n = std::min<std::size_t>(fuzz::Take<std::uint8_t>(data, size) % 24, size);
  ztl::String text;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = data[i];
    text += small ? u"ab %d\0"[b % 6] : static_cast<char16_t>(b < 0x80 ? b : 0xD700 + b * 3);
  }
  data += n;
  size -= n;
  return text;
}

ztl::String ReplaceAllRef(const ztl::String& text, const ztl::String& search, const ztl::String& with) {
  if (search.empty()) return text;
  ztl::String out;
  std::size_t rest = 0;
  for (std::size_t at; (at = text.find(search, rest)) != ztl::String::npos; rest = at + search.size())
    out += text.substr(rest, at - rest) + with;
  return out + text.substr(rest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::ZtStrings s;
  const bool small = fuzz::Take<std::uint8_t>(data, size) % 4 != 0;
  const ztl::String text = Text(data, size, small);
  const ztl::String search = Text(data, size, small);
  const ztl::String with = Text(data, size, small);

  fuzz::Check(s.ReplaceAll(text, search, with) == ReplaceAllRef(text, search, with), "ReplaceAll != reference");

  ztl::Long count = 0;
  if (!search.empty())
    for (std::size_t at = text.find(search); at != ztl::String::npos; at = text.find(search, at + search.size())) ++count;
  fuzz::Check(s.Occurs(search, text) == count, "Occurs != reference count");

  // Replace: the first occurrence only; an empty search puts the replacement in front of a
  // non-empty text.
  const std::size_t first = text.empty() ? ztl::String::npos : text.find(search);
  const ztl::String once = first == ztl::String::npos ? text : text.substr(0, first) + with + text.substr(first + search.size());
  fuzz::Check(s.Replace(text, search, with) == once, "Replace != first-occurrence reference");

  // InStrAdv: the pieces between separators, blank ones left out except a non-empty last.
  const auto pieces = ztl::Collection::Create();
  pieces->Add(ztl::String(u"held"));
  std::vector<ztl::String> expected{u"held"};
  if (!search.empty()) {
    std::size_t rest = 0;
    for (std::size_t at; (at = text.find(search, rest)) != ztl::String::npos; rest = at + search.size()) {
      const ztl::String piece = text.substr(rest, at - rest);
      if (piece.find_first_not_of(u' ') != ztl::String::npos) expected.push_back(piece);
    }
    if (rest < text.size()) expected.push_back(text.substr(rest));
  }
  fuzz::Check(s.InStrAdv(text, search, pieces) == static_cast<ztl::Long>(expected.size()), "InStrAdv count");
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ztl::Variant* item = pieces->Item(static_cast<ztl::Long>(i + 1));
    fuzz::Check(item && item->If<ztl::String>() && *item->If<ztl::String>() == expected[i], "InStrAdv piece");
  }

  // sPrintf: the rest of the input picks values of several kinds for the text as template.
  std::vector<ztl::Variant> vals;
  while (size > 0 && vals.size() < 6) {
    const auto kind = fuzz::Take<std::uint8_t>(data, size);
    switch (kind % 6) {
      case 0: vals.emplace_back(fuzz::Take<ztl::Long>(data, size)); break;
      case 1: vals.emplace_back(static_cast<ztl::Double>(fuzz::Take<std::int32_t>(data, size)) / 7.0); break;
      case 2: vals.emplace_back(ztl::Null); break;
      case 3: vals.emplace_back(search); break;
      case 4: vals.emplace_back(static_cast<ztl::Integer>(fuzz::Take<std::int16_t>(data, size))); break;
      default: vals.emplace_back(); break;
    }
  }
  // A width and a precision are each a count of zeros, an Integer (at most 32767), so each
  // value adds at most its own text and two such runs of padding.
  const ztl::String pattern = text + with;
  const std::size_t bound = pattern.size() + vals.size() * (64 + 2 * 32767);
  const ztl::String printed = s.sPrintf(pattern, vals);
  fuzz::Check(printed.size() <= bound, "sPrintf longer than its template, values and widths");
  // Without a conversion the template comes back as it is when there are no values, and ""
  // when there are some (conversions and values must pair up).
  if (pattern.find(u'%') == ztl::String::npos)
    fuzz::Check(printed == (vals.empty() ? pattern : ztl::String()), "sPrintf without conversions changed its template");
  return 0;
}
