// Fitting text into a width with "...": the end and path ellipses, line by line.

#include "text_fit.hpp"


namespace ztl::platform {

namespace {

constexpr std::string_view kEllipsis = "...";

std::int64_t TextWidth(std::string_view text, const CharWidth& char_width) {
  std::int64_t sum = 0;
  for (char c : text) sum += char_width(static_cast<unsigned char>(c));
  return sum;
}

// The longest start of `line` that fits `room` units: how many characters it holds.
std::size_t FittingStart(std::string_view line, std::int64_t room, const CharWidth& char_width) {
  std::size_t n = 0;
  std::int64_t used = 0;
  while (n < line.size()) {
    used += char_width(static_cast<unsigned char>(line[n]));
    if (used > room) break;
    ++n;
  }
  return n;
}

// End ellipsis of a line that does not fit.
std::string CutEnd(std::string_view line, std::int64_t width, const CharWidth& char_width) {
  const std::int64_t room = width - TextWidth(kEllipsis, char_width);
  std::string out(line.substr(0, room < 0 ? 0 : FittingStart(line, room, char_width)));
  out += kEllipsis;
  return out;
}

// Path ellipsis of a line that does not fit and has a separator at `separator`.
std::string CutPath(std::string_view line, std::size_t separator, std::int64_t width, const CharWidth& char_width) {
  const std::string_view kept_end = line.substr(separator);
  const std::int64_t room = width - TextWidth(kEllipsis, char_width) - TextWidth(kept_end, char_width);
  // Removing characters to the left of "..." one at a time until the line fits keeps the
  // longest start of the text before the separator that fits the room left.
  const std::size_t keep = room < 0 ? 0 : FittingStart(line.substr(0, separator), room, char_width);
  std::string out(line.substr(0, keep));
  out += kEllipsis;
  out += kept_end;
  return out;
}

std::string FitLine(std::string_view line, std::int64_t width, std::uint32_t flags, const CharWidth& char_width) {
  if (line.empty() || TextWidth(line, char_width) <= width) return std::string(line);
  if (flags & kDrawPathEllipsis) {
    const std::size_t separator = line.find_last_of("\\/");
    if (separator != std::string_view::npos) {
      std::string out = CutPath(line, separator, width, char_width);
      if ((flags & kDrawEndEllipsis) && TextWidth(out, char_width) > width) out = CutEnd(out, width, char_width);
      return out;
    }
  }
  return CutEnd(line, width, char_width);
}

}  // namespace

std::string FitText(std::string_view text, std::int64_t width, std::uint32_t flags, const CharWidth& char_width) {
  if (!(flags & kDrawModifyString) || !(flags & (kDrawPathEllipsis | kDrawEndEllipsis))) return std::string(text);
  if (flags & kDrawSingleLine) return FitLine(text, width, flags, char_width);
  std::string out;
  out.reserve(text.size() + kEllipsis.size());
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find_first_of("\r\n", start);
    out += FitLine(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), width,
                   flags, char_width);
    if (end == std::string_view::npos) break;
    // CR LF is one line break; a CR or an LF alone is one too.
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    out += text.substr(end, next - end);
    start = next;
  }
  return out;
}

}  // namespace ztl::platform
