// Reading and writing Variants as JSON values, and the object id table.

#include "json_value.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <vector>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/names.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::cli {

// ---- object table ------------------------------------------------------------------------

ObjectId ObjectTable::Register(const ObjectRef& object) {
  if (auto known = ids_.find(object.get()); known != ids_.end()) return known->second;
  const ObjectId id = next_++;
  objects_.emplace(id, object);
  ids_.emplace(object.get(), id);
  return id;
}

ObjectRef ObjectTable::Find(ObjectId id) const {
  auto found = objects_.find(id);
  return found == objects_.end() ? nullptr : found->second;
}

bool ObjectTable::Release(ObjectId id) {
  auto found = objects_.find(id);
  if (found == objects_.end()) return false;
  ids_.erase(found->second.get());
  objects_.erase(found);
  return true;
}

void ObjectTable::Release(const Object* object) {
  if (auto known = ids_.find(object); known != ids_.end()) Release(known->second);
}

namespace {

// Deeper nesting of values than this is refused on input, and collections nested deeper are
// written by reference on output.
constexpr int kMaxDepth = 64;

// ---- writing -----------------------------------------------------------------------------

// A Double as JSON: a number, or the name of a value JSON has no number for.
Json DoubleJson(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
  return x;
}

// A Single as the shortest decimal that reads back as the same Single, so 0.1f is 0.1.
Json SingleJson(float x) {
  if (!std::isfinite(x)) return DoubleJson(x);
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, x);
  double widened = x;
  if (ec == std::errc()) std::from_chars(text, end, widened);
  return widened;
}

Json Tagged(std::string_view type, Json value) {
  return Json{{"type", type}, {"value", std::move(value)}};
}

class Writer {
 public:
  explicit Writer(ObjectTable& table) : table_(table) {}

  // Whether a value written had a part nested too deeply, which was written as null.
  bool too_deep() const { return too_deep_; }

  Json Write(const Variant& v, int depth = 0) {
    // Arrays nest no deeper than they were read, and collections past kMaxDepth are written by
    // reference, so this never stops for values a client sent; it stops any other from
    // recursing without bound.
    if (depth > kMaxJsonNesting) {
      too_deep_ = true;
      return nullptr;
    }
    const std::string type(VarTypeName(v.Type()));
    return v.Visit(Overloaded{
        [&](EmptyValue) { return Tagged(type, nullptr); },
        [&](NullValue) { return Tagged(type, nullptr); },
        [&](Boolean b) { return Tagged(type, b); },
        [&](Byte b) { return Tagged(type, b); },
        [&](Integer i) { return Tagged(type, i); },
        [&](Long l) { return Tagged(type, l); },
        [&](Single s) { return Tagged(type, SingleJson(s)); },
        [&](Double d) { return Tagged(type, DoubleJson(d)); },
        [&](Date d) { return Tagged(type, DoubleJson(d.value)); },
        [&](Currency c) { return Tagged(type, Utf16ToUtf8(CurrencyToText(c))); },
        // With its scale: 1.50 stays "1.50" (the platform's text would drop the zero).
        [&](const Decimal& d) { return Tagged(type, Utf16ToUtf8(DecimalToScaledText(d))); },
        [&](const String& s) { return Tagged(type, Utf16ToUtf8(s)); },
        [&](ErrorValue e) { return Tagged(type, e.code); },
        [&](const ObjectRef& o) { return WriteObject(o, depth); },
        [&](const SafeArray& a) { return WriteArray(a, depth); },
    });
  }

 private:
  Json WriteObject(const ObjectRef& object, int depth) {
    if (!object) return Json{{"type", "Object"}, {"object", nullptr}};
    const ObjectId id = table_.Register(object);
    const auto* collection = dynamic_cast<const Collection*>(object.get());
    // A collection shows its items, except where it contains itself or nests too deeply.
    if (!collection || depth >= kMaxDepth || open_.contains(collection)) {
      return Json{{"type", "Object"}, {"object", id}};
    }
    open_.insert(collection);
    Json items = Json::array();
    for (Long pos = 1; pos <= collection->Count(); ++pos) {
      const Variant* item = collection->Item(pos);
      const String* key = collection->Key(pos);
      items.push_back(Json{{"value", item ? Write(*item, depth + 1) : Write(Variant(), depth + 1)},
                           {"key", key ? Json(Utf16ToUtf8(*key)) : Json(nullptr)}});
    }
    open_.erase(collection);
    return Json{{"type", "Collection"}, {"object", id}, {"items", std::move(items)}};
  }

  Json WriteArray(const SafeArray& array, int depth) {
    Json bounds = Json::array();
    for (const ArrayBound& b : array.Bounds()) bounds.push_back(Json::array({b.lower, b.upper()}));
    Json items = Json::array();
    for (const Variant& item : array.Elements()) items.push_back(Write(item, depth + 1));
    return Json{{"type", "Array"},
                {"of", std::string(VarTypeName(array.ElementType()))},
                {"bounds", std::move(bounds)},
                {"items", std::move(items)}};
  }

  ObjectTable& table_;
  std::set<const Collection*> open_;
  bool too_deep_ = false;
};

// ---- reading -----------------------------------------------------------------------------

// The type codes a tag may name, as the tags write them.
constexpr VarType kTaggable[] = {
    VarType::Empty, VarType::Null,     VarType::Integer, VarType::Long,   VarType::Single,
    VarType::Double, VarType::Currency, VarType::Date,   VarType::String, VarType::Object,
    VarType::Error,  VarType::Boolean,  VarType::Variant, VarType::Decimal, VarType::Byte,
};

std::optional<VarType> TypeByName(std::string_view name) {
  for (VarType t : kTaggable) {
    if (EqualsIgnoringAsciiCase(VarTypeName(t), name)) return t;
  }
  return std::nullopt;
}

std::string Quoted(std::string_view text) { return "\"" + Shortened(text) + "\""; }

// A whole number within [low, high], for the integral tags.
Checked<long long> WholeNumber(const Json& value, long long low, long long high, std::string_view type) {
  auto out_of_range = [&] { return Problem(std::string(type) + " value out of range: " + Excerpt(value)); };
  long long n = 0;
  if (value.is_number_integer()) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
      return out_of_range();
    }
    n = value.get<long long>();
  } else if (value.is_number_float() && std::trunc(value.get<double>()) == value.get<double>()) {
    const double x = value.get<double>();
    if (std::fabs(x) >= 9.2e18) return out_of_range();
    n = static_cast<long long>(x);
  } else {
    return Problem(std::string(type) + " value must be a whole number, not " + Excerpt(value));
  }
  if (n < low || n > high) return out_of_range();
  return n;
}

// A floating-point value: a number or one of the names "Infinity", "-Infinity", "NaN".
Checked<double> FloatNumber(const Json& value, std::string_view type) {
  if (value.is_number()) return value.get<double>();
  if (value.is_string()) {
    const std::string& s = value.get_ref<const std::string&>();
    if (s == "Infinity") return std::numeric_limits<double>::infinity();
    if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
  }
  return Problem(std::string(type) + " value must be a number, \"Infinity\", \"-Infinity\" or \"NaN\", not " +
                 Excerpt(value));
}

// The value of a text or number converted by the library's own conversion to a type.
template <class Convert>
Checked<Variant> Converted(const Json& value, std::string_view type, Convert convert) {
  Variant source;
  if (value.is_string()) {
    source = Utf8ToUtf16(value.get_ref<const std::string&>());
  } else if (value.is_number_integer() && !value.is_number_unsigned()) {
    source = Variant(value.get<long long>());
  } else if (value.is_number()) {
    source = value.get<double>();
  } else {
    return Problem(std::string(type) + " value must be a decimal string or a number, not " + Excerpt(value));
  }
  auto result = convert(source);
  if (!result) return Problem(std::string(type) + " value does not convert: " + Excerpt(value));
  return Variant(*std::move(result));
}

// A whole number of an integral type T, within T's range.
template <class T>
Checked<Variant> Whole(const Json& value, std::string_view type) {
  Checked<long long> n = WholeNumber(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), type);
  if (!n) return n.problem();
  return Variant(static_cast<T>(*n));
}

class Reader {
 public:
  explicit Reader(ObjectTable& table) : table_(table) {}

  Checked<Variant> Read(const Json& json, int depth = 0) {
    if (depth > kMaxDepth) return Problem("value nested too deeply");
    switch (json.type()) {
      case Json::value_t::null: return Variant(Null);
      case Json::value_t::boolean: return Variant(json.get<bool>());
      case Json::value_t::number_integer: return Variant(json.get<long long>());
      case Json::value_t::number_unsigned: {
        const auto n = json.get<std::uint64_t>();
        return n <= static_cast<std::uint64_t>(std::numeric_limits<Long>::max()) ? Variant(static_cast<Long>(n))
                                                                                  : Variant(static_cast<double>(n));
      }
      case Json::value_t::number_float: return Variant(json.get<double>());
      case Json::value_t::string: return Variant(Utf8ToUtf16(json.get_ref<const std::string&>()));
      case Json::value_t::object: return ReadTagged(json, depth);
      default:
        return Problem("a plain JSON array is no value; write an array as "
                       "{\"type\": \"Array\", \"of\": ..., \"bounds\": ..., \"items\": ...}");
    }
  }

 private:
  Checked<Variant> ReadTagged(const Json& json, int depth) {
    auto type_field = json.find("type");
    if (type_field == json.end() || !type_field->is_string()) {
      return Problem("a JSON object must be a tagged value with a \"type\"");
    }
    const std::string& name = type_field->get_ref<const std::string&>();
    if (EqualsIgnoringAsciiCase(name, "Array")) return ReadArray(json, depth);
    if (EqualsIgnoringAsciiCase(name, "Collection")) return ReadCollection(json, depth);
    const std::optional<VarType> type = TypeByName(name);
    if (!type || *type == VarType::Variant) return Problem("unknown value type " + Quoted(name));
    if (*type == VarType::Object) return ReadObject(json);
    if (*type == VarType::Empty) return Variant();
    if (*type == VarType::Null) return Variant(Null);
    auto value_field = json.find("value");
    if (value_field == json.end() || value_field->is_null()) return Problem(Quoted(name) + " value needs a \"value\"");
    return ReadScalar(*type, *value_field, name);
  }

  // The value of a tag of a type that is no object, array or collection, from its "value".
  static Checked<Variant> ReadScalar(VarType type, const Json& value, const std::string& name) {
    switch (type) {
      case VarType::Boolean:
        if (!value.is_boolean()) return Problem("Boolean value must be true or false, not " + Excerpt(value));
        return Variant(value.get<bool>());
      case VarType::Byte: return Whole<Byte>(value, "Byte");
      case VarType::Integer: return Whole<Integer>(value, "Integer");
      case VarType::Long: return Whole<Long>(value, "Long");
      case VarType::Error: {
        const Checked<long long> code = WholeNumber(value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max(), "Error");
        if (!code) return code.problem();
        return Variant(ErrorValue{static_cast<std::int32_t>(*code)});
      }
      case VarType::Single: {
        Checked<double> x = FloatNumber(value, "Single");
        if (!x) return x.problem();
        if (std::isfinite(*x) && std::fabs(*x) > std::numeric_limits<float>::max()) {
          return Problem("Single value out of range: " + Excerpt(value));
        }
        return Variant(static_cast<Single>(*x));
      }
      case VarType::Double: {
        Checked<double> x = FloatNumber(value, "Double");
        if (!x) return x.problem();
        return Variant(*x);
      }
      case VarType::Date: {
        Checked<double> x = FloatNumber(value, "Date");
        if (!x) return x.problem();
        return Variant(Date{*x});
      }
      case VarType::String:
        if (!value.is_string()) return Problem("String value must be a JSON string, not " + Excerpt(value));
        return Variant(Utf8ToUtf16(value.get_ref<const std::string&>()));
      case VarType::Currency:
        return Converted(value, "Currency", [](const Variant& v) { return ToCurrency(v); });
      case VarType::Decimal:
        // Decimal text keeps the scale it is written with ("1.50" is 1.50, not 1.5); other
        // text and numbers convert as the library converts them.
        return Converted(value, "Decimal", [](const Variant& v) -> Outcome<Decimal> {
          if (const String* text = v.If<String>()) {
            Outcome<Decimal> scaled = ScaledTextToDecimal(*text);
            if (scaled || scaled.error() != kTypeMismatch) return scaled;
          }
          return ToDecimal(v);
        });
      default: return Problem("unknown value type " + Quoted(name));
    }
  }

  Checked<ObjectRef> LookUp(const Json& id) {
    if (!id.is_number_integer()) return Problem("an object id must be a whole number, not " + Excerpt(id));
    ObjectRef object = table_.Find(id.get<ObjectId>());
    if (!object) return Problem("unknown object id " + Excerpt(id));
    return object;
  }

  Checked<Variant> ReadObject(const Json& json) {
    auto id = json.find("object");
    if (id == json.end()) return Problem("\"Object\" value needs an \"object\" (an id or null)");
    if (id->is_null()) return Variant(nullptr);
    Checked<ObjectRef> object = LookUp(*id);
    if (!object) return object.problem();
    return Variant(*std::move(object));
  }

  // A collection: an existing one by "object" id, or a new one made from "items".
  Checked<Variant> ReadCollection(const Json& json, int depth) {
    if (auto id = json.find("object"); id != json.end() && !id->is_null()) {
      Checked<ObjectRef> object = LookUp(*id);
      if (!object) return object.problem();
      if (!dynamic_cast<Collection*>(object->get())) return Problem("object " + Excerpt(*id) + " is no Collection");
      return Variant(*std::move(object));
    }
    auto items = json.find("items");
    if (items == json.end() || !items->is_array()) {
      return Problem("\"Collection\" value needs \"items\" (a list of {\"value\", \"key\"}) or an \"object\" id");
    }
    CollectionRef collection = Collection::Create();
    for (const Json& entry : *items) {
      auto value = entry.find("value");  // none in an entry that is no object
      if (value == entry.end()) {
        return Problem("each Collection item must be {\"value\": VALUE, \"key\": TEXT or null}");
      }
      Checked<Variant> item = Read(*value, depth + 1);
      if (!item) return item;
      std::optional<String> key;
      auto k = entry.find("key");
      if (k != entry.end() && !k->is_null()) {
        if (!k->is_string()) return Problem("a Collection key must be a string or null, not " + Excerpt(*k));
        key = Utf8ToUtf16(k->get_ref<const std::string&>());
      }
      if (!collection->Add(*std::move(item), std::move(key))) {
        return Problem("duplicate Collection key " + Excerpt(k != entry.end() ? *k : Json()));
      }
    }
    return Variant(ObjectRef(collection));
  }

  Checked<Variant> ReadArray(const Json& json, int depth) {
    VarType element = VarType::Variant;
    if (auto of = json.find("of"); of != json.end()) {
      const std::optional<VarType> t = of->is_string() ? TypeByName(of->get_ref<const std::string&>()) : std::nullopt;
      if (!t || *t == VarType::Empty || *t == VarType::Null) {
        return Problem("\"of\" must name an element type (Variant, Long, String ...), not " + Excerpt(*of));
      }
      element = *t;
    }
    auto bounds_field = json.find("bounds");
    auto items_field = json.find("items");
    const Json no_items = Json::array();
    const Json& items = items_field == json.end() ? no_items : *items_field;
    if (bounds_field == json.end() || !bounds_field->is_array() || !items.is_array()) {
      return Problem("\"Array\" value needs \"bounds\" ([[LOWER, UPPER], ...], [] when unallocated) and \"items\"");
    }
    Checked<std::vector<ArrayBound>> bounds = ReadBounds(*bounds_field, items.size());
    if (!bounds) return bounds.problem();
    SafeArray array = bounds->empty() ? SafeArray(element) : SafeArray(element, *std::move(bounds));
    for (std::size_t i = 0; i < items.size(); ++i) {
      Checked<Variant> item = Read(items[i], depth + 1);
      if (!item) return item;
      if (const Status put = array.Put(i, *std::move(item)); !put) {
        return Problem("array item " + std::to_string(i) + " does not convert to " +
                       std::string(VarTypeName(element)) + " (error " + std::to_string(put.error()) + ")");
      }
    }
    return Variant(std::move(array));
  }

  // The bounds of an array ([[LOWER, UPPER], ...]), which must make as many elements as the
  // `given` items.
  static Checked<std::vector<ArrayBound>> ReadBounds(const Json& field, std::size_t given) {
    constexpr long long kMin = std::numeric_limits<Long>::min(), kMax = std::numeric_limits<Long>::max();
    std::vector<ArrayBound> bounds;
    // The element count the bounds make, saturating so that huge bounds cannot wrap around;
    // it must match the items given, so nothing large is ever allocated.
    constexpr std::uint64_t kMany = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t total = field.empty() ? 0 : 1;
    for (const Json& b : field) {
      if (!b.is_array() || b.size() != 2) return Problem("each array bound must be [LOWER, UPPER], not " + Excerpt(b));
      const Checked<long long> lower = WholeNumber(b[0], kMin, kMax, "bound");
      if (!lower) return lower.problem();
      const Checked<long long> upper = WholeNumber(b[1], kMin, kMax, "bound");
      if (!upper) return upper.problem();
      if (*upper < *lower) return Problem("array bound " + Excerpt(b) + " has its upper bound below its lower");
      const auto count = static_cast<std::uint64_t>(*upper - *lower + 1);
      if (count > kMax) return Problem("array bound " + Excerpt(b) + " is too large");
      bounds.push_back({static_cast<Long>(*lower), static_cast<Long>(count)});
      total = total > kMany / count ? kMany : total * count;
    }
    if (total != given) {
      return Problem("the bounds make " + (total == kMany ? std::string("too many") : std::to_string(total)) +
                     " items but " + std::to_string(given) + " are given");
    }
    return bounds;
  }

  ObjectTable& table_;
};

}  // namespace

Checked<Json> WriteJson(const Variant& value, ObjectTable& table) {
  Writer writer(table);
  Json json = writer.Write(value);
  if (writer.too_deep()) return Problem("the value nests deeper than " + std::to_string(kMaxJsonNesting) + " levels");
  return json;
}

Checked<Variant> FromJson(const Json& json, ObjectTable& table) { return Reader(table).Read(json); }

Checked<Variant> FromArgumentText(std::string_view text, bool takes_values, ObjectTable& table) {
  // Text that may be read as JSON (an object may be tagged; a list is read for a parameter that
  // takes values) and nests too deeply is refused unread; other text is only text.
  if (DeepNestingAt(text) != std::string_view::npos) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    const char first = start == std::string_view::npos ? ' ' : text[start];
    if (first != '{' && !(takes_values && first == '[')) return Variant(Utf8ToUtf16(text));
    return Problem("the JSON nests arrays and objects deeper than " + std::to_string(kMaxJsonNesting) + " levels");
  }
  const Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) return Variant(Utf8ToUtf16(text));
  if (json.is_object() && json.contains("type")) return FromJson(json, table);
  if (!takes_values || json.is_object()) return Variant(Utf8ToUtf16(text));
  if (json.is_array()) {
    // A list is most likely meant as an array: show the one it stands for, in full when short.
    constexpr std::size_t kShown = 200;
    const std::string bounds = json.empty() ? "[]" : "[[0," + std::to_string(json.size() - 1) + "]]";
    const bool shown = text.size() <= kShown;
    return Problem("a plain JSON list is no value; write an array tagged, as {\"type\":\"Array\",\"of\":\"Variant\","
                   "\"bounds\":" + bounds + ",\"items\":" + (shown ? Dump(json) : "[...]") + "}, or the text as " +
                   (shown ? "'" + Dump(Json(std::string(text))) + "'" : "a JSON string"));
  }
  return FromJson(json, table);
}

std::string Dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::size_t JsonStringEnd(std::string_view text, std::size_t i) {
  for (++i; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\') ++i;  // the escaped character, a quote perhaps
  }
  return std::min(i + 1, text.size());
}

std::size_t DeepNestingAt(std::string_view text) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      i = JsonStringEnd(text, i) - 1;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonNesting) return i;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return std::string_view::npos;
}

namespace {

// The bytes of a text's first 40 characters: all of it when it is no longer.
std::size_t ShownLength(std::string_view text) {
  constexpr int kShownCharacters = 40;
  int characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character starts at every byte that is no UTF-8 continuation byte.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kShownCharacters) return i;
  }
  return text.size();
}

}  // namespace

std::string Shortened(std::string_view text) {
  const std::size_t shown = ShownLength(text);
  return shown == text.size() ? std::string(text) : std::string(text.substr(0, shown)) + "...";
}

std::string Excerpt(const Json& value) {
  auto counted = [](std::size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
  if (value.is_array()) return "an array of " + counted(value.size(), "item");
  if (value.is_object()) return "an object of " + counted(value.size(), "member");
  if (!value.is_string()) return Dump(value);
  const std::string& text = value.get_ref<const std::string&>();
  const std::size_t shown = ShownLength(text);
  if (shown == text.size()) return Dump(value);
  // The quoted start, with the mark of the cut inside the quotes.
  std::string quoted = Dump(Json(text.substr(0, shown)));
  quoted.insert(quoted.size() - 1, "...");
  return quoted;
}

}  // namespace ztl::cli
