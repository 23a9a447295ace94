// Writing and reading the saved form. Values are written with their type so that a reload
// gives the same kinds back:   Strategy = Long 1
// Texts are quoted, with \" \\ \n \r \t and \uXXXX escapes (a lone surrogate stays a lone
// surrogate); numbers are written so that they read back exactly.

#include "form_document.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/names.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl {

namespace {

constexpr std::string_view kHeader = "ZTLData form 1";

// ---- writing -------------------------------------------------------------------------------

std::string Quote(std::u16string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (StartsSurrogatePair(text, i)) {
      AppendUtf8(out, CodePointOfPair(c, text[i + 1]));
      ++i;
    } else if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\n') {
      out += "\\n";
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F || IsSurrogate(c)) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out + "\"";
}

std::string Number(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, x).ptr;
  return std::string(buf, end);
}

// A name is written bare when it is a plain word, quoted otherwise; "Begin" and "End" in any
// case are always quoted, or a property so named would read back as a block boundary.
std::string Name(std::u16string_view name) {
  bool plain = !name.empty() && !EqualsIgnoringAsciiCase(name, "Begin") && !EqualsIgnoringAsciiCase(name, "End");
  for (char16_t c : name) {
    plain = plain && ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                      c == u'_' || c == u'.');
  }
  return plain ? Utf16ToUtf8(name) : Quote(name);
}

std::string Value(const Variant& v) {
  if (const auto* b = v.If<Boolean>()) return *b ? "Boolean True" : "Boolean False";
  if (const auto* n = v.If<Byte>()) return "Byte " + std::to_string(*n);
  if (const auto* n = v.If<Integer>()) return "Integer " + std::to_string(*n);
  if (const auto* n = v.If<Long>()) return "Long " + std::to_string(*n);
  if (const auto* n = v.If<Single>()) return "Single " + Number(*n);
  if (const auto* n = v.If<Double>()) return "Double " + Number(*n);
  if (const auto* n = v.If<Date>()) return "Date " + Number(n->value);
  if (const auto* n = v.If<Currency>()) return "Currency " + Utf16ToUtf8(CurrencyToText(*n));
  // A Decimal keeps its scale: 1.50 is saved as 1.50.
  if (const auto* n = v.If<Decimal>()) return "Decimal " + Utf16ToUtf8(DecimalToScaledText(*n));
  if (const auto* s = v.If<String>()) return "String " + Quote(*s);
  if (const auto* e = v.If<ErrorValue>()) return "Error " + std::to_string(e->code);
  if (v.IsNull()) return "Null";
  return "Empty";  // also objects and arrays, which a form does not keep
}

// ---- reading -------------------------------------------------------------------------------

class Line {
 public:
  explicit Line(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }
  // The next blank-separated word.
  std::string_view Word() {
    SkipBlanks();
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] != ' ' && text_[at_] != '\t' && text_[at_] != '=') ++at_;
    return text_.substr(start, at_ - start);
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool NextIsQuote() {
    SkipBlanks();
    return at_ < text_.size() && text_[at_] == '"';
  }
  // A quoted text with its escapes.
  std::optional<String> Quoted() {
    if (!Take('"')) return std::nullopt;
    std::string run;  // UTF-8 between escapes
    String out;
    const auto flush = [&] {
      out += Utf8ToUtf16(run);
      run.clear();
    };
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') {
        flush();
        return out;
      }
      if (c != '\\') {
        run += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      const char e = text_[at_++];
      switch (e) {
        case '"': case '\\': run += e; break;
        case 'n': run += '\n'; break;
        case 'r': run += '\r'; break;
        case 't': run += '\t'; break;
        case 'u': {
          unsigned code = 0;
          if (at_ + 4 > text_.size()) return std::nullopt;
          const auto r = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, code, 16);
          if (r.ptr != text_.data() + at_ + 4) return std::nullopt;
          at_ += 4;
          flush();
          out += static_cast<char16_t>(code);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;
  }
  // A name: a quoted text or a word.
  std::optional<String> NameText() {
    if (NextIsQuote()) return Quoted();
    const std::string_view w = Word();
    if (w.empty()) return std::nullopt;
    return Utf8ToUtf16(w);
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r')) ++at_;
  }
  std::string_view text_;
  std::size_t at_ = 0;
};

bool Is(std::string_view word, std::string_view name) {
  return EqualsIgnoringAsciiCase(word, name);  // names are ASCII: no need to decode the word
}

template <class T>
std::optional<T> WholeNumber(std::string_view word) {
  long long v = 0;
  const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
  if (r.ec != std::errc() || r.ptr != word.data() + word.size()) return std::nullopt;
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return std::nullopt;
  return static_cast<T>(v);
}

std::optional<double> FloatNumber(std::string_view word) {
  if (word == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (word == "Infinity") return std::numeric_limits<double>::infinity();
  if (word == "-Infinity") return -std::numeric_limits<double>::infinity();
  double v = 0;
  const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
  if (r.ec != std::errc() || r.ptr != word.data() + word.size()) return std::nullopt;
  return v;
}

// A typed value: "Long 1", "String \"x\"", "Null" ...
std::optional<Variant> ReadValue(Line& line) {
  const std::string_view type = line.Word();
  std::optional<Variant> value;
  if (Is(type, "Empty")) {
    value = Variant();
  } else if (Is(type, "Null")) {
    value = Variant(Null);
  } else if (Is(type, "String")) {
    if (auto s = line.Quoted()) value = Variant(std::move(*s));
  } else {
    const std::string_view word = line.Word();
    if (Is(type, "Boolean")) {
      if (Is(word, "True")) value = Variant(true);
      if (Is(word, "False")) value = Variant(false);
    } else if (Is(type, "Byte")) {
      if (auto n = WholeNumber<Byte>(word)) value = Variant(*n);
    } else if (Is(type, "Integer")) {
      if (auto n = WholeNumber<Integer>(word)) value = Variant(*n);
    } else if (Is(type, "Long")) {
      if (auto n = WholeNumber<Long>(word)) value = Variant(*n);
    } else if (Is(type, "Error")) {
      if (auto n = WholeNumber<std::int32_t>(word)) value = Variant(ErrorValue{*n});
    } else if (Is(type, "Single")) {
      if (auto n = FloatNumber(word)) value = Variant(static_cast<Single>(*n));
    } else if (Is(type, "Double")) {
      if (auto n = FloatNumber(word)) value = Variant(*n);
    } else if (Is(type, "Date")) {
      if (auto n = FloatNumber(word)) value = Variant(Date{*n});
    } else if (Is(type, "Currency") || Is(type, "Decimal")) {
      const String text = Utf8ToUtf16(word);
      // A Decimal keeps the scale it was written with; other number text reads as the
      // platform reads it.
      if (Outcome<Decimal> scaled = ScaledTextToDecimal(text); scaled && Is(type, "Decimal")) {
        value = Variant(*scaled);
      } else if (Outcome<Variant> read = ReadValue(text, Is(type, "Currency") ? VarType::Currency : VarType::Decimal)) {
        value = *std::move(read);
      }
    }
  }
  if (value && !line.AtEnd()) return std::nullopt;
  return value;
}

}  // namespace

std::string WriteForm(const std::vector<SavedComponent>& components) {
  std::string out = std::string(kHeader) + "\n";
  for (const SavedComponent& c : components) {
    out += "Begin " + Name(c.class_name) + " " + Name(c.name) + "\n";
    for (const auto& [key, value] : c.bag.Entries()) out += "    " + Name(key) + " = " + Value(value) + "\n";
    out += "End\n";
  }
  return out;
}

ParsedForm ReadForm(std::string_view document) {
  ParsedForm form;
  std::optional<SavedComponent> open;
  std::size_t number = 0;
  bool first = true;
  const auto problem = [&](const std::string& what) {
    form.problems.push_back("line " + std::to_string(number) + ": " + what);
  };
  while (!document.empty()) {
    const std::size_t cut = document.find('\n');
    std::string_view text = document.substr(0, cut);
    document = cut == std::string_view::npos ? std::string_view() : document.substr(cut + 1);
    ++number;
    Line line(text);
    if (line.AtEnd()) continue;
    if (first) {
      first = false;
      if (text.substr(0, kHeader.size()) == kHeader) continue;
      problem("the document does not start with \"" + std::string(kHeader) + "\"; reading on");
    }
    Line probe(text);
    const std::string_view word = probe.Word();
    if (word.starts_with('#') || word.starts_with('\'')) continue;
    if (Is(word, "Begin")) {
      if (open) {
        problem("a block begins before the previous one ends; it ends here");
        form.components.push_back(std::move(*open));
        open.reset();
      }
      auto class_name = probe.NameText();
      auto name = probe.NameText();
      if (!class_name || !name || !probe.AtEnd()) {
        problem("expected: Begin CLASS NAME");
        continue;
      }
      open = SavedComponent{std::move(*class_name), std::move(*name), PropertyBag(false)};
    } else if (Is(word, "End")) {
      if (!open) {
        problem("End without Begin");
        continue;
      }
      form.components.push_back(std::move(*open));
      open.reset();
    } else {
      Line entry(text);
      auto key = entry.NameText();
      if (!open) {
        problem("a property outside any block");
      } else if (!key || !entry.Take('=')) {
        problem("expected: KEY = TYPE VALUE");
      } else if (auto value = ReadValue(entry)) {
        open->bag.Restore(std::move(*key), std::move(*value));
      } else {
        problem("a value that cannot be read; the property keeps its value");
      }
    }
  }
  if (open) {
    ++number;
    problem("the last block has no End; it ends here");
    form.components.push_back(std::move(*open));
  }
  return form;
}

}  // namespace ztl
