// Replays the vector corpus (tests/vectors/*.jsonl) through the C interface alone: ztldata.h and
// the shared library, as a C program sees them. Every case runs on a fresh object, every call by
// name or dispatch id; the result and the arguments after the call are turned back into tagged
// JSON and compared as corpus.py compares them (object identity aside).
// A handle left alive after a case is a failure.
//
//   replay_c FOLDER-OR-FILE.jsonl ...
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ztldata.h"

namespace {

using Json = nlohmann::json;

// Type names by type code, as `ztl serve` writes them.
const char* const kTypes[] = {"Empty",  "Null",  "Integer", "Long",    "Single", "Double", "Currency", "Date", "String",
                              "Object", "Error", "Boolean", "Variant", "",       "Decimal", "",        "",     "Byte"};

uint16_t TypeCode(const std::string& name) {
  for (uint16_t t = 0; t < std::size(kTypes); ++t) {
    if (*kTypes[t] != '\0' && name == kTypes[t]) return t;
  }
  throw std::runtime_error("unknown type " + name);
}

void Check(int code, const char* what) {
  if (code != ZTL_OK) {
    throw std::runtime_error(std::string(what) + " gave " + std::to_string(code) + ": " + ztl_last_error());
  }
}

bool IsLong(const Json& j) {
  return j.is_number_integer() && !(j.is_number_unsigned() && j.get<uint64_t>() > INT32_MAX) &&
         j.get<int64_t>() >= INT32_MIN && j.get<int64_t>() <= INT32_MAX;
}

double FloatOf(const Json& j) {
  if (j.is_string()) return j == "NaN" ? NAN : j == "Infinity" ? INFINITY : -INFINITY;
  return j.get<double>();
}

Json DoubleJson(double x) {
  return std::isnan(x) ? Json("NaN") : std::isinf(x) ? Json(x > 0 ? "Infinity" : "-Infinity") : Json(x);
}

// The subscripts of the element at storage position `i`, the first dimension fastest.
std::vector<int32_t> Subscripts(size_t i, const std::vector<int32_t>& lower, const std::vector<int32_t>& count) {
  std::vector<int32_t> index(lower.size());
  for (size_t d = 0; d < lower.size(); i /= static_cast<size_t>(count[d]), ++d) {
    index[d] = lower[d] + static_cast<int32_t>(i % static_cast<size_t>(count[d]));
  }
  return index;
}

__extension__ typedef unsigned __int128 U128;

// A Decimal filled in from plain decimal text ("-1.50": scale 2), as a C program would; false
// for other text, which the library then converts.
bool DecimalOf(const std::string& text, ztl_decimal& d) {
  const bool negative = !text.empty() && text[0] == '-';
  const size_t point = text.find('.');
  U128 magnitude = 0;
  size_t digits = 0;
  for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    if (i == point) continue;
    if (text[i] < '0' || text[i] > '9' || ++digits > 29) return false;
    magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
  }
  const size_t scale = point == std::string::npos ? 0 : text.size() - point - 1;
  if (digits == 0 || scale > 28 || magnitude >> 96 != 0) return false;
  d = {static_cast<uint64_t>(magnitude), static_cast<uint32_t>(magnitude >> 64), static_cast<uint8_t>(scale),
       static_cast<uint8_t>(negative)};
  return true;
}

// A Decimal's text with every digit of its scale, as `ztl serve` writes it.
std::string DecimalText(const ztl_decimal& d) {
  std::string digits;
  for (U128 m = (U128{d.hi} << 64) | d.lo; m != 0 || digits.size() <= d.scale; m /= 10) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
  }
  if (d.scale > 0) digits.insert(digits.size() - d.scale, ".");
  return (d.negative ? "-" : "") + digits;
}

ztl_variant Utf8(const std::string& text) {
  ztl_variant v = ztl_variant_empty();
  Check(ztl_variant_set_utf8(&v, text.data(), text.size()), "ztl_variant_set_utf8");
  return v;
}

// What a step makes: its arguments and result (cleared at the end) and its handles (released).
struct Step {
  std::vector<ztl_variant> values;
  std::vector<ztl_array*> arrays;
  std::vector<ztl_object*> objects;
  ~Step() {
    for (ztl_variant& v : values) ztl_variant_clear(&v);
    for (ztl_array* a : arrays) ztl_array_release(a);
    for (ztl_object* o : objects) ztl_object_release(o);
  }

  ztl_array* NewArray(uint16_t of, const std::vector<int32_t>& lower, const std::vector<int32_t>& count) {
    ztl_array* array = nullptr;
    Check(ztl_array_new(of, lower.size(), lower.data(), count.data(), &array), "ztl_array_new");
    arrays.push_back(array);
    return array;
  }

  // A value in the corpus's encoding (plain or tagged) as a variant.
  ztl_variant Read(const Json& j) {
    if (j.is_null()) return ztl_variant_null();
    if (j.is_boolean()) return ztl_variant_bool(j.get<bool>());
    if (IsLong(j)) return ztl_variant_long(j.get<int32_t>());
    if (j.is_number()) return ztl_variant_double(j.get<double>());
    if (j.is_string()) return Utf8(j.get<std::string>());
    const std::string type = j.at("type");
    const Json value = j.value("value", Json()), items = j.value("items", Json::array());
    if (!j.value("object", Json()).is_null()) throw std::runtime_error("object ids are `ztl serve`'s: " + j.dump());
    if (type == "Object") return ztl_variant_object(nullptr);
    if (type == "Collection") {
      ztl_object* collection = nullptr;
      Check(ztl_collection_new(&collection), "ztl_collection_new");
      objects.push_back(collection);
      for (const Json& entry : items) {
        const Json key = entry.value("key", Json());
        Put(entry.at("value"), [&](const ztl_variant* item) {
          return ztl_collection_add(collection, item, key.is_null() ? nullptr : key.get<std::string>().c_str());
        });
      }
      return ztl_variant_object(collection);
    }
    if (type == "Array") {
      std::vector<int32_t> lower, count;
      size_t total = j.at("bounds").empty() ? 0 : 1;
      for (const Json& b : j["bounds"]) {
        lower.push_back(b.at(0).get<int32_t>());
        count.push_back(b.at(1).get<int32_t>() - lower.back() + 1);
        total *= static_cast<size_t>(count.back());
      }
      if (items.size() != total) throw std::runtime_error("the bounds do not match the items: " + j.dump());
      ztl_array* array = NewArray(j.contains("of") ? TypeCode(j["of"]) : uint16_t{ZTL_VT_VARIANT}, lower, count);
      for (size_t i = 0; i < total; ++i) {
        Put(items[i], [&](const ztl_variant* item) {
          return ztl_array_put(array, Subscripts(i, lower, count).data(), lower.size(), item);
        });
      }
      return ztl_variant_array(array);
    }
    ztl_variant v = ztl_variant_empty();
    switch (v.type = TypeCode(type)) {
      case ZTL_VT_BOOLEAN: v.value.boolean = static_cast<int16_t>(value.get<bool>() ? -1 : 0); break;
      case ZTL_VT_BYTE: v.value.byte = value.get<uint8_t>(); break;
      case ZTL_VT_INTEGER: v.value.integer = value.get<int16_t>(); break;
      case ZTL_VT_LONG: v.value.lng = value.get<int32_t>(); break;
      case ZTL_VT_ERROR: v.value.error = value.get<int32_t>(); break;
      case ZTL_VT_SINGLE: v.value.single = static_cast<float>(FloatOf(value)); break;
      case ZTL_VT_DOUBLE: v.value.dbl = FloatOf(value); break;
      case ZTL_VT_DATE: v.value.date = FloatOf(value); break;
      case ZTL_VT_STRING: return Utf8(value.get<std::string>());
      case ZTL_VT_DECIMAL:
        if (value.is_string() && DecimalOf(value.get<std::string>(), v.value.decimal)) break;
        [[fallthrough]];
      case ZTL_VT_CURRENCY: {
        // Text or a number, converted as the library converts it: put into an array of the type.
        ztl_array* cell = NewArray(v.type, {0}, {1});
        const int32_t at = 0;
        Put(value, [&](const ztl_variant* x) { return ztl_array_put(cell, &at, 1, x); });
        Check(ztl_array_get(cell, &at, 1, &v), "ztl_array_get");
      }
    }
    return v;
  }

  // Reads a value and hands it to `store` (which copies it).
  template <class Store>
  void Put(const Json& j, Store store) {
    ztl_variant item = Read(j);
    const int code = store(&item);
    ztl_variant_clear(&item);
    Check(code, ("storing " + j.dump()).c_str());
  }
};

// A variant as `ztl serve` writes it, without object ids.
Json Write(const ztl_variant& v, int depth = 0) {
  const auto tagged = [&](Json value) { return Json{{"type", kTypes[v.type]}, {"value", std::move(value)}}; };
  Json items = Json::array();
  if (v.type & ZTL_VT_ARRAY) {
    uint16_t of = 0;
    size_t dims = 0, total = 1;
    Check(ztl_array_element_type(v.value.array, &of), "ztl_array_element_type");
    Check(ztl_array_dims(v.value.array, &dims), "ztl_array_dims");
    std::vector<int32_t> lower(dims), count(dims);  // count holds the upper bound until it is read
    Json bounds = Json::array();
    for (size_t d = 0; d < dims; ++d) {
      Check(ztl_array_bounds(v.value.array, d + 1, &lower[d], &count[d]), "ztl_array_bounds");
      bounds.push_back({lower[d], count[d]});
      total *= static_cast<size_t>(count[d] -= lower[d] - 1);
    }
    for (size_t i = 0; dims > 0 && i < total; ++i) {
      ztl_variant item = ztl_variant_empty();
      Check(ztl_array_get(v.value.array, Subscripts(i, lower, count).data(), dims, &item), "ztl_array_get");
      items.push_back(Write(item, depth + 1));
      ztl_variant_clear(&item);
    }
    return Json{{"type", "Array"}, {"of", kTypes[of]}, {"bounds", bounds}, {"items", items}};
  }
  char* text = nullptr;
  size_t length = 0;
  switch (v.type) {
    case ZTL_VT_EMPTY: case ZTL_VT_NULL: return tagged(nullptr);
    case ZTL_VT_BOOLEAN: return tagged(v.value.boolean != 0);
    case ZTL_VT_BYTE: return tagged(v.value.byte);
    case ZTL_VT_INTEGER: return tagged(v.value.integer);
    case ZTL_VT_LONG: return tagged(v.value.lng);
    case ZTL_VT_ERROR: return tagged(v.value.error);
    case ZTL_VT_DOUBLE: return tagged(DoubleJson(v.value.dbl));
    case ZTL_VT_DATE: return tagged(DoubleJson(v.value.date));
    case ZTL_VT_SINGLE: {  // the shortest decimal that reads back as the same Single
      char digits[32];
      double widened = v.value.single;
      const auto written = std::to_chars(digits, digits + sizeof digits, v.value.single);
      if (std::isfinite(widened)) std::from_chars(digits, written.ptr, widened);
      return tagged(DoubleJson(widened));
    }
    case ZTL_VT_DECIMAL: return tagged(DecimalText(v.value.decimal));
    case ZTL_VT_OBJECT: break;
    default:  // String and Currency: the library's own text
      Check(ztl_variant_to_utf8(&v, &text, &length), "ztl_variant_to_utf8");
      const std::string s(text, length);
      ztl_free(text);
      return tagged(s);
  }
  const char* cls = "";
  if (v.value.object != nullptr) Check(ztl_object_class(v.value.object, &cls), "ztl_object_class");
  if (std::string(cls) != "Collection" || depth >= 8) return Json{{"type", "Object"}};
  int32_t count = 0;
  Check(ztl_collection_count(v.value.object, &count), "ztl_collection_count");
  for (int32_t position = 1; position <= count; ++position) {
    ztl_variant item = ztl_variant_empty();
    Check(ztl_collection_item(v.value.object, position, &item), "ztl_collection_item");
    char* key = nullptr;
    Check(ztl_collection_key(v.value.object, position, &key), "ztl_collection_key");
    items.push_back(Json{{"value", Write(item, depth + 1)}, {"key", key ? Json(key) : Json()}});
    ztl_free(key);
    ztl_variant_clear(&item);
  }
  return Json{{"type", "Collection"}, {"items", items}};
}

// An expected value as Write gives it, so that == is corpus.py's same(): plain JSON tagged, no
// object ids (identity is beyond the C interface). Numbers compare by value,
// and "NaN" equals "NaN"; Currency and Decimal text exactly.
Json Expected(const Json& e) {
  if (!e.is_object()) {
    const char* type = e.is_boolean() ? "Boolean" : IsLong(e) ? "Long" : e.is_number() ? "Double" : "String";
    return Json{{"type", e.is_null() ? "Null" : type}, {"value", e}};
  }
  Json tagged = e;
  tagged.erase("object");
  if ((e["type"] == "Empty" || e["type"] == "Null") && !e.contains("value")) tagged["value"] = nullptr;
  if (e["type"] == "Array" || e["type"] == "Collection") {
    for (Json& item : tagged.at("items")) {
      item = e["type"] == "Array" ? Expected(item)
                                  : Json{{"value", Expected(item.at("value"))}, {"key", item.value("key", Json())}};
    }
  }
  return tagged;
}

std::string Show(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

// One call on `target`, compared as corpus.py's check_call compares it.
void RunStep(ztl_object* target, const Json& step, const std::string& label, std::vector<std::string>& failures) {
  Step made;
  for (const Json& arg : step.value("args", Json::array())) made.values.push_back(made.Read(arg));
  // A member by name, or by dispatch id: a number, or its text in decimal or "0x" hexadecimal.
  const std::string name = step.at("member").is_string() ? step["member"].get<std::string>() : step["member"].dump();
  const bool hex = name.rfind("0x", 0) == 0 || name.rfind("0X", 0) == 0;
  char* end = nullptr;
  const long long id = std::strtoll(name.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  const bool by_id = name.size() > (hex ? 2u : 0u) && *end == '\0' && !(hex && name[2] == '-') &&
                     id >= INT32_MIN && id <= UINT32_MAX;
  const std::string kind = step.value("kind", "method");
  const int call = kind == "get" ? ZTL_GET : kind == "let" ? ZTL_LET : ZTL_METHOD;
  const size_t count = made.values.size();
  ztl_variant result = ztl_variant_empty();
  const int error = by_id ? ztl_invoke(target, static_cast<int32_t>(id), call, made.values.data(), count, &result)
                          : ztl_invoke_name(target, name.c_str(), call, made.values.data(), count, &result);
  made.values.push_back(result);  // cleared with the arguments
  const Json expected = step.value("result", Json());
  if (step.value("error", int{ZTL_OK}) != error) {
    const std::string wanted = step.contains("error") ? "error " + Show(step["error"]) : Show(expected);
    failures.push_back(label + ": expected " + wanted + ", got " +
                       (error != ZTL_OK ? "error " + std::to_string(error) : Show(Write(result))));
  }
  if (step.contains("error") || error != ZTL_OK) return;
  if (step.contains("result") && Expected(expected) != Write(result)) {
    failures.push_back(label + ": expected " + Show(expected) + ", got " + Show(Write(result)));
  }
  const Json byref = step.value("byref", Json::object());
  for (size_t i = 0; i < count; ++i) {
    const std::string at = std::to_string(i);
    const bool given = byref.is_array() ? i < byref.size() : byref.contains(at);
    const Json want = !given ? Json() : byref.is_array() ? byref[i] : byref[at];
    if (given && Expected(want) != Write(made.values[i])) {
      failures.push_back(label + ": argument " + at + " after the call: expected " + Show(want) + ", got " +
                         Show(Write(made.values[i])));
    }
  }
}

// The cases of one file, each on a fresh object: a utility class is created, a component placed
// in a container of its own. Gives the number of cases run.
int Run(const std::filesystem::path& path, std::vector<std::string>& failures) {
  std::ifstream in(path);
  std::string line;
  int count = 0;
  for (int number = 1; std::getline(in, line); ++number) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    const std::string where = path.filename().string() + ":" + std::to_string(number);
    const Json c = Json::parse(line, nullptr, false);
    if (c.is_object() && c.contains("seed")) ztl_randomize(c["seed"].get<uint64_t>());
    ++count;
    const std::string cls = c.is_object() ? c.value("class", "") : "";
    ztl_object* target = nullptr;
    ztl_container* box = nullptr;
    if (ztl_create_object(cls.c_str(), &target) != ZTL_OK && ztl_container_new(0, &box) == ZTL_OK) {
      ztl_container_place(box, cls.c_str(), nullptr, &target);
    }
    if (target == nullptr) failures.push_back(where + ": no JSON case of a known class");
    const Json steps = c.contains("steps") ? c["steps"] : Json::array({c});
    for (size_t i = 0; target != nullptr && i < steps.size(); ++i) {
      const Json member = steps[i].value("member", Json());
      const std::string label =
          where + " step " + std::to_string(i) + " " + (member.is_string() ? member.get<std::string>() : member.dump());
      try {
        RunStep(target, steps[i], label, failures);
      } catch (const std::exception& e) {
        failures.push_back(label + ": " + e.what());
      }
    }
    if (target != nullptr) ztl_object_release(target);
    if (box != nullptr) ztl_container_release(box);
    size_t live = 0;
    if (ztl_live_handles(&live) != ZTL_OK || live != 0) failures.push_back(where + ": handles left alive");
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path given = argc > 1 ? argv[1] : ".";
  std::vector<std::filesystem::path> files{given};
  if (std::filesystem::is_directory(given)) {
    files.clear();
    for (const auto& entry : std::filesystem::directory_iterator(given)) {
      if (entry.path().extension() == ".jsonl") files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> failures;
  int count = 0;
  for (const auto& path : files) count += Run(path, failures);
  for (const std::string& failure : failures) std::cout << failure << "\n";
  std::cout << count << " cases, " << failures.size() << " failures\n";
  return failures.empty() && count > 0 ? 0 : 1;
}
