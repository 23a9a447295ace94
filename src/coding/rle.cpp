// ZtRLE: the interface table of the component and its run-length coding. Compress finds
// each run of equal characters and writes it whole; Decompress reads the items left to right.

#include "ztldata/coding/rle.hpp"

#include <algorithm>

#include "coding/ansi_text.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kInput[] = {In("strInputString", Type::String)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtRLE::Decompress>("Decompress", 0x60030004, kInput, Type::String),
    Method<&ZtRLE::Compress>("Compress", 0x60030005, kInput, Type::String),
};

}  // namespace

const ClassInfo kZtRLEClass = {
    "ZtRLE", "_ZtRLE", "__ZtRLE", ClassKind::Component,
    ids::kZtRLEClass, ids::kZtRLEInterface, ids::kZtRLEEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtRLE>()); },
};

const ClassInfo* ZtRLE::Class() const noexcept { return &kZtRLEClass; }

namespace {

constexpr char16_t kMarker = u'~';
constexpr std::size_t kLongestCount = 254;  // the largest count Compress writes

// A run of `length` copies of c (not "~"): one or two literals, or c, "~" and the count of
// further copies; a run longer than 255 is cut after 255 and the rest starts a new run.
void AppendRun(String& out, char16_t c, std::size_t length) {
  while (length > 0) {
    if (length <= 2) {
      out.append(length, c);
      return;
    }
    const std::size_t more = std::min(length - 1, kLongestCount);
    out.push_back(c);
    out.push_back(kMarker);
    out.push_back(coding::FromAnsi(static_cast<Byte>(more)));
    length -= more + 1;
  }
}

// A run of tildes, which cannot be written as literals because every "~" starts a repeat
// token: "~" with count 0 adds nothing but makes "~" the character to repeat, and the next
// token repeats it. Each piece of up to 254 tildes takes four characters.
void AppendTildeRun(String& out, std::size_t length) {
  while (length > 0) {
    const std::size_t piece = std::min(length, kLongestCount);
    out.push_back(kMarker);
    out.push_back(coding::FromAnsi(0));
    out.push_back(kMarker);
    out.push_back(coding::FromAnsi(static_cast<Byte>(piece)));
    length -= piece;
  }
}

}  // namespace

String ZtRLE::Decompress(const String& strInputString) noexcept {
  const String& in = strInputString;
  // Running out of memory ends the expansion where it was; the text so far is the result.
  String out;
  Guarded([&] {
    out.reserve(in.size());
    const std::size_t n = in.size();
    char16_t last = 0;
    bool has_last = false;  // a text that starts with "~" has nothing to repeat
    for (std::size_t i = 0; i < n; ++i) {
      const char16_t ch = in[i];
      if (ch == kMarker) {
        // The count character is taken without inspection, even when it is "~" itself;
        // a "~" at the very end has none and adds nothing.
        if (i + 1 < n && has_last) out.append(coding::ToAnsi(in[i + 1]), last);
        ++i;
      } else {
        out.push_back(ch);
      }
      last = ch;  // after a repeat token the character to repeat is "~"
      has_last = true;
    }
  });
  return out;
}

String ZtRLE::Compress(const String& strInputString) noexcept {
  const String& in = strInputString;
  // Running out of memory ends the coding where it was; the text so far is the result.
  String out;
  Guarded([&] {
    out.reserve(in.size());  // never longer than the input unless it holds "~"
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n;) {
      const char16_t c = in[i];
      std::size_t end = i + 1;
      while (end < n && in[end] == c) ++end;
      if (c == kMarker) {
        AppendTildeRun(out, end - i);
      } else {
        AppendRun(out, c, end - i);
      }
      i = end;
    }
  });
  return out;
}

}  // namespace ztl
