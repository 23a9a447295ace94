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

  Json Write(const Variant& v, int depth = 0) {
    // Arrays nest no deeper than they were read, and collections past kMaxDepth are written by
    // reference, so this never fails for values a client sent; it stops any other from
    // recursing without bound.
    if (depth > kMaxJsonNesting) {
      throw ValueError("the value nests deeper than " + std::to_string(kMaxJsonNesting) + " levels");
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
long long WholeNumber(const Json& value, long long low, long long high, std::string_view type) {
  long long n = 0;
  if (value.is_number_integer()) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
      throw ValueError(std::string(type) + " value out of range: " + Excerpt(value));
    }
    n = value.get<long long>();
  } else if (value.is_number_float() && std::trunc(value.get<double>()) == value.get<double>()) {
    const double x = value.get<double>();
    if (std::fabs(x) >= 9.2e18) throw ValueError(std::string(type) + " value out of range: " + Excerpt(value));
    n = static_cast<long long>(x);
  } else {
    throw ValueError(std::string(type) + " value must be a whole number, not " + Excerpt(value));
  }
  if (n < low || n > high) throw ValueError(std::string(type) + " value out of range: " + Excerpt(value));
  return n;
}

// A floating-point value: a number or one of the names "Infinity", "-Infinity", "NaN".
double FloatNumber(const Json& value, std::string_view type) {
  if (value.is_number()) return value.get<double>();
  if (value.is_string()) {
    const std::string& s = value.get_ref<const std::string&>();
    if (s == "Infinity") return std::numeric_limits<double>::infinity();
    if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
  }
  throw ValueError(std::string(type) + " value must be a number, \"Infinity\", \"-Infinity\" or \"NaN\", not " +
                   Excerpt(value));
}

// The value of a text or number converted by the library's own conversion to a type.
template <class Convert>
auto Converted(const Json& value, std::string_view type, Convert convert) {
  Variant source;
  if (value.is_string()) {
    source = Utf8ToUtf16(value.get_ref<const std::string&>());
  } else if (value.is_number_integer() && !value.is_number_unsigned()) {
    source = Variant(value.get<long long>());
  } else if (value.is_number()) {
    source = value.get<double>();
  } else {
    throw ValueError(std::string(type) + " value must be a decimal string or a number, not " + Excerpt(value));
  }
  auto result = convert(source);
  if (!result) throw ValueError(std::string(type) + " value does not convert: " + Excerpt(value));
  return *std::move(result);
}

class Reader {
 public:
  explicit Reader(ObjectTable& table) : table_(table) {}

  Variant Read(const Json& json, int depth = 0) {
    if (depth > kMaxDepth) throw ValueError("value nested too deeply");
    switch (json.type()) {
      case Json::value_t::null: return Null;
      case Json::value_t::boolean: return json.get<bool>();
      case Json::value_t::number_integer: return Variant(json.get<long long>());
      case Json::value_t::number_unsigned: {
        const auto n = json.get<std::uint64_t>();
        return n <= static_cast<std::uint64_t>(std::numeric_limits<Long>::max()) ? Variant(static_cast<Long>(n))
                                                                                  : Variant(static_cast<double>(n));
      }
      case Json::value_t::number_float: return json.get<double>();
      case Json::value_t::string: return Utf8ToUtf16(json.get_ref<const std::string&>());
      case Json::value_t::object: return ReadTagged(json, depth);
      default:
        throw ValueError("a plain JSON array is no value; write an array as "
                         "{\"type\": \"Array\", \"of\": ..., \"bounds\": ..., \"items\": ...}");
    }
  }

 private:
  Variant ReadTagged(const Json& json, int depth) {
    auto type_field = json.find("type");
    if (type_field == json.end() || !type_field->is_string()) {
      throw ValueError("a JSON object must be a tagged value with a \"type\"");
    }
    const std::string& name = type_field->get_ref<const std::string&>();
    if (EqualsIgnoringAsciiCase(name, "Array")) return ReadArray(json, depth);
    if (EqualsIgnoringAsciiCase(name, "Collection")) return ReadCollection(json, depth);
    const std::optional<VarType> type = TypeByName(name);
    if (!type || *type == VarType::Variant) throw ValueError("unknown value type " + Quoted(name));
    if (*type == VarType::Object) return ReadObject(json);
    const Json null_value;
    auto value_field = json.find("value");
    const Json& value = value_field == json.end() ? null_value : *value_field;
    if (*type == VarType::Empty) return Variant();
    if (*type == VarType::Null) return Null;
    if (value.is_null()) throw ValueError(Quoted(name) + " value needs a \"value\"");
    switch (*type) {
      case VarType::Boolean:
        if (!value.is_boolean()) throw ValueError("Boolean value must be true or false, not " + Excerpt(value));
        return value.get<bool>();
      case VarType::Byte: return static_cast<Byte>(WholeNumber(value, 0, 255, "Byte"));
      case VarType::Integer: return static_cast<Integer>(WholeNumber(value, -32768, 32767, "Integer"));
      case VarType::Long:
        return static_cast<Long>(WholeNumber(value, std::numeric_limits<Long>::min(),
                                             std::numeric_limits<Long>::max(), "Long"));
      case VarType::Error:
        return ErrorValue{static_cast<std::int32_t>(WholeNumber(value, std::numeric_limits<std::int32_t>::min(),
                                                                std::numeric_limits<std::int32_t>::max(), "Error"))};
      case VarType::Single: {
        const double x = FloatNumber(value, "Single");
        if (std::isfinite(x) && std::fabs(x) > std::numeric_limits<float>::max()) {
          throw ValueError("Single value out of range: " + Excerpt(value));
        }
        return static_cast<Single>(x);
      }
      case VarType::Double: return FloatNumber(value, "Double");
      case VarType::Date: return Date{FloatNumber(value, "Date")};
      case VarType::String:
        if (!value.is_string()) throw ValueError("String value must be a JSON string, not " + Excerpt(value));
        return Utf8ToUtf16(value.get_ref<const std::string&>());
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
      default: throw ValueError("unknown value type " + Quoted(name));
    }
  }

  ObjectRef LookUp(const Json& id) {
    if (!id.is_number_integer()) throw ValueError("an object id must be a whole number, not " + Excerpt(id));
    ObjectRef object = table_.Find(id.get<ObjectId>());
    if (!object) throw ValueError("unknown object id " + Excerpt(id));
    return object;
  }

  Variant ReadObject(const Json& json) {
    auto id = json.find("object");
    if (id == json.end()) throw ValueError("\"Object\" value needs an \"object\" (an id or null)");
    if (id->is_null()) return nullptr;
    return LookUp(*id);
  }

  // A collection: an existing one by "object" id, or a new one made from "items".
  Variant ReadCollection(const Json& json, int depth) {
    if (auto id = json.find("object"); id != json.end() && !id->is_null()) {
      ObjectRef object = LookUp(*id);
      if (!dynamic_cast<Collection*>(object.get())) throw ValueError("object " + Excerpt(*id) + " is no Collection");
      return object;
    }
    auto items = json.find("items");
    if (items == json.end() || !items->is_array()) {
      throw ValueError("\"Collection\" value needs \"items\" (a list of {\"value\", \"key\"}) or an \"object\" id");
    }
    CollectionRef collection = Collection::Create();
    for (const Json& entry : *items) {
      if (!entry.is_object() || !entry.contains("value")) {
        throw ValueError("each Collection item must be {\"value\": VALUE, \"key\": TEXT or null}");
      }
      Variant item = Read(entry["value"], depth + 1);
      std::optional<String> key;
      if (auto k = entry.find("key"); k != entry.end() && !k->is_null()) {
        if (!k->is_string()) throw ValueError("a Collection key must be a string or null, not " + Excerpt(*k));
        key = Utf8ToUtf16(k->get_ref<const std::string&>());
      }
      if (!collection->Add(std::move(item), std::move(key))) {
        throw ValueError("duplicate Collection key " + Excerpt(entry["key"]));
      }
    }
    return ObjectRef(collection);
  }

  Variant ReadArray(const Json& json, int depth) {
    VarType element = VarType::Variant;
    if (auto of = json.find("of"); of != json.end()) {
      const std::optional<VarType> t = of->is_string() ? TypeByName(of->get_ref<const std::string&>()) : std::nullopt;
      if (!t || *t == VarType::Empty || *t == VarType::Null) {
        throw ValueError("\"of\" must name an element type (Variant, Long, String ...), not " + Excerpt(*of));
      }
      element = *t;
    }
    auto bounds_field = json.find("bounds");
    auto items_field = json.find("items");
    const Json no_items = Json::array();
    const Json& items = items_field == json.end() ? no_items : *items_field;
    if (bounds_field == json.end() || !bounds_field->is_array() || !items.is_array()) {
      throw ValueError("\"Array\" value needs \"bounds\" ([[LOWER, UPPER], ...], [] when unallocated) and \"items\"");
    }
    std::vector<ArrayBound> bounds;
    // The element count the bounds make, saturating so that huge bounds cannot wrap around;
    // it must match the items given, so nothing large is ever allocated.
    constexpr std::uint64_t kMany = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t total = bounds_field->empty() ? 0 : 1;
    for (const Json& b : *bounds_field) {
      if (!b.is_array() || b.size() != 2) {
        throw ValueError("each array bound must be [LOWER, UPPER], not " + Excerpt(b));
      }
      const auto lower = WholeNumber(b[0], std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max(), "bound");
      const auto upper = WholeNumber(b[1], std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max(), "bound");
      if (upper < lower) throw ValueError("array bound " + Excerpt(b) + " has its upper bound below its lower");
      const auto count = static_cast<std::uint64_t>(upper - lower + 1);
      if (count > std::numeric_limits<Long>::max()) throw ValueError("array bound " + Excerpt(b) + " is too large");
      bounds.push_back({static_cast<Long>(lower), static_cast<Long>(count)});
      total = total > kMany / count ? kMany : total * count;
    }
    if (total != items.size()) {
      throw ValueError("the bounds make " + (total == kMany ? std::string("too many") : std::to_string(total)) +
                       " items but " + std::to_string(items.size()) + " are given");
    }
    SafeArray array = bounds.empty() ? SafeArray(element) : SafeArray(element, std::move(bounds));
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (const Status put = array.Put(i, Read(items[i], depth + 1)); !put) {
        throw ValueError("array item " + std::to_string(i) + " does not convert to " +
                         std::string(VarTypeName(element)) + " (error " + std::to_string(put.error()) + ")");
      }
    }
    return array;
  }

  ObjectTable& table_;
};

}  // namespace

Json ToJson(const Variant& value, ObjectTable& table) { return Writer(table).Write(value); }

Variant FromJson(const Json& json, ObjectTable& table) { return Reader(table).Read(json); }

Variant FromArgumentText(std::string_view text, bool takes_values, ObjectTable& table) {
  // Text that may be read as JSON (an object may be tagged; a list is read for a parameter that
  // takes values) and nests too deeply is refused unread; other text is only text.
  if (DeepNestingAt(text) != std::string_view::npos) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    const char first = start == std::string_view::npos ? ' ' : text[start];
    if (first != '{' && !(takes_values && first == '[')) return Utf8ToUtf16(text);
    throw ValueError("the JSON nests arrays and objects deeper than " + std::to_string(kMaxJsonNesting) + " levels");
  }
  const Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) return Utf8ToUtf16(text);
  if (json.is_object() && json.contains("type")) return FromJson(json, table);
  if (!takes_values || json.is_object()) return Utf8ToUtf16(text);
  if (json.is_array()) {
    // A list is most likely meant as an array: show the one it stands for, in full when short.
    constexpr std::size_t kShown = 200;
    const std::string bounds = json.empty() ? "[]" : "[[0," + std::to_string(json.size() - 1) + "]]";
    const bool shown = text.size() <= kShown;
    throw ValueError("a plain JSON list is no value; write an array tagged, as {\"type\":\"Array\",\"of\":\"Variant\","
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
