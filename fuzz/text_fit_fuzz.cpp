// Text fitting (ZtStrings::EllipseText): any text, width and style, in the built-in font, in
// real fonts, and now and then in a font named by the input. With a device context that is no
// live handle the text comes back as it was given. Otherwise the result is the text's ANSI form
// (up to its first NUL) with each line either kept or shortened with "...", line breaks in
// place; a line that fits is kept; the end style keeps the longest start that fits with "...";
// the path style keeps everything from the last separator on, "..." before it, and the longest
// start before the separator that fits, or none.

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "harness.hpp"
#include "platform/device_font.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/text/strings.hpp"

namespace {

constexpr std::string_view kEllipsis = "...";
constexpr std::uint32_t kSingleLine = 0x20, kPath = 0x4000, kEnd = 0x8000;

// The fonts most inputs use, made once: the built-in one at two sizes and installed ones (a
// font that is not installed is left out).
const std::vector<ztl::Long>& Fonts() {
  static const std::vector<ztl::Long> fonts = [] {
    std::vector<ztl::Long> made;
    const std::pair<std::string_view, ztl::Long> wanted[] = {
        {ztl::kFixedPitchFont, 1}, {ztl::kFixedPitchFont, 7}, {"DejaVu Sans", 12}, {"DejaVu Sans:bold", 31},
        {"monospace", 9}};
    for (const auto& [name, size] : wanted) {
      if (const ztl::Long hdc = ztl::CreateDeviceContext(name, size)) made.push_back(hdc);
    }
    return made;
  }();
  return fonts;
}

// The lines of a text and the breaks after each (CR LF, CR, LF, or none after the last).
struct Lines {
  std::vector<std::string_view> lines, breaks;
};

Lines Split(std::string_view text, bool single_line) {
  Lines out;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = single_line ? std::string_view::npos : text.find_first_of("\r\n", start);
    out.lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    out.breaks.push_back(text.substr(end, next - end));
    start = next;
  }
  return out;
}

class Measure {
 public:
  explicit Measure(const ztl::platform::DeviceFont& font) : font_(font) {}
  std::int64_t operator()(std::string_view text) const {
    std::int64_t sum = 0;
    for (const char c : text) sum += font_.AnsiAdvance(static_cast<ztl::Byte>(c));
    return sum;
  }

 private:
  const ztl::platform::DeviceFont& font_;
};

// One shortened line of the end style: the longest start of `line` that fits with "...".
void CheckEnd(std::string_view line, std::string_view fit, std::int64_t width, const Measure& measure) {
  fuzz::Check(fit.ends_with(kEllipsis), "a shortened line does not end in \"...\"");
  const std::string_view start = fit.substr(0, fit.size() - kEllipsis.size());
  fuzz::Check(line.starts_with(start) && start.size() < line.size(), "an end-cut line is no start of the line");
  // "..." alone stands whether or not it fits; a start with it fits.
  if (!start.empty()) fuzz::Check(measure(fit) <= width, "an end-cut line is wider than the width");
  const std::string longer = std::string(line.substr(0, start.size() + 1)) + std::string(kEllipsis);
  fuzz::Check(measure(longer) > width, "an end-cut line is not the longest start that fits");
}

// One shortened line of the path style: start + "..." + everything from the last separator.
void CheckPath(std::string_view line, std::string_view fit, std::int64_t width, const Measure& measure) {
  const std::size_t separator = line.find_last_of("\\/");
  const std::string_view tail = line.substr(separator);
  fuzz::Check(fit.ends_with(std::string(kEllipsis) + std::string(tail)), "a path-cut line lost its file name");
  const std::string_view start = fit.substr(0, fit.size() - kEllipsis.size() - tail.size());
  fuzz::Check(line.substr(0, separator).starts_with(start), "a path-cut line keeps no start of the path");
  if (start.size() < separator) {
    const std::string longer = std::string(line.substr(0, start.size() + 1)) + std::string(kEllipsis) + std::string(tail);
    fuzz::Check(measure(longer) > width, "a path-cut line keeps less of the path than fits");
  }
  if (!start.empty()) fuzz::Check(measure(fit) <= width, "a path-cut line with a start is wider than the width");
}

void CheckFit(const ztl::String& text, const ztl::String& result, ztl::Long width_arg, std::uint32_t flags,
              const ztl::platform::DeviceFont& font) {
  // The ANSI form the fitting works on: up to the first NUL, a surrogate pair as one "?".
  ztl::String shown = text.substr(0, text.find(u'\0'));
  std::string ansi = ztl::StringToAnsiBytes(shown);
  for (std::size_t i = 0, o = 0; i < shown.size(); ++i, ++o) {
    const bool pair = shown[i] >= 0xD800 && shown[i] <= 0xDBFF && i + 1 < shown.size() && shown[i + 1] >= 0xDC00 &&
                      shown[i + 1] <= 0xDFFF;
    if (pair) ansi.erase(o + 1, 1), ++i;
  }
  const std::string out = ztl::StringToAnsiBytes(result);
  fuzz::Check(ztl::AnsiBytesToString(out) == result, "the result holds characters outside the ANSI code page");
  if (!(flags & (kPath | kEnd))) {
    fuzz::Check(out == ansi, "a style without an ellipsis changed the text");
    return;
  }
  const std::int64_t width = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(width_arg) * 0.97));
  const Measure measure(font);
  const Lines before = Split(ansi, flags & kSingleLine), after = Split(out, flags & kSingleLine);
  fuzz::Check(before.breaks == after.breaks, "the line breaks changed");
  for (std::size_t i = 0; i < before.lines.size(); ++i) {
    const std::string_view line = before.lines[i], fit = after.lines[i];
    if (line.empty() || measure(line) <= width) {
      fuzz::Check(fit == line, "a line that fits was changed");
      continue;
    }
    const bool has_separator = line.find_first_of("\\/") != std::string_view::npos;
    if ((flags & kPath) && has_separator) {
      if (!(flags & kEnd)) CheckPath(line, fit, width, measure);
      else fuzz::Check(fit.find(kEllipsis) != std::string_view::npos, "a line too wide has no \"...\"");
    } else {
      CheckEnd(line, fit, width, measure);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pick = fuzz::Take<std::uint8_t>(data, size);
  const auto width = fuzz::Take<ztl::Long>(data, size);
  const auto style = fuzz::Take<ztl::Long>(data, size);
  ztl::Long hdc = 0;
  bool own = false;
  const std::vector<ztl::Long>& fonts = Fonts();
  if (pick == 0xFF) {
    // A font named by the input: a name up to the first NUL, then a size.
    const auto pixel_size = fuzz::Take<std::uint16_t>(data, size);
    std::string name;
    while (size > 0 && *data != 0 && name.size() < 64) name.push_back(static_cast<char>(*data)), ++data, --size;
    hdc = ztl::CreateDeviceContext(name, pixel_size);
    fuzz::Check(hdc == 0 || (pixel_size >= 1 && pixel_size <= 1000), "a device context of a size out of range");
    own = hdc != 0;
  } else if (pick < fonts.size() * 40) {
    hdc = fonts[pick % fonts.size()];
  } else {
    hdc = pick == 0xFE ? -1 : 100000 + pick;  // no live handle
  }
  const ztl::String text = fuzz::Utf16(data, size);
  const ztl::String result = ztl::ZtStrings().EllipseText(text, width, 20, hdc, static_cast<ztl::ztlEllipseText>(style));

  if (const auto font = ztl::platform::FindDeviceFont(hdc)) {
    CheckFit(text, result, width, static_cast<std::uint32_t>(style) & 0xFFFFu, *font);
  } else {
    fuzz::Check(result == text, "an unknown device context changed the text");
  }
  if (own) {
    fuzz::Check(ztl::DeleteDeviceContext(hdc), "a device context just made could not be deleted");
    fuzz::Check(!ztl::DeleteDeviceContext(hdc), "a device context was deleted twice");
  }
  return 0;
}
