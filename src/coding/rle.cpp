// ZtRLE: the interface table of the component and its run-length coding, one coder for the
// component's text and for byte streams fed in pieces (RleCompressor, RleExpander).

#include "ztldata/coding/rle.hpp"

#include <algorithm>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/platform/code_page.hpp"

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

const ClassInfo kZtRLEClass = DefineClass<ZtRLE, "ZtRLE">(
    ClassKind::Component, {ids::kZtRLEClass, ids::kZtRLEInterface, ids::kZtRLEEvents}, kMembers);

const ClassInfo* ZtRLE::Class() const noexcept { return &kZtRLEClass; }

namespace {

constexpr std::size_t kLongestCount = 254;  // the largest count Compress writes

// How the coder sees a unit of text: ZtRLE's characters, or bytes that stand for the
// Windows-1252 characters of their codes. One coder serves both, so a stream of bytes is coded
// exactly as its text would be.
template <class Unit>
struct Units;

template <>
struct Units<char16_t> {
  static Byte Code(char16_t c) noexcept { return AnsiCode(c); }
  static char16_t Of(Byte code) noexcept { return AnsiChar(code); }
};

template <>
struct Units<char> {
  static Byte Code(char c) noexcept { return static_cast<Byte>(c); }
  static char Of(Byte code) noexcept { return static_cast<char>(code); }
};

template <class Unit>
constexpr Unit kMarker = static_cast<Unit>('~');

// Writes `length` copies of c (not "~") as they are coded when nothing follows: one or two
// literals, or c, "~" and the count of further copies.
template <class Unit>
void AppendShortRun(std::basic_string<Unit>& out, Unit c, std::size_t length) {
  if (length <= 2) {
    out.append(length, c);
    return;
  }
  const Unit token[] = {c, kMarker<Unit>, Units<Unit>::Of(static_cast<Byte>(length - 1))};
  out.append(token, 3);
}

// A piece of a run of tildes, which cannot be written as literals because every "~" starts a
// repeat token: "~" with count 0 adds nothing but makes "~" the character to repeat, and the
// next token repeats it.
template <class Unit>
void AppendTildePiece(std::basic_string<Unit>& out, std::size_t length) {
  const Unit token[] = {kMarker<Unit>, Units<Unit>::Of(0), kMarker<Unit>, Units<Unit>::Of(static_cast<Byte>(length))};
  out.append(token, 4);
}

// Writes what is left of the open run.
template <class Unit>
void FinishRun(Unit run, std::size_t length, std::basic_string<Unit>& out) {
  if (length == 0) return;
  if (run == kMarker<Unit>) {
    AppendTildePiece(out, length);
  } else {
    AppendShortRun(out, run, length);
  }
}

// The coding of a run is cut greedily: a run of c is written 255 copies at a time (c, "~" and
// 254), a run of tildes 254 at a time, whatever follows. So every whole piece is final as soon
// as it is seen, and an open run never holds a full piece: the pieces of a text cut anywhere are
// those of the whole text.
template <class Unit>
void AddRuns(std::basic_string_view<Unit> in, Unit& run, std::size_t& length, std::basic_string<Unit>& out) {
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n;) {
    const Unit c = in[i];
    std::size_t end = i + 1;
    while (end < n && in[end] == c) ++end;
    if (run != c) {
      FinishRun(run, length, out);  // the run before ended, with less than a piece
      length = 0;
    }
    run = c;
    length += end - i;
    if (c == kMarker<Unit>) {
      for (; length >= kLongestCount; length -= kLongestCount) AppendTildePiece(out, kLongestCount);
    } else {
      for (; length >= kLongestCount + 1; length -= kLongestCount + 1) AppendShortRun(out, c, kLongestCount + 1);
    }
    i = end;
  }
}

// Reads literals and repeat tokens left to right. A token is "~" and a count; the count is taken
// without looking at it, even when it is "~"; after a token the character to repeat is "~"
// itself; a token before any character copies nothing. `pending` carries a "~" whose count is
// in the next piece.
template <class Unit>
void AddExpanded(std::basic_string_view<Unit> in, Unit& last, bool& has_last, bool& pending,
                 std::basic_string<Unit>& out) {
  const std::size_t n = in.size();
  auto token = [&](Unit count) {
    if (has_last) out.append(Units<Unit>::Code(count), last);
    last = kMarker<Unit>;
    has_last = true;
    pending = false;
  };
  std::size_t i = 0;
  if (pending && n > 0) token(in[i++]);
  while (i < n) {
    const std::size_t marker = std::min(in.find(kMarker<Unit>, i), n);
    if (marker > i) {
      out.append(in.substr(i, marker - i));
      last = in[marker - 1];
      has_last = true;
    }
    if (marker == n) return;
    if (marker + 1 == n) {
      pending = true;
      return;
    }
    token(in[marker + 1]);
    i = marker + 2;
  }
}

}  // namespace

String ZtRLE::Decompress(const String& strInputString) noexcept {
  // Running out of memory ends the expansion where it was; the text so far is the result. A "~"
  // at the very end has no count and adds nothing.
  String out;
  Guarded([&] {
    out.reserve(strInputString.size());
    char16_t last = 0;
    bool has_last = false, pending = false;
    AddExpanded<char16_t>(strInputString, last, has_last, pending, out);
  });
  return out;
}

String ZtRLE::Compress(const String& strInputString) noexcept {
  // Running out of memory ends the coding where it was; the text so far is the result.
  String out;
  Guarded([&] {
    out.reserve(strInputString.size());  // never longer than the input unless it holds "~"
    char16_t run = 0;
    std::size_t length = 0;
    AddRuns<char16_t>(strInputString, run, length, out);
    FinishRun(run, length, out);
  });
  return out;
}

void RleCompressor::Add(std::string_view bytes, std::string& out) { AddRuns(bytes, run_byte_, run_length_, out); }

void RleCompressor::Finish(std::string& out) {
  FinishRun(run_byte_, run_length_, out);
  run_length_ = 0;
}

void RleExpander::Add(std::string_view bytes, std::string& out) {
  AddExpanded(bytes, last_, has_last_, pending_, out);
}

bool RleExpander::Finish() {
  const bool whole = !pending_;
  *this = RleExpander();
  return whole;
}

}  // namespace ztl
