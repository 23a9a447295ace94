// Device contexts: the process-wide table of handles, fonts found through fontconfig and
// measured with FreeType, and the built-in fixed-pitch font.

#include "device_font.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <new>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/device_context.hpp"

namespace ztl::platform {

namespace {

constexpr Long kMaxPixelSize = 1000;

// FreeType's library object and fontconfig's configuration are shared by every font, and
// neither may be used from two threads at once: one lock guards all calls into either.
std::mutex& FontLock() {
  static std::mutex lock;
  return lock;
}

// The FreeType library, made on first use and kept for the life of the process (fonts may
// still be held while static objects are destroyed). Call with FontLock held.
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) made = nullptr;
    return made;
  }();
  return library;
}

// A 26.6 fixed-point length rounded to whole pixels.
Long RoundPixels(FT_Pos value) {
  const FT_Pos rounded = (value + 32) >> 6;
  return static_cast<Long>(std::clamp<FT_Pos>(rounded, std::numeric_limits<Long>::min(),
                                              std::numeric_limits<Long>::max()));
}

// Family names compare as fontconfig compares them: blanks and ASCII case do not count.
bool SameFamily(const FcChar8* a, const FcChar8* b) {
  auto next = [](const FcChar8*& p) {
    while (*p == ' ') ++p;
    const FcChar8 c = *p;
    if (c != 0) ++p;
    return c >= 'A' && c <= 'Z' ? static_cast<FcChar8>(c - 'A' + 'a') : c;
  };
  while (true) {
    const FcChar8 x = next(a), y = next(b);
    if (x != y) return false;
    if (x == 0) return true;
  }
}

// fontconfig's generic family names: asking for one of them asks for whatever the system
// configures for it.
bool IsGenericFamily(const FcChar8* family) {
  static constexpr const char* kGeneric[] = {"sans-serif", "serif",  "monospace", "sans",  "mono",    "cursive",
                                             "fantasy",    "system-ui", "emoji",  "math", "fangsong"};
  for (const char* name : kGeneric) {
    if (SameFamily(family, reinterpret_cast<const FcChar8*>(name))) return true;
  }
  return false;
}

struct FontFile {
  std::string path;
  int index = 0;
};

// The file of the installed font that `name` (a fontconfig pattern: family, optional
// properties) asks for. fontconfig always offers some font, falling back to common families
// for a name it does not know; a match counts only when its family is the one asked for or
// one the configuration firmly puts in its place. Call with FontLock held.
bool FindFontFile(const std::string& name, Long pixel_size, FontFile& found) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str()));
  if (pattern == nullptr) return false;
  bool ok = false;
  FcChar8* requested = nullptr;
  if (FcPatternGetString(pattern, FC_FAMILY, 0, &requested) == FcResultMatch && requested[0] != 0) {
    const std::string asked(reinterpret_cast<const char*>(requested));
    const FcChar8* asked_family = reinterpret_cast<const FcChar8*>(asked.c_str());
    FcPatternDel(pattern, FC_PIXEL_SIZE);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, static_cast<double>(pixel_size));
    if (FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
      FcDefaultSubstitute(pattern);
      // The families the match may have: those the configuration holds to firmly (the name
      // itself, metric-compatible aliases), not the fallbacks it adds for any unknown name;
      // for a generic name, whatever it stands for.
      const bool generic = IsGenericFamily(asked_family);
      std::vector<std::string> accepted;
      FcValue value;
      FcValueBinding binding = FcValueBindingWeak;
      for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type == FcTypeString && (generic || binding != FcValueBindingWeak)) {
          accepted.emplace_back(reinterpret_cast<const char*>(value.u.s));
        }
      }
      FcChar8* family = nullptr;
      FcResult result = FcResultNoMatch;
      FcPattern* match = FcFontMatch(nullptr, pattern, &result);
      if (match != nullptr) {
        bool family_ok = false;
        for (int i = 0; !family_ok && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
          for (const std::string& a : accepted) {
            if (SameFamily(family, reinterpret_cast<const FcChar8*>(a.c_str()))) family_ok = true;
          }
        }
        FcChar8* file = nullptr;
        int index = 0;
        if (family_ok && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
          if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
          found.path = reinterpret_cast<const char*>(file);
          found.index = index;
          ok = true;
        }
        FcPatternDestroy(match);
      }
    }
  }
  FcPatternDestroy(pattern);
  return ok;
}

// The handles and their fonts. Made once and never destroyed, so that handles still live at
// exit are no trouble for static destruction.
struct HandleTable {
  std::mutex lock;
  std::map<Long, std::shared_ptr<const DeviceFont>> fonts;
  Long next = 1;
};

HandleTable& Handles() {
  static HandleTable* table = new HandleTable;
  return *table;
}

// A handle for a new font: counts up, so a deleted handle comes back only after about two
// billion others; wraps past the largest Long to 1, skipping live handles.
Long AddHandle(std::shared_ptr<const DeviceFont> font) {
  HandleTable& table = Handles();
  std::lock_guard guard(table.lock);
  if (table.fonts.size() >= static_cast<std::size_t>(std::numeric_limits<Long>::max() - 1)) return 0;
  Long hdc = table.next;
  while (table.fonts.count(hdc) != 0) hdc = hdc == std::numeric_limits<Long>::max() ? 1 : hdc + 1;
  table.next = hdc == std::numeric_limits<Long>::max() ? 1 : hdc + 1;
  table.fonts.emplace(hdc, std::move(font));
  return hdc;
}

}  // namespace

// A font file opened by FreeType at one pixel size, with the advances measured so far.
struct FreeTypeFace {
  FT_Face face = nullptr;
  std::unordered_map<char32_t, Long> advances;  // guarded by FontLock

  ~FreeTypeFace() {
    std::lock_guard guard(FontLock());
    if (face != nullptr) FT_Done_Face(face);
  }

  // The hinted advance of one character, in whole pixels. Call with FontLock held.
  Long Measure(char32_t c) {
    if (auto known = advances.find(c); known != advances.end()) return known->second;
    Long advance = 0;
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) advance = RoundPixels(face->glyph->advance.x);
    advances.emplace(c, advance);
    return advance;
  }
};

DeviceFont::DeviceFont(Long pixel_size) : pixel_size_(pixel_size), line_height_(pixel_size) {
  ansi_advance_.fill(pixel_size);
}

DeviceFont::DeviceFont(std::shared_ptr<FreeTypeFace> face, Long pixel_size, Long line_height)
    : face_(std::move(face)), pixel_size_(pixel_size), line_height_(line_height) {
  std::lock_guard guard(FontLock());
  for (int code = 0; code < 256; ++code) {
    ansi_advance_[code] = face_->Measure(AnsiChar(static_cast<Byte>(code)));
  }
}

Long DeviceFont::Advance(char32_t c) const noexcept {
  if (!face_) return pixel_size_;
  try {
    std::lock_guard guard(FontLock());
    return face_->Measure(c);
  } catch (const std::bad_alloc&) {
    // Out of memory for the cache: measure without keeping the result.
    std::lock_guard guard(FontLock());
    return FT_Load_Char(face_->face, c, FT_LOAD_DEFAULT) == 0 ? RoundPixels(face_->face->glyph->advance.x) : 0;
  }
}

std::shared_ptr<const DeviceFont> FindDeviceFont(Long hdc) noexcept {
  HandleTable& table = Handles();
  std::lock_guard guard(table.lock);
  auto found = table.fonts.find(hdc);
  return found == table.fonts.end() ? nullptr : found->second;
}

}  // namespace ztl::platform

// fontconfig 2.14 loses a small block while it reads its configuration files, once per
// process; leak-checking builds are told to expect it rather than fail every program that
// looks up a font.
// GCC says it builds with AddressSanitizer through __SANITIZE_ADDRESS__, clang through
// __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZTL_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(ZTL_ADDRESS_SANITIZER)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Quietly: the list of suppressions used would end up in the output of every such program.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

namespace ztl {

Long CreateDeviceContext(std::string_view font, Long pixel_size) noexcept {
  using platform::DeviceFont;
  using platform::FreeTypeFace;
  if (pixel_size < 1 || pixel_size > platform::kMaxPixelSize) return 0;
  if (font.empty() || font.find('\0') != std::string_view::npos) return 0;
  try {
    if (font == kFixedPitchFont) return platform::AddHandle(std::make_shared<const DeviceFont>(pixel_size));

    auto face = std::make_shared<FreeTypeFace>();
    Long line_height = 0;
    {
      std::lock_guard guard(platform::FontLock());
      platform::FontFile file;
      if (!platform::FindFontFile(std::string(font), pixel_size, file)) return 0;
      FT_Library library = platform::Library();
      if (library == nullptr) return 0;
      if (FT_New_Face(library, file.path.c_str(), file.index, &face->face) != 0) {
        face->face = nullptr;
        return 0;
      }
      if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixel_size)) != 0) return 0;
      line_height = platform::RoundPixels(face->face->size->metrics.height);
    }
    // The face is closed (under the lock) when the last holder lets it go.
    return platform::AddHandle(std::make_shared<const DeviceFont>(std::move(face), pixel_size, line_height));
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

bool DeleteDeviceContext(Long hdc) noexcept {
  std::shared_ptr<const platform::DeviceFont> font;  // released after the table's lock
  platform::HandleTable& table = platform::Handles();
  std::lock_guard guard(table.lock);
  auto found = table.fonts.find(hdc);
  if (found == table.fonts.end()) return false;
  font = std::move(found->second);
  table.fonts.erase(found);
  return true;
}

}  // namespace ztl
