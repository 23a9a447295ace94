// Variants as JSON values, the way `ztl serve` and `ztl call --json` write and read them, and
// the table that gives objects the small ids JSON refers to them by.
// Written values are always tagged ({"type": T, "value": V}); read values may be plain or tagged.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "checked.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::cli {

// Objects keep their members in the order written, so responses read naturally.
using Json = nlohmann::ordered_json;
using ObjectId = std::int64_t;

// The objects a session has handed out, by id. An object keeps the id it first got, so the same
// object returned twice has one id. Ids count from 1 and are never reused.
class ObjectTable {
 public:
  // The object's id, registering it when it is new. Never called with null.
  ObjectId Register(const ObjectRef& object);
  // The object with an id, or null.
  ObjectRef Find(ObjectId id) const;
  // Forgets an object; false for an unknown id.
  bool Release(ObjectId id);
  // Forgets an object by identity, if it is registered.
  void Release(const Object* object);
  // A fresh id for something that is not an object (a container); shares the object ids' series.
  ObjectId NewId() { return next_++; }

 private:
  std::map<ObjectId, ObjectRef> objects_;
  std::map<const Object*, ObjectId> ids_;
  ObjectId next_ = 1;
};

// The tagged JSON of a value; objects get registered in the table. A problem for a value that
// nests deeper than kMaxJsonNesting levels (only a library result can, never a value read from
// JSON), as writing it would recurse on its depth.
Checked<Json> WriteJson(const Variant& value, ObjectTable& table);

// The value a JSON value stands for: a string is a String, true/false a Boolean, an integer a
// Long (a Double outside the Long range), another number a Double, null is Null, and an object
// is a tagged value. A problem, saying what is wrong (a bad tag, a number out of range, an
// unknown object id ...), for anything else.
Checked<Variant> FromJson(const Json& json, ObjectTable& table);

// The value of a command-line argument. A tagged value ({"type": ...}) is that value for every
// parameter. For a parameter that takes values (`takes_values`: Variant, Object, Collection,
// a parameter array) other JSON is its value too (5, "5", true, null). Anything else is the
// text itself as a String: a text that is no JSON, a JSON object without "type", and any JSON
// for a parameter of a fixed type. A problem for a tagged value that is not valid, and for a
// plain JSON list given to a parameter that takes values (the message shows it tagged).
Checked<Variant> FromArgumentText(std::string_view text, bool takes_values, ObjectTable& table);

// Compact one-line JSON text; any text that is not valid UTF-8 is replaced, never thrown on.
std::string Dump(const Json& json);

// The deepest nesting of arrays and objects that a JSON text from a client may have. Deeper
// text is refused before it is read, so that nothing built from it recurses on its depth.
inline constexpr int kMaxJsonNesting = 256;

// Where a text first nests arrays and objects deeper than kMaxJsonNesting (the offset of the
// bracket that goes one level too deep), or npos. One scan of the bytes; brackets inside
// strings do not count, and the text need not be JSON.
std::size_t DeepNestingAt(std::string_view text);

// The end of the JSON string token that starts with the quote at `i`: the byte after its
// closing quote (the end of the text when it has none).
std::size_t JsonStringEnd(std::string_view text, std::size_t i);

// Messages quote what a client sent in short: a text cut after 40 characters, "..." marking the
// cut; a JSON value flat, as "an array of 3 items", "an object of 2 members", or a scalar as JSON
// (a string cut the same way).
std::string Shortened(std::string_view text);
std::string Excerpt(const Json& value);

}  // namespace ztl::cli
