// ZtToken: the interface table of the component and its operations.

#include "ztldata/containers/token.hpp"

#include <array>
#include <cstdint>
#include <limits>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/platform/code_page.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kCreate[] = {In("strList", Type::String), Optional("strDelimiters", Type::String, u"")};
constexpr ParamInfo kGetToken[] = {In("lngToken", Type::Long)};

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtToken::Create>("Create", 0x60030005, kCreate, Type::Void),
    PropertyGet<&ZtToken::Count>("Count", 0x68030000, {}, Type::Long),
    Method<&ZtToken::GetToken>("GetToken", 0x60030006, kGetToken, Type::String),
};

// The default delimiters: the space, punctuation, the diaeresis and the soft hyphen as one
// fixed text, then seven characters made from their ANSI codes (the quotation mark, tab, line
// feed, carriage return, substitute, and the code page's characters 138 and 141).
String DefaultDelimiters() {
  String set = u" ,;:.?\u00A8\u00AD!()&/*+-%[]{}'";
  constexpr Byte kAnsiCodes[] = {34, 9, 10, 13, 26, 138, 141};
  for (const Byte code : kAnsiCodes) set += AnsiChar(code);
  return set;
}

// A delimiter lookup: one bit for each of the 65536 code units.
class DelimiterSet {
 public:
  explicit DelimiterSet(const String& delimiters) noexcept {
    for (const char16_t c : delimiters) bits_[c / 64] |= std::uint64_t{1} << (c % 64);
  }
  bool Contains(char16_t c) const noexcept { return (bits_[c / 64] >> (c % 64) & 1) != 0; }

 private:
  std::array<std::uint64_t, 65536 / 64> bits_{};
};

// Count reports the tokens as a Long.
constexpr std::size_t kMostTokens = static_cast<std::size_t>(std::numeric_limits<Long>::max());

// Appends the tokens of a text to `tokens`, one after the other, and where each one ends to
// `ends`, in one pass: skip a run of delimiters, then take the run up to the next delimiter.
// Room for the whole text is reserved first so appending never moves the tokens. The tokens
// stop where Count could report no more.
void AppendTokens(const String& list, const DelimiterSet& delimiters, String& tokens, std::vector<std::size_t>& ends) {
  tokens.reserve(list.size());
  const char16_t* const text = list.data();
  const std::size_t n = list.size();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && delimiters.Contains(text[i])) ++i;
    const std::size_t begin = i;
    while (i < n && !delimiters.Contains(text[i])) ++i;
    if (i == begin || ends.size() == kMostTokens) break;
    tokens.append(text + begin, i - begin);
    ends.push_back(tokens.size());
  }
}

}  // namespace

const ClassInfo kZtTokenClass = DefineClass<ZtToken, "ZtToken">(
    ClassKind::Component, {ids::kZtTokenClass, ids::kZtTokenInterface, ids::kZtTokenEvents}, kMembers);

const ClassInfo* ZtToken::Class() const noexcept { return &kZtTokenClass; }

void ZtToken::Create(const String& strList, const String& strDelimiters) noexcept {
  text_.clear();
  ends_.clear();
  Guarded([&] {
    const DelimiterSet delimiters(strDelimiters.empty() ? DefaultDelimiters() : strDelimiters);
    AppendTokens(strList, delimiters, text_, ends_);
  });
  // Running out of memory keeps the tokens found until then, each one whole.
  text_.resize(ends_.empty() ? 0 : ends_.back());
}

Long ZtToken::Count() const noexcept { return static_cast<Long>(ends_.size()); }

String ZtToken::GetToken(Long lngToken) noexcept {
  if (lngToken < 1 || lngToken > Count()) return String();
  const auto index = static_cast<std::size_t>(lngToken) - 1;
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return Guarded(String(), [&] { return text_.substr(begin, ends_[index] - begin); });
}

}  // namespace ztl
